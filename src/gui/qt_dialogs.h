// The dialogs port with modal Qt boxes and choosers. A call from a worker thread is carried over to the
// GUI thread and waits there for the person's answer, so workers may ask as the window does.
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "platform/dialogs.h"

class QWidget;

namespace vmk::gui {

// A chooser filter of text and pattern pairs, "Text|*.csv|Text|*.txt" (Windows-1252), as Qt's name
// filters "Text (*.csv);;Text (*.txt)". A text that already ends with its pattern in parentheses keeps
// it once; patterns joined by ";" become blank-separated; a text without a pattern is dropped.
QString QtFileFilter(const std::string& filter1252);

class QtDialogs : public platform::Dialogs {
 public:
  // The boxes and choosers are shown over `parent`, which may be null.
  explicit QtDialogs(QWidget* parent);

  void MessageBox(const std::string& title, const std::string& text, int iconFlags) override;
  bool AskYesNo(const std::string& title, const std::string& text, bool defaultAnswer) override;
  std::optional<std::string> ChooseOpenFile(const std::string& title, const std::string& defaultName,
                                            const std::string& filter, const std::string& start) override;
  std::optional<std::string> ChooseFolder(const std::string& title, const std::string& start) override;

 private:
  QWidget* parent_;
};

}  // namespace vmk::gui
