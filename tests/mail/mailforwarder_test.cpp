#include <gtest/gtest.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include "app/mail_binding.h"
#include "mail/mail_forwarder.h"
#include "platform/folders.h"
#include "platform/shared_library.h"
#include "support/smtp_test_server.h"
#include "support/test_support.h"
#include "text/codec.h"

namespace vmk::mail {
namespace {

namespace fs = std::filesystem;
using Forwarder = int(const char*, const char*, int, const char*, int);

std::string ClosedPort() {
  return std::to_string(vmk::testing::ClosedLoopbackPort());
}

// An installation of its own with first-run settings and the customer's e-mail address, and the two
// libraries loaded as the main program loads them.
class MailforwarderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("VELDMARK_ROOT", root_.path().c_str(), 1);
    ASSERT_TRUE(settings_.Load(fs::path(platform::ProgramDirectory()) / "VMK21.so"));
    ASSERT_TRUE(mailer_.Load(fs::path(platform::ProgramDirectory()) / "VMKCom2.so")) << mailer_.Error();
    reinterpret_cast<int (*)()>(settings_.Symbol("Startup"))();
    reinterpret_cast<int (*)(const char*)>(settings_.Symbol("WritePerson6"))("kunde@firma.example");
    app::SetHostDialogs(&dialogs_);
  }
  void TearDown() override {
    app::SetHostDialogs(nullptr);
    unsetenv("VELDMARK_ROOT");
  }

  void OwnServer(const std::string& port, const char* user, const char* password) {
    reinterpret_cast<int (*)(const char*, const char*, const char*, const char*)>(
        settings_.Symbol("ExtMail"))("127.0.0.1", port.c_str(), user, password);
  }
  void VendorServer(const std::string& port) {
    fs::create_directories(root_ / "config");
    testing::WriteFile(root_ / "config" / "veldmark.conf",
                       "[Vendor]\nMailServer = 127.0.0.1\nMailPort = " + port + "\nMailUser = vendor\n");
  }
  int Send(const char* body = "Hallo\r.Punkt am Anfang\rEnde") {
    return reinterpret_cast<Forwarder*>(mailer_.Symbol("mailforwarder"))(
        "PC1 / Muster", " / VMK Interne Nachricht", 21072, body, 1);
  }

  testing::TempDir root_;
  platform::SharedLibrary settings_, mailer_;
  testing::RecordingDialogs dialogs_;
};

TEST_F(MailforwarderTest, OwnServerReceivesTheMessageAndTheUserIsTold) {
  testing::SmtpTestServer server("meier", "geheim");
  if (!server.Available()) GTEST_SKIP() << "no SMTP test server (python3-aiosmtpd)";
  OwnServer(server.Port(), "meier", "geheim");
  EXPECT_EQ(Send(), 1);
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].title, "KCom - Information");
  EXPECT_EQ(dialogs_.boxes[0].text,
            text::Win1252("Eine Nachricht/Bestätigung wurde erfolgreich an den KESTO Server abgesetzt"));

  const auto messages = server.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].sender, "kunde@firma.example");
  EXPECT_EQ(messages[0].recipients, std::vector<std::string>{"info@veldmark.example"});
  const std::string& content = messages[0].content;
  const auto subject = content.find("Subject: VMK (V21072) mail request / ");
  ASSERT_NE(subject, std::string::npos) << content;
  EXPECT_EQ(content.substr(subject + 37 + 16, 61),
            " / Prog ID : PC1 / Muster / VMK Interne Nachricht\r\nX-Mailer: ");
  for (const char* part : {"From: kunde@firma.example\r\n", "X-Mailer: VMK Mailer\r\n",
                           "Reply-To: kunde@firma.example\r\n", "\r\nHallo\r\n.Punkt am Anfang\r\nEnde"}) {
    EXPECT_NE(content.find(part), std::string::npos) << part << "\n" << content;
  }
}

