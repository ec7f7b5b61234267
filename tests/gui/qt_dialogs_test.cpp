// The Qt dialogs: the conversion of chooser filters, boxes with their icons and line breaks, choosers that
// start in the given folder and answer in Windows-1252, and questions asked from a worker thread.
#include "gui/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <atomic>
#include <thread>

#include "support/test_support.h"
#include "text/cp1252.h"
#include "window_watch.h"

namespace vmk::gui {
namespace {

using test::WhenShown;
using text::Win1252;

TEST(QtFileFilter, ConvertsWindowsPairsToQtNameFilters) {
  const struct {
    const char* name;
    std::string windows;
    QString qt;
  } cases[] = {
      {"plain pairs", "Text|*.csv|Text|*.txt", "Text (*.csv);;Text (*.txt)"},
      {"pattern already named", "Veldmark pdf Dateien (*.pdf)|*.pdf|Alle Dateien (*.*)|*.*",
       "Veldmark pdf Dateien (*.pdf);;Alle Dateien (*.*)"},
      {"import chooser", " CSV Dateien (*.csv)|*.csv|Text Dateien (*.txt)|*.txt|(*.*)|*.*",
       "CSV Dateien (*.csv);;Text Dateien (*.txt);;(*.*)"},
      {"several patterns", "Tabellen|*.csv;*.txt", "Tabellen (*.csv *.txt)"},
      {"other parentheses kept", "Export (alt)|*.csv", "Export (alt) (*.csv)"},
      {"Windows-1252 text", Win1252("Prüfdateien|*.csv"), QString::fromUtf8("Prüfdateien (*.csv)")},
      {"text without pattern dropped", "Text|*.csv|Rest", "Text (*.csv)"},
      {"empty", "", ""},
  };
  for (const auto& row : cases) EXPECT_EQ(QtFileFilter(row.windows), row.qt) << row.name;
}

TEST(QtDialogs, MessageBoxShowsTheIconOfItsFlagsAndOneLinePerSeparator) {
  const struct {
    int flags;
    QMessageBox::Icon icon;
  } cases[] = {{16, QMessageBox::Critical}, {32, QMessageBox::Question},
               {48, QMessageBox::Warning},  {64, QMessageBox::Information},
               {0, QMessageBox::NoIcon},    {64 + 4, QMessageBox::Information}};
  QtDialogs dialogs(nullptr);
  for (const auto& row : cases) {
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    QString shownTitle, shownText;
    WhenShown<QMessageBox>([&](QMessageBox& box) {
      shownIcon = box.icon();
      shownTitle = box.windowTitle();
      shownText = box.text();
      box.button(QMessageBox::Ok)->click();
    });
    dialogs.MessageBox(Win1252("Bestätigung"), Win1252("Erste\rZweite\r\nDritte\nVierte"), row.flags);
    EXPECT_EQ(shownIcon, row.icon) << "flags " << row.flags;
    EXPECT_EQ(shownTitle, QString::fromUtf8("Bestätigung")) << "flags " << row.flags;
    EXPECT_EQ(shownText, "Erste\nZweite\nDritte\nVierte") << "flags " << row.flags;
  }
}

// The import asks from its worker while the main window is disabled: the box must come up on the GUI
// thread, usable, and its answer must reach the worker.
TEST(QtDialogs, QuestionFromAWorkerIsAskedOnTheGuiThreadAndAnswered) {
  QWidget mainWindow;
  mainWindow.show();
  mainWindow.setEnabled(false);
  QtDialogs dialogs(&mainWindow);
  bool boxEnabled = false;
  QAbstractButton* defaultButton = nullptr;
  QAbstractButton* noButton = nullptr;
  QString shownText;
  WhenShown<QMessageBox>([&](QMessageBox& box) {
    boxEnabled = box.isEnabled();
    defaultButton = box.defaultButton();
    noButton = box.button(QMessageBox::No);
    shownText = box.text();
    box.button(QMessageBox::Yes)->click();
  });
  std::atomic<bool> done{false};
  bool answer = false;
  std::thread worker([&] {
    answer = dialogs.AskYesNo("Listensuche abbrechen", "Angehalten\rWeiter?", false);
    done = true;
  });
  const bool answered = test::ServeEventsUntil([&] { return done.load(); });
  if (!answered) QCoreApplication::exit(1);  // releases a box nobody pressed, so the worker can end
  worker.join();
  ASSERT_TRUE(answered);
  EXPECT_TRUE(answer);
  EXPECT_TRUE(boxEnabled);
  EXPECT_EQ(defaultButton, noButton);
  EXPECT_EQ(shownText, "Angehalten\nWeiter?");
}

TEST(QtDialogs, OpenFileChooserStartsInItsFolderAndAnswersInWindows1252) {
  vmk::testing::TempDir folder;
  const std::string utf8File = (folder / "Stammdaten_Müller.csv").string();
  vmk::testing::WriteFile(utf8File, "A;B;C;D\r\n");
  QtDialogs dialogs(nullptr);
  QString startFolder;
  QStringList filters;
  WhenShown<QFileDialog>([&](QFileDialog& dialog) {
    startFolder = dialog.directory().absolutePath();
    filters = dialog.nameFilters();
    dialog.selectFile(QString::fromStdString(utf8File));
    static_cast<QDialog&>(dialog).accept();  // QFileDialog hides its accept from callers
  });
  const auto chosen =
      dialogs.ChooseOpenFile("Lade Listendatei", "*.csv", "CSV Dateien (*.csv)|*.csv|(*.*)|*.*",
                             text::Utf8ToCp1252(folder.path().string()));
  EXPECT_EQ(startFolder, QString::fromStdString(folder.path().string()));
  EXPECT_EQ(filters, QStringList({"CSV Dateien (*.csv)", "(*.*)"}));
  EXPECT_EQ(chosen, text::Utf8ToCp1252(utf8File));

  WhenShown<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
  EXPECT_EQ(dialogs.ChooseOpenFile("Lade Listendatei", "*.csv", "Text|*.csv", ""), std::nullopt);
}

TEST(QtDialogs, FolderChooserAnswersWithATrailingSeparator) {
  vmk::testing::TempDir folder;
  QtDialogs dialogs(nullptr);
  QString startFolder;
  WhenShown<QFileDialog>([&](QFileDialog& dialog) {
    startFolder = dialog.directory().absolutePath();
    static_cast<QDialog&>(dialog).accept();  // QFileDialog hides its accept from callers
  });
  const auto chosen = dialogs.ChooseFolder("Batch Pfad", folder.path().string());
  EXPECT_EQ(startFolder, QString::fromStdString(folder.path().string()));
  EXPECT_EQ(chosen, folder.path().string() + "/");
}

}  // namespace
}  // namespace vmk::gui
