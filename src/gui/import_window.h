// The small progress window of the master-data import: a view of the window model's import state with a
// progress bar and a status bar, shown above the main window while the import runs.
#pragma once

#include <QWidget>

#include "app/main_window_model.h"

class QProgressBar;
class QStatusBar;

namespace vmk::gui {

class ImportWindow : public QWidget {
 public:
  // A window of its own rather than a child of the main window, which would grey it out when the import
  // disables the main window; it goes when the main window goes.
  explicit ImportWindow(QWidget* mainWindow);

  // Shows or hides the window and puts the status text and the percentage into it.
  void Render(const app::ImportWindowState& state);

  QProgressBar* Progress() const { return progress_; }
  QStatusBar* Status() const { return status_; }

 private:
  QWidget* mainWindow_;
  QProgressBar* progress_;
  QStatusBar* status_;
};

}  // namespace vmk::gui
