// A small SMTP client over TCP: greeting, EHLO/HELO, AUTH LOGIN, one message with optional MIME
// attachments, QUIT. Every connect and every reply has a timeout, so a dead server never hangs a run.
#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace vmk::platform {

struct MailAttachment {
  std::string name;         // file name shown to the recipient
  std::string contentType;  // e.g. "text/plain"
  std::string data;         // the bytes, sent Base64-encoded
};

struct MailMessage {
  std::string sender;      // envelope sender and "From:"
  std::string senderName;  // "X-Mailer:"; its first word is the name of the greeting
  // Recipients; an entry "bcc:address" is sent to but not shown in "To:".
  std::vector<std::string> recipients;
  std::string subject;
  std::string body;  // 8-bit text; line ends may be CR, LF or CR LF
  std::vector<std::pair<std::string, std::string>> extraHeaders;  // e.g. {"Reply-To", address}
  std::vector<MailAttachment> attachments;
  std::string user;  // empty: no authentication
  std::string password;
};

// Results of Send: 1 sent; -1 attachment error, -2 connection error (lost, refused, 421), -3 not
// connected or no recipient, -4 memory error, -5 authentication refused, -6 server timeout, -7 the
// server refused the message.
enum SmtpResult : int {
  kSmtpSent = 1,
  kSmtpFileError = -1,
  kSmtpConnectionError = -2,
  kSmtpNotInitialised = -3,
  kSmtpMemoryError = -4,
  kSmtpAuthenticationError = -5,
  kSmtpTimeout = -6,
  kSmtpAborted = -7,
};

class SmtpClient {
 public:
  explicit SmtpClient(std::chrono::milliseconds connectTimeout = std::chrono::seconds(15),
                      std::chrono::milliseconds replyTimeout = std::chrono::seconds(60));
  ~SmtpClient();
  SmtpClient(const SmtpClient&) = delete;
  SmtpClient& operator=(const SmtpClient&) = delete;

  // Open only when the server greets with a reply starting "220".
  bool Connect(const std::string& host, const std::string& port);
  int Send(const MailMessage& message);
  // Sends QUIT (when connected) and closes the connection.
  void Quit();
  // The server's last reply line, without its line end; empty when none came.
  const std::string& LastReply() const { return lastReply_; }

 private:
  struct Connection;
  Connection* connection_ = nullptr;
  std::chrono::milliseconds connectTimeout_, replyTimeout_;
  std::string lastReply_;
};

}  // namespace vmk::platform
