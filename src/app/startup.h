// The main program's start-up: prepares the run, evaluates the command line, keeps the databases,
// reads every setting into the window model, runs the database update when due, and dispatches to the
// run mode. The program ends only through the shell's End.
#pragma once

#include <array>
#include <string>

#include "app/program_shell.h"

namespace vmk::app {

// Steps 1 to 21 of the start-up, in this order; does not return.
[[noreturn]] void RunStartup(ProgramShell& shell);

// Writes the single-search batch's result file and batch log, then ends the program.
[[noreturn]] void FinishSingleSearchBatchRun(ProgramShell& shell);

// The active proxy "a.b.c.d:port" as the address and port fields show it; both empty for "" or "-1".
std::array<std::string, 2> ParseProxyText(const std::string& proxy);

// The countdown of the status bar, "" once the next start would update.
std::string UpdateCountdownText(long long elapsedSeconds, long long updateStamp);

}  // namespace vmk::app
