// The help window: the local help pages in a browser above a strip with one image button, shown over the
// disabled main window with an event loop of its own that only that button ends.
#pragma once

#include <filesystem>

#include "gui/loop_window.h"

class QPushButton;
class QTextBrowser;

namespace vmk::gui {

class HelpWindow : public LoopWindow {
 public:
  // Opens Hilfe/Willkommen.html below the program directory.
  HelpWindow(QWidget* mainWindow, const std::filesystem::path& programDirectory);

  QTextBrowser* Browser() const { return browser_; }
  QPushButton* CloseButton() const { return close_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void LayOut();
  QTextBrowser* browser_;
  QPushButton* close_;
};

// Shows the help window and returns when its button has closed it, with the main window enabled and
// active again.
void ShowHelpWindow(QWidget* mainWindow, const std::filesystem::path& programDirectory);

}  // namespace vmk::gui
