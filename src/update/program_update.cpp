#include "update/program_update.h"

#include <fstream>
#include <system_error>

#include "log/messages.h"
#include "platform/http_download.h"
#include "text/cp1252.h"
#include "text/ui_texts.h"
#include "update/download_client.h"
#include "update/program_version.h"

namespace vmk::update {

namespace {

namespace fs = std::filesystem;
using text::Ui;
using text::UiText;

bool FolderIsWritable(const fs::path& folder) {
  const fs::path probe = folder / "delme.txt";
  const bool opened = std::ofstream(probe, std::ios::binary | std::ios::app).is_open();
  std::error_code ignored;
  if (opened) fs::remove(probe, ignored);
  return opened;
}

bool Download(const std::string& url, const fs::path& setup, bool proxyState) {
  if (!proxyState) return platform::PlainHttpDownload(url, setup);
  DownloadToFile(url, setup);
  std::error_code error;
  return fs::file_size(setup, error) != 0 && !error;
}

bool IsShort(const fs::path& setup) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(setup, error);
  return error || size < kMinimumSetupSize;
}

void Show(platform::Dialogs& dialogs, SetupDownload outcome, const fs::path& setup, bool proxyState) {
  switch (outcome) {
    case SetupDownload::NoWriteAccess:
      log::ShowMessage(dialogs, UiText(Ui::MsgLoginAsAdministrator), proxyState ? "0" : "1",
                       proxyState ? "MF337" : "MF265", "16");
      return;
    case SetupDownload::Failed:
      log::ShowMessage(dialogs,
                       UiText(Ui::MsgSetupDownloadFailed) + "\r" + UiText(Ui::ProgramUpdateCheckConnection) +
                           "\r" + UiText(Ui::ProgramUpdateCheckFirewall) + "\r" + UiText(Ui::ErrorCodeMF107),
                       "-1", "MF107", "16");
      return;
    case SetupDownload::ShortFile:
      log::ShowMessage(dialogs, UiText(Ui::MsgSetupFileDefective) + "\r" + UiText(Ui::ErrorCodeMF111), "-1",
                       "MF111", "16");
      return;
    case SetupDownload::Downloaded:
      log::ShowMessage(dialogs,
                       UiText(Ui::MsgSetupDownloaded) + text::Win1252(" ´") + "\r" +
                           text::Utf8ToCp1252(setup.string()) + (proxyState ? text::Win1252("´") : "`"),
                       "1", proxyState ? "MF327" : "MF262", proxyState ? "16" : "64");
      return;
  }
}

SetupDownload Fetch(const fs::path& programFolder, const std::string& updateServer, bool proxyState) {
  if (!FolderIsWritable(programFolder)) return SetupDownload::NoWriteAccess;
  const fs::path setup = programFolder / kSetupFileName;
  const std::string url = updateServer.empty() ? "" : updateServer + kSetupPath;
  if (!Download(url, setup, proxyState)) return SetupDownload::Failed;
  return IsShort(setup) ? SetupDownload::ShortFile : SetupDownload::Downloaded;
}

}  // namespace

bool IsProgramUpdateOffered(int versionNumber) {
  return versionNumber > kProgramVersionNumber;
}

SetupDownload DownloadProgramUpdate(platform::Dialogs& dialogs, const fs::path& programFolder,
                                    const std::string& updateServer, bool proxyState) {
  const fs::path folder = fs::absolute(programFolder);
  const SetupDownload outcome = Fetch(folder, updateServer, proxyState);
  Show(dialogs, outcome, folder / kSetupFileName, proxyState);
  return outcome;
}

}  // namespace vmk::update
