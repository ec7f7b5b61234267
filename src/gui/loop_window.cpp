#include "gui/loop_window.h"

#include <QCloseEvent>
#include <QWindow>

namespace vmk::gui {

void KeepAbove(QWidget* window, QWidget* mainWindow) {
  if (mainWindow == nullptr) return;
  // Asking for the ids creates both platform windows, so the link is there before the window is mapped.
  window->winId();
  mainWindow->window()->winId();
  window->windowHandle()->setTransientParent(mainWindow->window()->windowHandle());
}

LoopWindow::LoopWindow(QWidget* mainWindow) : mainWindow_(mainWindow) {}

void LoopWindow::RunOverMainWindow() {
  if (mainWindow_ != nullptr) mainWindow_->setEnabled(false);
  KeepAbove(this, mainWindow_);
  show();
  activateWindow();
  loop_.exec();
  hide();
  if (mainWindow_ != nullptr) {
    mainWindow_->setEnabled(true);
    mainWindow_->activateWindow();
  }
}

void LoopWindow::EndLoop() {
  loop_.quit();
}

// The frame's close request is not handled: the window's own button is its only way out.
void LoopWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
}

}  // namespace vmk::gui
