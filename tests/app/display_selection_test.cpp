#include "app/display_selection.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "app/single_search_run.h"
#include "platform/folders.h"
#include "support/test_support.h"

namespace vmk::app {
namespace {

using screening::ListId;
using testing::Entry;

class DisplaySelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("VELDMARK_ROOT", root_.path().c_str(), 1);
    ASSERT_EQ(settings_.Startup(), 0);
    publish::SanctionsData data;
    data.entries = {Entry(ListId::EU, {{"Name", "Bank Melli Iran"}, {"Address", "Tehran"}}),
                    Entry(ListId::US, {{"Name", "BANK MELLI"}, {"City", "Tehran"}})};
    testing::WriteDatabasePack(dir_.path(), data);
    model_.SetSavePath(dir_.path().string() + "/");
    LoadDisplaySelection(context_);
    FillSelectionLists(context_);
  }
  void TearDown() override { unsetenv("VELDMARK_ROOT"); }

  SelectionPanel Panel(ListId list) const { return model_.SelectionPanels()[static_cast<std::size_t>(list)]; }
  bool WorkingCopy() const { return std::filesystem::exists(dir_ / "KESTO.adb"); }

  testing::TempDir root_, dir_;
  testing::FakeClock clock_;
  MainWindowModel model_;
  screening::SearchState search_;
  log::RunLog runLog_{clock_};
  testing::RecordingDialogs dialogs_;
  testing::RecordingDesktop desktop_;
  SettingsBinding settings_{platform::ProgramDirectory()};
  AppContext context_{model_,    search_, runLog_,     dialogs_,   desktop_,
                      settings_, clock_,  dir_.path(), dir_.path()};
};

TEST_F(DisplaySelectionTest, ChecklistsFollowTheStoredSelectionsAndStartClosed) {
  const SelectionPanel us = Panel(ListId::US);
  ASSERT_EQ(us.labels.size(), 31u);  // the 33-character default ticks all 31 fields
  EXPECT_EQ(std::count(us.ticked.begin(), us.ticked.end(), true), 31);
  EXPECT_EQ(us.labels[13], "Expire");
  EXPECT_EQ(Panel(ListId::UN).labels.size(), 19u);
  EXPECT_EQ(Panel(ListId::UN).labels[0], "Data ID");
  EXPECT_FALSE(us.open);
  EXPECT_EQ(us.height, 0);
  EXPECT_EQ(us.buttonText, "Anzeigeauswahl einblenden");
}

TEST_F(DisplaySelectionTest, AClickWithoutSearchSavesTheChoiceButSearchesNothing) {
  ClickSelectionEntry(context_, ListId::US, 30);
  EXPECT_EQ(settings_.ReadSelectedUSDisplayItems(), std::string(30, '1') + "00");
  EXPECT_EQ(settings_.ReadSelectedUNDisplayItems(), std::string(20, '1'));  // written unchanged
  ClickSelectionEntry(context_, ListId::UN, 0);
  EXPECT_EQ(settings_.ReadSelectedUNDisplayItems(), "0" + std::string(18, '1') + "0");
  EXPECT_TRUE(model_.HitReports()[3].rows.empty());
  EXPECT_EQ(clock_.pausedMilliseconds, 200);
}

TEST_F(DisplaySelectionTest, AClickAfterASearchRefreshesTheReportsEvenWithoutWorkingCopy) {
  model_.SetSearchFields({"Bank", "", "", ""});
  RunSingleSearch(context_);
  ASSERT_FALSE(WorkingCopy());
  EXPECT_EQ(model_.HitReports()[0].rows[1].label, "Entity");

  ToggleSelectionPanel(context_, ListId::EU);
  ToggleSelectionPanel(context_, ListId::US);
  ToggleSelectionPanel(context_, ListId::US);  // closing the US panel deletes the working copy
  ASSERT_FALSE(WorkingCopy());
  ClickSelectionEntry(context_, ListId::EU, 0);  // untick "Entity"

  EXPECT_EQ(settings_.ReadSelectedEUDisplayItems(), "0" + std::string(28, '1'));
  const auto reports = model_.HitReports();
  EXPECT_EQ(search_.hitCounts[0], 1);
  EXPECT_EQ(reports[0].rows[1].label, "Entity Typ");
  EXPECT_EQ(reports[0].rows.size(), 1u + 28 + 1);
  EXPECT_EQ(search_.hitCounts[3], 1);
}

TEST_F(DisplaySelectionTest, TogglingUnpacksAndDeletesTheWorkingCopy) {
  ToggleSelectionPanel(context_, ListId::UK);
  SelectionPanel uk = Panel(ListId::UK);
  EXPECT_TRUE(uk.open);
  EXPECT_EQ(uk.height, 350);
  EXPECT_FALSE(uk.countVisible);
  EXPECT_EQ(uk.buttonText, "Anzeigeauswahl ausblenden");
  EXPECT_TRUE(WorkingCopy());
  ToggleSelectionPanel(context_, ListId::UK);
  uk = Panel(ListId::UK);
  EXPECT_FALSE(uk.open);
  EXPECT_EQ(uk.height, 0);
  EXPECT_TRUE(uk.countVisible);
  EXPECT_EQ(uk.buttonText, "Anzeigeauswahl einblenden");
  EXPECT_FALSE(WorkingCopy());
}

}  // namespace
}  // namespace vmk::app
