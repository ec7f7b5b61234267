#include "update/database_update.h"

#include <gtest/gtest.h>

#include <map>

#include "publish/pack_writer.h"
#include "screening/pack_check.h"
#include "screening/sanctions_db.h"
#include "support/test_support.h"
#include "text/cp1252.h"
#include "update/update_description.h"

namespace vmk::update {
namespace {

namespace fs = std::filesystem;
using screening::RunMode;
using testing::ReadFile;
using testing::WriteFile;

const std::array<std::string, 4> kInstalled = {"28.01.2026", "27.02.2026", "20.02.2026", "15.01.2026"};

std::string PackBytes(const testing::TempDir& scratch, const std::array<std::string, 4>& dates) {
  publish::SanctionsData data;
  data.dates = dates;
  data.entries = {testing::Entry(screening::ListId::EU, {{"Name", "Bank Melli"}})};
  testing::WriteDatabasePack(scratch.path(), data);
  return ReadFile(scratch / "KE2DB.pak");
}

std::string Description(const std::array<std::string, 4>& dates) {
  return "; update description\r\n[Version]\r\nKESTO2 = 21080\r\n[Date]\r\n  euk2 = " + dates[0] +
         "\r\nUNK2=" + dates[1] + "\r\n\tUKK2 = " + dates[2] + "\r\nUSK2 = " + dates[3] + "\r\n";
}

// An update server made of files: a path it does not hold downloads as an empty file, as a failed
// download does.
class DatabaseUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock_.now = {2026, 12, 11, 9, 5, 7};
    context_.dataDirectory = dir_.path();
    context_.updateServer = "http://127.0.0.1:9";
    context_.installationId = "PC1 / Muster";
    context_.personalisation = {"Muster GmbH", "", "Weg 1", "10115", "Berlin", "a@b.example"};
    context_.batchResultLine = &batchLine_;
    context_.download = [this](const std::string& url, const fs::path& file) {
      downloads_.push_back(url);
      const auto found = server_.find(url);
      WriteFile(file, found != server_.end() ? found->second : "");
    };
    context_.mailNotice = [this](const std::string& notice, const std::string& body) {
      mails_.push_back(notice + body);
    };
    context_.writeLastUpdate = [this](long long seconds) { lastUpdateWrites_.push_back(seconds); };
    context_.readLastUpdate = [this] { return lastUpdate_; };
    installedPack_ = PackBytes(scratch_, kInstalled);
    WriteFile(dir_ / "KE2DB.pak", installedPack_);
  }

  void Serve(const std::string& path, const std::string& content) {
    server_["http://127.0.0.1:9" + path] = content;
  }

  testing::TempDir dir_, scratch_;
  testing::FakeClock clock_;
  log::RunLog runLog_{clock_};
  testing::RecordingDialogs dialogs_;
  UpdateContext context_{runLog_, dialogs_, clock_};
  std::map<std::string, std::string> server_;
  std::vector<std::string> downloads_, mails_;
  std::vector<long long> lastUpdateWrites_;
  long long lastUpdate_ = 0;
  std::string batchLine_ = "0;";
  std::string installedPack_;
  std::array<std::string, 4> installed_ = kInstalled;
};

TEST_F(DatabaseUpdateTest, EqualDatesMeanCurrentDataAndNoPackDownload) {
  Serve("/kepdata/download.me", Description(kInstalled));
  EXPECT_EQ(RunDatabaseUpdate(context_, installed_), "-4");
  EXPECT_EQ(downloads_, std::vector<std::string>{"http://127.0.0.1:9/kepdata/download.me"});
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].text, "Ihre Daten sind auf dem aktuellen Stand\nMF1727");
  EXPECT_TRUE(mails_.empty());
  EXPECT_EQ(ReadFile(dir_ / "VMK.log"), "11.12.2026 | 09:05:07  : Daten sind auf dem aktuellen Stand\r\n");
  EXPECT_FALSE(fs::exists(dir_ / "!Update.dat"));
}

TEST_F(DatabaseUpdateTest, NewDatesBringTheNewPackAndItsDates) {
  const std::array<std::string, 4> fresh = {"05.12.2026", "27.02.2026", "20.02.2026", "15.01.2026"};
  Serve("/kepdata/download.me", Description(fresh));
  const std::string newPack = PackBytes(scratch_, fresh);
  Serve("/kepdata/KE2DBpak.bin", newPack);
  EXPECT_EQ(RunDatabaseUpdate(context_, installed_), "1");
  EXPECT_EQ(ReadFile(dir_ / "KE2DB.pak"), newPack);
  EXPECT_EQ(installed_, fresh);
  EXPECT_EQ(dialogs_.boxes.at(0).text, "Die Datenbank wurde aktualisiert\nMF1648");
  EXPECT_EQ(mails_, std::vector<std::string>{
                        "| Datenbank Update (279) | Compile: 65.2129 |  | Muster GmbH /  / Weg 1 / "
                        "10115 / Berlin / a@b.example"});
  EXPECT_EQ(lastUpdateWrites_.size(), 1u);
  EXPECT_NE(
      ReadFile(dir_ / "VMK.log").find("09:05:07  : PC1 / Muster| Datenbank Update erfolgreich (281) | \r\n"),
      std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ / "KESTO.adb"));
}

