#include "support/smtp_test_server.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

extern char** environ;

namespace vmk::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPython = "/usr/bin/python3";
constexpr int kStartTimeoutMilliseconds = 15000;

fs::path ServerScript() {
  if (const char* source = std::getenv("VELDMARK_SOURCE_DIR"); source != nullptr && *source != '\0') {
    return fs::path(source) / "tests" / "support" / "smtp_server.py";
  }
  return fs::path(__FILE__).parent_path() / "smtp_server.py";
}

// The server's first line of output; empty when none comes in time.
std::string ReadFirstLine(int fd) {
  std::string line;
  char c = 0;
  for (;;) {
    pollfd entry{fd, POLLIN, 0};
    if (::poll(&entry, 1, kStartTimeoutMilliseconds) <= 0) return "";
    if (::read(fd, &c, 1) != 1) return "";
    if (c == '\n') return line;
    line += c;
  }
}

bool IsPortNumber(const std::string& text) {
  return !text.empty() && text.size() <= 5 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

}  // namespace

SmtpTestServer::SmtpTestServer(const std::string& user, const std::string& password) {
  if (::access(kPython, X_OK) != 0) return;
  int output[2], input[2];
  if (::pipe2(output, O_CLOEXEC) != 0) return;
  if (::pipe2(input, O_CLOEXEC) != 0) {
    ::close(output[0]);
    ::close(output[1]);
    return;
  }
  const std::string script = ServerScript().string(), folder = folder_.path().string();
  std::vector<const char*> arguments{kPython, script.c_str(), folder.c_str()};
  if (!user.empty()) {
    arguments.push_back(user.c_str());
    arguments.push_back(password.c_str());
  }
  arguments.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  const int spawned =
      posix_spawn(&pid_, kPython, &actions, nullptr, const_cast<char* const*>(arguments.data()), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(input[0]);
  ::close(output[1]);
  stdinPipe_ = input[1];
  if (spawned != 0) pid_ = -1;

  const std::string first = pid_ > 0 ? ReadFirstLine(output[0]) : "";
  ::close(output[0]);
  if (IsPortNumber(first)) {
    port_ = first;
  } else if (first != "unavailable") {
    ADD_FAILURE() << "the SMTP test server " << script << " did not start";
  }
}

SmtpTestServer::~SmtpTestServer() {
  if (stdinPipe_ >= 0) ::close(stdinPipe_);
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
}

std::vector<ReceivedMail> SmtpTestServer::Messages() const {
  std::vector<fs::path> envelopes;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder_.path(), error)) {
    if (entry.path().extension() == ".envelope") envelopes.push_back(entry.path());
  }
  std::sort(envelopes.begin(), envelopes.end());
  std::vector<ReceivedMail> mails;
  for (const fs::path& envelope : envelopes) {
    std::vector<std::string> lines = Lines(ReadFile(envelope));
    ReceivedMail mail;
    if (!lines.empty()) {
      mail.sender = lines.front();
      mail.recipients.assign(lines.begin() + 1, lines.end());
    }
    mail.content = ReadFile(fs::path(envelope).replace_extension(".eml"));
    mails.push_back(std::move(mail));
  }
  return mails;
}

}  // namespace vmk::testing
