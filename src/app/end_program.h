// The single way the main program ends: the lock file goes, open files are closed, exit code 0.
#pragma once

#include <filesystem>

namespace vmk::app {

[[noreturn]] void EndProgram(const std::filesystem::path& workingDirectory);

}  // namespace vmk::app
