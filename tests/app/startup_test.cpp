// The start-up on the window model, in this process: the program's end is an exception the test catches.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/folders.h"
#include "support/http_test_server.h"
#include "support/test_support.h"
#include "text/cp1252.h"
#include "text/date_mask.h"

namespace vmk::app {
namespace {

namespace fs = std::filesystem;
using screening::RunMode;

struct ProgramEnded {};

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("VELDMARK_ROOT", root_.path().c_str(), 1);
    context_.programDirectory = work_.path();
    context_.workingDirectory = work_.path();
    shell_.endProgram = [] { throw ProgramEnded{}; };
    model_.AddObserver([this](ModelChange change) {
      const int step = model_.StatusBar().progress;
      if (change == ModelChange::StatusBar && (progress_.empty() || progress_.back() != step))
        progress_.push_back(step);
    });
    SettingsBinding::Group group(settings_);
    settings_.Startup();
    fs::create_directories(platform::DataDirectory());
    publish::SanctionsData data;
    data.dates = {"28.01.2026", "27.02.2026", "20.02.2026", "15.01.2026"};
    data.entries = {testing::Entry(screening::ListId::EU, {{"Name", "Bank Melli"}})};
    testing::WriteDatabasePack(platform::DataDirectory(), data);
    Personalise({"Muster GmbH", "", "Weg 1", "10115", "Berlin", "a@b.example"});
    LastUpdateSecondsAgo(60);
  }
  void TearDown() override { unsetenv("VELDMARK_ROOT"); }

  long long Now() const { return text::WallSeconds(clock_.now); }
  void LastUpdateSecondsAgo(long long seconds) { settings_.WriteLastUpdate(std::to_string(Now() - seconds)); }
  void Personalise(const std::array<std::string, 6>& person) {
    for (int n = 1; n <= 6; ++n) settings_.WritePerson(n, person[static_cast<std::size_t>(n - 1)]);
  }
  void Start(std::vector<std::string> arguments) {
    shell_.arguments = std::move(arguments);
    EXPECT_THROW(RunStartup(shell_), ProgramEnded);
  }
  std::vector<std::string> Codes() const {
    std::vector<std::string> codes;
    for (const auto& box : dialogs_.boxes) codes.push_back(box.text.substr(box.text.rfind('\n') + 1));
    return codes;
  }

  testing::TempDir root_, work_;
  testing::FakeClock clock_;
  log::RunLog runLog_{clock_};
  testing::RecordingDialogs dialogs_;
  testing::RecordingDesktop desktop_;
  MainWindowModel model_;
  screening::SearchState search_;
  SettingsBinding settings_{platform::ProgramDirectory()};
  AppContext context_{model_, search_, runLog_, dialogs_, desktop_, settings_, clock_, "", "."};
  ProgramShell shell_{context_};
  std::vector<int> progress_;
};

TEST_F(StartupTest, SettingsReachTheWindowModel) {
  settings_.WritePhonetik("2");
  settings_.WriteWhiteList("1");
  settings_.WritePDFAnzeige("1");
  settings_.SetBatchPath("/srv/batch/");
  settings_.SetBatchFile("Ergebnis.txt");
  settings_.SetBatchPDFOption("1");
  settings_.ExtMail("mail.example", "587", "user", "secret");
  settings_.SetExtMailStatus(0);
  Start({"/Phonetik"});

  const SetupPagesState pages = model_.SetupPages();
  EXPECT_EQ(text::Cp1252ToUtf8(pages.phoneticLabel), "Phonetik:   Double Metaphone");
  EXPECT_EQ(pages.whitelistLabel, "White List      : aktiviert");
  EXPECT_EQ(search_.mode, 2);
  EXPECT_TRUE(search_.phoneticDisplay);
  EXPECT_TRUE(model_.WhitelistSwitch());
  EXPECT_TRUE(model_.OpenPdfAfterSearch());
  EXPECT_EQ(pages.batchPath + pages.batchFile, "/srv/batch/Ergebnis.txt");
  EXPECT_EQ(context_.batchPdfOption, "1");
  EXPECT_TRUE(pages.ownMailServer);
  EXPECT_EQ(pages.mailServer + " " + pages.mailPort + " " + pages.mailUser, "mail.example 587 user");
  EXPECT_TRUE(pages.proxyState);
  EXPECT_EQ(pages.proxyButtonCaption, "Proxy ausschalten");
  EXPECT_EQ(text::Cp1252ToUtf8(pages.updateLabel), "Es liegt kein Programmupdate vor!");
  EXPECT_EQ(model_.ListDateLabels()[0], "Datenbank vom   : 28.01.2026");
  EXPECT_EQ(model_.Window().title, "Veldmark 2.65.2129");
  EXPECT_TRUE(model_.Window().visible);
  EXPECT_EQ(model_.StatusBar().databaseIcon, DatabaseIcon::Current);
  EXPECT_EQ(progress_, (std::vector<int>{0, 1, 2, 3, 5, 6, 7, 9, 11, 0}));
  EXPECT_EQ(model_.StatusText(), "");
  // No update server: the information file fails at once (MF77); the personalisation is complete.
  EXPECT_EQ(Codes(), std::vector<std::string>{"MF77"});
}

