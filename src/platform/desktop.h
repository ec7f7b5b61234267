// The port that opens a file with its registered program, or starts a program, without waiting.
#pragma once

#include <filesystem>

namespace vmk::platform {

class Desktop {
 public:
  virtual ~Desktop() = default;
  // A failure is silent: nothing is reported to the caller.
  virtual void Open(const std::filesystem::path& file) = 0;
};

// Opens files with xdg-open and starts executables directly, in a detached process.
class SystemDesktop : public Desktop {
 public:
  void Open(const std::filesystem::path& file) override;
};

}  // namespace vmk::platform
