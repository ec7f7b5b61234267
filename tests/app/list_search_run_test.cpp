#include "app/list_search_run.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "lists/master_store.h"
#include "lists/search_history.h"
#include "platform/folders.h"
#include "screening/database_unpack.h"
#include "screening/list_queries.h"
#include "screening/prepare_search.h"
#include "screening/sanctions_db.h"
#include "support/test_support.h"
#include "text/cp1252.h"

namespace vmk::app {
namespace {

namespace fs = std::filesystem;
using screening::ListId;
using screening::RunMode;
using testing::Entry;
using testing::ReadFile;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    start = end == std::string::npos ? text.size() : end + 2;
  }
  return lines;
}

class ListSearchRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    publish::SanctionsData data;
    data.dates = {"28.01.2026", "27.02.2026", "20.02.2026", "15.01.2026"};
    data.entries = {
        Entry(ListId::EU, {{"Name", "Bank Melli Iran"}, {"Address", "Tehran"}}),
        Entry(ListId::EU, {{"Name", "Schmidt Maschinenbau"}, {"Address", "Berlin"}}),
        Entry(ListId::UN, {{"FirstName", "ALI"}, {"SecondName", "REZAI"}, {"Address", "Tehran"}}),
        Entry(ListId::UN, {{"FirstName", "BANK MELLI IRAN"}, {"Address", "Tehran"}}),
        Entry(ListId::UK, {{"Name6", "BANK MELLI"}, {"Address1", "Tehran"}}),
        Entry(ListId::US, {{"Name", "MELLI BANK"}, {"Address", "Ferdowsi Ave"}, {"City", "Tehran"}}),
    };
    testing::WriteDatabasePack(data_.path(), data);
    context_.programDirectory = program_.path();
    lists::CreateHistoryDatabase(context_.HistoryFile(), runLog_);
    model_.SetSavePath(save_.path().string() + "/");
    model_.SetListDates(data.dates);
  }

  void Store(const std::vector<std::array<std::string, 4>>& records) {
    lists::CreateMasterStore(program_.path(), runLog_);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((program_ / lists::kMasterStoreFile).c_str(), &db), SQLITE_OK);
    for (const auto& r : records) {
      const std::string insert =
          "INSERT INTO Stammdaten VALUES ('','" + r[0] + "','" + r[1] + "','" + r[2] + "','" + r[3] + "',0)";
      EXPECT_EQ(sqlite3_exec(db, insert.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    }
    sqlite3_close(db);
  }
  long long StoredRecords() const { return lists::CountMasterRecords(program_.path()).count.value_or(-1); }
  void Run() {
    ListSearchRunner runner;
    runner.Start(context_);
    runner.Wait();
  }
  std::vector<fs::path> SavedFiles(const std::string& prefix) const {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(save_.path()))
      if (entry.path().filename().string().starts_with(prefix)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
  }
  std::vector<std::string> HistoryRows() const {
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    sqlite3_open(context_.HistoryFile().c_str(), &db);
    sqlite3_exec(
        db, "SELECT Suche1 || '|' || PDFLink FROM History",
        [](void* out, int, char** values, char**) {
          static_cast<std::vector<std::string>*>(out)->push_back(values[0] != nullptr ? values[0] : "");
          return 0;
        },
        &rows, nullptr);
    sqlite3_close(db);
    return rows;
  }

  testing::TempDir data_, program_, save_, work_;
  testing::FakeClock clock_;
  log::RunLog runLog_{clock_};
  testing::RecordingDialogs dialogs_;
  testing::RecordingDesktop desktop_;
  MainWindowModel model_;
  screening::SearchState search_;
  SettingsBinding settings_{platform::ProgramDirectory()};
  AppContext context_{model_,    search_, runLog_,      dialogs_,    desktop_,
                      settings_, clock_,  data_.path(), work_.path()};
};

TEST_F(ListSearchRunTest, EveryRecordScreenedExportedShownAndReported) {
  Store({{"Bank Melli", "", "", ""}, {"", "", "", ""}, {"Rezai", "", "Tehran", ""}});
  model_.EditSetupPages([](SetupPagesState& pages) { pages.csvExport = true; });
  std::vector<std::string> processed;
  model_.AddObserver([&](ModelChange change) {
    if (change == ModelChange::ListSearchPage) processed.push_back(model_.ListSearchPage().processedText);
  });
  Run();

  const auto all = SavedFiles("VMK_LS_All_"), hits = SavedFiles("VMK_LS_Hits_");
  ASSERT_EQ(all.size(), 1u);
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(all[0].filename().string(), "VMK_LS_All_2026-12-11-09-05-07.csv");
  EXPECT_EQ(Lines(ReadFile(all[0])),
            (std::vector<std::string>{"Bank Melli;;;;1;1;1;0", "Rezai;;Tehran;;0;1;0;0"}));
  EXPECT_EQ(Lines(ReadFile(hits[0])), (std::vector<std::string>{"Bank Melli;;;;1;1;1;0;11.12.2026",
                                                                "Rezai;;Tehran;;0;1;0;0;11.12.2026"}));
  EXPECT_EQ(model_.ListResultRows(),
            (std::vector<ListResultRow>{{"Bank Melli", "", "", "", "1", "1", "1", "0", "11.12.2026"},
                                        {"Rezai", "", "Tehran", "", "0", "1", "0", "0", "11.12.2026"}}));
  EXPECT_NE(std::find(processed.begin(), processed.end(), "Bearbeitet : 2 / 3"), processed.end());
  EXPECT_EQ(std::find(processed.begin(), processed.end(), "Bearbeitet : 1 / 3"), processed.end());

  const auto reports = SavedFiles("KESTO_LS_");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(HistoryRows(), std::vector<std::string>{"Listensuche|" + reports[0].string()});
  // The store is emptied, the working copy gone, the window ready for the next run.
  EXPECT_EQ(StoredRecords(), 0);
  EXPECT_FALSE(fs::exists(screening::WorkingCopyPath(data_.path())));
  EXPECT_TRUE(model_.StartButtonEnabled());
  EXPECT_TRUE(model_.ListSearchPage().startButtonEnabled);
  EXPECT_EQ(model_.SearchFields(), (std::array<std::string, 4>{}));
}

