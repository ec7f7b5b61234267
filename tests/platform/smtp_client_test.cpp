#include "platform/smtp_client.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/smtp_test_server.h"
#include "support/test_support.h"
#include "text/codec.h"
#include "text/cp1252.h"

namespace vmk::platform {
namespace {

using namespace std::chrono_literals;

enum class Delivery { Whole, InPieces, Close, Silent };

// One answer of the scripted server: reply text with its line ends, or closing, or silence.
struct Step {
  std::string text;
  Delivery delivery = Delivery::Whole;
};

// A one-connection SMTP server on 127.0.0.1 answering from a script: step 0 is the greeting, each
// further step answers the next command (the data after a 354 counts as one command). It records
// every line the client sent, as on the wire.
class ScriptedServer {
 public:
  explicit ScriptedServer(std::vector<Step> script) : script_(std::move(script)) {
    int port = 0;
    listener_ = vmk::testing::ListenOnLoopback(1, port);
    if (listener_ < 0) ADD_FAILURE() << "cannot listen";
    port_ = std::to_string(port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~ScriptedServer() {
    thread_.join();
    ::close(listener_);
  }

  const std::string& Port() const { return port_; }
  std::vector<std::string> Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }
  std::string Received() const {
    std::lock_guard lock(mutex_);
    return received_;
  }

 private:
  static constexpr int kIdleMilliseconds = 5000;  // ends a test that went wrong instead of hanging it

  void Serve() {
    pollfd entry{listener_, POLLIN, 0};
    if (::poll(&entry, 1, kIdleMilliseconds) != 1) return;
    const int connection = ::accept(listener_, nullptr, nullptr);
    if (connection < 0) return;
    Converse(connection);
    ::close(connection);
  }

  void Converse(int connection) {
    std::size_t step = 0;
    bool answering = Answer(connection, script_[step]);
    if (script_[step++].delivery == Delivery::Close) return;
    bool inData = false;
    std::string line;
    while (ReadLine(connection, line)) {
      if (inData) {
        if (line != ".") continue;
        inData = false;
      }
      if (!answering) continue;
      if (step == script_.size()) return;
      const Step& answer = script_[step++];
      inData = line == "DATA" && answer.text.starts_with("354");
      answering = Answer(connection, answer);
      if (answer.delivery == Delivery::Close) return;
    }
  }

  // False once the server stays silent.
  static bool Answer(int connection, const Step& step) {
    switch (step.delivery) {
      case Delivery::Whole:
        ::send(connection, step.text.data(), step.text.size(), MSG_NOSIGNAL);
        return true;
      case Delivery::InPieces:
        for (std::size_t start = 0; start < step.text.size(); start += 5) {
          const std::string piece = step.text.substr(start, 5);
          ::send(connection, piece.data(), piece.size(), MSG_NOSIGNAL);
          std::this_thread::sleep_for(10ms);
        }
        return true;
      case Delivery::Close:
      case Delivery::Silent:
        return false;
    }
    return false;
  }

  bool ReadLine(int connection, std::string& line) {
    line.clear();
    for (;;) {
      pollfd entry{connection, POLLIN, 0};
      char c = 0;
      if (::poll(&entry, 1, kIdleMilliseconds) != 1 || ::recv(connection, &c, 1, 0) != 1) return false;
      std::lock_guard lock(mutex_);
      received_ += c;
      if (c == '\n') {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(line);
        return true;
      }
      line += c;
    }
  }

  std::vector<Step> script_;
  int listener_ = -1;
  std::string port_;
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  std::string received_;
  std::thread thread_;
};

// Indices of the answers in the authenticated dialogue.
enum StepIndex : std::size_t { kGreet, kEhlo, kAuth, kUser, kPassword, kMail, kRcpt, kData, kEnd, kQuit };

std::vector<Step> AuthenticatedScript() {
  return {{"220 mail.example ESMTP\r\n"},
          {"250-mail.example\r\n250-AUTH LOGIN PLAIN\r\n250 8BITMIME\r\n", Delivery::InPieces},
          {"334 VXNlcm5hbWU6\r\n"},
          {"334 UGFzc3dvcmQ6\r\n"},
          {"235 2.7.0 Authentication successful\r\n"},
          {"250 2.1.0 OK\r\n"},
          {"250 2.1.5 OK\r\n"},
          {"354 End data with <CR><LF>.<CR><LF>\r\n"},
          {"250 2.0.0 queued\r\n"},
          {"221 2.0.0 bye\r\n"}};
}

MailMessage AuthenticatedMessage() {
  MailMessage message;
  message.sender = "kunde@example.com";
  message.senderName = "VMK Mailer";
  message.recipients = {"info@kesto.example"};
  message.subject = "Test";
  message.body = "Hallo";
  message.user = "anwender";
  message.password = "geheim";
  return message;
}

long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
      .count();
}

bool OnlyCrLfLineEnds(const std::string& bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) return false;
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return false;
  }
  return true;
}

