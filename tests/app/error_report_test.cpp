#include "app/error_report.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "platform/folders.h"
#include "support/test_support.h"

namespace vmk::app {
namespace {

TEST(ErrorReport, TextHoldsTheSevenLines) {
  const ErrorDetails details{"Segmentation fault", 11, 4198400, 0, "/opt/veldmark/bin/veldmark"};
  EXPECT_EQ(ErrorReportText(details),
            "Ein Fehler wurde im Programm entdeckt: \r\r"
            "Fehlermeldung:   Segmentation fault\r"
            "Fehlercode:      11\r"
            "Code Adresse:    4198400\r"
            "Fehlerzeile:     0\r"
            "Modul:           ...rk/bin/veldmark\r");
}

// The handler runs in a child that aborts: its box reaches the headless dialogs' output, the mailer
// library is tried (and finds no vendor server), and the child still ends by its signal.
TEST(ErrorReport, AFatalSignalShowsTheFatalErrorBoxAndEndsTheProcess) {
  testing::TempDir root;
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  const pid_t child = fork();
  if (child == 0) {
    setenv("VELDMARK_ROOT", root.path().c_str(), 1);
    close(pipeFds[0]);
    FILE* out = fdopen(pipeFds[1], "w");
    static std::ostringstream captured;
    static platform::HeadlessDialogs dialogs(captured, [out](const std::string& line) {
      std::fputs(line.c_str(), out);
      std::fputs("\n", out);
      std::fflush(out);
    });
    static MainWindowModel model;
    static screening::SearchState search;
    static log::RunLog runLog;
    static testing::RecordingDesktop desktop;
    static SettingsBinding settings(platform::ProgramDirectory());
    static AppContext context(model, search, runLog, dialogs, desktop, settings, platform::DefaultClock(),
                              ".");
    context.programDirectory = platform::ProgramDirectory();
    InstallErrorReport(context);
    abort();
  }
  close(pipeFds[1]);
  std::string output;
  char buffer[1024];
  for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
    output.append(buffer, static_cast<std::size_t>(n));
  close(pipeFds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT);
  EXPECT_NE(output.find("[KCom - FEHLER] Die SMTP Verbindung ist fehlgeschlagen !"), std::string::npos)
      << output;
  EXPECT_NE(
      output.find("[Fataler Fehler] Ein Fehler wurde im Programm entdeckt:  |  | Fehlermeldung:   Aborted"),
      std::string::npos)
      << output;
  EXPECT_NE(output.find("Fehler Code (MF173) | MF400"), std::string::npos) << output;
}

}  // namespace
}  // namespace vmk::app
