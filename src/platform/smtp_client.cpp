#include "platform/smtp_client.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "text/codec.h"

namespace vmk::platform {
namespace {

using SteadyClock = std::chrono::steady_clock;

// A server that never sends a line end must not make us buffer without limit.
constexpr std::size_t kMaxReplyLine = 64 * 1024;
constexpr std::size_t kBase64LineLength = 76;
constexpr const char* kTextPartHeaders =
    "Content-Type: text/plain; charset=\"iso-8859-1\"\r\n"
    "Content-Transfer-Encoding: 7bit\r\n";

class Socket {
 public:
  Socket() = default;
  explicit Socket(int fd) : fd_(fd) {}
  ~Socket() {
    if (fd_ >= 0) ::close(fd_);
  }
  Socket(Socket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Socket& operator=(Socket&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  int fd() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

int MillisecondsLeft(SteadyClock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
  return static_cast<int>(std::clamp<long long>(left, 0, 24LL * 3600 * 1000));
}

enum class Wait { Ready, TimedOut, Failed };

// Waits until the socket is ready for the events; errors and hang-ups count as ready, the following
// recv or send reports them.
Wait WaitFor(int fd, short events, SteadyClock::time_point deadline) {
  for (;;) {
    pollfd entry{fd, events, 0};
    const int count = ::poll(&entry, 1, MillisecondsLeft(deadline));
    if (count > 0) return Wait::Ready;
    if (count == 0) return Wait::TimedOut;
    if (errno != EINTR) return Wait::Failed;
  }
}

Socket ConnectTo(const addrinfo& address, SteadyClock::time_point deadline) {
  Socket socket(
      ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol));
  if (!socket.valid()) return {};
  if (::connect(socket.fd(), address.ai_addr, address.ai_addrlen) == 0) return socket;
  if (errno != EINPROGRESS && errno != EINTR) return {};
  if (WaitFor(socket.fd(), POLLOUT, deadline) != Wait::Ready) return {};
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(socket.fd(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) return {};
  return socket;
}

// Tries every address of the host in turn until one accepts, all within the one deadline.
Socket ConnectToHost(const std::string& host, const std::string& port, std::chrono::milliseconds timeout) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_ADDRCONFIG;
  addrinfo* addresses = nullptr;
  if (::getaddrinfo(host.c_str(), port.c_str(), &hints, &addresses) != 0) return {};
  const auto deadline = SteadyClock::now() + timeout;
  Socket socket;
  for (const addrinfo* address = addresses; address != nullptr && !socket.valid();
       address = address->ai_next) {
    socket = ConnectTo(*address, deadline);
  }
  ::freeaddrinfo(addresses);
  return socket;
}

struct Reply {
  int failure = 0;  // 0, kSmtpConnectionError or kSmtpTimeout
  int code = 0;     // the three-digit code of the last line; 0 when it has none
};

int ReplyCode(std::string_view line) {
  if (line.size() < 3) return 0;
  int code = 0;
  for (char digit : line.substr(0, 3)) {
    if (digit < '0' || digit > '9') return 0;
    code = code * 10 + (digit - '0');
  }
  return code;
}

// "250-..." announces a further line of the same reply; anything else ends it.
bool ContinuesReply(std::string_view line) {
  return line.size() > 3 && line[3] == '-';
}

// The byte stream of one server connection, read line by line.
class Channel {
 public:
  explicit Channel(Socket socket) : socket_(std::move(socket)) {}

  int Write(std::string_view bytes, std::chrono::milliseconds timeout) {
    const auto deadline = SteadyClock::now() + timeout;
    while (!bytes.empty()) {
      const ssize_t sent = ::send(socket_.fd(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (sent > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(sent));
      } else if (sent < 0 && errno == EINTR) {
        continue;
      } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        const Wait wait = WaitFor(socket_.fd(), POLLOUT, deadline);
        if (wait == Wait::TimedOut) return kSmtpTimeout;
        if (wait == Wait::Failed) return kSmtpConnectionError;
      } else {
        return kSmtpConnectionError;
      }
    }
    return 0;
  }

  // Reads one whole reply, multi-line ones included; lastLine follows every line as it arrives.
  Reply ReadReply(std::chrono::milliseconds timeout, std::string& lastLine) {
    const auto deadline = SteadyClock::now() + timeout;
    for (;;) {
      std::string line;
      if (const int failure = ReadLine(deadline, line); failure != 0) return {failure, 0};
      lastLine = line;
      if (!ContinuesReply(line)) return {0, ReplyCode(line)};
    }
  }

 private:
  int ReadLine(SteadyClock::time_point deadline, std::string& line) {
    for (;;) {
      if (TakeLine(line)) return 0;
      const Wait wait = WaitFor(socket_.fd(), POLLIN, deadline);
      if (wait == Wait::TimedOut) return kSmtpTimeout;
      if (wait == Wait::Failed) return kSmtpConnectionError;
      char buffer[4096];
      const ssize_t count = ::recv(socket_.fd(), buffer, sizeof buffer, 0);
      if (count > 0) {
        received_.append(buffer, static_cast<std::size_t>(count));
      } else if (count == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)) {
        return kSmtpConnectionError;
      }
    }
  }

  bool TakeLine(std::string& line) {
    const std::size_t end = received_.find('\n');
    if (end == std::string::npos) {
      if (received_.size() < kMaxReplyLine) return false;
      line = std::move(received_);
      received_.clear();
      return true;
    }
    line = received_.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    received_.erase(0, end + 1);
    return true;
  }

  Socket socket_;
  std::string received_;  // bytes after the last complete line
};

// One command and its reply; the result is 0 when the reply code is accepted.
class Dialogue {
 public:
  Dialogue(Channel& channel, std::chrono::milliseconds timeout, std::string& lastReply)
      : channel_(channel), timeout_(timeout), lastReply_(lastReply) {}

