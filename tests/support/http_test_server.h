// An HTTP server on 127.0.0.1 for the download tests: it answers one connection after another, by
// path, with bodies, error pages and the odd replies of a broken server (no length, a stall, a pause).
#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vmk::testing {

struct HttpReply {
  std::string status = "200 OK";
  std::string body;
  bool withLength = true;                      // otherwise the end of the connection ends the body
  std::chrono::milliseconds holdBody{0};       // pause between the head and the body
  std::size_t stallAfter = std::string::npos;  // body bytes sent before the server goes silent
  bool hangUpAtStall = false;                  // closes the connection there instead: a truncated body
};

class HttpServer {
 public:
  // Answers every path with `reply`.
  explicit HttpServer(HttpReply reply);
  // Answers the paths given to Serve; every other one with a 404 page.
  HttpServer();
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  void Serve(const std::string& path, HttpReply reply);
  void Remove(const std::string& path);

  int Port() const { return port_; }
  std::string BaseUrl() const;
  std::string Url(const std::string& path = "/file") const { return BaseUrl() + path; }
  std::vector<std::string> Requests() const;  // the request heads received so far
  std::string LastRequest() const;
  std::vector<std::string> RequestedPaths() const;

 private:
  void Start();
  void Run();
  void Answer(int connection);
  HttpReply ReplyFor(const std::string& path) const;
  bool ReadHead(int connection, std::string& head);
  // False once the client has hung up or the server stops.
  bool StayWhileConnected(int connection, std::chrono::milliseconds duration);

  std::optional<HttpReply> everyPath_;
  std::map<std::string, HttpReply> paths_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
};

}  // namespace vmk::testing
