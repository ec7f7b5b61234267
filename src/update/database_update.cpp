#include "update/database_update.h"

#include <fstream>
#include <system_error>

#include "log/messages.h"
#include "log/update_log.h"
#include "screening/database_unpack.h"
#include "screening/pack_check.h"
#include "screening/sanctions_db.h"
#include "text/cp1252.h"
#include "text/date_mask.h"
#include "text/ui_texts.h"
#include "update/download_client.h"
#include "update/program_version.h"
#include "update/update_description.h"

namespace vmk::update {
namespace {

namespace fs = std::filesystem;
using screening::RunMode;
using text::Ui;
using text::UiText;

bool IsMissingOrEmpty(const fs::path& file) {
  std::error_code error;
  return !fs::exists(file, error) || fs::file_size(file, error) == 0 || error;
}

void Rename(const fs::path& from, const fs::path& to) {
  std::error_code ignored;
  fs::rename(from, to, ignored);
}

void Remove(const fs::path& file) {
  std::error_code ignored;
  fs::remove(file, ignored);
}

void Download(UpdateContext& context, const std::string& path, const fs::path& file) {
  // Without a configured server the empty URL fails at once, leaving an empty file.
  const std::string url = context.updateServer.empty() ? "" : context.updateServer + path;
  if (context.download) {
    context.download(url, file);
  } else {
    DownloadToFile(url, file);
  }
}

void Status(UpdateContext& context, const std::string& text) {
  if (context.statusText) context.statusText(text);
}

std::string CompanyLine(const UpdateContext& context) {
  std::string line;
  for (std::size_t i = 0; i < context.personalisation.size(); ++i)
    line += (i > 0 ? " / " : "") + context.personalisation[i];
  return line;
}

struct Outcome {
  std::string message;  // lines joined by carriage returns
  const char* level;
  const char* code;
  const char* icon;
  bool shownInEveryModeButBatch;  // else only interactive, list batch and database update
  const char* batchField;         // appended to the single-search batch result line
  std::string notice;             // mail notice text, empty for none
  std::string logText;            // update-log and run-log text
};

Outcome OutcomeOf(const UpdateContext& context, const std::string& result) {
  const std::string compile = std::string(" | Compile: ") + kBuildNumberText + " | ";
  const std::string id = " : " + context.installationId;
  if (result == "1") {
    return {UiText(Ui::MsgDatabaseUpdated),
            "1",
            "MF1648",
            "64",
            false,
            nullptr,
            "| Datenbank Update (279)" + compile,
            id + "| Datenbank Update erfolgreich (281) | "};
  }
  if (result == "-1") {
    const std::string message = UiText(Ui::MsgNewDatabaseDefectiveOrMissing) + "\r" +
                                UiText(Ui::MsgVendorNotified) + "\r" + UiText(Ui::MsgDatabaseNotUpdated) +
                                "\r" + UiText(Ui::ErrorCode308) + "\r" + UiText(Ui::ErrorCode317);
    return {message,
            "-1",
            "MF1666",
            "16",
            true,
            "317",
            "| Datenbank Update Fehler (297)" + compile,
            id + "| Datenbank Update (299) | " + message};
  }
  if (result == "-2") {
    const std::string message = UiText(Ui::MsgUpdateFileNoData) + "\r" + "Fehler Code (345P)";
    return {message,
            "-1",
            "MF1689",
            "16",
            true,
            "345",
            "| Info Datei Fehler (325)" + compile,
            id + "| Datenbank Update (327) | " + message};
  }
  return {UiText(Ui::MsgDataUpToDate),
          "1",
          "MF1727",
          "64",
          true,
          "0",
          "",
          " : Daten sind auf dem aktuellen Stand"};
}

void Report(UpdateContext& context, const std::string& result) {
  const Outcome outcome = OutcomeOf(context, result);
  if (context.statusImage) context.statusImage(result == "1" || result == "-4");
  const RunMode mode = context.runMode;
  const bool shown =
      outcome.shownInEveryModeButBatch
          ? mode != RunMode::SingleSearchBatch
          : mode == RunMode::Interactive || mode == RunMode::ListBatch || mode == RunMode::DatabaseUpdate;
  if (shown) log::ShowMessage(context.dialogs, outcome.message, outcome.level, outcome.code, outcome.icon);
  if (outcome.batchField != nullptr && mode == RunMode::SingleSearchBatch &&
      context.batchResultLine != nullptr) {
    *context.batchResultLine += outcome.batchField;
  }
  if (!outcome.notice.empty() && context.mailNotice)
    context.mailNotice(outcome.notice, " | " + CompanyLine(context));
  log::WriteUpdateLog(context.dataDirectory, outcome.logText, context.clock);
  context.runLog.WriteRunLog(outcome.logText);
}

// The new pack goes to a name of its own and replaces the installed one only after its check.
std::string UpdatePack(UpdateContext& context, std::array<std::string, 4>& installedDates) {
  const fs::path pack = context.dataDirectory / screening::kPackName;
  const fs::path downloaded = context.dataDirectory / (std::string(screening::kPackName) + ".download");
  Download(context, "/kepdata/KE2DBpak.bin", downloaded);
  if (IsMissingOrEmpty(downloaded) || !screening::InstallCheckedPack(downloaded, pack)) {
    Remove(downloaded);
    return "-1";
  }
  // The searches that follow in this run are screened against the new lists: their dates say so.
  if (auto dates = ReadInstalledDates(context)) installedDates = *dates;
  return "1";
}

}  // namespace

std::string LoadInformationText(UpdateContext& context) {
  const std::string prefix = UiText(Ui::StatusLoadingInfoFile) + "( " + UiText(Ui::Proxy);
  const fs::path info = context.dataDirectory / "in.fo", backup = context.dataDirectory / "!in.fo";
  Status(context, prefix + " ) Read Data Directory");
  Status(context, prefix + " ) Read Data Directory :" + context.dataDirectory.string());
  Status(context, prefix + " ) Read Data Directory: Rename File");
  Rename(info, backup);
  Status(context, prefix + " ) Read Data Directory : DelOldFile");
  Remove(info);
  Status(context, prefix + " ) Proxy Handler");
  Download(context, "/kepdata/vminfo.txt", info);
  Status(context, prefix + " ) Check information file");
  if (IsMissingOrEmpty(info)) {
    Remove(info);
    Rename(backup, info);
    log::ShowMessage(context.dialogs,
                     UiText(Ui::MsgInfoFileNotLoaded) + "\r" + UiText(Ui::DbUpdateCheckConnection) + "\r" +
                         UiText(Ui::DbUpdateCheckFirewall) + "\r" + UiText(Ui::ErrorCodeMF74),
                     "-1", "MF77", "16");
    return UiText(Ui::ErrorCodePrefix) + " -2";
  }
  std::ifstream in(info, std::ios::binary);
  std::string text;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    text += line + "\r";
  }
  return text;
}

