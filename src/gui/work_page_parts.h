// The pieces every work page carries: the logo picture and the version label.
#pragma once

#include <QLabel>
#include <QWidget>
#include <filesystem>

namespace vmk::gui {

// "Programmversion:  2.65.2129" in white on dark blue.
QLabel* AddVersionLabel(QWidget* page, const QRect& geometry);
// The logo from the program directory, scaled into the rectangle.
QLabel* AddLogo(QWidget* page, const QRect& geometry, const std::filesystem::path& programDirectory);

// A frame caption of the settings: green on white.
void StyleSettingsFrame(QWidget* frame);

}  // namespace vmk::gui