TEST_F(ListSearchRunTest, CountsAreThoseOfTheCountQueriesInEveryMode) {
  const std::vector<std::array<std::string, 4>> records = {{"Bank Melli", "", "Tehran", ""},
                                                           {"Meli", "", "", ""},
                                                           {"Schmitt", "", "Berlin", ""},
                                                           {"Ali Rezai", "", "", ""}};
  for (int mode = 0; mode < 4; ++mode) {
    SCOPED_TRACE(mode);
    Store(records);
    search_.mode = mode;
    model_.EditSetupPages([](SetupPagesState& pages) { pages.csvExport = true; });
    Run();
    // The same queries by hand on a fresh working copy.
    screening::EnsureDatabaseUnpacked(data_.path(), runLog_, dialogs_);
    screening::SanctionsDatabase database(screening::WorkingCopyPath(data_.path()));
    std::vector<std::string> expected;
    for (const auto& terms : records) {
      screening::SearchState state = search_;
      state.terms = terms;
      testing::KeysOnlyHost host;
      ASSERT_EQ(screening::PrepareSearch(state, host), 0);
      std::string line;
      for (const std::string& t : terms) line += t + ";";
      for (ListId list : screening::kAllLists) {
        int rows = 0;
        const auto query = screening::BuildCountQuery(list, mode, state);
        ASSERT_TRUE(database.Query(*query, [&](const screening::Row&) { ++rows; }));
        line += (list == ListId::EU ? "" : ";") + std::to_string(rows);
      }
      expected.push_back(line);
    }
    const auto all = SavedFiles("VMK_LS_All_");
    EXPECT_EQ(Lines(ReadFile(all.back())), expected);
    for (const auto& file : all) fs::remove(file);
    screening::DeleteWorkingCopy(data_.path());
  }
}

TEST_F(ListSearchRunTest, AbortAfterTheFirstRecordKeepsWhatWasFound) {
  Store({{"Bank Melli", "", "", ""}, {"Rezai", "", "", ""}, {"Schmidt", "", "", ""}});
  dialogs_.answer = false;
  ListSearchGate* gate = nullptr;
  context_.listSearchProgress = [&](long long done, long long) {
    if (done == 1) StopListSearch(context_, *gate);
  };
  ListSearchRunner runner;
  gate = &runner.Gate();
  runner.Start(context_);
  runner.Wait();
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].title, "Listensuche abbrechen");
  EXPECT_EQ(model_.ListResultRows().size(), 1u);
  EXPECT_EQ(model_.ListResultRows()[0][0], "Bank Melli");
  EXPECT_EQ(StoredRecords(), 0);
  EXPECT_FALSE(runner.Gate().AbortRequested());
}

TEST_F(ListSearchRunTest, StartCheckNeedsRecordsOrALoadedFileAndAReadableStore) {
  ListSearchRunner runner;
  EXPECT_FALSE(StartListSearch(context_, runner));  // no store at all
  EXPECT_EQ(dialogs_.boxes.back().text.substr(dialogs_.boxes.back().text.rfind('\n') + 1), "MF1514");
  Store({});
  EXPECT_FALSE(StartListSearch(context_, runner));
  testing::WriteFile(program_ / lists::kMasterStoreFile, std::string(4096, 'x'));
  context_.runMode = RunMode::ScheduledListSearch;
  EXPECT_FALSE(StartListSearch(context_, runner));
  EXPECT_EQ(dialogs_.boxes.back().text.substr(dialogs_.boxes.back().text.rfind('\n') + 1), "MF1504");
  fs::remove(program_ / lists::kMasterStoreFile);
  Store({{"Rezai", "", "", ""}});
  EXPECT_TRUE(StartListSearch(context_, runner));
  runner.Wait();
  EXPECT_EQ(model_.ListResultRows().size(), 1u);
}

}  // namespace
}  // namespace vmk::app
