// Keeping the lists current: the information text of the update server, the installed list dates, the
// eight-hour update check at start and the update run that replaces the database pack.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "log/run_log.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "screening/run_mode.h"

namespace vmk::update {

// What the update needs from the program that runs it.
struct UpdateContext {
  UpdateContext(log::RunLog& runLog, platform::Dialogs& dialogs, const platform::Clock& clock)
      : runLog(runLog), dialogs(dialogs), clock(clock) {}

  log::RunLog& runLog;
  platform::Dialogs& dialogs;
  const platform::Clock& clock;
  std::filesystem::path dataDirectory;
  std::string updateServer;  // base URL; empty when none is configured
  screening::RunMode runMode = screening::RunMode::Interactive;
  std::string installationId;
  std::array<std::string, 6> personalisation;
  std::string* batchResultLine = nullptr;  // the single-search batch's result line

  // Downloads a URL into a file; the outcome is judged by the file left behind. Unset: the download
  // client of this module.
  std::function<void(const std::string& url, const std::filesystem::path& file)> download;
  // Mails a notice to the vendor (notice text, body).
  std::function<void(const std::string& notice, const std::string& body)> mailNotice;
  std::function<void(const std::string& text1252)> statusText;
  std::function<void(bool current)> statusImage;
  std::function<long long()> readLastUpdate;  // seconds since 1970 of the last check, 0 when unset
  std::function<void(long long seconds)> writeLastUpdate;
};

inline constexpr long long kUpdateInterval = 28800;

// Fetches in.fo and returns the text for the information panel (every line followed by a carriage
// return), or "Fehler Code: -2" after a failed download, which restores the previous file.
std::string LoadInformationText(UpdateContext& context);

// The EU, UN, UK and US dates of the installed database, or nothing when it cannot be read.
std::optional<std::array<std::string, 4>> ReadInstalledDates(UpdateContext& context);

// "1" updated, "-1" pack download failed or refused, "-2" no update description, "-4" already current.
// After "1" the installed dates are those of the new database.
std::string RunDatabaseUpdate(UpdateContext& context, std::array<std::string, 4>& installedDates);

// At start: the update when the last check is more than eight hours old (then the check time is
// written whatever the result), or always in the database-update mode; otherwise the single-search
// batch's result line gets "0". Returns whether an update ran.
bool UpdateCheckAtStart(UpdateContext& context, std::array<std::string, 4>& installedDates);

}  // namespace vmk::update
