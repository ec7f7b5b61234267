#include "app/master_import_run.h"

#include <gtest/gtest.h>

#include <future>

#include "lists/master_import.h"
#include "lists/master_store.h"
#include "platform/folders.h"
#include "support/test_support.h"
#include "text/cp1252.h"

namespace vmk::app {
namespace {

using testing::FakeClock;
using testing::RecordingDialogs;
using testing::TempDir;
using testing::WriteFile;

// What the window showed while a line was being imported.
struct DuringImport {
  std::string importStatus;
  int percent = 0;
  bool singleStartEnabled = true, loadEnabled = true, listStartEnabled = true;
  std::string pageStatus;
  screening::Rgb colour;
};

class MasterImportRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context_.programDirectory = programDir_.path();
    model_.AddObserver([this](ModelChange change) {
      if (change != ModelChange::ImportWindow) return;
      const ImportWindowState window = model_.ImportWindow();
      if (!window.visible || window.statusText == "Import Status") return;
      const ListSearchPageState page = model_.ListSearchPage();
      seen_.push_back({window.statusText, window.percent, model_.StartButtonEnabled(), page.loadButtonEnabled,
                       page.startButtonEnabled, model_.PageStatusText(), model_.PageStatusColour()});
      if (seen_.size() == 1) lockFreeDuringImport_ = LockIsFree();
    });
  }

  // Asked from another thread: the import runs on this one.
  bool LockIsFree() {
    return std::async(std::launch::async,
                      [this] {
                        const bool free = context_.importLock.try_lock();
                        if (free) context_.importLock.unlock();
                        return free;
                      })
        .get();
  }

  void ExpectReleased() {
    EXPECT_TRUE(model_.StartButtonEnabled());
    EXPECT_TRUE(model_.ListSearchPage().loadButtonEnabled);
    EXPECT_TRUE(model_.ListSearchPage().startButtonEnabled);
    EXPECT_EQ(model_.PageStatusText(), "");
    EXPECT_FALSE(model_.ImportWindow().visible);
    EXPECT_TRUE(LockIsFree());
  }

  long long StoredRecords() { return lists::CountMasterRecords(programDir_.path()).count.value_or(-1); }

  TempDir dataDir_, workDir_, programDir_, inputDir_;
  FakeClock clock_;
  MainWindowModel model_;
  screening::SearchState search_;
  log::RunLog runLog_{clock_};
  RecordingDialogs dialogs_;
  testing::RecordingDesktop desktop_;
  SettingsBinding settings_{platform::ProgramDirectory()};
  AppContext context_{model_,    search_, runLog_,         dialogs_,       desktop_,
                      settings_, clock_,  dataDir_.path(), workDir_.path()};
  std::vector<DuringImport> seen_;
  bool lockFreeDuringImport_ = true;
};

TEST_F(MasterImportRunTest, InteractiveImportShowsItsProgressAndGivesTheButtonsBack) {
  const std::filesystem::path file = inputDir_ / "kundenliste-aus-der-warenwirtschaft-vom-dezember.csv";
  WriteFile(file, "Muster GmbH;;Hauptstr. 1;Berlin\r\nSchmidt\r\nO'Brien\r\n");
  dialogs_.chosenFile = file.string();

  ImportMasterData(context_, std::nullopt);

  ASSERT_EQ(dialogs_.choosers.size(), 1u);
  EXPECT_EQ(
      dialogs_.choosers[0],
      (std::array<std::string, 4>{"Lade Listendatei", "*.csv",
                                  " CSV Dateien (*.csv)|*.csv|Text Dateien (*.txt)|*.txt|(*.*)|*.*", ""}));
  ASSERT_EQ(seen_.size(), 3u);
  const std::pair<std::string, int> expected[] = {{"Import Status: 1 / 3     ( 33.3 % )", 33},
                                                  {"Import Status: 2 / 3     ( 66.7 % )", 67},
                                                  {"Import Status: 3 / 3     ( 100.0 % )", 100}};
  for (std::size_t i = 0; i < seen_.size(); ++i) {
    EXPECT_EQ(seen_[i].importStatus, expected[i].first);
    EXPECT_EQ(seen_[i].percent, expected[i].second);
    EXPECT_FALSE(seen_[i].singleStartEnabled);
    EXPECT_FALSE(seen_[i].loadEnabled);
    EXPECT_FALSE(seen_[i].listStartEnabled);
    EXPECT_EQ(seen_[i].pageStatus, "Stammdaten werden importiert");
    EXPECT_EQ(seen_[i].colour, kStatusDarkRed);
  }
  EXPECT_FALSE(lockFreeDuringImport_);
  ExpectReleased();
  const std::string shown = model_.ListSearchPage().listFileText;
  EXPECT_EQ(shown, file.string().substr(0, 15) + " ... " + file.string().substr(file.string().size() - 30));
  EXPECT_EQ(StoredRecords(), 3);
  EXPECT_TRUE(dialogs_.boxes.empty());
}

