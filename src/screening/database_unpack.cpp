#include "screening/database_unpack.h"

#include <unistd.h>

#include <atomic>
#include <string>
#include <system_error>

#include "screening/pack_reader.h"
#include "screening/sanctions_db.h"
#include "text/ui_texts.h"

namespace vmk::screening {
namespace {

bool IsNonEmptyFile(const std::filesystem::path& file) {
  std::error_code error;
  return std::filesystem::is_regular_file(file, error) && std::filesystem::file_size(file, error) > 0 &&
         !error;
}

// A name of this process's own beside the working copy, so that concurrent unpackers never share one.
std::filesystem::path TemporaryPath(const std::filesystem::path& dataDirectory) {
  static std::atomic<unsigned> counter{0};
  return dataDirectory / (std::string(kWorkingCopyName) + "." + std::to_string(::getpid()) + "." +
                          std::to_string(counter++) + ".part");
}

bool Extract(const std::filesystem::path& dataDirectory) {
  const std::filesystem::path temporary = TemporaryPath(dataDirectory);
  if (ExtractPackEntry(dataDirectory / kPackName, kPackEntryName, temporary) != PackError::None) return false;
  std::error_code error;
  std::filesystem::rename(temporary, WorkingCopyPath(dataDirectory), error);
  if (error) std::filesystem::remove(temporary, error);
  return !error;
}

}  // namespace

std::filesystem::path WorkingCopyPath(const std::filesystem::path& dataDirectory) {
  return dataDirectory / kWorkingCopyName;
}

bool EnsureDatabaseUnpacked(const std::filesystem::path& dataDirectory, log::RunLog& runLog,
                            platform::Dialogs& dialogs) {
  runLog.WriteRunLog("Entpacke KE2DB.pak");
  if (IsNonEmptyFile(WorkingCopyPath(dataDirectory))) {
    runLog.WriteRunLog("KE2DB bereits entpackt");
    return true;
  }
  if (Extract(dataDirectory)) return true;
  dialogs.MessageBox(text::UiText(text::Ui::TitleError), text::UiText(text::Ui::UnpackError),
                     platform::kIconStop);
  return false;
}

void DeleteWorkingCopy(const std::filesystem::path& dataDirectory) {
  std::error_code error;
  std::filesystem::remove(WorkingCopyPath(dataDirectory), error);
}

}  // namespace vmk::screening
