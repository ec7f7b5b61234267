#include "gui/window_front.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gui/main_window.h"
#include "gui/qt_dialogs.h"
#include "screening/run_mode.h"

namespace vmk::gui {

namespace {

using screening::RunMode;

// The modes whose window is shown: the interactive ones, and "/b" minimised and disabled. The other
// batch modes keep theirs hidden, so they never need a display.
bool ModeShowsWindow(RunMode mode) {
  return mode == RunMode::Interactive || mode == RunMode::DatabaseUpdate || mode == RunMode::ListBatch;
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// A local X display ":N" or ":N.S" is there when its socket is; a remote one is taken on trust.
bool XDisplayReachable(const std::string& display) {
  if (display.empty()) return false;
  if (display[0] != ':') return true;
  const std::string number = display.substr(1, display.find('.') - 1);
  return std::filesystem::exists("/tmp/.X11-unix/X" + number);
}

bool WaylandDisplayReachable(const std::string& display) {
  if (display.empty()) return false;
  if (display[0] == '/') return std::filesystem::exists(display);
  const std::string runtime = Variable("XDG_RUNTIME_DIR");
  return !runtime.empty() && std::filesystem::exists(std::filesystem::path(runtime) / display);
}

}  // namespace

// Qt ends the process when it cannot reach its display, so the display is checked before Qt starts.
bool DisplayAvailable() {
  return !Variable("QT_QPA_PLATFORM").empty() || WaylandDisplayReachable(Variable("WAYLAND_DISPLAY")) ||
         XDisplayReachable(Variable("DISPLAY"));
}

WindowFront::WindowFront(platform::Dialogs& headless) : headless_(headless), current_(&headless) {}

WindowFront::~WindowFront() = default;

void WindowFront::Attach(app::ProgramShell& shell) {
  shell.buildWindow = [this, &shell] {
    if (ModeShowsWindow(shell.context.runMode) && DisplayAvailable()) BuildWindow(shell);
  };
}

void WindowFront::BuildWindow(app::ProgramShell& shell) {
  static int argc = 1;
  static char name[] = "veldmark";
  static char* argv[] = {name, nullptr};
  application_ = std::make_unique<QApplication>(argc, argv);
  MainWindowSetup setup;
  setup.updateServer = shell.updateServer;
  setup.updateStamp = [&shell] { return shell.updateStamp; };
  setup.closed = [] { QApplication::quit(); };
  window_ = std::make_unique<MainWindow>(shell.context, std::move(setup));
  qtDialogs_ = std::make_unique<QtDialogs>(window_.get());
  current_ = qtDialogs_.get();
  shell.runEventLoop = [] { QApplication::exec(); };
  shell.processEvents = [] { QApplication::processEvents(); };
  QApplication::processEvents();
}

void WindowFront::MessageBox(const std::string& title, const std::string& text, int iconFlags) {
  current_->MessageBox(title, text, iconFlags);
}

bool WindowFront::AskYesNo(const std::string& title, const std::string& text, bool defaultAnswer) {
  return current_->AskYesNo(title, text, defaultAnswer);
}

std::optional<std::string> WindowFront::ChooseOpenFile(const std::string& title,
                                                       const std::string& defaultName,
                                                       const std::string& filter, const std::string& start) {
  return current_->ChooseOpenFile(title, defaultName, filter, start);
}

std::optional<std::string> WindowFront::ChooseFolder(const std::string& title, const std::string& start) {
  return current_->ChooseFolder(title, start);
}

}  // namespace vmk::gui
