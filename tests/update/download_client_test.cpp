#include "update/download_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/registry.h"
#include "support/http_test_server.h"
#include "support/test_support.h"

namespace vmk::update {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

using Reply = vmk::testing::HttpReply;
using vmk::testing::HttpServer;

int ClosedPort() {
  return vmk::testing::ClosedLoopbackPort();
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 3000ms) {
  const auto end = Clock::now() + limit;
  while (!condition()) {
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

bool HasHeader(const std::string& head, const std::string& line) {
  return head.find("\r\n" + line + "\r\n") != std::string::npos;
}

// Counts the completion notices of background jobs.
struct Notices {
  std::atomic<int> count{0};
  std::atomic<DownloadJob*> last{nullptr};
  CompletionCallback Callback() {
    return [this](DownloadJob* job) {
      last = job;
      ++count;
    };
  }
};

// Every test gets a registry of its own, so the user's proxy settings stay out of it.
class DownloadClientTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("VELDMARK_ROOT", root_.path().c_str(), 1); }
  void TearDown() override {
    client_.FreeAll();
    unsetenv("VELDMARK_ROOT");
  }

  fs::path Target() const { return root_ / "update.dat"; }
  // A target holding older data, so a test sees that the download replaced it.
  fs::path OldTarget() const {
    vmk::testing::WriteFile(Target(), "old data of an earlier download");
    return Target();
  }
  int GetFileHere(const std::string& url, int chunkSize = kDefaultChunkSize) {
    return client_.GetFile(url, Target(), "", "", -1, nullptr, true, chunkSize, -1).outcome;
  }
  DownloadJob* StartFile(const std::string& url, CompletionCallback callback = nullptr) {
    return client_.GetFile(url, Target(), "", "", -1, std::move(callback), false, kDefaultChunkSize, -1).job;
  }
  DownloadJob* StartMemory(const std::string& url, CompletionCallback callback = nullptr) {
    return client_.GetFileToMemory(url, "", "", -1, std::move(callback), false, kDefaultChunkSize, -1).job;
  }
  void WaitForEnd(DownloadJob* job) {
    ASSERT_TRUE(WaitUntil([&] { return !client_.IsRunning(job); })) << "the job did not end";
  }

  vmk::testing::TempDir root_;
  DownloadClient client_;
};

TEST_F(DownloadClientTest, DownloadToFileReplacesTheFileWithTheBody) {
  const std::string body = Pattern(300000);
  HttpServer server({.body = body});
  EXPECT_TRUE(DownloadToFile(server.Url("/kepdata/KE2DB.pak"), OldTarget()));
  EXPECT_EQ(vmk::testing::ReadFile(Target()), body);
  EXPECT_TRUE(server.LastRequest().starts_with("GET /kepdata/KE2DB.pak HTTP/1.1\r\n"));
}

TEST_F(DownloadClientTest, EveryChunkSizeDeliversTheWholeBody) {
  const std::string body = Pattern(200000);
  HttpServer server({.body = body});
  // 0 and below stand for 64 KiB; sizes outside libcurl's range are brought into it.
  for (const int chunkSize : {0, -5, 1, 4096, 65536, 64 << 20}) {
    SCOPED_TRACE("chunk size " + std::to_string(chunkSize));
    EXPECT_EQ(GetFileHere(server.Url(), chunkSize), 1);
    EXPECT_EQ(vmk::testing::ReadFile(Target()), body);
  }
  EXPECT_EQ(client_.GetError(nullptr), kStatusNoError);
  EXPECT_EQ(client_.GetErrorString(nullptr), "No Error");
}

TEST_F(DownloadClientTest, MemoryDownloadReturnsTheBody) {
  struct Case {
    const char* name;
    Reply reply;
  };
  const std::string body = Pattern(100000);
  const Case cases[] = {
      {"with length", {.body = body}},
      {"without length", {.body = body, .withLength = false}},
      {"empty body", {.body = ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpServer server(c.reply);
    const std::optional<std::string> data =
        client_.GetFileToMemory(server.Url(), "", "", -1, nullptr, true, kDefaultChunkSize, -1).data;
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(*data, c.reply.body);
  }
}

TEST_F(DownloadClientTest, BackgroundJobsReportSizeProgressAndCompletion) {
  struct Case {
    const char* name;
    bool toMemory, withLength;
    std::int64_t size, bytesReceived;
    float progress;
  };
  const std::string body = Pattern(50000);
  // Bytes are counted into memory only; a file job without a length keeps -2 to the end.
  const Case cases[] = {
      {"file with length", false, true, 50000, 0, 0.0f},
      {"file without length", false, false, -2, 0, 0.0f},
      {"memory with length", true, true, 50000, 50000, 1.0f},
      {"memory without length", true, false, 50000, 50000, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpServer server({.body = body, .withLength = c.withLength});
    Notices notices;
    DownloadJob* job = c.toMemory ? StartMemory(server.Url(), notices.Callback())
                                  : StartFile(server.Url(), notices.Callback());
    ASSERT_NE(job, nullptr);
    WaitForEnd(job);
    EXPECT_EQ(notices.count, 1);
    EXPECT_EQ(notices.last, job);
    EXPECT_EQ(client_.GetError(job), kStatusNoError);
    EXPECT_EQ(client_.GetURL(job), server.Url());
    EXPECT_EQ(client_.GetSize(job), c.size);
    EXPECT_EQ(client_.GetBytesReceived(job), c.bytesReceived);
    EXPECT_FLOAT_EQ(client_.GetProgress(job), c.progress);
    if (c.toMemory) {
      ASSERT_NE(client_.GetMemory(job), nullptr);
      EXPECT_EQ(*client_.GetMemory(job), body);
      EXPECT_EQ(client_.Free(job, false), body);  // handed over to the caller
    } else {
      EXPECT_EQ(client_.GetMemory(job), nullptr);
      EXPECT_EQ(vmk::testing::ReadFile(Target()), body);
      EXPECT_EQ(client_.Free(job, false), std::nullopt);
    }
  }
}

TEST_F(DownloadClientTest, ProgressWhileTheBodyArrives) {
  struct Case {
    const char* name;
    bool withLength;
    std::int64_t size;
    float progress;
  };
  const Case cases[] = {{"with length", true, 1000, 0.4f}, {"without length", false, -2, 0.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpServer server({.body = Pattern(1000), .withLength = c.withLength, .stallAfter = 400});
    Notices notices;
    DownloadJob* job = StartMemory(server.Url(), notices.Callback());
    ASSERT_TRUE(WaitUntil([&] { return client_.GetBytesReceived(job) == 400; }));
    EXPECT_TRUE(client_.IsRunning(job));
    EXPECT_EQ(client_.GetSize(job), c.size);
    EXPECT_FLOAT_EQ(client_.GetProgress(job), c.progress);
    EXPECT_EQ(client_.GetMemory(job), nullptr);

    EXPECT_EQ(client_.Abort(job), 1);
    EXPECT_FALSE(client_.IsRunning(job));
    EXPECT_EQ(client_.GetError(job), kStatusAborted);
    EXPECT_EQ(client_.GetMemory(job), nullptr);
    EXPECT_EQ(notices.count, 0);
    client_.Free(job, true);
  }
}

TEST_F(DownloadClientTest, AbortBeforeTheFirstReadSendsNoNotice) {
  HttpServer server({.body = "late body", .holdBody = 3000ms});
  Notices notices;
  DownloadJob* job = StartFile(server.Url(), notices.Callback());
  ASSERT_NE(job, nullptr);
  // The answer's head is in (the length is known), the body is not.
  ASSERT_TRUE(WaitUntil([&] { return client_.GetSize(job) == 9; }));
  const auto start = Clock::now();
  EXPECT_EQ(client_.Abort(job), 1);
  EXPECT_LT(Clock::now() - start, 500ms);
  EXPECT_FALSE(client_.IsRunning(job));
  EXPECT_EQ(client_.GetError(job), kStatusAborted);
  EXPECT_EQ(client_.GetErrorString(job), "User aborted!");
  EXPECT_EQ(client_.GetError(nullptr), kStatusAborted);
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(notices.count, 0);
  EXPECT_TRUE(fs::exists(Target()));
  EXPECT_EQ(fs::file_size(Target()), 0u);
}

// A worker that does not end within the grace time is left behind; it must finish on its own
// without touching the freed job record (the sanitizer build watches this).
TEST_F(DownloadClientTest, AbortLeavesASlowWorkerBehind) {
  HttpServer server({.body = "body"});
  std::atomic<bool> entered{false}, left{false};
  DownloadJob* job = StartMemory(server.Url(), [&](DownloadJob*) {
    entered = true;
    std::this_thread::sleep_for(1200ms);
    left = true;
  });
  ASSERT_TRUE(WaitUntil([&] { return entered.load(); }));
  EXPECT_EQ(client_.Abort(job), 0);
  EXPECT_EQ(client_.GetError(job), kStatusAborted);
  client_.Free(job, true);
  EXPECT_EQ(client_.GetError(nullptr), kStatusNoError);
  EXPECT_TRUE(WaitUntil([&] { return left.load(); }));
}

TEST_F(DownloadClientTest, FreeAllStopsRunningJobsTogether) {
  HttpServer server({.body = "late body", .holdBody = 3000ms});
  Notices notices;
  DownloadJob* first = StartMemory(server.Url(), notices.Callback());
  DownloadJob* second = StartMemory(server.Url(), notices.Callback());
  ASSERT_TRUE(WaitUntil([&] { return !server.Requests().empty(); }));
  const auto start = Clock::now();
  client_.FreeAll();
  EXPECT_LT(Clock::now() - start, 500ms);
  EXPECT_EQ(notices.count, 0);
  for (DownloadJob* job : {first, second}) {
    EXPECT_FALSE(client_.IsRunning(job));
    EXPECT_EQ(client_.GetError(nullptr), kStatusNoSuchJob);
  }
}

TEST_F(DownloadClientTest, RequestHeaders) {
  struct Case {
    const char* name;
    std::string user, password;
    std::int32_t flags;
    std::string authorization;  // expected header line, "" for none
    bool noCache;
  };
  const Case cases[] = {
      {"password without user", "", "secret", -1, "", true},
      {"user and password", "anna", "p:w", -1, "Authorization: Basic YW5uYTpwOnc=", true},
      {"explicit default flags", "", "", kDefaultRequestFlags, "", true},
      {"no pragma flag", "", "", kFlagNoCacheWrite, "", false},
  };
  HttpServer server({.body = "x"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(
        client_.GetFileToMemory(server.Url(), c.user, c.password, c.flags, nullptr, true, 0, -1).data);
    const std::string head = server.LastRequest();
    EXPECT_TRUE(HasHeader(head, "User-Agent: Mozilla/4.0 (compatible; ST)")) << head;
    EXPECT_EQ(head.find("Authorization:") != std::string::npos, !c.authorization.empty()) << head;
    if (!c.authorization.empty()) {
      EXPECT_TRUE(HasHeader(head, c.authorization)) << head;
    }
    EXPECT_EQ(HasHeader(head, "Pragma: no-cache"), c.noCache) << head;
    EXPECT_EQ(HasHeader(head, "Cache-Control: no-cache"), c.noCache) << head;
  }
}

TEST_F(DownloadClientTest, UnreachableServerLeavesAnEmptyFile) {
  // An empty URL is the update server that was never configured.
  for (const std::string& url :
       {"http://127.0.0.1:" + std::to_string(ClosedPort()) + "/file", std::string()}) {
    SCOPED_TRACE("url '" + url + "'");
    DownloadClient client;
    EXPECT_EQ(client.GetFile(url, OldTarget(), "", "", -1, nullptr, true, 0, -1).outcome, 0);
    EXPECT_TRUE(fs::exists(Target()));
    EXPECT_EQ(fs::file_size(Target()), 0u);
    EXPECT_EQ(client.GetError(nullptr), kStatusCannotConnect);
    const std::string text = client.GetErrorString(nullptr);
    EXPECT_TRUE(text.starts_with("Unable to connect to URL;")) << text;
    EXPECT_GT(text.size(), std::string("Unable to connect to URL;").size()) << text;
  }
}

TEST_F(DownloadClientTest, HttpErrorAnswerIsAFailedReadAndLeavesTheFileEmpty) {
  for (const char* status : {"404 Not Found", "500 Internal Server Error"}) {
    SCOPED_TRACE(status);
    const std::string code = std::string(status).substr(0, 3);
    HttpServer server({.status = status, .body = "<html>error page</html>"});
    OldTarget();
    EXPECT_EQ(GetFileHere(server.Url()), 0);
    EXPECT_TRUE(fs::exists(Target()));
    EXPECT_EQ(fs::file_size(Target()), 0u);
    EXPECT_EQ(client_.GetError(nullptr), kStatusReadFailed);
    EXPECT_EQ(client_.GetErrorString(nullptr), "Unable to open File on Server;HTTP " + code);
    EXPECT_EQ(client_.GetFileToMemory(server.Url(), "", "", -1, nullptr, true, 0, -1).data, std::nullopt);

    // A job keeps the HTTP status as its error and still sends its notice.
    Notices notices;
    DownloadJob* job = StartFile(server.Url(), notices.Callback());
    WaitForEnd(job);
    EXPECT_EQ(client_.GetError(job), std::stoi(code));
    EXPECT_EQ(client_.GetErrorString(job), "Win-Error;HTTP " + code);
    EXPECT_EQ(notices.count, 1);
    client_.Free(job, true);
  }
}

TEST_F(DownloadClientTest, StalledOrOversizedBodyFails) {
  struct Case {
    const char* name;
    Reply reply;
    bool toMemory;
    const char* reason;  // in libcurl's words
  };
  const std::string big = Pattern(200000);
  const char* tooLarge = "Maximum file size exceeded";
  const Case cases[] = {
      {"stall after the head", {.body = Pattern(100), .stallAfter = 0}, false, "too slow"},
      {"announced length over the limit", {.body = big}, false, tooLarge},
      {"endless body over the limit", {.body = big, .withLength = false}, false, tooLarge},
      {"endless body into memory", {.body = big, .withLength = false}, true, tooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpServer server(c.reply);
    DownloadClient client;
    client.SetStallSeconds(1);
    client.SetSizeLimit(10000);
    if (c.toMemory) {
      EXPECT_EQ(client.GetFileToMemory(server.Url(), "", "", -1, nullptr, true, 1024, -1).data, std::nullopt);
    } else {
      EXPECT_EQ(client.GetFile(server.Url(), Target(), "", "", -1, nullptr, true, 1024, -1).outcome, 0);
      EXPECT_LE(fs::file_size(Target()), 10000u);
    }
    EXPECT_EQ(client.GetError(nullptr), kStatusReadFailed);
    const std::string text = client.GetErrorString(nullptr);
    EXPECT_TRUE(text.starts_with("Unable to open File on Server;")) << text;
    EXPECT_NE(text.find(c.reason), std::string::npos) << text;
  }
}

TEST_F(DownloadClientTest, FileThatCannotBeCreatedStopsTheRequest) {
  HttpServer server({.body = "x"});
  EXPECT_EQ(client_.GetFile(server.Url(), root_ / "missing" / "update.dat", "", "", -1, nullptr, true, 0, -1)
                .outcome,
            0);
  EXPECT_EQ(client_.GetError(nullptr), kStatusCannotCreateFile);
  EXPECT_EQ(client_.GetErrorString(nullptr), "Unable to create File");
  EXPECT_EQ(client_.GetFile(server.Url(), root_ / "missing" / "x", "", "", -1, nullptr, false, 0, -1).job,
            nullptr);
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(DownloadClientTest, JobsOfAnotherClientOrFreedOnesAreRefused) {
  using Operation = std::function<bool(DownloadClient&, DownloadJob*)>;  // true when it gave nothing
  const std::vector<std::pair<const char*, Operation>> operations = {
      {"GetError", [](DownloadClient& c, DownloadJob* j) { return c.GetError(j) == 0; }},
      {"GetErrorString", [](DownloadClient& c, DownloadJob* j) { return c.GetErrorString(j).empty(); }},
      {"GetMemory", [](DownloadClient& c, DownloadJob* j) { return c.GetMemory(j) == nullptr; }},
      {"GetURL", [](DownloadClient& c, DownloadJob* j) { return c.GetURL(j).empty(); }},
      {"Free", [](DownloadClient& c, DownloadJob* j) { return !c.Free(j, false).has_value(); }},
      {"Abort", [](DownloadClient& c, DownloadJob* j) { return c.Abort(j) == 0; }},
      {"IsRunning", [](DownloadClient& c, DownloadJob* j) { return !c.IsRunning(j); }},
      {"GetBytesReceived", [](DownloadClient& c, DownloadJob* j) { return c.GetBytesReceived(j) == 0; }},
      {"GetProgress", [](DownloadClient& c, DownloadJob* j) { return c.GetProgress(j) == 0; }},
      {"GetSize", [](DownloadClient& c, DownloadJob* j) { return c.GetSize(j) == 0; }},
  };
  HttpServer server({.body = "memory body"});
  DownloadJob* kept = StartMemory(server.Url());
  DownloadJob* freed = StartMemory(server.Url());
  WaitForEnd(kept);
  WaitForEnd(freed);
  client_.Free(freed, true);

  for (const auto& [name, operation] : operations) {
    SCOPED_TRACE(name);
    DownloadClient other;
    EXPECT_TRUE(operation(other, kept));
    EXPECT_EQ(other.GetError(nullptr), kStatusNoSuchJob);
    EXPECT_EQ(other.GetErrorString(nullptr), "This was no real GetFile-Handle!");

    DownloadClient fresh;
    EXPECT_EQ(fresh.GetError(nullptr), kStatusNoError);
    EXPECT_TRUE(operation(client_, freed));
    EXPECT_EQ(client_.GetError(nullptr), kStatusNoSuchJob);
  }
  // The refused calls left the client's own job alone.
  ASSERT_NE(client_.GetMemory(kept), nullptr);
  EXPECT_EQ(*client_.GetMemory(kept), "memory body");
}

TEST_F(DownloadClientTest, ProxyComesFromTheInternetSettings) {
  struct Case {
    const char* name;
    bool enabled;
    const char* requestLine;
  };
  HttpServer server({.body = "through the proxy"});
  const platform::Registry registry;
  const auto user = platform::RegistryRoot::CurrentUser;
  ASSERT_TRUE(registry.WriteString(user, platform::kInternetSettingsKey, "ProxyServer",
                                   "127.0.0.1:" + std::to_string(server.Port())));
  // The environment's proxy leads nowhere; the client must not use it.
  const char* environmentProxy = std::getenv("http_proxy");
  const std::string savedProxy = environmentProxy != nullptr ? environmentProxy : "";
  setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(ClosedPort())).c_str(), 1);
  const Case cases[] = {
      {"enabled", true, "GET http://example.invalid/x HTTP/1.1\r\n"},
      {"disabled", false, "GET /x HTTP/1.1\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(registry.WriteDword(user, platform::kInternetSettingsKey, "ProxyEnable", c.enabled ? 1 : 0));
    const std::string url = c.enabled ? "http://example.invalid/x" : server.Url("/x");
    EXPECT_EQ(client_.GetFileToMemory(url, "", "", -1, nullptr, true, 0, -1).data, "through the proxy");
    EXPECT_TRUE(server.LastRequest().starts_with(c.requestLine)) << server.LastRequest();
  }
  if (environmentProxy != nullptr) {
    setenv("http_proxy", savedProxy.c_str(), 1);
  } else {
    unsetenv("http_proxy");
  }
}

}  // namespace
}  // namespace vmk::update