  int Command(const std::string& line, std::initializer_list<int> accepted, int refusal) {
    return Exchange(line + "\r\n", accepted, refusal);
  }

  // 421 means the server is closing the connection, whatever the step.
  int Exchange(std::string_view bytes, std::initializer_list<int> accepted, int refusal) {
    if (const int failure = channel_.Write(bytes, timeout_); failure != 0) return failure;
    const Reply reply = channel_.ReadReply(timeout_, lastReply_);
    if (reply.failure != 0) return reply.failure;
    if (reply.code == 421) return kSmtpConnectionError;
    return std::find(accepted.begin(), accepted.end(), reply.code) != accepted.end() ? 0 : refusal;
  }

 private:
  Channel& channel_;
  std::chrono::milliseconds timeout_;
  std::string& lastReply_;
};

// Line breaks inside a header value would start a header of the caller's choosing.
std::string HeaderValue(std::string_view value) {
  std::string clean(value);
  std::replace_if(
      clean.begin(), clean.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return clean;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool StartsWithBcc(std::string_view entry) {
  return entry.size() >= 4 && (entry[0] == 'b' || entry[0] == 'B') && (entry[1] == 'c' || entry[1] == 'C') &&
         (entry[2] == 'c' || entry[2] == 'C') && entry[3] == ':';
}

struct Recipient {
  std::string address;
  bool visible = true;
};

std::vector<Recipient> EnvelopeRecipients(const std::vector<std::string>& entries) {
  std::vector<Recipient> recipients;
  for (const std::string& entry : entries) {
    const std::string clean = HeaderValue(entry);
    std::string_view address = TrimBlanks(clean);
    const bool hidden = StartsWithBcc(address);
    if (hidden) address = TrimBlanks(address.substr(4));
    if (!address.empty()) recipients.push_back({std::string(address), !hidden});
  }
  return recipients;
}

std::string GreetingName(const std::string& senderName) {
  const std::string name(TrimBlanks(HeaderValue(senderName)));
  if (name.empty()) return "localhost";
  return name.substr(0, name.find_first_of(" \t"));
}

// A MIME parameter value inside quotes; quotes and backslashes in it are escaped.
std::string QuotedParameter(std::string_view value) {
  std::string quoted = "\"";
  for (char c : HeaderValue(value)) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// Base64 never contains "_", so only the body has to be searched for a clash.
std::string Boundary(std::string_view body) {
  for (unsigned number = 0;; ++number) {
    std::string boundary = "=_VMK_Part_" + std::to_string(number);
    if (body.find(boundary) == std::string_view::npos) return boundary;
  }
}

std::string Base64Lines(std::string_view data) {
  const std::string encoded = text::Base64Encode(data);
  std::string lines;
  lines.reserve(encoded.size() + encoded.size() / kBase64LineLength * 2 + 2);
  for (std::size_t start = 0; start < encoded.size(); start += kBase64LineLength) {
    lines.append(encoded, start, kBase64LineLength);
    lines += "\r\n";
  }
  return lines;
}

std::string Headers(const MailMessage& message, const std::vector<Recipient>& recipients) {
  std::string visible;
  for (const Recipient& recipient : recipients) {
    if (!recipient.visible) continue;
    if (!visible.empty()) visible += ", ";
    visible += recipient.address;
  }
  std::string headers = "From: " + HeaderValue(message.sender) + "\r\n" + "To: " + visible + "\r\n" +
                        "Subject: " + HeaderValue(message.subject) + "\r\n" +
                        "X-Mailer: " + HeaderValue(message.senderName) + "\r\n" + "MIME-Version: 1.0\r\n";
  for (const auto& [name, value] : message.extraHeaders) {
    headers += HeaderValue(name) + ": " + HeaderValue(value) + "\r\n";
  }
  return headers;
}

std::string MultipartContent(const MailMessage& message) {
  const std::string boundary = Boundary(message.body);
  std::string content = "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n" +
                        "This is a multi-part message in MIME format.\r\n";
  content += "--" + boundary + "\r\n" + kTextPartHeaders + "\r\n" + message.body + "\r\n";
  for (const MailAttachment& attachment : message.attachments) {
    const std::string type =
        attachment.contentType.empty() ? "application/octet-stream" : HeaderValue(attachment.contentType);
    content += "--" + boundary + "\r\n" + "Content-Type: " + type +
               "; name=" + QuotedParameter(attachment.name) + "\r\n" +
               "Content-Transfer-Encoding: base64\r\n" +
               "Content-Disposition: attachment; filename=" + QuotedParameter(attachment.name) + "\r\n\r\n" +
               Base64Lines(attachment.data);
  }
  return content + "--" + boundary + "--\r\n";
}

std::string Content(const MailMessage& message, const std::vector<Recipient>& recipients) {
  const std::string headers = Headers(message, recipients);
  if (message.attachments.empty()) return headers + kTextPartHeaders + "\r\n" + message.body;
  return headers + MultipartContent(message);
}

// Every line end becomes CR LF, a leading "." is doubled so it cannot end the data early, and the
// terminating "." line follows.
std::string DataBlock(std::string_view content) {
  std::string block;
  block.reserve(content.size() + content.size() / 16 + 8);
  bool lineStart = true;
  for (std::size_t i = 0; i < content.size(); ++i) {
    const char c = content[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
      block += "\r\n";
      lineStart = true;
      continue;
    }
    if (lineStart && c == '.') block += '.';
    block += c;
    lineStart = false;
  }
  if (!lineStart) block += "\r\n";
  return block + ".\r\n";
}

int Authenticate(Dialogue& dialogue, const MailMessage& message) {
  if (const int result = dialogue.Command("AUTH LOGIN", {334}, kSmtpAuthenticationError); result != 0) {
    return result;
  }
  if (const int result = dialogue.Command(text::Base64Encode(message.user), {334}, kSmtpAuthenticationError);
      result != 0) {
    return result;
  }
  return dialogue.Command(text::Base64Encode(message.password), {235}, kSmtpAuthenticationError);
}

int Transmit(Dialogue& dialogue, const MailMessage& message, const std::vector<Recipient>& recipients) {
  const bool authenticate = !message.user.empty();
  const std::string greeting = (authenticate ? "Ehlo " : "HELO ") + GreetingName(message.senderName);
  if (const int result = dialogue.Command(greeting, {250}, kSmtpAborted); result != 0) return result;
  if (authenticate) {
    if (const int result = Authenticate(dialogue, message); result != 0) return result;
  }
  const std::string from = "MAIL FROM: <" + std::string(TrimBlanks(HeaderValue(message.sender))) + ">";
  if (const int result = dialogue.Command(from, {250}, kSmtpAborted); result != 0) return result;
  for (const Recipient& recipient : recipients) {
    const int result = dialogue.Command("RCPT TO: <" + recipient.address + ">", {250, 251}, kSmtpAborted);
    if (result != 0) return result;
  }
  if (const int result = dialogue.Command("DATA", {354}, kSmtpAborted); result != 0) return result;
  if (const int result = dialogue.Exchange(DataBlock(Content(message, recipients)), {250}, kSmtpAborted);
      result != 0) {
    return result;
  }
  return kSmtpSent;
}

}  // namespace

struct SmtpClient::Connection {
  Channel channel;
};

SmtpClient::SmtpClient(std::chrono::milliseconds connectTimeout, std::chrono::milliseconds replyTimeout)
    : connectTimeout_(connectTimeout), replyTimeout_(replyTimeout) {}

SmtpClient::~SmtpClient() {
  delete connection_;
}

bool SmtpClient::Connect(const std::string& host, const std::string& port) {
  try {
    delete std::exchange(connection_, nullptr);
    lastReply_.clear();
    if (host.empty() || port.empty()) return false;
    Socket socket = ConnectToHost(host, port, connectTimeout_);
    if (!socket.valid()) return false;
    auto connection = std::make_unique<Connection>(Connection{Channel(std::move(socket))});
    const Reply greeting = connection->channel.ReadReply(replyTimeout_, lastReply_);
    if (greeting.failure != 0 || greeting.code != 220) return false;
    connection_ = connection.release();
    return true;
  } catch (...) {  // only allocations can throw here
    return false;
  }
}

int SmtpClient::Send(const MailMessage& message) {
  if (connection_ == nullptr) return kSmtpNotInitialised;
  int result = kSmtpMemoryError;
  try {
    const std::vector<Recipient> recipients = EnvelopeRecipients(message.recipients);
    if (recipients.empty()) return kSmtpNotInitialised;
    Dialogue dialogue(connection_->channel, replyTimeout_, lastReply_);
    result = Transmit(dialogue, message, recipients);
  } catch (...) {  // only allocations can throw here
    result = kSmtpMemoryError;
  }
  // After a lost connection, a timeout or a half-written command the dialogue is out of step.
  if (result == kSmtpConnectionError || result == kSmtpTimeout || result == kSmtpMemoryError) {
    delete std::exchange(connection_, nullptr);
  }
  return result;
}

void SmtpClient::Quit() {
  if (connection_ == nullptr) return;
  if (connection_->channel.Write("QUIT\r\n", replyTimeout_) == 0) {
    try {
      std::string ignored;
      connection_->channel.ReadReply(replyTimeout_, ignored);
    } catch (...) {  // the connection closes regardless
    }
  }
  delete std::exchange(connection_, nullptr);
}

}  // namespace vmk::platform
