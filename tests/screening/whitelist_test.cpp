#include "screening/whitelist.h"

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "text/cp1252.h"

namespace vmk::screening {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
using text::Win1252;

TEST(Whitelist, DeletesWordsEqualToAnEntry) {
  struct Case {
    const char* entry;
    const char* term;
    const char* expected;
  };
  const Case cases[] = {
      {"gmbh", "Muster GmbH", "Muster"},
      {"GmbH", "Muster GmbH Berlin", "Muster  Berlin"},  // an inner word leaves two blanks
      {"Bank", "Bank-Melli", "Bank-Melli"},              // words split at blanks only
      {"Bank Melli", "Bank Melli", "Bank Melli"},        // an entry with a blank never matches
      {"Müller", "MÜLLER", "MÜLLER"},                    // umlauts compare exactly
      {"Müller", "Hans müller", "Hans"},                 // M and m differ in A-Z case only
      {"Müller", "Hans Müller", "Hans"},
      {"AG", "AG", ""},
      {"AG", "  AG  X ", "X"},
      {"co", "Co  KG", "KG"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.entry) + " / " + c.term);
    EXPECT_EQ(RemoveWhitelistWord(Win1252(c.term), Win1252(c.entry)), Win1252(c.expected));
  }
}

TEST(Whitelist, AppliesEveryLineOfTheFileToEveryTerm) {
  TempDir dir;
  WriteFile(dir / "WL.dat", Win1252("GmbH\r\n\r\nBank\r\nstraße\nLtd"));
  testing::FakeClock clock;
  log::RunLog runLog(clock);
  ASSERT_TRUE(runLog.Open(dir / "RunLog.txt"));
  SearchState state;
  state.terms = {"Muster GmbH", "bank of Iran", Win1252("Hauptstraße straße"), "Foo Ltd"};
  ApplyWhitelist(state, dir.path(), runLog);
  runLog.Close();
  EXPECT_EQ(state.terms, (std::array<std::string, 4>{"Muster", "of Iran", Win1252("Hauptstraße"), "Foo"}));
  EXPECT_EQ(ReadFile(dir / "RunLog.txt"),
            "09:05:07  Uhr / \xC3\x96"
            "ffne WhiteList Datei : " +
                (dir / "WL.dat").string() + "\r\n");
}

TEST(Whitelist, MissingFileIsCreatedEmptyAndLeavesTheTerms) {
  TempDir dir;
  log::RunLog runLog;
  SearchState state;
  state.terms = {"Muster GmbH", "", "", ""};
  ApplyWhitelist(state, dir.path(), runLog);
  EXPECT_EQ(state.terms[0], "Muster GmbH");
  EXPECT_TRUE(std::filesystem::exists(dir / "WL.dat"));
  EXPECT_EQ(std::filesystem::file_size(dir / "WL.dat"), 0u);
}

}  // namespace
}  // namespace vmk::screening
