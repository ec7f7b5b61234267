#include "screening/prepare_search.h"

#include <gtest/gtest.h>

#include "screening/search_keys.h"
#include "support/test_support.h"

namespace vmk::screening {
namespace {

class FakeHost : public SearchHost {
 public:
  RunMode mode = RunMode::Interactive;
  bool whitelistSwitch = false;
  int whitelistRuns = 0, refusals = 0, keyStarts = 0;
  std::string removeWord;  // the whitelist of this host: drops this term
  testing::FakeClock clock;
  log::RunLog runLog{clock};

  RunMode Mode() const override { return mode; }
  bool WhitelistSwitchOn() const override { return whitelistSwitch; }
  void ApplyWhitelist(SearchState& state) override {
    ++whitelistRuns;
    for (std::string& term : state.terms) {
      if (term == removeWord) term.clear();
    }
  }
  void RefuseNoSearchTerm() override { ++refusals; }
  void BeforeMakingKeys() override { ++keyStarts; }
  log::RunLog& RunLog() override { return runLog; }
};

SearchState StateFor(int mode, std::array<std::string, 4> terms) {
  SearchState state;
  state.mode = mode;
  state.terms = std::move(terms);
  return state;
}

TEST(PrepareSearch, MakesTheKeysOfEachMode) {
  struct Case {
    const char* name;
    int mode;
    std::array<std::string, 4> terms, sdx, dm;
  };
  const std::array<std::string, 4> kept = {"keep", "keep", "keep", "keep"};
  const Case cases[] = {
      {"plain text makes no keys", kPlainText, {"Bank Melli", "", "", ""}, kept, kept},
      {"SDX: trimmed word keys, pairs completed",
       kSdx,
       {"", "Bank Melli", "Teheran-Nord", ""},
       {"B8300000 M7000000", "B8300000 M7000000", "D9800000 M9600000", "D9800000 M9600000"},
       kept},
      {"SDX: short words give blanks that the trim removes inside only",
       kSdx,
       {"Al Bank", "", "", ""},
       {"B8300000", "B8300000", "", ""},
       kept},
      {"Double Metaphone: the whole term, blanks included, no pairs",
       kDoubleMetaphone,
       {"Bank Melli", "", "John Smith", ""},
       kept,
       {"PNKM", "", "JNSM", ""}},
      {"all: SDX as mode 1, DM word by word each followed by a blank",
       kAllPhonetics,
       {"Bank  Melli", "", "", ""},
       {"B8300000  M7000000", "B8300000  M7000000", "", ""},
       {"PNK  ML ", " ", " ", " "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHost host;
    SearchState state = StateFor(c.mode, c.terms);
    state.sdxKeys = kept;
    state.dmKeys = kept;
    EXPECT_EQ(PrepareSearch(state, host), 0);
    EXPECT_EQ(state.sdxKeys, c.sdx);
    EXPECT_EQ(state.dmKeys, c.dm);
    EXPECT_EQ(host.keyStarts, 1);
  }
}

TEST(PrepareSearch, WhitelistRunsInteractivelyOnlyWithTheSwitchButAlwaysUnattended) {
  struct Case {
    RunMode mode;
    bool switchOn;
    int runs;
  };
  const Case cases[] = {{RunMode::Interactive, false, 0},    {RunMode::Interactive, true, 1},
                        {RunMode::DatabaseUpdate, false, 0}, {RunMode::SingleSearchBatch, false, 1},
                        {RunMode::ListBatch, false, 1},      {RunMode::ScheduledListSearch, false, 1}};
  for (const Case& c : cases) {
    FakeHost host;
    host.mode = c.mode;
    host.whitelistSwitch = c.switchOn;
    SearchState state = StateFor(kPlainText, {"Muster", "", "", ""});
    PrepareSearch(state, host);
    EXPECT_EQ(host.whitelistRuns, c.runs) << static_cast<int>(c.mode) << " " << c.switchOn;
  }
}

TEST(PrepareSearch, RefusesWhenTheWhitelistLeavesNoTerm) {
  FakeHost host;
  host.whitelistSwitch = true;
  host.removeWord = "GmbH";
  SearchState state = StateFor(kSdx, {"GmbH", "", "", ""});
  EXPECT_EQ(PrepareSearch(state, host), -1);
  EXPECT_EQ(host.refusals, 1);
  EXPECT_EQ(host.keyStarts, 0);
  EXPECT_EQ(state.sdxKeys[0], "");
}

TEST(TermKeys, SplitRules) {
  EXPECT_EQ(TermSdxKey("Bank-Melli"), "B8300000 M7000000 ");
  EXPECT_EQ(TermSdxKey("a--b"), "   ");
  EXPECT_EQ(WordwiseDmKey(""), " ");
  EXPECT_EQ(WordwiseDmKey("Bank-Melli"), "PNKM ");
}

}  // namespace
}  // namespace vmk::screening
