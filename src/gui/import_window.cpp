#include "gui/import_window.h"

#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>

#include "gui/loop_window.h"
#include "gui/qt_text.h"

namespace vmk::gui {

ImportWindow::ImportWindow(QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      mainWindow_(mainWindow),
      progress_(new QProgressBar(this)),
      status_(new QStatusBar(this)) {
  setObjectName("importWindow");
  setWindowTitle(Caption(text::Ui::ImportWindowTitle));
  setFixedSize(410, 54);
  progress_->setGeometry(8, 6, 394, 22);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  status_->setGeometry(0, 32, 410, 22);
  status_->setSizeGripEnabled(false);
  if (mainWindow != nullptr) connect(mainWindow, &QObject::destroyed, this, [this] { delete this; });
}

void ImportWindow::Render(const app::ImportWindowState& state) {
  status_->showMessage(Qt1252(state.statusText));
  progress_->setValue(std::clamp(state.percent, 0, 100));
  if (!state.visible) {
    hide();
  } else if (!isVisible()) {
    KeepAbove(this, mainWindow_);
    show();
  }
}

}  // namespace vmk::gui
