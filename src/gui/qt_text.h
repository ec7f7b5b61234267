// The edge between the core's Windows-1252 texts and Qt's Unicode strings, and the colours of the window.
#pragma once

#include <QColor>
#include <QString>
#include <string>

#include "screening/sanctions_schema.h"
#include "text/cp1252.h"
#include "text/ui_texts.h"

namespace vmk::gui {

inline QString Qt1252(const std::string& text1252) {
  return QString::fromStdString(text::Cp1252ToUtf8(text1252));
}
inline std::string To1252(const QString& text) {
  return text::Utf8ToCp1252(text.toStdString());
}
inline QString Caption(text::Ui id) {
  return Qt1252(text::UiText(id));
}
inline QColor ToQColor(screening::Rgb colour) {
  return QColor(colour.red, colour.green, colour.blue);
}

}  // namespace vmk::gui