TEST(SmtpClientTest, OpensOnlyOnA220Greeting) {
  struct Case {
    const char* name;
    Step greeting;
    bool open;
    const char* lastReply;
  };
  const Case cases[] = {
      {"refusing", {"554 5.3.2 no service\r\n"}, false, "554 5.3.2 no service"},
      {"silent", {"", Delivery::Silent}, false, ""},
      {"closing", {"", Delivery::Close}, false, ""},
      {"multi-line in pieces, LF only",
       {"220-mail.example\n220 ready\n", Delivery::InPieces},
       true,
       "220 ready"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedServer server({c.greeting});
    SmtpClient client(300ms, 300ms);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Connect("127.0.0.1", server.Port()), c.open);
    EXPECT_LT(MillisecondsSince(start), 1000);
    EXPECT_EQ(client.LastReply(), c.lastReply);
  }
}

TEST(SmtpClientTest, ConnectFailsFastWithoutAServer) {
  // A bound but not listening socket keeps the port ours and refuses connections.
  const int bound = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(bound, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::getsockname(bound, reinterpret_cast<sockaddr*>(&address), &length), 0);

  SmtpClient client(300ms, 300ms);
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(client.Connect("127.0.0.1", std::to_string(ntohs(address.sin_port))));
  EXPECT_LT(MillisecondsSince(start), 300);
  ::close(bound);

  start = std::chrono::steady_clock::now();
  EXPECT_FALSE(client.Connect("10.255.255.1", "25"));
  EXPECT_LT(MillisecondsSince(start), 1000);

  EXPECT_FALSE(client.Connect("", "25"));
  EXPECT_FALSE(client.Connect("127.0.0.1", ""));
  EXPECT_EQ(client.Send(AuthenticatedMessage()), kSmtpNotInitialised);
}

TEST(SmtpClientTest, AuthenticatedDialogueOnTheWire) {
  std::vector<Step> script = AuthenticatedScript();
  script.insert(script.begin() + kRcpt, Step{"251 2.1.5 will forward\r\n"});  // for the second recipient
  ScriptedServer server(script);
  MailMessage message = AuthenticatedMessage();
  message.recipients = {"support@kesto.example", " BCC: info@kesto.example"};
  message.subject = "Report\r\nBcc: evil@x";
  message.body = ".start\r\nmiddle\n..two\rend";
  message.extraHeaders = {{"Reply-To", "kunde@example.com"}};
  SmtpClient client(1s, 1s);
  ASSERT_TRUE(client.Connect("127.0.0.1", server.Port()));

  EXPECT_EQ(client.Send(message), kSmtpSent);
  EXPECT_EQ(client.LastReply(), "250 2.0.0 queued");
  client.Quit();
  EXPECT_EQ(client.Send(message), kSmtpNotInitialised);

  const std::vector<std::string> expected = {
      "Ehlo VMK",
      "AUTH LOGIN",
      "YW53ZW5kZXI=",
      "Z2VoZWlt",
      "MAIL FROM: <kunde@example.com>",
      "RCPT TO: <support@kesto.example>",
      "RCPT TO: <info@kesto.example>",
      "DATA",
      "From: kunde@example.com",
      "To: support@kesto.example",
      "Subject: Report  Bcc: evil@x",
      "X-Mailer: VMK Mailer",
      "MIME-Version: 1.0",
      "Reply-To: kunde@example.com",
      "Content-Type: text/plain; charset=\"iso-8859-1\"",
      "Content-Transfer-Encoding: 7bit",
      "",
      "..start",
      "middle",
      "...two",
      "end",
      ".",
      "QUIT",
  };
  EXPECT_EQ(server.Lines(), expected);
  EXPECT_TRUE(OnlyCrLfLineEnds(server.Received()));
}

TEST(SmtpClientTest, WithoutUserGreetsWithHeloAndSkipsAuthentication) {
  ScriptedServer server({{"220 ok\n"}, {"250 ok\n"}, {"250 ok\n"}, {"250 ok\n"}, {"354 go\n"}, {"250 ok\n"}});
  MailMessage message = AuthenticatedMessage();
  message.user.clear();
  SmtpClient client(1s, 1s);
  ASSERT_TRUE(client.Connect("localhost", server.Port()));

  EXPECT_EQ(client.Send(message), kSmtpSent);
  const std::vector<std::string> lines = server.Lines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "HELO VMK");
  EXPECT_EQ(lines[1], "MAIL FROM: <kunde@example.com>");
}

