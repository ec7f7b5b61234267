// Windows opened over the main window: top-level windows kept above it (a child window would be disabled
// together with the main window), and the kind that runs its own event loop while the main window waits.
#pragma once

#include <QEventLoop>
#include <QWidget>

namespace vmk::gui {

// Keeps `window` above `mainWindow` for the window manager; a null main window leaves it alone.
void KeepAbove(QWidget* window, QWidget* mainWindow);

// A window whose frame cannot close it: it ends only when EndLoop is called by one of its buttons.
class LoopWindow : public QWidget {
 public:
  explicit LoopWindow(QWidget* mainWindow);

  // Disables the main window, shows this window and serves events until EndLoop; then hides this window,
  // enables the main window and makes it the active window.
  void RunOverMainWindow();
  void EndLoop();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* mainWindow_;
  QEventLoop loop_;
};

}  // namespace vmk::gui
