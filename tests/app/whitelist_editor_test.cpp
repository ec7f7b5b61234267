#include "app/whitelist_editor.h"

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "text/cp1252.h"

namespace vmk::app {
namespace {

using testing::ReadFile;
using testing::RecordingDialogs;
using testing::TempDir;
using testing::WriteFile;

TEST(WhitelistEditor, ListsTheNonEmptyLinesAndSavesTheNonEmptyEntries) {
  TempDir dir;
  RecordingDialogs dialogs;
  WriteFile(dir / "WL.dat", "GmbH\r\n\r\nAG\r\n");
  WhitelistEditor editor(dir.path(), dialogs);
  editor.Open();
  EXPECT_EQ(editor.Entries(), (std::vector<std::string>{"GmbH", "AG"}));

  editor.input = " Ltd ";  // neither trimmed nor compared with the entries
  editor.New();
  editor.input = "AG";
  editor.New();
  EXPECT_EQ(editor.input, "");
  editor.input = "";
  editor.New();
  editor.selected = 0;
  editor.Delete();
  EXPECT_EQ(editor.Entries(), (std::vector<std::string>{"", "AG", " Ltd ", "AG"}));
  editor.selected = -1;
  editor.Delete();
  EXPECT_FALSE(editor.CloseByFrame());
  EXPECT_TRUE(editor.SaveAndClose());
  EXPECT_EQ(ReadFile(dir / "WL.dat"), "AG\r\n Ltd \r\nAG\r\n");
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(WhitelistEditor, RefusesTheSemicolonAndCreatesAMissingFile) {
  TempDir dir;
  RecordingDialogs dialogs;
  WhitelistEditor editor(dir.path(), dialogs);
  editor.Open();
  EXPECT_TRUE(std::filesystem::exists(dir / "WL.dat"));
  editor.input = ";";
  editor.New();
  EXPECT_TRUE(editor.Entries().empty());
  EXPECT_EQ(editor.input, "");
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].title, "Hinweis");
  EXPECT_EQ(
      dialogs.boxes[0].text,
      text::Win1252("Das eingegebenen Zeichen ';' ist ein Steuerzeichen und darf nicht gelöscht werden"));
  EXPECT_EQ(dialogs.boxes[0].icon, platform::kIconWarning);
}

}  // namespace
}  // namespace vmk::app
