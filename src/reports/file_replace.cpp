#include "reports/file_replace.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

namespace vmk::reports {
namespace {

bool WriteAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(descriptor, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Creates a new temporary file beside the target; -1 when the folder does not take one.
int CreateTemporary(const std::filesystem::path& file, std::filesystem::path& temporary) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = file;
    temporary += "." + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
    // Mode 0666 lets the umask decide, as for any file the user creates.
    const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EEXIST) return descriptor;
  }
  return -1;
}

}  // namespace

bool ReplaceFileContents(const std::filesystem::path& file, std::string_view bytes) {
  if (!file.has_filename()) return false;
  std::filesystem::path temporary;
  const int descriptor = CreateTemporary(file, temporary);
  if (descriptor < 0) return false;
  bool complete = WriteAll(descriptor, bytes) && fsync(descriptor) == 0;
  complete = close(descriptor) == 0 && complete;
  if (complete && std::rename(temporary.c_str(), file.c_str()) == 0) return true;
  unlink(temporary.c_str());
  return false;
}

}  // namespace vmk::reports
