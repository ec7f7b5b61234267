// The whitelist editor window driven by clicks and typing: adding, blanking and saving entries over the
// disabled main window, its frame that cannot close it, and the refusal of ";" through the dialogs port.
#include "gui/whitelist_editor_window.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "support/test_support.h"
#include "text/ui_texts.h"
#include "window_watch.h"

namespace vmk::gui {
namespace {

using test::WhenShown;

QStringList Rows(const QTreeWidget& list) {
  QStringList rows;
  for (int i = 0; i < list.topLevelItemCount(); ++i) rows.append(list.topLevelItem(i)->text(0));
  return rows;
}

class WhitelistEditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { vmk::testing::WriteFile(data_ / "WL.dat", "GmbH\r\n\r\nAG\r\n"); }

  vmk::testing::TempDir data_;
  vmk::testing::RecordingDialogs dialogs_;
};

TEST_F(WhitelistEditorWindowTest, AddsBlanksAndSavesOverTheDisabledMainWindow) {
  QWidget mainWindow;
  mainWindow.show();
  struct Seen {
    QString title, header;
    QSize size;
    QStringList captions, opened, afterNew, afterDelete;
    QString inputAfterNew;
    bool mainEnabled = true, visibleAfterClose = false;
  } seen;
  WhenShown<WhitelistEditorWindow>([&](WhitelistEditorWindow& window) {
    seen.title = window.windowTitle();
    seen.size = window.size();
    seen.header = window.List()->headerItem()->text(0);
    seen.captions = {window.NewButton()->text(), window.DeleteButton()->text(), window.SaveButton()->text()};
    seen.mainEnabled = mainWindow.isEnabled();
    seen.opened = Rows(*window.List());
    window.close();
    seen.visibleAfterClose = window.isVisible();
    QTest::keyClicks(window.Input(), "Bank");
    QTest::mouseClick(window.NewButton(), Qt::LeftButton);
    seen.inputAfterNew = window.Input()->text();
    window.Input()->setText(QString::fromUtf8("Müller"));  // the test's keyboard types ASCII only
    QTest::mouseClick(window.NewButton(), Qt::LeftButton);
    seen.afterNew = Rows(*window.List());
    window.List()->setCurrentItem(window.List()->topLevelItem(0));
    QTest::mouseClick(window.DeleteButton(), Qt::LeftButton);
    seen.afterDelete = Rows(*window.List());
    QTest::mouseClick(window.SaveButton(), Qt::LeftButton);
  });
  ShowWhitelistEditor(&mainWindow, data_.path(), dialogs_);

  EXPECT_EQ(seen.title, "WhiteList");
  EXPECT_EQ(seen.size, QSize(300, 330));
  EXPECT_EQ(seen.header, "Begriff");
  EXPECT_EQ(seen.captions,
            QStringList({"Neu", QString::fromUtf8("Löschen"), QString::fromUtf8("Speichern + Schließen")}));
  EXPECT_FALSE(seen.mainEnabled);
  EXPECT_TRUE(seen.visibleAfterClose);
  EXPECT_EQ(seen.opened, QStringList({"GmbH", "AG"}));
  EXPECT_EQ(seen.afterNew, QStringList({"GmbH", "AG", "Bank", QString::fromUtf8("Müller")}));
  EXPECT_EQ(seen.inputAfterNew, "");
  EXPECT_EQ(seen.afterDelete, QStringList({"", "AG", "Bank", QString::fromUtf8("Müller")}));
  EXPECT_TRUE(mainWindow.isEnabled());
  EXPECT_EQ(vmk::testing::ReadFile(data_ / "WL.dat"), "AG\r\nBank\r\nM\xFCller\r\n");
  EXPECT_TRUE(dialogs_.boxes.empty());
}

TEST_F(WhitelistEditorWindowTest, SemicolonIsRefusedWithANoticeAndAnEmptyFieldAddsNothing) {
  WhitelistEditorWindow window(nullptr, data_.path(), dialogs_);
  QTest::mouseClick(window.NewButton(), Qt::LeftButton);
  EXPECT_TRUE(dialogs_.boxes.empty());

  QTest::keyClicks(window.Input(), ";");
  QTest::mouseClick(window.NewButton(), Qt::LeftButton);
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].title, "Hinweis");
  EXPECT_EQ(dialogs_.boxes[0].text, text::UiText(text::Ui::MsgSemicolonReserved));
  EXPECT_EQ(dialogs_.boxes[0].icon, platform::kIconWarning);
  EXPECT_EQ(window.Input()->text(), "");
  EXPECT_EQ(Rows(*window.List()), QStringList({"GmbH", "AG"}));
}

}  // namespace
}  // namespace vmk::gui
