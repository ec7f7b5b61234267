// The program-wide state of the main program that its runs and actions work on: the window model, the
// search state, the logs, the ports, the settings binding and the places of the installation.
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <string>

#include "app/main_window_model.h"
#include "app/settings_binding.h"
#include "log/run_log.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "screening/run_mode.h"
#include "screening/search_state.h"

namespace vmk::app {

struct AppContext {
  AppContext(MainWindowModel& model, screening::SearchState& search, log::RunLog& runLog,
             platform::Dialogs& dialogs, platform::Desktop& desktop, SettingsBinding& settings,
             const platform::Clock& clock, std::filesystem::path dataDirectory,
             std::filesystem::path workingDirectory = ".")
      : model(model),
        search(search),
        runLog(runLog),
        dialogs(dialogs),
        desktop(desktop),
        settings(settings),
        clock(clock),
        dataDirectory(std::move(dataDirectory)),
        workingDirectory(std::move(workingDirectory)) {}

  MainWindowModel& model;
  screening::SearchState& search;
  log::RunLog& runLog;
  platform::Dialogs& dialogs;
  platform::Desktop& desktop;
  SettingsBinding& settings;
  const platform::Clock& clock;
  std::filesystem::path dataDirectory;     // the sanctions database and WL.dat
  std::filesystem::path workingDirectory;  // Historie.sqlite and the logo of the reports
  screening::RunMode runMode = screening::RunMode::Interactive;
  // Where VMK21.so and VMKCom2.so lie, and the installation's identification text that every mail carries.
  std::filesystem::path programDirectory = ".";
  std::string installationId;

  // The single-search batch: its result line, its PDF option ("0", "1", "2"), and what finishes the run
  // once the line is complete (result file, batch log, program end).
  std::string batchResultLine;
  std::string batchPdfOption = "2";
  std::function<void()> finishBatchRun;

  // Told after every record of a list search (records done, total); the unattended runs show it.
  std::function<void(long long done, long long total)> listSearchProgress;

  // Serialises the imports of master data: an import holds it for its whole run.
  std::mutex importLock;

  std::filesystem::path HistoryFile() const { return workingDirectory / "Historie.sqlite"; }
  std::filesystem::path LogoFile() const { return workingDirectory / "Tamberlogo.jpg"; }
};

}  // namespace vmk::app
