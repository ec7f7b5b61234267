#include "gui/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QThread>
#include <type_traits>

#include "gui/qt_text.h"

namespace vmk::gui {
namespace {

// Runs `ask` on the GUI thread and returns its answer. A worker thread waits until the person has
// answered; the GUI thread keeps serving its events meanwhile, as its waits for workers do.
template <typename Ask>
auto OnGuiThread(Ask ask) -> decltype(ask()) {
  QCoreApplication* application = QCoreApplication::instance();
  if (QThread::currentThread() == application->thread()) return ask();
  if constexpr (std::is_void_v<decltype(ask())>) {
    QMetaObject::invokeMethod(application, ask, Qt::BlockingQueuedConnection);
  } else {
    decltype(ask()) answer{};
    QMetaObject::invokeMethod(
        application, [&answer, &ask] { answer = ask(); }, Qt::BlockingQueuedConnection);
    return answer;
  }
}

// The text's "\r", "\n" and "\r\n" separators as the line breaks of a plain-text box.
QString BoxText(const std::string& text1252) {
  QString text = Qt1252(text1252);
  text.replace("\r\n", "\n");
  text.replace('\r', '\n');
  return text;
}

QMessageBox::Icon BoxIcon(int iconFlags) {
  switch (iconFlags & 0xF0) {
    case platform::kIconStop:
      return QMessageBox::Critical;
    case platform::kIconQuestion:
      return QMessageBox::Question;
    case platform::kIconWarning:
      return QMessageBox::Warning;
    case platform::kIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

QString StartFolder(const std::string& start1252) {
  return start1252.empty() ? QDir::currentPath() : Qt1252(start1252);
}

// A default name such as "*.csv" only repeats the filter; a real file name is preselected.
bool IsPattern(const std::string& name) {
  return name.find_first_of("*?") != std::string::npos;
}

std::optional<std::string> FirstChosen(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return To1252(dialog.selectedFiles().first());
}

// One name filter: the text without a pattern it already names, then the pattern in parentheses.
QString NameFilter(QString text, const QString& pattern) {
  text = text.trimmed();
  const QString named = "(" + pattern + ")";
  if (text.endsWith(named)) text = text.chopped(named.size()).trimmed();
  QString patterns = pattern;
  patterns.replace(';', ' ');
  return text.isEmpty() ? "(" + patterns + ")" : text + " (" + patterns + ")";
}

}  // namespace

QString QtFileFilter(const std::string& filter1252) {
  const QStringList parts = Qt1252(filter1252).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (!parts[i + 1].isEmpty()) filters.append(NameFilter(parts[i], parts[i + 1]));
  }
  return filters.join(";;");
}

QtDialogs::QtDialogs(QWidget* parent) : parent_(parent) {}

void QtDialogs::MessageBox(const std::string& title, const std::string& text, int iconFlags) {
  OnGuiThread([&] {
    QMessageBox box(BoxIcon(iconFlags), Qt1252(title), BoxText(text), QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
  });
}

bool QtDialogs::AskYesNo(const std::string& title, const std::string& text, bool defaultAnswer) {
  return OnGuiThread([&] {
    QMessageBox box(QMessageBox::Question, Qt1252(title), BoxText(text), QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultAnswer ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
  });
}

std::optional<std::string> QtDialogs::ChooseOpenFile(const std::string& title, const std::string& defaultName,
                                                     const std::string& filter, const std::string& start) {
  return OnGuiThread([&] {
    QFileDialog dialog(parent_, Qt1252(title), StartFolder(start), QtFileFilter(filter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!defaultName.empty() && !IsPattern(defaultName)) dialog.selectFile(Qt1252(defaultName));
    return FirstChosen(dialog);
  });
}

std::optional<std::string> QtDialogs::ChooseFolder(const std::string& title, const std::string& start) {
  return OnGuiThread([&] {
    QFileDialog dialog(parent_, Qt1252(title), StartFolder(start));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    std::optional<std::string> folder = FirstChosen(dialog);
    if (folder && (folder->empty() || folder->back() != '/')) *folder += '/';
    return folder;
  });
}

}  // namespace vmk::gui
