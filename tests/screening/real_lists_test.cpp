// Single searches of real names in a database that the publisher's build makes from the real list files:
// the UN consolidated list, the OFAC SDN files and the UK consolidated-list excerpt.
#include <gtest/gtest.h>

#include <set>

#include "screening/list_search.h"
#include "support/test_support.h"

namespace vmk::screening {
namespace {

namespace fs = std::filesystem;

class RealListsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testing::TempDir;
    database_ = testing::BuildRealListRelease(*dir_ / "release");
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static fs::path Database() { return *database_; }

  void SetUp() override {
    if (!database_) GTEST_SKIP() << "the real list files are not in " << testing::RealListsFolder();
  }

  // The values that the hits of one list show under a label.
  static std::set<std::string> Search(ListId list, int mode, std::array<std::string, 4> terms,
                                      const char* label) {
    SearchState state;
    state.mode = mode;
    state.terms = std::move(terms);
    state.selection = {std::string(29, '1'), std::string(20, '1'), std::string(29, '1'),
                       std::string(33, '1')};
    testing::KeysOnlyHost host;
    log::RunLog runLog;
    EXPECT_EQ(PrepareSearch(state, host), 0);
    HitReport report;
    SearchList(list, state, Database(), report, runLog);
    std::set<std::string> values;
    for (const HitRow& row : report.rows) {
      if (row.label == label) values.insert(row.value);
    }
    return values;
  }

  static testing::TempDir* dir_;
  static std::optional<fs::path> database_;
};

testing::TempDir* RealListsTest::dir_ = nullptr;
std::optional<fs::path> RealListsTest::database_;

TEST_F(RealListsTest, ListedNamesAreFoundInTheModesWhoseKeysMatch) {
  struct Case {
    const char* name;
    ListId list;
    std::array<std::string, 4> terms;
    const char* label;
    const char* listed;
    std::array<bool, 4> foundInMode;
  };
  const Case cases[] = {
      {"exact US name",
       ListId::US,
       {"BANCO NACIONAL DE CUBA", "", "", ""},
       "Name",
       "BANCO NACIONAL DE CUBA",
       {true, true, true, true}},
      {"US alias",
       ListId::US,
       {"National Bank of Cuba", "", "", ""},
       "Alternate Name",
       "NATIONAL BANK OF CUBA",
       {true, true, true, true}},
      // Sounds alike but shares no word: the phonetic keys find it, plain text (and so all phonetics) not.
      {"US phonetic spelling",
       ListId::US,
       {"Banko Nasional Kuba", "", "", ""},
       "Name",
       "BANCO NACIONAL DE CUBA",
       {false, true, true, false}},
      {"US name with its address",
       ListId::US,
       {"BANCO NACIONAL DE CUBA", "", "Zweierstrasse", ""},
       "Name",
       "BANCO NACIONAL DE CUBA",
       {true, true, true, true}},
      {"UN individual",
       ListId::UN,
       {"Gaston", "Iyamuremye", "", ""},
       "Name 2",
       "IYAMUREMYE",
       {true, true, true, true}},
      {"UK first and last name",
       ListId::UK,
       {"Farooq", "Al-Qahtani", "", ""},
       "Name 6",
       "AL-QAHTANI",
       {true, true, true, true}},
  };
  for (const Case& c : cases) {
    for (int mode = 0; mode < 4; ++mode) {
      SCOPED_TRACE(std::string(c.name) + ", mode " + std::to_string(mode));
      EXPECT_EQ(Search(c.list, mode, c.terms, c.label).count(c.listed),
                c.foundInMode[static_cast<std::size_t>(mode)] ? 1u : 0u);
    }
  }
}

}  // namespace
}  // namespace vmk::screening
