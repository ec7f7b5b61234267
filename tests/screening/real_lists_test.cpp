// Single searches of real names in a database that the publisher's build makes from the real list files:
// the UN consolidated list, the OFAC SDN files and the UK consolidated-list excerpt.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "publish/list_release.h"
#include "screening/list_search.h"
#include "screening/prepare_search.h"
#include "support/test_support.h"

namespace vmk::screening {
namespace {

namespace fs = std::filesystem;

fs::path ListsFolder() {
  const char* source = std::getenv("VELDMARK_SOURCE_DIR");
  return fs::path(source != nullptr ? source : ".") / ".." / "shared" / "data" / "lists";
}

class NoHost : public SearchHost {
 public:
  RunMode Mode() const override { return RunMode::Interactive; }
  bool WhitelistSwitchOn() const override { return false; }
  void ApplyWhitelist(SearchState&) override {}
  void RefuseNoSearchTerm() override {}
  void BeforeMakingKeys() override {}
  log::RunLog& RunLog() override { return runLog_; }

 private:
  log::RunLog runLog_;
};

class RealListsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const fs::path lists = ListsFolder();
    if (!fs::exists(lists / "us" / "ofac_sdn.csv")) return;
    publish::ListSources sources;
    sources.un = lists / "un" / "consolidated.xml";
    sources.uk = lists / "uk" / "conlist_2020_excerpt.csv";
    sources.ofac = {
        {lists / "us" / "ofac_sdn.csv", lists / "us" / "ofac_alt.csv", lists / "us" / "ofac_add.csv"}};
    dir_ = new testing::TempDir;
    publish::ReleaseSummary summary;
    ASSERT_EQ(publish::BuildListRelease(sources, *dir_ / "release", summary), "");
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static fs::path Database() { return *dir_ / "release" / "KESTO.adb"; }

  void SetUp() override {
    if (dir_ == nullptr) GTEST_SKIP() << "the real list files are not in " << ListsFolder();
  }

  // The values that the hits of one list show under a label.
  static std::set<std::string> Search(ListId list, int mode, std::array<std::string, 4> terms,
                                      const char* label) {
    SearchState state;
    state.mode = mode;
    state.terms = std::move(terms);
    state.selection = {std::string(29, '1'), std::string(20, '1'), std::string(29, '1'),
                       std::string(33, '1')};
    NoHost host;
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
};

testing::TempDir* RealListsTest::dir_ = nullptr;

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