TEST_F(DatabaseUpdateTest, ABrokenPackNeverReplacesTheInstalledOne) {
  const struct {
    const char* name;
    std::string pack;
  } cases[] = {{"random bytes", std::string(4096, '\x5a')},
               {"empty body", ""},
               {"a pack of something else", [&] {
                  publish::WritePack(scratch_ / "other.pak", publish::PackSignature::V2,
                                     {{"Kesto.pak", "not sqlite", true}});
                  return ReadFile(scratch_ / "other.pak");
                }()}};
  Serve("/kepdata/download.me", "[Version]\r\nKESTO2=1\r\n");  // no group Date: every date reads "-1"
  context_.runMode = RunMode::SingleSearchBatch;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    batchLine_ = "";
    Serve("/kepdata/KE2DBpak.bin", c.pack);
    EXPECT_EQ(RunDatabaseUpdate(context_, installed_), "-1");
    EXPECT_EQ(ReadFile(dir_ / "KE2DB.pak"), installedPack_);
    EXPECT_EQ(batchLine_, "317");
    EXPECT_EQ(installed_, kInstalled);
  }
  EXPECT_TRUE(dialogs_.boxes.empty());  // the single-search batch shows nothing
  EXPECT_EQ(mails_.size(), 3u);
  EXPECT_TRUE(lastUpdateWrites_.empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()),
            3);  // pack, update.dat, VMK.log
}

TEST_F(DatabaseUpdateTest, MissingDescriptionKeepsThePreviousOne) {
  WriteFile(dir_ / "update.dat", Description(kInstalled));
  EXPECT_EQ(RunDatabaseUpdate(context_, installed_), "-2");
  EXPECT_EQ(ReadFile(dir_ / "update.dat"), Description(kInstalled));
  EXPECT_EQ(dialogs_.boxes.at(0).title, "FEHLER");
  EXPECT_EQ(dialogs_.boxes.at(0).text,
            text::Win1252("Die Datenbankinformationsdatei enthält keine Daten\rFehler Code (345P)\nMF1689"));
  ASSERT_EQ(mails_.size(), 1u);
  EXPECT_EQ(mails_[0].substr(0, 26), "| Info Datei Fehler (325) ");
}

TEST_F(DatabaseUpdateTest, NoConfiguredServerFailsWithoutNetwork) {
  context_.updateServer.clear();
  EXPECT_EQ(RunDatabaseUpdate(context_, installed_), "-2");
  EXPECT_EQ(downloads_, std::vector<std::string>{""});
}

TEST_F(DatabaseUpdateTest, EightHourRuleAndTheDatabaseUpdateMode) {
  Serve("/kepdata/download.me", Description(kInstalled));
  const long long now = 1796979907;
  struct Case {
    long long age;
    RunMode mode;
    bool runs;
    std::size_t writes;
  };
  const Case cases[] = {{28800, RunMode::Interactive, false, 0},
                        {28801, RunMode::Interactive, true, 1},
                        {28800, RunMode::DatabaseUpdate, true, 0},
                        {now, RunMode::Interactive, true, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.age) + " seconds");
    downloads_.clear();
    lastUpdateWrites_.clear();
    lastUpdate_ = now - c.age;
    context_.runMode = c.mode;
    EXPECT_EQ(UpdateCheckAtStart(context_, installed_), c.runs);
    EXPECT_EQ(downloads_.size(), c.runs ? 1u : 0u);
    EXPECT_EQ(lastUpdateWrites_.size(), c.writes);
    if (c.writes > 0) {
      EXPECT_EQ(lastUpdateWrites_[0], now);
    }
  }
  batchLine_ = "0";
  lastUpdate_ = now;
  context_.runMode = RunMode::SingleSearchBatch;
  UpdateCheckAtStart(context_, installed_);
  EXPECT_EQ(batchLine_, "00");
}

TEST_F(DatabaseUpdateTest, InformationTextAndItsBackup) {
  WriteFile(dir_ / "in.fo", "alt\r\n");
  Serve("/kepdata/vminfo.txt", "Neue Listen\r\nZweite Zeile\n");
  EXPECT_EQ(LoadInformationText(context_), "Neue Listen\rZweite Zeile\r");
  server_.clear();
  EXPECT_EQ(LoadInformationText(context_), "Fehler Code: -2");
  EXPECT_EQ(ReadFile(dir_ / "in.fo"), "Neue Listen\r\nZweite Zeile\n");
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].text,
            text::Win1252(
                "Die Informationsdatei konnte nicht geladen werden.\rBitte prüfen Sie die Internetverbindung "
                "oder die\rEinstellungen Ihrer Firewall\rFehler Code (MF74)\nMF77"));
}

TEST(UpdateDescription, GroupsCommentsCaseAndMissingKeys) {
  testing::TempDir dir;
  WriteFile(dir / "update.dat", Description({"a", "b", "c", "d"}) + ";USK2 = commented\r\n");
  EXPECT_EQ(AnnouncedListDates(dir / "update.dat"), (std::array<std::string, 4>{"a", "b", "c", "d"}));
  EXPECT_EQ(ReadDescriptionValue(dir / "update.dat", "version", "kesto2"), "21080");
  EXPECT_EQ(ReadDescriptionValue(dir / "update.dat", "Version", "KE2UInfo"), "-1");
  EXPECT_EQ(ReadDescriptionValue(dir / "missing.dat", "Date", "EUK2"), "-1");
  EXPECT_EQ(LeadingNumber("21073 beta"), 21073);
  EXPECT_EQ(LeadingNumber("x1"), 0);
}

}  // namespace
}  // namespace vmk::update
