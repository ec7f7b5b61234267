#include "app/vendor_mail.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/folders.h"
#include "support/smtp_test_server.h"
#include "support/test_support.h"
#include "text/codec.h"
#include "text/cp1252.h"

namespace vmk::app {
namespace {

namespace fs = std::filesystem;

class VendorMailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("VELDMARK_ROOT", root_.path().c_str(), 1);
    settings_.Startup();
    model_.SetPersonalisation(
        {"Muster GmbH", "Einkauf", text::Win1252("Hauptstraße 1"), "10115", "Berlin", "kunde@firma.example"});
    context_.programDirectory = platform::ProgramDirectory();
    context_.installationId = "PC1 / Muster GmbH";
  }
  void TearDown() override { unsetenv("VELDMARK_ROOT"); }

  void VendorServer(const std::string& port) {
    fs::create_directories(root_ / "config");
    testing::WriteFile(root_ / "config" / "veldmark.conf",
                       "[Vendor]\nMailServer = 127.0.0.1\nMailPort = " + port + "\n");
  }

  testing::TempDir root_, dir_;
  testing::FakeClock clock_;
  MainWindowModel model_;
  screening::SearchState search_;
  log::RunLog runLog_{clock_};
  testing::RecordingDialogs dialogs_;
  testing::RecordingDesktop desktop_;
  SettingsBinding settings_{platform::ProgramDirectory()};
  AppContext context_{model_,    search_, runLog_,     dialogs_,   desktop_,
                      settings_, clock_,  dir_.path(), dir_.path()};
};

TEST_F(VendorMailTest, SupportMessageCarriesTheSenderAndIsConfirmed) {
  testing::SmtpTestServer server;
  if (!server.Available()) GTEST_SKIP() << "no SMTP test server (python3-aiosmtpd)";
  settings_.ExtMail("127.0.0.1", server.Port(), "", "");
  EXPECT_EQ(SendSupportMessage(context_, "Bitte rufen Sie an."), 1);
  const auto messages = server.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].content.find(" / Prog ID : PC1 / Muster GmbH / VMK Interne Nachricht\r\n"),
            std::string::npos);
  EXPECT_NE(messages[0].content.find("Bitte rufen Sie an.\r\n\r\nAbsender: \r\n\r\nMuster GmbH\r\nEinkauf\r\n"
                                     "Hauptstra\xDF"
                                     "e 1\r\n10115   Berlin\r\nkunde@firma.example"),
            std::string::npos)
      << messages[0].content;
  ASSERT_EQ(dialogs_.boxes.size(), 2u);  // the mailer's own box, then the program's confirmation
  EXPECT_EQ(dialogs_.boxes[1].title, "INFO");
  EXPECT_EQ(dialogs_.boxes[1].text, "Ihre Nachricht wurde erfolgreich versandt\nMF1311");
}

TEST_F(VendorMailTest, RunLogIsMailedAsAttachmentAndLogModeEnds) {
  testing::SmtpTestServer server;
  if (!server.Available()) GTEST_SKIP() << "no SMTP test server (python3-aiosmtpd)";
  VendorServer(server.Port());
  ASSERT_TRUE(runLog_.Open(dir_ / "RunLog.txt"));
  runLog_.WriteRunLog(text::Win1252("Übernehme Suchworte"));
  MailRunLog(context_);
  EXPECT_FALSE(runLog_.IsOn());
  EXPECT_TRUE(dialogs_.boxes.empty());
  const auto messages = server.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].sender, "kunde@firma.example");
  EXPECT_EQ(messages[0].recipients, std::vector<std::string>{"support@veldmark.example"});
  const std::string& content = messages[0].content;
  EXPECT_NE(content.find("Subject: RunLog / PC1 / Muster GmbH\r\n"), std::string::npos);
  EXPECT_NE(content.find("filename=\"LogFile\""), std::string::npos);
  EXPECT_NE(content.find("Content-Type: text/plain; name=\"LogFile\""), std::string::npos) << content;
  EXPECT_NE(content.find(text::Base64Encode("09:05:07  Uhr / \xC3\x9C"
                                            "bernehme Suchworte\r\n")),
            std::string::npos);
}

TEST_F(VendorMailTest, RunLogMailFailureIsShownAndLogModeEndsAnyway) {
  ASSERT_TRUE(runLog_.Open(dir_ / "RunLog.txt"));
  MailRunLog(context_);  // no vendor mail server configured
  EXPECT_FALSE(runLog_.IsOn());
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].title, "Fehler");
  EXPECT_EQ(dialogs_.boxes[0].text,
            text::Win1252("Beim senden der Nachricht ist ein Fehler aufgetreten\rBitte prüfen "
                          "Sie ob Ihre Firewall auch e-mail Verkehr zulässt !"));
}

}  // namespace
}  // namespace vmk::app