TEST_F(MailforwarderTest, OwnServerWithoutUserSendsWithoutLogin) {
  testing::SmtpTestServer server;
  if (!server.Available()) GTEST_SKIP() << "no SMTP test server (python3-aiosmtpd)";
  OwnServer(server.Port(), "", "");
  EXPECT_EQ(Send(), 1);
  EXPECT_EQ(server.Messages().size(), 1u);
}

TEST_F(MailforwarderTest, RefusedLoginAndUnreachableServerShowTheirBoxes) {
  testing::SmtpTestServer server("meier", "geheim");
  if (!server.Available()) GTEST_SKIP() << "no SMTP test server (python3-aiosmtpd)";
  OwnServer(server.Port(), "meier", "falsch");
  EXPECT_EQ(Send(), 0);
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].title, "KCom - FEHLER");
  const std::string& text = dialogs_.boxes[0].text;
  EXPECT_EQ(text.substr(0, 30), "Authentifizierungsfehler!\r535 ");
  EXPECT_EQ(text.substr(text.size() - 13), "\rMeldung KC35");
  EXPECT_TRUE(server.Messages().empty());

  dialogs_.boxes.clear();
  OwnServer(ClosedPort(), "meier", "geheim");
  EXPECT_EQ(Send(), 0);
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].text,
            text::Win1252("Die SMTP Verbindung ist fehlgeschlagen !\rBitte prüfen Sie die "
                          "Mail Server Einstellungen\r\rMeldung KC46"));
}

TEST_F(MailforwarderTest, VendorAccountGetsTheMessageWithBlindCopy) {
  testing::SmtpTestServer server("vendor", "8Tolvan574.%");
  if (!server.Available()) GTEST_SKIP() << "no SMTP test server (python3-aiosmtpd)";
  reinterpret_cast<int (*)(int)>(settings_.Symbol("SetExtMailStatus"))(0);  // only the key decides
  VendorServer(server.Port());
  EXPECT_EQ(Send("Text"), 1);
  EXPECT_TRUE(dialogs_.boxes.empty());
  const auto messages = server.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].recipients,
            (std::vector<std::string>{"support@veldmark.example", "info@veldmark.example"}));
  EXPECT_NE(messages[0].content.find("To: support@veldmark.example\r\n"), std::string::npos);
  EXPECT_EQ(messages[0].content.find("info@veldmark.example"), std::string::npos);
  EXPECT_NE(messages[0].content.find("X-Mailer: Kesto Compliance Mailer\r\n"), std::string::npos);
  EXPECT_NE(messages[0].content.find("\r\n\r\nPC1 / Muster|Text"), std::string::npos) << messages[0].content;
}

TEST_F(MailforwarderTest, VendorModeWithoutServerFailsAtOnceButARefusalAfterConnectIsNoError) {
  EXPECT_EQ(Send(), 0);
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].text, "Die SMTP Verbindung ist fehlgeschlagen !\r\rMeldung KC64");

  testing::SmtpTestServer server("vendor", "another password");
  if (!server.Available()) GTEST_SKIP() << "no SMTP test server (python3-aiosmtpd)";
  dialogs_.boxes.clear();
  VendorServer(server.Port());
  EXPECT_EQ(Send(), 1);
  EXPECT_TRUE(dialogs_.boxes.empty());
}

TEST(StoredPassword, DecodesTheHexOfItsBase64) {
  for (const std::string& password :
       std::vector<std::string>{"abc", "", "8Tolvan574.%", std::string(1030, 'x')}) {
    const std::string stored = text::HexEncode(text::Base64Encode(password));
    EXPECT_EQ(DecodeStoredPassword(stored), password.substr(0, 1024));
  }
  EXPECT_EQ(text::HexEncode(text::Base64Encode("abc")).size(), 8u);
  EXPECT_EQ(DecodeStoredPassword("zz"), "");
}

}  // namespace
}  // namespace vmk::mail