TEST_F(MasterImportRunTest, CancelledChooserLeavesTheStoreAlone) {
  const std::filesystem::path earlier = inputDir_ / "vorher.csv";
  WriteFile(earlier, "Alt\n");
  lists::ImportMasterFile(programDir_.path(), earlier, false, clock_, runLog_, {}, {});
  const std::optional<std::string> answers[] = {std::nullopt, std::string()};
  for (const auto& answer : answers) {
    dialogs_.chosenFile = answer;
    ImportMasterData(context_, std::nullopt);
    ExpectReleased();
  }
  EXPECT_TRUE(seen_.empty());
  EXPECT_EQ(model_.ListSearchPage().listFileText, "");
  EXPECT_EQ(StoredRecords(), 1);
}

TEST_F(MasterImportRunTest, UnattendedImportReadsTheIdsWithoutAsking) {
  const std::filesystem::path file = inputDir_ / "batch.csv";
  WriteFile(file, "K1;Muster GmbH;;Hauptstr. 1;Berlin\nK2;Schmidt\n");
  model_.EditListSearchPage([](ListSearchPageState& page) { page.listFileText = "vorher"; });

  ImportMasterData(context_, file.string());

  EXPECT_TRUE(dialogs_.choosers.empty());
  EXPECT_EQ(model_.ListSearchPage().listFileText, "vorher");
  ASSERT_EQ(seen_.size(), 2u);
  EXPECT_EQ(seen_[1].importStatus, "Import Status: 2 / 2     ( 100.0 % )");
  ExpectReleased();
  EXPECT_EQ(StoredRecords(), 2);
}

TEST_F(MasterImportRunTest, ARefusedLineShowsMF1072AndTheImportGoesOn) {
  const std::filesystem::path file = inputDir_ / "kunden.csv";
  WriteFile(file, std::string("A\nB\0B\nC\n", 8));
  dialogs_.chosenFile = file.string();

  ImportMasterData(context_, std::nullopt);

  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].title, "FEHLER");
  EXPECT_TRUE(dialogs_.boxes[0].text.ends_with("\nMF1072")) << dialogs_.boxes[0].text;
  EXPECT_EQ(dialogs_.boxes[0].icon, 16);
  EXPECT_EQ(seen_.size(), 3u);
  EXPECT_EQ(StoredRecords(), 2);
}

TEST(ListFileFieldTest, PathsLongerThan55CharactersAreShortened) {
  const std::string exact55(55, 'p');
  std::string long56 = "C:\\Dokumente\\Kunden\\";
  long56 += std::string(56 - long56.size() - 8, 'x') + "list.csv";
  ASSERT_EQ(long56.size(), 56u);
  const struct {
    std::string path, shown;
  } cases[] = {
      {"C:\\kunden.csv", "C:\\kunden.csv"},
      {exact55, exact55},
      {long56, "C:\\Dokumente\\Ku ... " + long56.substr(26)},
  };
  for (const auto& c : cases) EXPECT_EQ(ShortenedListFilePath(c.path), c.shown) << c.path;
}

TEST(ImportStatusTest, PercentageHasOneDecimal) {
  const struct {
    long long line, total;
    std::string text;
  } cases[] = {
      {1, 8, "Import Status: 1 / 8     ( 12.5 % )"},
      {7, 9, "Import Status: 7 / 9     ( 77.8 % )"},
      {1, 1000, "Import Status: 1 / 1000     ( 0.1 % )"},
      {100000, 100000, "Import Status: 100000 / 100000     ( 100.0 % )"},
  };
  for (const auto& c : cases) EXPECT_EQ(ImportStatusText(c.line, c.total), c.text);
}

}  // namespace
}  // namespace vmk::app
