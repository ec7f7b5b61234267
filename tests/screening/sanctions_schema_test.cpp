#include "screening/sanctions_schema.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "publish/sanctions_db_writer.h"
#include "support/test_support.h"

namespace vmk::screening {
namespace {

TEST(SanctionsSchema, QueriedColumnsStandAtTheirPositions) {
  struct Case {
    ListId list;
    int columns;
    std::vector<std::pair<const char*, int>> positions;
  };
  const Case cases[] = {
      {ListId::EU,
       47,
       {{"LastName", 8},
        {"FirstName", 9},
        {"MiddleName", 10},
        {"WholeName", 11},
        {"Address", 21},
        {"AddrOther", 23},
        {"SDXName", 29},
        {"SDXLastName", 30},
        {"SDXFirstName", 31},
        {"SDXMiddleName", 32},
        {"SDXWholeName", 33},
        {"SDXAddress", 35},
        {"SDXAddrOther", 37},
        {"DMLastName", 39},
        {"DMFirstName", 40},
        {"DMMiddleName", 41},
        {"DMWholeName", 42},
        {"DMAddress", 44},
        {"DMAddrOther", 46}}},
      {ListId::UN,
       28,
       {{"FirstName", 3},
        {"SecondName", 4},
        {"Comments1", 9},
        {"Alias", 13},
        {"Address", 14},
        {"SDXFirstName", 20},
        {"SDXSecondName", 21},
        {"SDXAlias", 22},
        {"SDXAddress", 23},
        {"DMFirstName", 24},
        {"DMSecondName", 25},
        {"DMAlias", 26},
        {"DMAddress", 27}}},
      {ListId::UK,
       33,
       {{"Name6", 0},
        {"Name1", 1},
        {"Name5", 5},
        {"Address1", 14},
        {"Address6", 19},
        {"SDXName", 29},
        {"SDXAddress", 30},
        {"DMName", 31},
        {"DMAddress", 32}}},
      {ListId::US,
       35,
       {{"Name", 4},
        {"Address", 6},
        {"City", 7},
        {"AlternateName", 28},
        {"SDXName", 31},
        {"SDXAddress", 32},
        {"DMName", 33},
        {"DMAddress", 34}}},
  };
  for (const Case& c : cases) {
    const ListSchema& schema = Schema(c.list);
    SCOPED_TRACE(schema.table);
    EXPECT_EQ(schema.ColumnCount(), c.columns);
    for (const auto& [name, position] : c.positions) EXPECT_EQ(schema.PositionOf(name), position) << name;
  }
  const int euName = Schema(ListId::EU).PositionOf("Name");
  EXPECT_TRUE(euName >= 0 && euName <= 28);
}

TEST(SanctionsSchema, SelectionCharactersSwitchTheirFields) {
  const ListSchema& un = Schema(ListId::UN);
  EXPECT_FALSE(un.IsShown(0, std::string(20, '1')));
  EXPECT_TRUE(un.IsShown(1, "1"));
  EXPECT_TRUE(un.IsShown(19, std::string(18, '0') + "1"));
  EXPECT_FALSE(un.IsShown(20, std::string(20, '1')));  // the 20th character switches nothing
  const ListSchema& us = Schema(ListId::US);
  EXPECT_TRUE(us.IsShown(30, std::string(31, '1')));
  EXPECT_FALSE(us.IsShown(31, std::string(33, '1')));
  EXPECT_FALSE(Schema(ListId::EU).IsShown(3, "111"));  // a short string hides the rest
  EXPECT_EQ(Schema(ListId::EU).columns[27].selectionLabel, text::Win1252("Agehörigen Wert"));
  EXPECT_EQ(Schema(ListId::UK).columns[10].reportLabel, text::Win1252("Nationaliät"));
}

TEST(SanctionsDatabaseWriter, WritesEveryColumnAndFillsTheKeysWithTheProgramsEncoders) {
  testing::TempDir dir;
  publish::SanctionsData data;
  data.entries = {testing::Entry(ListId::EU, {{"WholeName", "Bank Melli"}, {"Address", "Tehran"}})};
  publish::ListEntry withNull = testing::Entry(ListId::EU, {});
  withNull.values["Remark"] = std::nullopt;
  data.entries.push_back(withNull);
  ASSERT_EQ(publish::WriteSanctionsDatabase(dir / "db.sqlite", data), "");

  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((dir / "db.sqlite").c_str(), &db), SQLITE_OK);
  const auto scalar = [&](const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK) << sql;
    std::string value;
    if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0) != nullptr) {
      value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
    return value;
  };
  for (const auto& [table, count] : {std::pair{"EUGlobal", "47"},
                                     {"UNGlobalINDIV", "28"},
                                     {"Boe", "33"},
                                     {"USConsolidated", "35"},
                                     {"DBDate", "1"}}) {
    EXPECT_EQ(scalar(std::string("SELECT count(*) FROM pragma_table_info('") + table + "')"), count) << table;
  }
  EXPECT_EQ(scalar("SELECT SDXWholeName FROM EUGlobal WHERE rowid = 1"), "B8300000 M7000000");
  EXPECT_EQ(scalar("SELECT DMWholeName FROM EUGlobal WHERE rowid = 1"), "PNKM PNK ML");
  EXPECT_EQ(scalar("SELECT DMAddress || '|' || SDXLastName || '|' FROM EUGlobal WHERE rowid = 1"),
            "TRN TRN||");
  EXPECT_EQ(scalar("SELECT count(*) FROM EUGlobal WHERE Remark IS NULL"), "1");
  EXPECT_EQ(scalar("SELECT count(*) FROM EUGlobal WHERE Gender IS NULL"), "0");
  EXPECT_EQ(scalar("SELECT group_concat(ListDate, ',') FROM DBDate"), "-,-,-,-");
  sqlite3_close(db);
}

TEST(SanctionsDatabaseWriter, RejectsAnUnknownColumn) {
  testing::TempDir dir;
  publish::SanctionsData data;
  data.entries = {testing::Entry(ListId::UK, {{"Nmae6", "typo"}})};
  EXPECT_NE(publish::WriteSanctionsDatabase(dir / "db.sqlite", data), "");
  EXPECT_FALSE(std::filesystem::exists(dir / "db.sqlite"));
}

}  // namespace
}  // namespace vmk::screening
