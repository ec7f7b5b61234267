// The single search as the window and the single-search batch start it: check the terms, prepare
// them, search the four lists, and hand over to the report.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "app/main_window_model.h"
#include "log/run_log.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "screening/run_mode.h"
#include "screening/search_state.h"

namespace vmk::app {

// What a single search reads and changes; the shell owns all of it.
struct SingleSearchContext {
  SingleSearchContext(MainWindowModel& model, screening::SearchState& search, log::RunLog& runLog,
                      platform::Dialogs& dialogs, const platform::Clock& clock,
                      std::filesystem::path dataDirectory)
      : model(model),
        search(search),
        runLog(runLog),
        dialogs(dialogs),
        clock(clock),
        dataDirectory(std::move(dataDirectory)) {}

  MainWindowModel& model;
  screening::SearchState& search;
  log::RunLog& runLog;
  platform::Dialogs& dialogs;
  const platform::Clock& clock;
  std::filesystem::path dataDirectory;
  screening::RunMode runMode = screening::RunMode::Interactive;

  // The result line of the single-search batch, and what ends that run (writes the line, ends the
  // program) once the line is complete.
  std::string batchResultLine;
  std::function<void()> finishBatchRun;
  // Called when the four lists have been searched: the report, the history row and the batch result.
  std::function<void()> handOverToReport;
};

void RunSingleSearch(SingleSearchContext& context);

}  // namespace vmk::app
