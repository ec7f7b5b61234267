#include "lists/search_history.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "support/test_support.h"

namespace vmk::lists {
namespace {

using testing::FakeClock;
using testing::TempDir;

// All rows of the history, each as its fourteen values joined by "|", NULL written as "<null>".
std::vector<std::string> Rows(const std::filesystem::path& file) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_stmt* statement = nullptr;
  std::vector<std::string> rows;
  if (sqlite3_prepare_v2(db, "SELECT * FROM History", -1, &statement, nullptr) == SQLITE_OK) {
    while (sqlite3_step(statement) == SQLITE_ROW) {
      std::string row;
      for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
        row += (i > 0 ? "|" : "") + std::string(value != nullptr ? value : "<null>");
      }
      rows.push_back(row);
    }
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return rows;
}

class HistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock_.now = {2026, 12, 11, 9, 5, 7};
    CreateHistoryDatabase(file_, runLog_);
  }
  TempDir dir_;
  std::filesystem::path file_ = dir_ / "Historie.sqlite";
  FakeClock clock_;
  log::RunLog runLog_{clock_};
};

TEST_F(HistoryTest, CreatedOnceWithExactlyTheColumnList) {
  sqlite3* db = nullptr;
  sqlite3_open(file_.c_str(), &db);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_master", -1, &statement, nullptr);
  ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))),
            "CREATE TABLE History (Datum LONG, Suche1 TEXT, Suche2 TEXT, Suche3 TEXT, Suche4 TEXT, Treffer1 "
            "CHAR(5), "
            "Treffer2 CHAR(5), Treffer3 CHAR(5), Treffer4 CHAR(5), Listendatum1 TEXT, Listendatum2 TEXT, "
            "Listendatum3 TEXT, Listendatum4 TEXT, PDFLink TEXT)");
  EXPECT_NE(sqlite3_step(statement), SQLITE_ROW);
  sqlite3_finalize(statement);
  sqlite3_close(db);

  ASSERT_TRUE(RecordListSearch(file_, "/x.pdf", "Listensuche", clock_).Ok());
  CreateHistoryDatabase(file_, runLog_);  // a second start leaves the file as it is
  EXPECT_EQ(Rows(file_).size(), 1u);
}

TEST_F(HistoryTest, RowsOfBothKindsKeepTheirValuesApostrophesIncluded) {
  SingleSearchRecord record{{"O'Brien", "", "Main St", ""},
                            {0, 0, 0, 0},
                            {"Datenbank vom   : 28.01.2026", "Datenbank vom   : -", "d3", "d4"},
                            "/save/VMK_ES_2026-12-11-09-05-07.pdf"};
  ASSERT_TRUE(RecordSingleSearch(file_, record, clock_).Ok());
  record.pdfPath.clear();
  ASSERT_TRUE(RecordSingleSearch(file_, record, clock_).Ok());  // the same second: both rows remain
  ASSERT_TRUE(RecordListSearch(file_, "/save/KESTO_LS.pdf", "Listensuche", clock_).Ok());
  const std::string seconds = "1796979907";
  EXPECT_EQ(
      Rows(file_),
      (std::vector<std::string>{
          seconds + "|O'Brien||Main St||0|0|0|0|Datenbank vom   : 28.01.2026|Datenbank vom   : -|d3|d4|"
                    "/save/VMK_ES_2026-12-11-09-05-07.pdf",
          seconds + "|O'Brien||Main St||0|0|0|0|Datenbank vom   : 28.01.2026|Datenbank vom   : -|d3|d4|",
          seconds + "|Listensuche|<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>|"
                    "<null>|/save/KESTO_LS.pdf"}));
}

TEST_F(HistoryTest, FailuresSayWhereTheyHappened) {
  TempDir other;
  EXPECT_EQ(RecordListSearch(other / "missing.sqlite", "", "Listensuche", clock_).stage,
            HistoryResult::Stage::OpenFailed);
  EXPECT_FALSE(std::filesystem::exists(other / "missing.sqlite"));
  testing::WriteFile(other / "Historie.sqlite", "");  // a file without the table is never repaired
  const HistoryResult result = RecordListSearch(other / "Historie.sqlite", "", "Listensuche", clock_);
  EXPECT_EQ(result.stage, HistoryResult::Stage::InsertFailed);
  EXPECT_EQ(result.error, "no such table: History");
}

}  // namespace
}  // namespace vmk::lists