std::optional<std::array<std::string, 4>> ReadInstalledDates(UpdateContext& context) {
  screening::EnsureDatabaseUnpacked(context.dataDirectory, context.runLog, context.dialogs);
  std::optional<std::array<std::string, 4>> dates;
  {
    screening::SanctionsDatabase database(screening::WorkingCopyPath(context.dataDirectory));
    if (!database.IsOpen()) {
      log::ShowMessage(context.dialogs, database.LastError(), "-1", "MF348", "16");
    } else {
      std::array<std::string, 4> read;
      std::size_t row = 0;
      if (database.Query("SELECT * FROM DBDate", [&](const screening::Row& values) {
            if (row < read.size() && !values.empty()) read[row] = values[0];
            ++row;
          })) {
        dates = read;
      } else {
        log::ShowMessage(context.dialogs, database.LastError(), "-1", "MF349", "16");
      }
    }
  }
  screening::DeleteWorkingCopy(context.dataDirectory);
  return dates;
}

std::string RunDatabaseUpdate(UpdateContext& context, std::array<std::string, 4>& installedDates) {
  const fs::path description = context.dataDirectory / "update.dat",
                 backup = context.dataDirectory / "!Update.dat";
  Rename(description, backup);
  Download(context, "/kepdata/download.me", description);
  std::string result;
  if (IsMissingOrEmpty(description)) {
    result = "-2";
    Remove(description);
    Rename(backup, description);
  } else {
    result = AnnouncedListDates(description) == installedDates ? "-4" : "1";
    Remove(backup);
  }
  if (result == "1") {
    result = UpdatePack(context, installedDates);
    if (result == "1" && context.writeLastUpdate)
      context.writeLastUpdate(text::WallSeconds(context.clock.Now()));
  }
  Report(context, result);
  return result;
}

bool UpdateCheckAtStart(UpdateContext& context, std::array<std::string, 4>& installedDates) {
  const long long now = text::WallSeconds(context.clock.Now());
  const long long last = context.readLastUpdate ? context.readLastUpdate() : 0;
  if (now - last > kUpdateInterval) {
    RunDatabaseUpdate(context, installedDates);
    if (context.writeLastUpdate) context.writeLastUpdate(now);
    return true;
  }
  if (context.runMode == RunMode::DatabaseUpdate) {
    RunDatabaseUpdate(context, installedDates);
    return true;
  }
  if (context.runMode == RunMode::SingleSearchBatch && context.batchResultLine != nullptr) {
    *context.batchResultLine += "0";
  }
  if (context.statusImage) context.statusImage(true);
  return false;
}

}  // namespace vmk::update
