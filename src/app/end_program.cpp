#include "app/end_program.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "app/program_shell.h"

namespace vmk::app {

void EndProgram(const std::filesystem::path& workingDirectory) {
  std::error_code ignored;
  std::filesystem::remove(workingDirectory / kLockFile, ignored);
  std::fflush(nullptr);
  std::exit(0);  // closes every open file and database handle the run still holds
}

void ProgramShell::End() {
  if (endProgram) endProgram();
  EndProgram(context.workingDirectory);
}

}  // namespace vmk::app
