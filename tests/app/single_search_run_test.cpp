#include "app/single_search_run.h"

#include <gtest/gtest.h>

#include "screening/sanctions_db.h"
#include "support/test_support.h"
#include "text/cp1252.h"

namespace vmk::app {
namespace {

using screening::ListId;
using screening::RunMode;
using testing::Entry;
using testing::FakeClock;
using testing::ReadFile;
using testing::RecordingDialogs;
using testing::TempDir;

class SingleSearchRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    publish::SanctionsData data;
    data.entries = {
        Entry(ListId::EU, {{"Name", "Bank Melli Iran"}, {"Address", "Tehran"}}),
        Entry(ListId::EU, {{"WholeName", "Banc Meli"}, {"Address", "Tehran"}}),
        Entry(ListId::EU, {{"Name", "Schmidt Maschinenbau"}, {"Address", "Berlin"}}),
        Entry(ListId::UN, {{"FirstName", "BANK MELLI IRAN"}, {"Address", "Tehran"}}),
        Entry(ListId::UK, {{"Name6", "BANK MELLI"}, {"Address1", "Tehran"}}),
        Entry(ListId::US, {{"Name", "MELLI BANK"}, {"Address", "Ferdowsi Ave"}, {"City", "Tehran"}}),
    };
    testing::WriteDatabasePack(dir_.path(), data);
    search_.selection = {"1", "001", "1", "00001"};  // one name field per list
    context_.finishBatchRun = [this] { ++batchEnds_; };
    context_.handOverToReport = [this] { ++handOvers_; };
  }

  void Run(std::array<std::string, 4> fields, int mode = screening::kPlainText) {
    search_.mode = mode;
    model_.SetSearchFields(fields);
    RunSingleSearch(context_);
  }

  std::array<std::string, 4> CountLabels() const {
    std::array<std::string, 4> labels;
    const auto reports = model_.HitReports();
    for (std::size_t i = 0; i < 4; ++i) labels[i] = reports[i].countLabel;
    return labels;
  }

  TempDir dir_;
  FakeClock clock_;
  MainWindowModel model_;
  screening::SearchState search_;
  log::RunLog runLog_{clock_};
  RecordingDialogs dialogs_;
  SingleSearchContext context_{model_, search_, runLog_, dialogs_, clock_, dir_.path()};
  int batchEnds_ = 0, handOvers_ = 0;
};

TEST_F(SingleSearchRunTest, HitCountsOfEveryModeFollowTheListQueries) {
  struct Case {
    int mode;
    std::array<int, 4> hits;
  };
  // Plain text needs a word of the term; SDX also finds "Banc Meli"; Double Metaphone encodes the whole
  // term, which the EU entry known only by its Name column and the US "MELLI BANK" do not carry; all
  // phonetics need plain text, SDX and Double Metaphone at once.
  const Case cases[] = {{0, {1, 1, 1, 1}}, {1, {2, 1, 1, 1}}, {2, {1, 1, 1, 0}}, {3, {1, 1, 1, 1}}};
  for (const Case& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode));
    Run({"  Bank Melli ", "", "Tehran", ""}, c.mode);
    EXPECT_EQ(search_.hitCounts, c.hits);
    EXPECT_EQ(CountLabels()[3], "Anzahl Treffer  :     " + std::to_string(c.hits[3]));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "KESTO.adb"));
  }
  EXPECT_EQ(handOvers_, 4);
  EXPECT_TRUE(dialogs_.boxes.empty());
  EXPECT_EQ(search_.terms[0], "Bank Melli");
}

TEST_F(SingleSearchRunTest, HitReportsShowTheSelectedFieldAndThePhoneticRows) {
  search_.phoneticDisplay = true;
  Run({"Bank Melli", "", "Tehran", ""}, screening::kSdx);
  const auto reports = model_.HitReports();
  const auto& eu = reports[0].rows;
  ASSERT_EQ(eu.size(), 2u * (1 + 1 + 1 + 18 + 1));
  EXPECT_EQ(eu[1], (screening::HitRow{"Entity", "Bank Melli Iran"}));
  EXPECT_EQ(eu[3], (screening::HitRow{"SDEXName", "B8300000 M7000000 I9800000"}));
  EXPECT_EQ(eu[21].label, std::string(10, '*'));
  EXPECT_EQ(reports[0].markers, (std::vector<std::size_t>{21, 43}));
  EXPECT_EQ(reports[1].rows[1], (screening::HitRow{"Name 1", "BANK MELLI IRAN"}));
  EXPECT_EQ(reports[3].rows[1], (screening::HitRow{"Name", "MELLI BANK"}));
  EXPECT_EQ(reports[3].rows.back().label, std::string(10, '*'));
}

