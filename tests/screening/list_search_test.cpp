#include "screening/list_search.h"

#include <gtest/gtest.h>

#include "publish/sanctions_db_writer.h"
#include "support/test_support.h"
#include "text/cp1252.h"

namespace vmk::screening {
namespace {

using testing::Entry;
using testing::FakeClock;
using testing::ReadFile;
using testing::TempDir;
using text::Win1252;

class SearchListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    publish::SanctionsData data;
    data.entries = {
        Entry(ListId::EU, {{"Name", "Bank Melli Iran"}, {"Programme", "IRN"}, {"Address", "Ferdowsi Ave"}}),
        Entry(ListId::EU, {{"WholeName", "Melli Bank PLC"}, {"Address", "London"}}),
        Entry(ListId::EU, {{"Name", "Unrelated Trading"}, {"Address", "Nowhere"}}),
        Entry(ListId::UN, {{"RowId", "77"}, {"FirstName", "BANK MELLI"}, {"Address", "Tehran"}}),
        Entry(ListId::UK, {{"Name6", "BANK MELLI"}, {"Address1", "Tehran"}}),
    };
    // An entry whose name columns are all NULL is never found while a name term is empty.
    publish::ListEntry nullNames = Entry(ListId::EU, {{"Address", "Ferdowsi Ave"}});
    for (const char* column : {"Name", "FirstName", "LastName", "MiddleName", "WholeName"}) {
      nullNames.values[column] = std::nullopt;
    }
    data.entries.push_back(nullNames);
    ASSERT_EQ(publish::WriteSanctionsDatabase(database_, data), "");
    state_.terms = {"Melli", "", "", ""};
    state_.selection = {std::string(29, '1'), std::string(20, '1'), std::string(29, '1'),
                        std::string(33, '1')};
  }

  HitReport Search(ListId list) {
    HitReport report;
    SearchList(list, state_, database_, report, runLog_);
    return report;
  }

  TempDir dir_;
  std::filesystem::path database_ = dir_ / "KESTO.adb";
  SearchState state_;
  FakeClock clock_;
  log::RunLog runLog_{clock_};
};

TEST_F(SearchListTest, EveryHitListsItsSelectedFieldsThenTheSeparator) {
  const HitReport report = Search(ListId::EU);
  EXPECT_EQ(state_.hitCounts[0], 2);
  EXPECT_EQ(report.countLabel, "Anzahl Treffer  :     2");
  ASSERT_EQ(report.rows.size(), 2u * (1 + 29 + 1));
  EXPECT_EQ(report.rows[0], (HitRow{"Datensatz Nr.", "0"}));
  EXPECT_EQ(report.rows[1], (HitRow{"Entity", "Bank Melli Iran"}));
  EXPECT_EQ(report.rows[6], (HitRow{"Entity Programme ", "IRN"}));
  EXPECT_EQ(report.rows[28], (HitRow{Win1252("Angehöriger Wert"), ""}));
  EXPECT_EQ(report.rows[30], (HitRow{std::string(10, '~'), std::string(53, '~')}));
  EXPECT_EQ(report.rows[31], (HitRow{"Datensatz Nr.", "1"}));
  EXPECT_EQ(report.markers, (std::vector<std::size_t>{30, 61}));
}

TEST_F(SearchListTest, TheSelectionStringChoosesTheFields) {
  state_.selection[0] = "1000000000001";  // Entity and Gender only (character k shows position k - 1)
  state_.selection[1] = std::string(20, '1');
  HitReport eu = Search(ListId::EU);
  ASSERT_EQ(eu.rows.size(), 8u);
  EXPECT_EQ(eu.rows[1].label, "Entity");
  EXPECT_EQ(eu.rows[2], (HitRow{"Gender", ""}));

  // The UN selection's character k shows position k, so position 0 never appears.
  HitReport un = Search(ListId::UN);
  ASSERT_EQ(un.rows.size(), 1u + 19 + 1);
  EXPECT_EQ(un.rows[1], (HitRow{"Data ID", ""}));
  for (const HitRow& row : un.rows) EXPECT_NE(row.value, "77");

  state_.selection[0] = "";
  eu = Search(ListId::EU);
  ASSERT_EQ(eu.rows.size(), 4u);
  EXPECT_EQ(eu.rows[1].label, std::string(10, '~'));
}

TEST_F(SearchListTest, PhoneticDisplayAddsTheKeyRowsBetweenTheSeparators) {
  state_.phoneticDisplay = true;
  state_.selection[2] = "";
  const HitReport uk = Search(ListId::UK);
  const std::vector<HitRow> expected = {
      {"Datensatz Nr.", "0"},
      {std::string(10, '~'), std::string(46, '~')},
      {"SDEXName", "B8300000 M7000000"},
      {"SDEXAddress", "D9800000"},
      {"DMName", "PNKM PNK ML"},
      {"DMAddress", "TRN TRN"},
      {std::string(10, '*'), std::string(46, '*')},
  };
  EXPECT_EQ(uk.rows, expected);
  EXPECT_EQ(uk.markers, (std::vector<std::size_t>{6}));
}

TEST_F(SearchListTest, ListWithoutHitHasAnEmptyReport) {
  state_.terms = {"Zzyzx", "", "", ""};
  const HitReport us = Search(ListId::US);
  EXPECT_TRUE(us.rows.empty());
  EXPECT_EQ(us.countLabel, "Anzahl Treffer  :     0");
}

TEST_F(SearchListTest, FailedQueryGivesNoHitAndClearsThePreviousReport) {
  ASSERT_TRUE(runLog_.Open(dir_ / "RunLog.txt"));
  HitReport report;
  SearchList(ListId::EU, state_, database_, report, runLog_);
  ASSERT_FALSE(report.rows.empty());
  SearchList(ListId::EU, state_, dir_ / "missing.adb", report, runLog_);
  runLog_.Close();
  EXPECT_TRUE(report.rows.empty());
  EXPECT_EQ(state_.hitCounts[0], 0);
  EXPECT_EQ(report.countLabel, "Anzahl Treffer  :     0");
  EXPECT_EQ(ReadFile(dir_ / "RunLog.txt"),
            "09:05:07  Uhr / Suche in EU Datenbank gestartet. DB \xC3\xB6"
            "ffnen Ergebnis = 1\r\n"
            "09:05:07  Uhr / Suche in EU Datenbank beendet mit 2Treffern \r\n"
            "09:05:07  Uhr / Suche in EU Datenbank gestartet. DB \xC3\xB6"
            "ffnen Ergebnis = 0\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "missing.adb"));
}

TEST_F(SearchListTest, SearchAllListsFillsTheFourReportsInOrder) {
  HitReports reports;
  SearchAllLists(state_, database_, reports, runLog_);
  EXPECT_EQ(state_.hitCounts, (std::array<int, 4>{2, 1, 1, 0}));
  EXPECT_EQ(reports[1].countLabel, "Anzahl Treffer  :     1");
  EXPECT_EQ(reports[2].rows[1], (HitRow{"Name 6", "BANK MELLI"}));
}

}  // namespace
}  // namespace vmk::screening