TEST(SmtpClientTest, LineBreaksInValuesNeverStartANewLine) {
  ScriptedServer server(AuthenticatedScript());
  MailMessage message = AuthenticatedMessage();
  message.sender = "kunde@example.com>\r\nRCPT TO: <evil@x";
  message.senderName = "VMK\nMailer\r\nBcc: evil@x";
  message.recipients = {"bcc:info@kesto.example>\nRCPT TO: <evil@y"};
  message.extraHeaders = {{"Reply-To", "kunde@example.com\nBcc: evil@x"}};
  SmtpClient client(1s, 1s);
  ASSERT_TRUE(client.Connect("127.0.0.1", server.Port()));

  EXPECT_EQ(client.Send(message), kSmtpSent);
  const std::vector<std::string> lines = server.Lines();
  for (const std::string& line : lines) {
    EXPECT_FALSE(line.starts_with("Bcc:")) << line;
    EXPECT_FALSE(line.starts_with("RCPT TO: <evil")) << line;
  }
  EXPECT_NE(std::find(lines.begin(), lines.end(), "MAIL FROM: <kunde@example.com>  RCPT TO: <evil@x>"),
            lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "X-Mailer: VMK Mailer  Bcc: evil@x"), lines.end());
}

TEST(SmtpClientTest, NoRecipientIsNotInitialised) {
  ScriptedServer server({{"220 ok\r\n"}});
  MailMessage message = AuthenticatedMessage();
  message.recipients = {"", "bcc: "};
  SmtpClient client(1s, 1s);
  ASSERT_TRUE(client.Connect("127.0.0.1", server.Port()));
  EXPECT_EQ(client.Send(message), kSmtpNotInitialised);
  client.Quit();
  EXPECT_EQ(server.Lines(), std::vector<std::string>{"QUIT"});
}

TEST(SmtpClientTest, FailuresOfTheDialogue) {
  struct Case {
    const char* name;
    std::size_t step;
    Step answer;
    int result;
    const char* lastReply;
  };
  const Case cases[] = {
      {"password refused",
       kPassword,
       {"535 5.7.8 Authentication credentials invalid\r\n"},
       kSmtpAuthenticationError,
       "535 5.7.8 Authentication credentials invalid"},
      {"AUTH LOGIN unknown",
       kAuth,
       {"504 5.5.4 Unrecognized authentication type\r\n"},
       kSmtpAuthenticationError,
       "504 5.5.4 Unrecognized authentication type"},
      {"EHLO refused", kEhlo, {"502 5.5.1 no\r\n"}, kSmtpAborted, "502 5.5.1 no"},
      {"recipient refused", kRcpt, {"550 5.1.1 No such user\r\n"}, kSmtpAborted, "550 5.1.1 No such user"},
      {"DATA refused",
       kData,
       {"554 5.5.1 no valid recipients\r\n"},
       kSmtpAborted,
       "554 5.5.1 no valid recipients"},
      {"message refused", kEnd, {"552 5.3.4 too big\r\n"}, kSmtpAborted, "552 5.3.4 too big"},
      {"reply without code", kMail, {"hello\r\n"}, kSmtpAborted, "hello"},
      {"421 on MAIL",
       kMail,
       {"421 4.3.2 shutting down\r\n"},
       kSmtpConnectionError,
       "421 4.3.2 shutting down"},
      {"closed after EHLO", kAuth, {"", Delivery::Close}, kSmtpConnectionError, "250 8BITMIME"},
      {"silent after the data",
       kEnd,
       {"", Delivery::Silent},
       kSmtpTimeout,
       "354 End data with <CR><LF>.<CR><LF>"},
      {"silent in the middle of a multi-line reply",
       kEhlo,
       {"250-mail.example\r\n", Delivery::Whole},
       kSmtpTimeout,
       "250-mail.example"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Step> script = AuthenticatedScript();
    script[c.step] = c.answer;
    ScriptedServer server(script);
    SmtpClient client(300ms, 300ms);
    ASSERT_TRUE(client.Connect("127.0.0.1", server.Port()));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Send(AuthenticatedMessage()), c.result);
    EXPECT_LT(MillisecondsSince(start), 1000);
    EXPECT_EQ(client.LastReply(), c.lastReply);
  }
}

// A real server: the message has to arrive as a standard mail reader would read it.
std::string HeaderBlock(const std::string& part) {
  return part.substr(0, part.find("\r\n\r\n") + 2);
}
std::string Payload(const std::string& part) {
  return part.substr(part.find("\r\n\r\n") + 4);
}

