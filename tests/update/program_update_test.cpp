#include "update/program_update.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/http_test_server.h"
#include "support/test_support.h"
#include "text/cp1252.h"

namespace vmk::update {
namespace {

namespace fs = std::filesystem;
using testing::HttpReply;
using testing::HttpServer;
using testing::ReadFile;

const std::string kSetup(4096, 'S');
constexpr const char* kFailedText =
    "Die Datei konnte nicht geladen werden, bitte prüfen Sie die Internetverbindung oder die Einstellung der "
    "Firewall\rBitte prüfen Sie die Internetverbindung oder die\rEinstellungen Ihrer Firewall\rFehler Code "
    "(MF107)\nMF107";
constexpr const char* kShortText = "Die geladene Datei ist leer oder fehlerhaft\rFehler Code (MF111)\nMF111";

// The program folder is a fresh folder; its registry (and so the user's proxy) one of its own.
class ProgramUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("VELDMARK_ROOT", (root_ / "root").c_str(), 1); }
  void TearDown() override { unsetenv("VELDMARK_ROOT"); }

  fs::path SetupFile() const { return root_ / kSetupFileName; }
  std::string OnlyMessage() {
    EXPECT_EQ(dialogs_.boxes.size(), 1u);
    const std::string text = dialogs_.boxes.empty() ? "" : text::Cp1252ToUtf8(dialogs_.boxes.back().text);
    dialogs_.boxes.clear();
    return text;
  }

  testing::TempDir root_;
  testing::RecordingDialogs dialogs_;
};

TEST_F(ProgramUpdateTest, DownloadedSetupIsReportedWithItsPath) {
  struct Case {
    bool proxyState;
    const char* title;
    const char* closing;
    const char* code;
    int icon;
  };
  const Case cases[] = {{true, "INFO", "´", "MF327", 16}, {false, "INFO", "`", "MF262", 64}};
  HttpServer server;
  server.Serve(kSetupPath, {.body = kSetup});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.proxyState ? "proxy state on" : "proxy state off");
    EXPECT_EQ(DownloadProgramUpdate(dialogs_, root_.path(), server.BaseUrl(), c.proxyState),
              SetupDownload::Downloaded);
    EXPECT_EQ(ReadFile(SetupFile()), kSetup);
    ASSERT_EQ(dialogs_.boxes.size(), 1u);
    EXPECT_EQ(dialogs_.boxes[0].title, c.title);
    EXPECT_EQ(dialogs_.boxes[0].icon, c.icon);
    EXPECT_EQ(OnlyMessage(),
              "Die Setup Datei wurde erfolgreich heruntergeladen und in folgendes Verzeichnis "
              "gespeichert: ´\r" +
                  SetupFile().string() + c.closing + "\n" + c.code);
    EXPECT_FALSE(fs::exists(root_ / "delme.txt"));
  }
  EXPECT_EQ(server.RequestedPaths(),
            (std::vector<std::string>{"/updates/KESTO2_update.bin", "/updates/KESTO2_update.bin"}));
}

TEST_F(ProgramUpdateTest, FailedAndShortDownloadsPerProxyState) {
  struct Case {
    const char* name;
    bool proxyState;
    HttpReply reply;
    SetupDownload outcome;
    std::string leftBehind;
  };
  const Case cases[] = {
      {"empty body, download client", true, {.body = ""}, SetupDownload::Failed, ""},
      {"empty body, plain download", false, {.body = ""}, SetupDownload::ShortFile, ""},
      {"10 bytes, download client", true, {.body = "0123456789"}, SetupDownload::ShortFile, "0123456789"},
      {"10 bytes, plain download", false, {.body = "0123456789"}, SetupDownload::ShortFile, "0123456789"},
      {"404, download client", true, {.status = "404 Not Found", .body = "gone"}, SetupDownload::Failed, ""},
      {"404, plain download",
       false,
       {.status = "404 Not Found", .body = "gone"},
       SetupDownload::Failed,
       "earlier"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::WriteFile(SetupFile(), "earlier");
    HttpServer server(c.reply);
    EXPECT_EQ(DownloadProgramUpdate(dialogs_, root_.path(), server.BaseUrl(), c.proxyState), c.outcome);
    EXPECT_EQ(dialogs_.boxes.at(0).title, "FEHLER");
    EXPECT_EQ(OnlyMessage(), c.outcome == SetupDownload::Failed ? kFailedText : kShortText);
    EXPECT_EQ(ReadFile(SetupFile()), c.leftBehind);
  }
}

TEST_F(ProgramUpdateTest, UnreachableOrUnconfiguredServerFails) {
  const std::string closed = "http://127.0.0.1:" + std::to_string(testing::ClosedLoopbackPort());
  for (const std::string& server : {closed, std::string()}) {
    for (const bool proxyState : {true, false}) {
      SCOPED_TRACE(server + (proxyState ? " proxy state on" : " proxy state off"));
      EXPECT_EQ(DownloadProgramUpdate(dialogs_, root_.path(), server, proxyState), SetupDownload::Failed);
      EXPECT_EQ(OnlyMessage(), kFailedText);
    }
  }
}

TEST_F(ProgramUpdateTest, ProgramFolderWithoutWriteAccessStopsBeforeTheDownload) {
  HttpServer server({.body = kSetup});
  const fs::path folder = root_ / "not a folder";
  testing::WriteFile(folder, "a file where the program folder should be");
  struct Case {
    bool proxyState;
    const char* title;
    const char* code;
  };
  for (const Case& c : {Case{true, "Warnung", "MF337"}, Case{false, "INFO", "MF265"}}) {
    EXPECT_EQ(DownloadProgramUpdate(dialogs_, folder, server.BaseUrl(), c.proxyState),
              SetupDownload::NoWriteAccess);
    EXPECT_EQ(dialogs_.boxes.at(0).title, c.title);
    EXPECT_EQ(dialogs_.boxes.at(0).icon, 16);
    EXPECT_EQ(OnlyMessage(),
              std::string("Bitte melden Sie sich zum Download und zur Installation als Administrator an.\n") +
                  c.code);
  }
  EXPECT_TRUE(server.Requests().empty());
}

TEST(ProgramUpdateOffer, OnlyANewerVersionNumber) {
  EXPECT_FALSE(IsProgramUpdateOffered(-1));
  EXPECT_FALSE(IsProgramUpdateOffered(21071));
  EXPECT_FALSE(IsProgramUpdateOffered(21072));
  EXPECT_TRUE(IsProgramUpdateOffered(21073));
}

}  // namespace
}  // namespace vmk::update
