// The program's own pictures, drawn in code: the status-bar shields and update icon, the image buttons
// and the background of the main window. Each is drawn to the size asked for.
#pragma once

#include <QPixmap>
#include <QSize>

namespace vmk::gui {

enum class Picture {
  ShieldStarting,        // blue shield with a question mark: the database state is not known yet
  ShieldCurrent,         // green shield with a check mark: the lists are current
  ShieldNotCurrent,      // red-orange shield with an exclamation mark: the lists are not current
  UpdateAvailable,       // down arrow on a circle: a program update can be downloaded
  HelpFileButton,        // book with a question mark: opens the help file
  HelpWindowButton,      // "i" on a circle: opens the help window
  SupportMessageButton,  // envelope: sends the support message
  CloseHelpButton,       // the caption "Schließen" on a button face: closes the help window
  Background,            // calm dark-blue gradient behind the controls of the main window
};

// The picture drawn to `size` on a transparent ground; an empty size gives a null pixmap.
QPixmap DrawPicture(Picture picture, QSize size);

}  // namespace vmk::gui
