#include "screening/list_queries.h"

#include <gtest/gtest.h>

#include "publish/sanctions_db_writer.h"
#include "screening/sanctions_db.h"
#include "support/test_support.h"

namespace vmk::screening {
namespace {

using testing::Entry;
using testing::TempDir;

SearchState Terms(std::string t1, std::string t2 = "", std::string t3 = "", std::string t4 = "") {
  SearchState state;
  state.terms = {std::move(t1), std::move(t2), std::move(t3), std::move(t4)};
  return state;
}

TEST(DetailQuery, PlainEuStatementReadsExactlyAsWritten) {
  SearchState state = Terms("Bank Melli", "", "Teheran", "");
  EXPECT_EQ(
      BuildDetailQuery(ListId::EU, kPlainText, state),
      "SELECT  * FROM EUGlobal WHERE ((FirstName LIKE '%Bank%' OR FirstName LIKE '%Melli%' OR "
      "LastName LIKE '%Bank%' OR LastName LIKE '%Melli%' OR MiddleName LIKE '%Bank%' OR MiddleName LIKE "
      "'%Melli%' OR WholeName LIKE '%Bank%' OR WholeName LIKE '%Melli%' OR Name LIKE '%Bank%' OR Name LIKE "
      "'%Melli%') AND (FirstName LIKE '%%' OR LastName LIKE '%%' OR MiddleName LIKE '%%' OR WholeName LIKE "
      "'%%' OR Name LIKE '%%')) AND ((Address LIKE '%Teheran%' OR AddrOther LIKE '%Teheran%') AND (Address "
      "LIKE '%%' OR AddrOther LIKE '%%'))");
}

TEST(DetailQuery, StatementsOfTheOtherShapes) {
  struct Case {
    const char* name;
    ListId list;
    int mode;
    bool count;
    std::array<std::string, 4> values;  // terms, SDX keys or DM keys, as the mode uses them
    std::string expected;
  };
  const Case cases[] = {
      {"UK SDX detail: two values by AND on one column, expanded",
       ListId::UK,
       kSdx,
       false,
       {"a b", "c d", "e", ""},
       "Select  * FROM Boe WHERE (SDXName LIKE '%a%' OR SDXName LIKE '%b%' AND SDXName LIKE '%c%' OR SDXName "
       "LIKE '%d%') AND (SDXAddress LIKE '%e%' AND SDXAddress LIKE '%%')"},
      {"UK SDX count: raw values",
       ListId::UK,
       kSdx,
       true,
       {"a b", "c d", "e", ""},
       "Select  * FROM Boe WHERE (SDXName LIKE '%a b%' AND SDXName LIKE '%c d%') AND (SDXAddress LIKE '%e%' "
       "AND "
       "SDXAddress LIKE '%%')"},
      {"UK DM detail: trimmed, not expanded, pairs completed",
       ListId::UK,
       kDoubleMetaphone,
       false,
       {" PNK ML ", "", "", "TRN"},
       "Select  * FROM Boe WHERE (DMName LIKE '%PNK ML%' OR DMName LIKE '%PNK ML%') AND (DMAddress LIKE "
       "'%TRN%' "
       "OR DMAddress LIKE '%TRN%')"},
      {"UN SDX detail: the address values share one group",
       ListId::UN,
       kSdx,
       false,
       {"B8300000", "", "T9800000", ""},
       "SELECT  * FROM UNGlobalINDIV WHERE ((SDXFirstName LIKE '%B8300000%' OR SDXSecondName LIKE "
       "'%B8300000%' OR "
       "SDXAlias LIKE '%B8300000%') AND (SDXFirstName LIKE '%%' OR SDXSecondName LIKE '%%' OR SDXAlias LIKE "
       "'%%')) AND (SDXAddress LIKE '%T9800000%' OR SDXAddress LIKE '%%')"},
      {"US DM count: trimmed",
       ListId::US,
       kDoubleMetaphone,
       true,
       {"PNK ML ", "X", "", ""},
       "Select  * FROM USConsolidated WHERE (DMName LIKE '%PNK ML%' OR DMName LIKE '%X%') AND (DMAddress "
       "LIKE "
       "'%%' OR DMAddress LIKE '%%')"},
      {"EU DM detail: no DMName column, last name first for D1",
       ListId::EU,
       kDoubleMetaphone,
       false,
       {"PNK", "", "", ""},
       "SELECT  * FROM EUGlobal WHERE ((DMLastName LIKE '%PNK%' OR DMFirstName LIKE '%PNK%' OR DMMiddleName "
       "LIKE "
       "'%PNK%' OR DMWholeName LIKE '%PNK%') AND (DMFirstName LIKE '%%' OR DMLastName LIKE '%%' OR "
       "DMMiddleName "
       "LIKE '%%' OR DMWholeName LIKE '%%')) AND ((DMAddress LIKE '%%' OR DMAddrOther LIKE '%%') AND "
       "(DMAddress "
       "LIKE '%%' OR DMAddrOther LIKE '%%'))"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchState state;
    if (c.mode == kSdx) state.sdxKeys = c.values;
    if (c.mode == kDoubleMetaphone) state.dmKeys = c.values;
    const auto statement =
        c.count ? BuildCountQuery(c.list, c.mode, state) : BuildDetailQuery(c.list, c.mode, state);
    EXPECT_EQ(statement, c.expected);
  }
}

TEST(Queries, ModeThreeJoinsThePartsByAndForDetailAndByOrForCount) {
  SearchState state = Terms("Bank Melli");
  state.sdxKeys = {"B8300000 M7000000", "B8300000 M7000000", "", ""};
  state.dmKeys = {"PNK ML ", " ", " ", " "};
  const std::string detail = *BuildDetailQuery(ListId::UN, kAllPhonetics, state);
  const std::string count = *BuildCountQuery(ListId::UN, kAllPhonetics, state);
  EXPECT_NE(detail.find("))) AND (((SDXFirstName LIKE '%B8300000%' OR SDXFirstName LIKE '%M7000000%'"),
            std::string::npos)
      << detail;
  // The trailing blank of a mode-3 key expands into an alternative that holds for every non-NULL value.
  EXPECT_NE(detail.find("DMFirstName LIKE '%PNK%' OR DMFirstName LIKE '%ML%' OR DMFirstName LIKE '%%'"),
            std::string::npos)
      << detail;
  EXPECT_NE(count.find("Alias LIKE '%Bank Melli%')"), std::string::npos) << count;
  EXPECT_NE(count.find("))) OR (((SDXFirstName LIKE '%B8300000 M7000000%'"), std::string::npos) << count;
  EXPECT_NE(count.find("DMFirstName LIKE '%PNK ML %'"), std::string::npos) << count;
}

TEST(Queries, EuCountQueryExpandsSdxKeysOnlyInTheSdxMode) {
  SearchState state;
  state.sdxKeys = {"B8300000 M7000000", "", "", ""};
  EXPECT_NE(
      BuildCountQuery(ListId::EU, kSdx, state)->find("SDXFirstName LIKE '%B8300000%' OR SDXFirstName LIKE"),
      std::string::npos);
  EXPECT_NE(
      BuildCountQuery(ListId::EU, kAllPhonetics, state)->find("SDXFirstName LIKE '%B8300000 M7000000%'"),
      std::string::npos);
}

TEST(Queries, ModeOutsideTheRangeBuildsNoStatement) {
  SearchState state = Terms("x y");
  for (ListId list : kAllLists) {
    EXPECT_FALSE(BuildDetailQuery(list, 4, state).has_value());
    EXPECT_FALSE(BuildCountQuery(list, -1, state).has_value());
  }
}

TEST(KeyPairs, OnlyTheUkAndUsStatementsCompleteTheDoubleMetaphonePairs) {
  SearchState state;
  state.dmKeys = {"", "PNK", "TRN", ""};
  const std::string eu = *BuildDetailQuery(ListId::EU, kDoubleMetaphone, state);
  const std::string un = *BuildDetailQuery(ListId::UN, kDoubleMetaphone, state);
  EXPECT_EQ(state.dmKeys, (std::array<std::string, 4>{"", "PNK", "TRN", ""}));
  EXPECT_NE(eu.find("(DMLastName LIKE '%%'"), std::string::npos);
  EXPECT_NE(un.find("DMAddress LIKE '%TRN%' OR DMAddress LIKE '%%'"), std::string::npos);
  BuildDetailQuery(ListId::UK, kDoubleMetaphone, state);
  EXPECT_EQ(state.dmKeys, (std::array<std::string, 4>{"PNK", "PNK", "TRN", "TRN"}));

  SearchState plain;
  plain.dmKeys = {"", "PNK", "", ""};
  BuildDetailQuery(ListId::US, kPlainText, plain);
  BuildDetailQuery(ListId::US, kSdx, plain);
  EXPECT_EQ(plain.dmKeys[0], "");
  BuildCountQuery(ListId::US, kAllPhonetics, plain);
  EXPECT_EQ(plain.dmKeys[0], "PNK");
}

// Builds a database with a few entries whose texts carry the characters that could break a statement.
class QueriesOnDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    publish::SanctionsData data;
    data.entries = {
        Entry(ListId::EU, {{"Name", "Bank Melli Iran"}, {"Address", "Ferdowsi Ave"}}),
        Entry(ListId::EU, {{"Name", "Melli Bank"}, {"Address", "Ferdowsi Ave"}}),
        Entry(ListId::EU, {{"Name", "O'Brien 50% _x; Ltd"}, {"Address", "Dublin"}}),
        Entry(ListId::UN, {{"FirstName", "O'BRIEN"}, {"Address", "Dublin"}}),
        Entry(ListId::UK, {{"Name6", "O'Brien"}, {"Address1", "Dublin"}}),
        Entry(ListId::US, {{"Name", "O'BRIEN, Sean"}, {"Address", "1 Main St"}, {"City", "Dublin"}}),
    };
    ASSERT_EQ(publish::WriteSanctionsDatabase(file_, data), "");
  }

