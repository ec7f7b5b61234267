// veldmark: the main program. Arguments arrive as UTF-8 and are handed to the start-up as
// Windows-1252; this build has no window, so every box is written to stderr and the logs.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/mail_binding.h"
#include "app/main_window_model.h"
#include "app/program_shell.h"
#include "app/settings_binding.h"
#include "app/startup.h"
#include "log/run_log.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/folders.h"
#include "platform/vendor_config.h"
#include "screening/run_mode.h"
#include "screening/search_state.h"
#include "text/cp1252.h"

int main(int argc, char** argv) {
  using namespace vmk;
  const platform::Clock& clock = platform::DefaultClock();
  log::RunLog runLog(clock);
  app::MainWindowModel model;
  runLog.SetStatusSink(&model);
  screening::SearchState search;
  app::ProgramShell* shell = nullptr;
  // In the unattended modes a box nobody can answer also goes into the log of the run: the batch log
  // while a single-search batch runs, the run log otherwise.
  platform::HeadlessDialogs dialogs(std::cerr, [&](const std::string& line) {
    if (shell == nullptr || !screening::IsUnattended(shell->context.runMode)) return;
    if (shell->batchLog.IsOpen()) {
      log::WriteBatchLog(shell->batchLog, line);
    } else {
      runLog.WriteRunLog(line);
    }
  });
  platform::SystemDesktop desktop;
  app::SettingsBinding settings(platform::ProgramDirectory());
  app::AppContext context(model, search, runLog, dialogs, desktop, settings, clock, platform::DataDirectory(),
                          std::filesystem::current_path());
  context.programDirectory = platform::ProgramDirectory();
  app::SetHostDialogs(&dialogs);

  app::ProgramShell programShell(context);
  shell = &programShell;
  for (int i = 1; i < argc; ++i) programShell.arguments.push_back(text::Utf8ToCp1252(argv[i]));
  programShell.updateServer = platform::ReadVendorConfig().updateServer;
  programShell.notice = [](const std::string& line) { std::cerr << text::Cp1252ToUtf8(line) << '\n'; };
  app::RunStartup(programShell);
}