// The parts between the delimiter lines of a multipart body (each without the CR LF before the next
// delimiter).
std::vector<std::string> MimeParts(const std::string& content, const std::string& boundary) {
  const std::string delimiter = "\r\n--" + boundary;
  std::vector<std::string> parts;
  std::size_t at = content.find(delimiter);
  while (at != std::string::npos && content.compare(at + delimiter.size(), 2, "--") != 0) {
    const std::size_t start = content.find("\r\n", at + delimiter.size()) + 2;
    const std::size_t next = content.find(delimiter, start);
    if (next == std::string::npos) break;
    parts.push_back(content.substr(start, next - start));
    at = next;
  }
  return parts;
}

TEST(SmtpClientRealServerTest, MessageWithAttachmentArrivesIntact) {
  testing::SmtpTestServer server("anwender", "geheim");
  if (!server.Available()) GTEST_SKIP() << "no /usr/bin/python3 with aiosmtpd";
  MailMessage message = AuthenticatedMessage();
  message.subject = "RunLog / VMK-4711";
  message.recipients = {"support@kesto.example", "bcc:info@kesto.example"};
  message.body = text::Win1252("Grüße aus Köln\n.Punkt am Anfang\n--=_VMK_Part_0\nEnde");
  std::string logData = "Start 09:05\r\n" + text::Win1252("Prüfung läuft\r\n");
  for (int byte = 0; byte < 256; ++byte) logData += static_cast<char>(byte);
  message.attachments = {{"LogFile", "text/plain", logData}};
  SmtpClient client(2s, 2s);
  ASSERT_TRUE(client.Connect(server.Host(), server.Port()));
  ASSERT_EQ(client.Send(message), kSmtpSent) << client.LastReply();
  client.Quit();

  const std::vector<testing::ReceivedMail> mails = server.Messages();
  ASSERT_EQ(mails.size(), 1u);
  const testing::ReceivedMail& mail = mails[0];
  EXPECT_EQ(mail.sender, "kunde@example.com");
  EXPECT_EQ(mail.recipients, (std::vector<std::string>{"support@kesto.example", "info@kesto.example"}));
  const std::string headers = HeaderBlock(mail.content);
  for (const char* header :
       {"From: kunde@example.com\r\n", "To: support@kesto.example\r\n", "Subject: RunLog / VMK-4711\r\n",
        "X-Mailer: VMK Mailer\r\n", "MIME-Version: 1.0\r\n"}) {
    EXPECT_NE(headers.find(header), std::string::npos) << header;
  }
  const std::string marker = "Content-Type: multipart/mixed; boundary=\"";
  const std::size_t markerAt = headers.find(marker);
  ASSERT_NE(markerAt, std::string::npos);
  const std::size_t boundaryStart = markerAt + marker.size();
  const std::string boundary =
      headers.substr(boundaryStart, headers.find('"', boundaryStart) - boundaryStart);
  EXPECT_EQ(message.body.find(boundary), std::string::npos);

  const std::vector<std::string> parts = MimeParts(mail.content, boundary);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_NE(HeaderBlock(parts[0]).find("Content-Type: text/plain; charset=\"iso-8859-1\"\r\n"),
            std::string::npos);
  EXPECT_EQ(Payload(parts[0]), text::Win1252("Grüße aus Köln\r\n.Punkt am Anfang\r\n--=_VMK_Part_0\r\nEnde"));

  const std::string attachmentHeaders = HeaderBlock(parts[1]);
  for (const char* header :
       {"Content-Type: text/plain; name=\"LogFile\"\r\n", "Content-Transfer-Encoding: base64\r\n",
        "Content-Disposition: attachment; filename=\"LogFile\"\r\n"}) {
    EXPECT_NE(attachmentHeaders.find(header), std::string::npos) << header;
  }
  const std::string encoded = Payload(parts[1]);
  for (std::size_t start = 0; start < encoded.size();) {
    const std::size_t end = std::min(encoded.find("\r\n", start), encoded.size());
    EXPECT_LE(end - start, 76u);
    start = end + 2;
  }
  EXPECT_EQ(encoded.find("\r\n"), 76u);
  EXPECT_EQ(text::Base64Decode(encoded), logData);
}

TEST(SmtpClientRealServerTest, WrongPasswordIsAnAuthenticationError) {
  testing::SmtpTestServer server("anwender", "geheim");
  if (!server.Available()) GTEST_SKIP() << "no /usr/bin/python3 with aiosmtpd";
  MailMessage message = AuthenticatedMessage();
  message.password = "falsch";
  SmtpClient client(2s, 2s);
  ASSERT_TRUE(client.Connect(server.Host(), server.Port()));
  EXPECT_EQ(client.Send(message), kSmtpAuthenticationError);
  EXPECT_TRUE(client.LastReply().starts_with("535")) << client.LastReply();
  client.Quit();
  EXPECT_TRUE(server.Messages().empty());
}

}  // namespace
}  // namespace vmk::platform
