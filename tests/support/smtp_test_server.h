// A real SMTP server (tests/support/smtp_server.py on aiosmtpd) run for one test; it stores every
// message it receives so the test can read them back.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace vmk::testing {

struct ReceivedMail {
  std::string sender;                   // envelope sender (MAIL FROM)
  std::vector<std::string> recipients;  // envelope recipients (RCPT TO), in order
  std::string content;                  // the data as received: dot-unstuffed, CR LF line ends
};

// Usage:
//   SmtpTestServer server("user", "secret");
//   if (!server.Available()) GTEST_SKIP() << "no SMTP test server";
//   client.Connect(server.Host(), server.Port()); ...; server.Messages()
class SmtpTestServer {
 public:
  // With a user the server offers AUTH LOGIN without TLS, accepts only this user and password, and
  // refuses mail before a login; without one it accepts mail from anybody.
  explicit SmtpTestServer(const std::string& user = "", const std::string& password = "");
  ~SmtpTestServer();  // stops the server
  SmtpTestServer(const SmtpTestServer&) = delete;
  SmtpTestServer& operator=(const SmtpTestServer&) = delete;

  // False when /usr/bin/python3 or its aiosmtpd is missing (skip the test then), or when the server
  // did not start (that also fails the test).
  bool Available() const { return !port_.empty(); }
  std::string Host() const { return "127.0.0.1"; }
  const std::string& Port() const { return port_; }
  // The messages received so far, oldest first.
  std::vector<ReceivedMail> Messages() const;

 private:
  TempDir folder_;
  pid_t pid_ = -1;
  int stdinPipe_ = -1;  // the server ends when this closes, even if the test program crashes
  std::string port_;
};

}  // namespace vmk::testing
