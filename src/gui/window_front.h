// The Qt front of the main program: builds the window where the run mode and the display allow one,
// runs its event loop, and routes the dialogs to Qt once the window stands.
#pragma once

#include <memory>

#include "app/program_shell.h"
#include "platform/dialogs.h"

class QApplication;

namespace vmk::gui {

class MainWindow;
class QtDialogs;

// Whether a display (or Qt's offscreen platform) is there to show a window on.
bool DisplayAvailable();

class WindowFront : public platform::Dialogs {
 public:
  // Boxes go to `headless` until the window is built.
  explicit WindowFront(platform::Dialogs& headless);
  ~WindowFront() override;

  // Installs the shell's window hooks.
  void Attach(app::ProgramShell& shell);

  void MessageBox(const std::string& title, const std::string& text, int iconFlags) override;
  bool AskYesNo(const std::string& title, const std::string& text, bool defaultAnswer) override;
  std::optional<std::string> ChooseOpenFile(const std::string& title, const std::string& defaultName,
                                            const std::string& filter, const std::string& start) override;
  std::optional<std::string> ChooseFolder(const std::string& title, const std::string& start) override;

 private:
  void BuildWindow(app::ProgramShell& shell);

  platform::Dialogs& headless_;
  platform::Dialogs* current_;
  std::unique_ptr<QApplication> application_;
  std::unique_ptr<QtDialogs> qtDialogs_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace vmk::gui