TEST_F(SingleSearchRunTest, InteractiveRefusalsShowTheirMessageAndGiveTheButtonBack) {
  struct Case {
    const char* name;
    std::array<std::string, 4> fields;
    const char* title;
    std::string text;
    int icon;
  };
  const Case cases[] = {
      {"one letter",
       {" B ", "", "", ""},
       "Warnung",
       "Bitte geben Sie einen Suchbegriff mit mindestens 2 Buchstaben ein\nMF688",
       48},
      {"no term", {"  ", "", "", ""}, "INFO", "Bitte geben Sie mindestens 1 Suchbegriff ein\nMF594", 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs_.boxes.clear();
    model_.SetStartButton(true, false);
    Run(c.fields);
    ASSERT_EQ(dialogs_.boxes.size(), 1u);
    EXPECT_EQ(dialogs_.boxes[0].title, c.title);
    EXPECT_EQ(dialogs_.boxes[0].text, c.text);
    EXPECT_EQ(dialogs_.boxes[0].icon, c.icon);
    EXPECT_TRUE(model_.StartButtonVisible());
    EXPECT_TRUE(model_.StartButtonEnabled());
    EXPECT_EQ(model_.PageStatusColour(), kStatusWhite);
  }
  EXPECT_EQ(handOvers_, 0);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "KESTO.adb"));
}

TEST_F(SingleSearchRunTest, BatchResultLineKeepsItsFourFields) {
  struct Case {
    const char* name;
    std::array<std::string, 4> fields;
    std::string line;
    int ends, handOvers;
  };
  const Case cases[] = {
      {"one letter", {"Bank", "X", "", ""}, "0;-1;Fehlerhafte Suchbegriffe (zu wenig Zeichen);-1", 1, 0},
      {"whitelist removed every word",
       {"GmbH", "", "", ""},
       "0;-1;Fehlerhafte Suchbegriffe (Kein Suchbegriff vorhanden);-1",
       1,
       0},
      {"accepted", {"Bank", "", "", ""}, "0;0", 0, 1},
  };
  context_.runMode = RunMode::SingleSearchBatch;
  testing::WriteFile(dir_ / "WL.dat", "gmbh\r\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    batchEnds_ = handOvers_ = 0;
    context_.batchResultLine = "0";
    Run(c.fields);
    EXPECT_EQ(context_.batchResultLine, c.line);
    EXPECT_EQ(batchEnds_, c.ends);
    EXPECT_EQ(handOvers_, c.handOvers);
  }
  EXPECT_TRUE(dialogs_.boxes.empty());
}

TEST_F(SingleSearchRunTest, InteractiveWhitelistRunsWithTheSwitchAndShowsTheShortenedTerms) {
  testing::WriteFile(dir_ / "WL.dat", "Iran\r\n");
  Run({"Bank Iran", "", "", ""});
  EXPECT_EQ(model_.SearchFields()[0], "Bank Iran");
  model_.SetWhitelistSwitch(true);
  Run({"Bank Iran", "", "", ""});
  EXPECT_EQ(model_.SearchFields()[0], "Bank");
  EXPECT_EQ(search_.terms[0], "Bank");
}

TEST_F(SingleSearchRunTest, LogModeRecordsTheStepsOfTheSearch) {
  ASSERT_TRUE(runLog_.Open(dir_ / "RunLog.txt"));
  runLog_.SetStatusSink(&model_);
  Run({"Bank", "", "", ""}, screening::kAllPhonetics);
  runLog_.Close();
  const std::string prefix = "09:05:07  Uhr / ";
  std::string expected;
  for (const char* line :
       {"Starte Einzelsuche ButtonImage5()", "Übernehme Suchworte", "Übersetze Suchworte in Soundex",
        "Übersetze Suchworte in DMetaphone", "Entpacke KE2DB.pak",
        "Suche in EU Datenbank gestartet. DB öffnen Ergebnis = 1",
        "Suche in EU Datenbank beendet mit 1Treffern ",
        "Suche in UN Datenbank gestartet. DB öffnen Ergebnis = 1",
        "Suche in UN Datenbank beendet mit 1Treffern ",
        "Suche in UK Datenbank gestartet. DB öffnen Ergebnis = 1",
        "Suche in UK Datenbank beendet mit 1Treffern ",
        "Suche in US Datenbank gestartet. DB öffnen Ergebnis = 1",
        "Suche in US Datenbank beendet mit 1Treffern ", "Untersuchung beendet", "starte pdf Thread"}) {
    expected += prefix + line + "\r\n";
  }
  EXPECT_EQ(ReadFile(dir_ / "RunLog.txt"), expected);
  EXPECT_EQ(model_.StatusText(), "starte pdf Thread");
  EXPECT_EQ(clock_.pausedMilliseconds, 100);
}

TEST_F(SingleSearchRunTest, MissingPackGivesNoHitsAfterTheUnpackError) {
  std::filesystem::remove(dir_ / "KE2DB.pak");
  Run({"Bank", "", "", ""});
  EXPECT_EQ(search_.hitCounts, (std::array<int, 4>{0, 0, 0, 0}));
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].text, "Entpack Fehler");
  EXPECT_EQ(handOvers_, 1);
}

}  // namespace
}  // namespace vmk::app
