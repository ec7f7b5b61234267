// veldmark: the main program. Arguments arrive as UTF-8 and are handed to the start-up as
// Windows-1252. The interactive modes open the window where a display is there; until then, and in the
// unattended modes, every box is written to stderr and the logs.
#include <chrono>
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
#ifdef VELDMARK_GUI
#include "gui/window_front.h"
#endif

namespace {

// A batch list search tells on stderr how far it is: records done, total, records per second; at most
// once a second, and at its last record.
void ShowListSearchProgress(long long done, long long total) {
  using Clock = std::chrono::steady_clock;
  static const Clock::time_point start = Clock::now();
  static Clock::time_point shown;
  const Clock::time_point now = Clock::now();
  if (done < total && now - shown < std::chrono::seconds(1)) return;
  shown = now;
  const double seconds = std::chrono::duration<double>(now - start).count();
  const long long rate = seconds > 0 ? static_cast<long long>(static_cast<double>(done) / seconds) : 0;
  std::cerr << "\rBearbeitet: " << done << " / " << total << "  (" << rate << " Datensätze/s)"
            << (done >= total ? "\n" : "") << std::flush;
}

}  // namespace

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
#ifdef VELDMARK_GUI
  gui::WindowFront front(dialogs);
  platform::Dialogs& boxes = front;
#else
  platform::Dialogs& boxes = dialogs;
#endif
  platform::SystemDesktop desktop;
  app::SettingsBinding settings(platform::ProgramDirectory());
  app::AppContext context(model, search, runLog, boxes, desktop, settings, clock, platform::DataDirectory(),
                          std::filesystem::current_path());
  context.programDirectory = platform::ProgramDirectory();
  app::SetHostDialogs(&boxes);

  context.listSearchProgress = [&context](long long done, long long total) {
    if (screening::IsUnattended(context.runMode)) ShowListSearchProgress(done, total);
  };

  app::ProgramShell programShell(context);
  shell = &programShell;
  for (int i = 1; i < argc; ++i) programShell.arguments.push_back(text::Utf8ToCp1252(argv[i]));
  programShell.updateServer = platform::ReadVendorConfig().updateServer;
  programShell.notice = [](const std::string& line) { std::cerr << text::Cp1252ToUtf8(line) << '\n'; };
#ifdef VELDMARK_GUI
  front.Attach(programShell);
#endif
  app::RunStartup(programShell);
}
