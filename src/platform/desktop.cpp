#include "platform/desktop.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vmk::platform {

// A grandchild does the work, so the program neither waits for it nor leaves a zombie behind.
void SystemDesktop::Open(const std::filesystem::path& file) {
  const pid_t child = fork();
  if (child < 0) return;
  if (child == 0) {
    if (fork() == 0) {
      setsid();
      // Whatever the opener prints does not belong into the program's own output.
      const int devNull = open("/dev/null", O_WRONLY);
      if (devNull >= 0) {
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
      }
      if (access(file.c_str(), X_OK) == 0 && !std::filesystem::is_directory(file)) {
        execl(file.c_str(), file.c_str(), static_cast<char*>(nullptr));
      } else {
        execlp("xdg-open", "xdg-open", file.c_str(), static_cast<char*>(nullptr));
      }
      _exit(127);
    }
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
}

}  // namespace vmk::platform
