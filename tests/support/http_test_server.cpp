#include "support/http_test_server.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "support/test_support.h"

namespace vmk::testing {

namespace {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

bool Send(int connection, const std::string& bytes) {
  for (std::size_t start = 0; start < bytes.size();) {
    const ssize_t sent = ::send(connection, bytes.data() + start, bytes.size() - start, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    start += static_cast<std::size_t>(sent);
  }
  return true;
}

// "GET /path HTTP/1.1" -> "/path"; a proxy request's absolute URL is kept whole.
std::string RequestPath(const std::string& head) {
  const std::size_t start = head.find(' ');
  const std::size_t end = start == std::string::npos ? start : head.find(' ', start + 1);
  return end == std::string::npos ? "" : head.substr(start + 1, end - start - 1);
}

}  // namespace

HttpServer::HttpServer(HttpReply reply) : everyPath_(std::move(reply)) {
  Start();
}

HttpServer::HttpServer() {
  Start();
}

HttpServer::~HttpServer() {
  stop_ = true;
  thread_.join();
  ::close(listener_);
}

void HttpServer::Start() {
  listener_ = ListenOnLoopback(16, port_);
  if (listener_ < 0) ADD_FAILURE() << "cannot listen on 127.0.0.1";
  thread_ = std::thread([this] { Run(); });
}

void HttpServer::Serve(const std::string& path, HttpReply reply) {
  std::lock_guard lock(mutex_);
  paths_[path] = std::move(reply);
}

void HttpServer::Remove(const std::string& path) {
  std::lock_guard lock(mutex_);
  paths_.erase(path);
}

std::string HttpServer::BaseUrl() const {
  return "http://127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> HttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::string HttpServer::LastRequest() const {
  std::lock_guard lock(mutex_);
  return requests_.empty() ? "" : requests_.back();
}

std::vector<std::string> HttpServer::RequestedPaths() const {
  std::vector<std::string> paths;
  for (const std::string& head : Requests()) paths.push_back(RequestPath(head));
  return paths;
}

void HttpServer::Run() {
  while (!stop_) {
    pollfd entry{listener_, POLLIN, 0};
    if (::poll(&entry, 1, 10) != 1) continue;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    Answer(connection);
    ::close(connection);
  }
}

HttpReply HttpServer::ReplyFor(const std::string& path) const {
  std::lock_guard lock(mutex_);
  if (everyPath_) return *everyPath_;
  const auto found = paths_.find(path);
  if (found != paths_.end()) return found->second;
  return {.status = "404 Not Found", .body = "<html><body>404 Not Found</body></html>"};
}

void HttpServer::Answer(int connection) {
  std::string head;
  if (!ReadHead(connection, head)) return;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(head);
  }
  const HttpReply reply = ReplyFor(RequestPath(head));
  std::string answer = "HTTP/1.1 " + reply.status + "\r\n";
  if (reply.withLength) answer += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
  answer += "Connection: close\r\n\r\n";
  if (!Send(connection, answer) || !StayWhileConnected(connection, reply.holdBody)) return;
  const std::size_t sent = std::min(reply.stallAfter, reply.body.size());
  if (!Send(connection, reply.body.substr(0, sent))) return;
  if (reply.stallAfter != std::string::npos && !reply.hangUpAtStall) StayWhileConnected(connection, 10s);
}

bool HttpServer::ReadHead(int connection, std::string& head) {
  const auto deadline = SteadyClock::now() + 5s;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos) {
    if (stop_ || SteadyClock::now() > deadline) return false;
    pollfd entry{connection, POLLIN, 0};
    if (::poll(&entry, 1, 10) != 1) continue;
    const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
    if (got <= 0) return false;
    head.append(buffer, static_cast<std::size_t>(got));
  }
  return true;
}

bool HttpServer::StayWhileConnected(int connection, std::chrono::milliseconds duration) {
  const auto end = SteadyClock::now() + duration;
  while (SteadyClock::now() < end) {
    if (stop_) return false;
    pollfd entry{connection, POLLIN, 0};
    if (::poll(&entry, 1, 10) == 1) {
      char byte;
      if (::recv(connection, &byte, 1, MSG_DONTWAIT) <= 0) return false;
    }
  }
  return true;
}

}  // namespace vmk::testing
