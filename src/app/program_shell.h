// What the start-up keeps for the whole run beside the application context: the command line, the log
// and batch-log files, the list dates and the update stamp, and the one way out of the program.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "log/line_file.h"

namespace vmk::app {

inline constexpr const char* kParameterFile = "Parameter.txt";
inline constexpr const char* kRunLogFile = "RunLog.txt";
inline constexpr const char* kBatchLogFile = "EBatchLog.txt";
inline constexpr const char* kLockFile = "KESTO.lock";

struct ProgramShell {
  explicit ProgramShell(AppContext& context) : context(context) {}

  AppContext& context;
  std::vector<std::string> arguments;  // Windows-1252, without the program's own name
  std::string listFile;                // "/b", "/e": the file, double quotes removed
  log::LineFile batchLog;              // open while a single-search batch runs
  std::array<std::string, 4> listDates;
  long long updateStamp = 0;  // elapsed-time seconds the update countdown counts from
  std::string updateServer;   // base URL of the vendor's update server, "" when none is configured

  // Ends the process and never returns (a test may throw instead).
  std::function<void()> endProgram;
  // A line for the person who started the program, for what this build cannot show in a window.
  std::function<void(const std::string& text1252)> notice;

  // The window, where the run mode and the display allow one: built at step 7 over the window model.
  std::function<void()> buildWindow;
  // The window's event loop, until the window is closed; without a window the interactive start ends.
  std::function<void()> runEventLoop;
  // Serves the window's events once; the main thread calls it while it waits for a worker.
  std::function<void()> processEvents;

  const std::string& Argument(std::size_t index) const {
    static const std::string kNone;
    return index < arguments.size() ? arguments[index] : kNone;
  }
  [[noreturn]] void End();
};

}  // namespace vmk::app
