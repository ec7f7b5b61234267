// The database update over HTTP from a server of the test, followed by single searches of the same run.
#include <gtest/gtest.h>

#include "app/single_search_run.h"
#include "lists/search_history.h"
#include "platform/folders.h"
#include "screening/list_search.h"
#include "support/http_test_server.h"
#include "support/test_support.h"
#include "update/database_update.h"

namespace vmk::app {
namespace {

using screening::ListId;
using testing::Entry;
using testing::ReadFile;

const std::array<std::string, 4> kOldDates = {"28.01.2026", "27.02.2026", "20.02.2026", "15.01.2026"};
const std::array<std::string, 4> kNewDates = {"04.12.2026", "27.02.2026", "20.02.2026", "15.01.2026"};

std::string PackOf(const testing::TempDir& scratch, const std::array<std::string, 4>& dates,
                   const std::string& euName) {
  publish::SanctionsData data;
  data.dates = dates;
  data.entries = {Entry(ListId::EU, {{"Name", euName}, {"Address", "Tehran"}})};
  testing::WriteDatabasePack(scratch.path(), data);
  return ReadFile(scratch / "KE2DB.pak");
}

std::string DescriptionOf(const std::array<std::string, 4>& dates) {
  return "[Version]\r\nKESTO2=21072\r\n[Date]\r\nEUK2=" + dates[0] + "\r\nUNK2=" + dates[1] +
         "\r\nUKK2=" + dates[2] + "\r\nUSK2=" + dates[3] + "\r\n";
}

class UpdateEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("VELDMARK_ROOT", (dir_ / "root").c_str(), 1);
    installedPack_ = PackOf(scratch_, kOldDates, "Bank Melli");
    testing::WriteFile(dir_ / "KE2DB.pak", installedPack_);
    update_.dataDirectory = dir_.path();
    update_.updateServer = server_.BaseUrl();
    search_.selection = {"1", "1", "1", "1"};
    search_.mode = screening::kPlainText;
    lists::CreateHistoryDatabase(context_.HistoryFile(), runLog_);
    model_.SetSavePath(saveDir_.path().string() + "/");
    installed_ = *update::ReadInstalledDates(update_);
  }
  void TearDown() override { unsetenv("VELDMARK_ROOT"); }

  int EuHitsFor(const std::string& name) {
    model_.SetSearchFields({name, "", "", ""});
    RunSingleSearch(context_);
    const std::string label = model_.HitReports()[0].countLabel;
    for (int count = 0; count < 10; ++count)
      if (label == screening::HitCountLabel(count)) return count;
    ADD_FAILURE() << label;
    return -1;
  }

  testing::TempDir dir_, scratch_, saveDir_, workDir_;
  testing::HttpServer server_;
  testing::FakeClock clock_;
  log::RunLog runLog_{clock_};
  testing::RecordingDialogs dialogs_;
  testing::RecordingDesktop desktop_;
  update::UpdateContext update_{runLog_, dialogs_, clock_};
  MainWindowModel model_;
  screening::SearchState search_;
  SettingsBinding settings_{platform::ProgramDirectory()};
  AppContext context_{model_,    search_, runLog_,     dialogs_,       desktop_,
                      settings_, clock_,  dir_.path(), workDir_.path()};
  std::string installedPack_;
  std::array<std::string, 4> installed_;
};

TEST_F(UpdateEndToEndTest, ANewPackIsInstalledAndTheNextSearchSeesTheNewLists) {
  EXPECT_EQ(EuHitsFor("Sepah"), 0);
  server_.Serve("/kepdata/download.me", {.body = DescriptionOf(kNewDates)});
  server_.Serve("/kepdata/KE2DBpak.bin", {.body = PackOf(scratch_, kNewDates, "Bank Sepah")});

  EXPECT_EQ(update::RunDatabaseUpdate(update_, installed_), "1");
  EXPECT_EQ(installed_, kNewDates);
  EXPECT_EQ(server_.RequestedPaths(),
            (std::vector<std::string>{"/kepdata/download.me", "/kepdata/KE2DBpak.bin"}));
  EXPECT_EQ(EuHitsFor("Sepah"), 1);
  EXPECT_EQ(EuHitsFor("Melli"), 0);
}

TEST_F(UpdateEndToEndTest, ABrokenPackLeavesTheInstalledOneAndSearchesKeepWorking) {
  struct Case {
    const char* name;
    testing::HttpReply pack;
  };
  const std::string valid = PackOf(scratch_, kNewDates, "Bank Sepah");
  const Case cases[] = {
      {"random bytes", {.body = std::string(5000, '\x33')}},
      {"truncated pack", {.body = valid.substr(0, valid.size() - 100)}},
      {"cut-off transfer", {.body = valid, .stallAfter = 200, .hangUpAtStall = true}},
      {"404 page", {.status = "404 Not Found", .body = "<html>404</html>"}},
  };
  server_.Serve("/kepdata/download.me", {.body = DescriptionOf(kNewDates)});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server_.Serve("/kepdata/KE2DBpak.bin", c.pack);
    EXPECT_EQ(update::RunDatabaseUpdate(update_, installed_), "-1");
    EXPECT_EQ(installed_, kOldDates);
    EXPECT_EQ(ReadFile(dir_ / "KE2DB.pak"), installedPack_);
    EXPECT_EQ(EuHitsFor("Melli"), 1);
  }
}

TEST_F(UpdateEndToEndTest, SameDatesOnTheServerDownloadNoPack) {
  server_.Serve("/kepdata/download.me", {.body = DescriptionOf(kOldDates)});
  EXPECT_EQ(update::RunDatabaseUpdate(update_, installed_), "-4");
  EXPECT_EQ(server_.RequestedPaths(), std::vector<std::string>{"/kepdata/download.me"});
  EXPECT_EQ(EuHitsFor("Melli"), 1);
}

}  // namespace
}  // namespace vmk::app