TEST_F(StartupTest, WindowOfEachRunMode) {
  struct Case {
    std::vector<std::string> arguments;
    bool visible, minimised, enabled;
  };
  testing::WriteFile(work_ / "list.csv", "Muster;;;\r\n");
  const Case cases[] = {
      {{}, true, false, true},
      {{"/dbupdate"}, true, false, true},
      {{"/b", (work_ / "list.csv").string()}, true, true, false},
      {{"/e", (work_ / "list.csv").string()}, false, true, false},
      {{"/s", "Name;;;"}, false, true, false},
      {{"/tIMe"}, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.empty() ? "no argument" : c.arguments[0]);
    model_.EditWindow([](WindowFrame& window) { window = {}; });
    Start(c.arguments);
    EXPECT_EQ(model_.Window().visible, c.visible);
    EXPECT_EQ(model_.Window().minimised, c.minimised);
    EXPECT_EQ(model_.Window().enabled, c.enabled);
  }
}

TEST_F(StartupTest, ProgramUpdateIsOfferedForANewerVersionOnlyInTheWindowModes) {
  const fs::path description = fs::path(platform::DataDirectory()) / "update.dat";
  struct Case {
    const char* version;
    std::vector<std::string> arguments;
    bool offered;
  };
  const Case cases[] = {
      {"21073", {}, true},
      {"21073", {"/dbupdate"}, true},
      {"21072", {}, false},
      {"21073", {"/s", "X;;;"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.version) + (c.arguments.empty() ? "" : " " + c.arguments[0]));
    testing::WriteFile(description, std::string("[Version]\r\nKESTO2=") + c.version +
                                        "\r\nKE2UInfo=Version 2.66\r\n[Date]\r\nEUK2=28.01.2026\r\n");
    dialogs_.boxes.clear();
    model_.EditSetupPages([](SetupPagesState& pages) { pages = {}; });
    model_.EditStatusBar([](StatusBarState& bar) { bar = {}; });
    Start(c.arguments);
    const SetupPagesState pages = model_.SetupPages();
    EXPECT_EQ(model_.StatusBar().updateAvailableIcon, c.offered);
    const std::vector<std::string> codes = Codes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "D664"), c.offered ? 1 : 0);
    if (c.offered) {
      EXPECT_EQ(text::Cp1252ToUtf8(pages.updateLabel),
                "Es steht eine neue Programmversion zum Download zur Verfügung (Version 2.66)");
      EXPECT_EQ(pages.front, SetupPage::Update);
    }
  }
}

TEST_F(StartupTest, UpdateRuleAndItsCountdownStamp) {
  testing::HttpServer server;
  shell_.updateServer = server.BaseUrl();
  clock_.elapsed = 50000;
  struct Case {
    long long secondsAgo;
    std::vector<std::string> arguments;
    bool updates;
    long long stamp;
    bool lastUpdateWritten;
  };
  const Case cases[] = {
      {28800, {}, false, 50000 - 28800, false},
      {28801, {}, true, 50000, true},
      {100, {"/dbupdate"}, true, 50000 - 100, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.secondsAgo);
    LastUpdateSecondsAgo(c.secondsAgo);
    const std::size_t requestsBefore = server.RequestedPaths().size();
    Start(c.arguments);
    const std::vector<std::string> paths = server.RequestedPaths();
    const bool updated = std::count(paths.begin() + static_cast<long>(requestsBefore), paths.end(),
                                    "/kepdata/download.me") == 1;
    EXPECT_EQ(updated, c.updates);
    EXPECT_EQ(shell_.updateStamp, c.stamp);
    EXPECT_EQ(settings_.ReadLastUpdate() == std::to_string(Now()), c.lastUpdateWritten);
  }
}

TEST_F(StartupTest, PersonalisationWarningLeavesTheDepartmentOut) {
  Personalise({"Muster GmbH", "", "Weg 1", "10115", "Berlin", "a@b.example"});
  Start({});
  EXPECT_EQ(Codes(), std::vector<std::string>{"MF77"});

  dialogs_.boxes.clear();
  Personalise({"Muster GmbH", "Einkauf", "Weg 1", "10115", "", "a@b.example"});
  Start({});
  EXPECT_EQ(Codes(), (std::vector<std::string>{"MF77", "MF1340"}));
  EXPECT_EQ(text::Cp1252ToUtf8(dialogs_.boxes.back().text),
            "Bitte personalisieren Sie Ihre Veldmark Version\rOhne die Personalisierung werden die Ausdrucke "
            "Ihrer\rPrüfungen nicht korrekt ausgefüllt\nMF1340");
  EXPECT_EQ(model_.SetupPages().front, SetupPage::Personalisation);
}

TEST_F(StartupTest, MissingSettingsLibraryEndsWithItsMessage) {
  SettingsBinding missing(root_.path());
  AppContext context{model_, search_, runLog_, dialogs_, desktop_, missing, clock_, "", work_.path()};
  ProgramShell shell{context};
  shell.endProgram = [] { throw ProgramEnded{}; };
  EXPECT_THROW(RunStartup(shell), ProgramEnded);
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].title, "FEHLER");
  EXPECT_EQ(dialogs_.boxes[0].text,
            "Die Datei 'KES2.DLL' fehlt oder ist defekt. Bitte Programm erneut installieren\rFehler Code "
            "(MF9)\nMF9");
}

}  // namespace
}  // namespace vmk::app
