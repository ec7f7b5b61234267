#include "platform/unique_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vmk::platform {

std::filesystem::path ClaimUniqueFile(const std::filesystem::path& folder, const std::string& stem,
                                      const std::string& extension) {
  for (int number = 1;; ++number) {
    const std::filesystem::path candidate =
        folder / (stem + (number == 1 ? std::string() : "-" + std::to_string(number)) + extension);
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      ::close(fd);
      return candidate;
    }
    if (errno != EEXIST) return folder / (stem + extension);
  }
}

}  // namespace vmk::platform
