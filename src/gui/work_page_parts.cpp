#include "gui/work_page_parts.h"

#include <QPixmap>

#include "gui/qt_text.h"

namespace vmk::gui {

QLabel* AddVersionLabel(QWidget* page, const QRect& geometry) {
  auto* label = new QLabel(
      Caption(text::Ui::VersionLabel) + "  2." + QString::number(65) + "." + QString::number(2129), page);
  label->setObjectName("versionLabel");
  label->setGeometry(geometry);
  label->setAlignment(Qt::AlignCenter);
  label->setStyleSheet("QLabel { color: white; background-color: rgb(11, 48, 84); }");
  return label;
}

QLabel* AddLogo(QWidget* page, const QRect& geometry, const std::filesystem::path& programDirectory) {
  auto* logo = new QLabel(page);
  logo->setGeometry(geometry);
  const QPixmap picture(QString::fromStdString((programDirectory / "Tamberlogo.jpg").string()));
  if (!picture.isNull()) {
    logo->setPixmap(picture.scaled(geometry.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
  }
  logo->setAlignment(Qt::AlignCenter);
  return logo;
}

void StyleSettingsFrame(QWidget* frame) {
  frame->setStyleSheet(
      "QGroupBox { background-color: white; margin-top: 8px; }"
      "QGroupBox::title { color: rgb(0, 153, 51); background-color: white; subcontrol-origin: margin; left: "
      "8px; }");
}

}  // namespace vmk::gui
