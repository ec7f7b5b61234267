#include "gui/help_window.h"

#include <QFile>
#include <QIcon>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <algorithm>

#include "gui/pictures.h"
#include "gui/qt_text.h"

namespace vmk::gui {
namespace {

constexpr int kButtonStrip = 42;
const QSize kButtonSize(200, 40);

QUrl WelcomePage(const std::filesystem::path& programDirectory) {
  return QUrl::fromLocalFile(QFile::decodeName((programDirectory / "Hilfe" / "Willkommen.html").c_str()));
}

}  // namespace

HelpWindow::HelpWindow(QWidget* mainWindow, const std::filesystem::path& programDirectory)
    : LoopWindow(mainWindow), browser_(new QTextBrowser(this)), close_(new QPushButton(this)) {
  setObjectName("helpWindow");
  setWindowTitle(Caption(text::Ui::HelpWindowTitle));
  browser_->setOpenExternalLinks(true);
  browser_->setSource(WelcomePage(programDirectory));
  close_->setObjectName("closeHelpButton");
  close_->setAccessibleName(Caption(text::Ui::ButtonCloseHelp));
  close_->setIcon(QIcon(DrawPicture(Picture::CloseHelpButton, kButtonSize)));
  close_->setIconSize(kButtonSize);
  close_->setStyleSheet("QPushButton { border: none; padding: 0px; }");
  connect(close_, &QPushButton::clicked, this, &HelpWindow::EndLoop);
  resize(924, 668);
  move(50, 50);
  LayOut();
}

void HelpWindow::resizeEvent(QResizeEvent* event) {
  LoopWindow::resizeEvent(event);
  LayOut();
}

// The browser takes all but the strip at the bottom; the button stands in the middle of that strip.
void HelpWindow::LayOut() {
  const int browserHeight = std::max(0, height() - kButtonStrip);
  browser_->setGeometry(0, 0, width(), browserHeight);
  close_->setGeometry((width() - kButtonSize.width()) / 2,
                      browserHeight + (kButtonStrip - kButtonSize.height()) / 2, kButtonSize.width(),
                      kButtonSize.height());
}

void ShowHelpWindow(QWidget* mainWindow, const std::filesystem::path& programDirectory) {
  HelpWindow window(mainWindow, programDirectory);
  window.RunOverMainWindow();
}

}  // namespace vmk::gui