  int Count(const std::string& statement) {
    SanctionsDatabase database(file_);
    int rows = 0;
    EXPECT_TRUE(database.Query(statement, [&](const Row&) { ++rows; })) << statement;
    return rows;
  }

  TempDir dir_;
  std::filesystem::path file_ = dir_ / "KESTO.adb";
};

TEST_F(QueriesOnDatabase, EveryStatementRunsWhateverTheTermsHold) {
  for (const char* term : {"O'Brien", "50%", "_x;", "'; DROP TABLE EUGlobal; --", "a  b", ""}) {
    for (ListId list : kAllLists) {
      for (int mode = kPlainText; mode <= kAllPhonetics; ++mode) {
        SCOPED_TRACE(std::string(term) + " / " + Schema(list).name + " / mode " + std::to_string(mode));
        SearchState state = Terms(term, term, term, term);
        state.sdxKeys = state.terms;
        state.dmKeys = state.terms;
        Count(*BuildDetailQuery(list, mode, state));
        Count(*BuildCountQuery(list, mode, state));
      }
    }
  }
  EXPECT_EQ(Count("SELECT * FROM EUGlobal"), 3);
}

TEST_F(QueriesOnDatabase, ApostropheTermsAreSearchedFor) {
  SearchState state = Terms("O'Brien");
  EXPECT_EQ(Count(*BuildDetailQuery(ListId::EU, kPlainText, state)), 1);
  EXPECT_EQ(Count(*BuildDetailQuery(ListId::UN, kPlainText, state)), 1);
  EXPECT_EQ(Count(*BuildCountQuery(ListId::UK, kPlainText, state)), 1);
  EXPECT_EQ(Count(*BuildCountQuery(ListId::US, kPlainText, state)), 1);
}

TEST_F(QueriesOnDatabase, DetailMatchesEachWordWhileCountMatchesTheWholeText) {
  SearchState state = Terms("Bank Melli");
  EXPECT_EQ(Count(*BuildDetailQuery(ListId::EU, kPlainText, state)), 2);
  EXPECT_EQ(Count(*BuildCountQuery(ListId::EU, kPlainText, state)), 1);
}

TEST_F(QueriesOnDatabase, PercentAndUnderscoreKeepTheirLikeMeaning) {
  SearchState underscore = Terms("B_nk");
  EXPECT_EQ(Count(*BuildDetailQuery(ListId::EU, kPlainText, underscore)), 2);
  SearchState wildcard = Terms("Melli%Iran");
  EXPECT_EQ(Count(*BuildCountQuery(ListId::EU, kPlainText, wildcard)), 1);
}

}  // namespace
}  // namespace vmk::screening
