#include "app/single_search_run.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "lists/search_history.h"
#include "platform/folders.h"
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
    lists::CreateHistoryDatabase(context_.HistoryFile(), runLog_);
    model_.SetSavePath(saveDir_.path().string() + "/");
  }

  // The reports written so far, which is how often the search handed over to the report.
  int Reports() const {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(saveDir_.path()))
      count += entry.path().extension() == ".pdf";
    return count;
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

  TempDir dir_, saveDir_, workDir_;
  FakeClock clock_;
  MainWindowModel model_;
  screening::SearchState search_;
  log::RunLog runLog_{clock_};
  RecordingDialogs dialogs_;
  testing::RecordingDesktop desktop_;
  SettingsBinding settings_{platform::ProgramDirectory()};
  AppContext context_{model_,    search_, runLog_,     dialogs_,       desktop_,
                      settings_, clock_,  dir_.path(), workDir_.path()};
  int batchEnds_ = 0;
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
  EXPECT_EQ(Reports(), 4);
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
  EXPECT_EQ(Reports(), 0);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "KESTO.adb"));
}

// The history rows, each as its fourteen values joined by "|".
std::vector<std::string> HistoryRows(const std::filesystem::path& file) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  std::vector<std::string> rows;
  sqlite3_exec(
      db, "SELECT * FROM History",
      [](void* out, int count, char** values, char**) {
        std::string row;
        for (int i = 0; i < count; ++i)
          row += (i > 0 ? "|" : "") + std::string(values[i] ? values[i] : "<null>");
        static_cast<std::vector<std::string>*>(out)->push_back(row);
        return 0;
      },
      &rows, nullptr);
  sqlite3_close(db);
  return rows;
}

TEST_F(SingleSearchRunTest, BatchResultLineFollowsTheTermsAndThePdfOption) {
  struct Case {
    const char* name;
    std::string option;
    std::array<std::string, 4> fields;
    std::string line;  // "<pdf>" stands for the path of the report written
    int reports, historyRows;
  };
  const std::string tooShort = "0;-1;Fehlerhafte Suchbegriffe (zu wenig Zeichen);-1";
  const Case cases[] = {
      {"one letter", "2", {"Bank", "X", "", ""}, tooShort, 0, 0},
      {"whitelist removed every word",
       "2",
       {"GmbH", "", "", ""},
       "0;-1;Fehlerhafte Suchbegriffe (Kein Suchbegriff vorhanden);-1",
       0,
       0},
      {"no PDF, hits", "0", {"Bank", "", "", ""}, "0;0;Keine Pdf Datei erzeugt;1", 0, 1},
      {"no PDF setting, no hits", "", {"Zzyzx", "", "", ""}, "0;0;Keine Pdf Datei erzeugt;0", 0, 1},
      {"PDF on hits, none", "1", {"Zzyzx", "", "", ""}, "0;0;Keine Pdf Datei erzeugt;0", 0, 1},
      {"PDF on hits, hits", "1", {"Bank", "", "", ""}, "0;0;<pdf>;1", 1, 1},
      {"PDF always, no hits", "2", {"Zzyzx", "", "", ""}, "0;0;<pdf>;0", 1, 1},
  };
  context_.runMode = RunMode::SingleSearchBatch;
  testing::WriteFile(dir_ / "WL.dat", "gmbh\r\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int reportsBefore = Reports();
    const std::size_t rowsBefore = HistoryRows(context_.HistoryFile()).size();
    batchEnds_ = 0;
    context_.batchPdfOption = c.option;
    context_.batchResultLine = "0";
    Run(c.fields);
    EXPECT_EQ(batchEnds_, 1);
    EXPECT_EQ(Reports() - reportsBefore, c.reports);
    const auto rows = HistoryRows(context_.HistoryFile());
    ASSERT_EQ(rows.size() - rowsBefore, static_cast<std::size_t>(c.historyRows));
    std::string expected = c.line;
    if (const auto at = expected.find("<pdf>"); at != std::string::npos) {
      const std::string line = context_.batchResultLine;
      const std::string path = line.substr(4, line.size() - 6);
      EXPECT_TRUE(std::filesystem::exists(path)) << line;
      EXPECT_EQ(rows.back().substr(rows.back().rfind('|') + 1), path);
      expected.replace(at, 5, path);
    } else if (c.historyRows > 0) {
      EXPECT_EQ(rows.back().back(), '|');  // no PDF link
    }
    EXPECT_EQ(context_.batchResultLine, expected);
  }
  EXPECT_TRUE(dialogs_.boxes.empty());
}

TEST_F(SingleSearchRunTest, BatchWithoutReportShowsAFailedHistoryRowUnderItsBranchCode) {
  context_.runMode = RunMode::SingleSearchBatch;
  std::filesystem::remove(context_.HistoryFile());
  for (const auto& [option, code] : {std::pair{"1", "MF713"}, std::pair{"0", "MF743"}}) {
    dialogs_.boxes.clear();
    context_.batchPdfOption = option;
    context_.batchResultLine = "0";
    Run({"Zzyzx", "", "", ""});
    ASSERT_EQ(dialogs_.boxes.size(), 1u);
    EXPECT_EQ(dialogs_.boxes[0].title, "FEHLER");
    EXPECT_EQ(dialogs_.boxes[0].text.substr(dialogs_.boxes[0].text.size() - 6), "\n" + std::string(code));
  }
  testing::WriteFile(context_.HistoryFile(), "");  // opens, but holds no History table
  dialogs_.boxes.clear();
  context_.batchPdfOption = "1";
  Run({"Zzyzx", "", "", ""});
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].text, "no such table: History\nMF717");
}

TEST_F(SingleSearchRunTest, InteractiveReportIsRecordedAndOpenedWhenTheSwitchIsOn) {
  Run({"Bank", "", "", ""});
  EXPECT_TRUE(desktop_.opened.empty());
  model_.SetOpenPdfAfterSearch(true);
  Run({"Bank", "", "", ""});
  ASSERT_EQ(desktop_.opened.size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(desktop_.opened[0]));
  const auto rows = HistoryRows(context_.HistoryFile());
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1], "1796979907|Bank||||1|1|1|1|||||" + desktop_.opened[0].string());
  EXPECT_NE(rows[0], rows[1]);  // two reports in one second keep two files
  EXPECT_EQ(model_.PageStatusText(), "");
  EXPECT_TRUE(model_.StartButtonEnabled());
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
  const std::string log = ReadFile(dir_ / "RunLog.txt");
  EXPECT_EQ(log.substr(0, expected.size()), expected);
  // Then the report: its header first, the file and the footer of the last page at its end.
  EXPECT_EQ(log.substr(expected.size(), prefix.size() + 19), prefix + "Schreibe PDF Header");
  EXPECT_NE(log.find(prefix + "Schreibe PDF Chapter 8\r\n"), std::string::npos);
  EXPECT_NE(log.find(prefix + "Schreibe PDF Datei\r\n" + prefix + "Schreibe PDF Footer\r\n"),
            std::string::npos);
  EXPECT_EQ(model_.StatusText(), "Schreibe PDF Footer");
  EXPECT_EQ(clock_.pausedMilliseconds, 100);
}

TEST_F(SingleSearchRunTest, MissingPackGivesNoHitsAfterTheUnpackError) {
  std::filesystem::remove(dir_ / "KE2DB.pak");
  Run({"Bank", "", "", ""});
  EXPECT_EQ(search_.hitCounts, (std::array<int, 4>{0, 0, 0, 0}));
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].text, "Entpack Fehler");
  EXPECT_EQ(Reports(), 1);
}

}  // namespace
}  // namespace vmk::app
