// The main program's command line: the run-mode switches in the first argument, the records of "/e" and
// "/s" in Parameter.txt, and the splitting of the single-search argument into the four search fields.
#pragma once

#include <array>
#include <string>

#include "app/program_shell.h"

namespace vmk::app {

// The argument without any double quote.
std::string RemoveQuotes(const std::string& text);

// Evaluates the first argument and sets the run mode, the log mode and the batch files; runs "/IC",
// "/extmail" and the help switch. Parameter.txt must exist (emptied) in the working directory.
void EvaluateCommandLine(ProgramShell& shell);

// "A;B;C;D" -> A, B, C, D; the fourth field takes everything after the third ";"; a field without a
// closing ";" stays empty, so "A;B" fills only the first.
std::array<std::string, 4> SplitSearchArgument(const std::string& argument);

// The help text box and the installation-check message.
std::string HelpText();
std::string InstallationCheckText(const std::string& supportAddress);

}  // namespace vmk::app
