#include "platform/http_download.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/http_test_server.h"
#include "support/test_support.h"

namespace vmk::platform {
namespace {

namespace fs = std::filesystem;
using testing::HttpReply;
using testing::HttpServer;
using testing::ReadFile;
using testing::WriteFile;

constexpr const char* kOld = "the previous file";

class PlainDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteFile(Target(), kOld); }
  fs::path Target() const { return dir_ / "update.dat"; }
  // Nothing but the target may be left in the folder.
  void ExpectOnlyTheTarget() const {
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_.path())) ++files;
    EXPECT_EQ(files, 1);
  }
  testing::TempDir dir_;
};

TEST_F(PlainDownloadTest, CompleteAnswersReplaceTheFile) {
  struct Case {
    const char* name;
    HttpReply reply;
  };
  const std::string big(200000, 'k');
  const Case cases[] = {
      {"with length", {.body = big}},
      {"without length", {.body = big, .withLength = false}},
      {"empty body", {.body = ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(Target(), kOld);
    HttpServer server(c.reply);
    EXPECT_TRUE(PlainHttpDownload(server.Url("/kepdata/download.me"), Target()));
    EXPECT_EQ(ReadFile(Target()), c.reply.body);
    EXPECT_EQ(server.RequestedPaths(), std::vector<std::string>{"/kepdata/download.me"});
    EXPECT_EQ(fs::status(Target()).permissions() & fs::perms::others_read, fs::perms::others_read);
    ExpectOnlyTheTarget();
  }
}

TEST_F(PlainDownloadTest, FailuresLeaveThePreviousFile) {
  struct Case {
    const char* name;
    HttpReply reply;
    PlainDownloadLimits limits;
  };
  const Case cases[] = {
      {"404 page", {.status = "404 Not Found", .body = "<html>gone</html>"}, {}},
      {"server error", {.status = "500 Internal Server Error", .body = "oops"}, {}},
      {"truncated body", {.body = std::string(5000, 'x'), .stallAfter = 1000, .hangUpAtStall = true}, {}},
      {"stalled body", {.body = std::string(5000, 'x'), .stallAfter = 0}, {.stallSeconds = 1}},
      {"body over the limit", {.body = std::string(5000, 'x'), .withLength = false}, {.maxBytes = 4096}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpServer server(c.reply);
    EXPECT_FALSE(PlainHttpDownload(server.Url("/x"), Target(), c.limits));
    EXPECT_EQ(ReadFile(Target()), kOld);
    ExpectOnlyTheTarget();
  }
}

TEST_F(PlainDownloadTest, NoServerOrNoUrlFails) {
  EXPECT_FALSE(PlainHttpDownload("http://127.0.0.1:" + std::to_string(testing::ClosedLoopbackPort()) + "/x",
                                 Target()));
  EXPECT_FALSE(PlainHttpDownload("", Target()));
  EXPECT_EQ(ReadFile(Target()), kOld);
  ExpectOnlyTheTarget();
}

TEST_F(PlainDownloadTest, GoesStraightToTheServerWhateverTheEnvironmentsProxy) {
  HttpServer server({.body = "direct"});
  setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(testing::ClosedLoopbackPort())).c_str(), 1);
  const bool done = PlainHttpDownload(server.Url("/x"), Target());
  unsetenv("http_proxy");
  EXPECT_TRUE(done);
  EXPECT_EQ(ReadFile(Target()), "direct");
}

TEST_F(PlainDownloadTest, AMissingFolderFailsWithoutRequest) {
  HttpServer server({.body = "x"});
  EXPECT_FALSE(PlainHttpDownload(server.Url("/x"), dir_ / "missing" / "file"));
  EXPECT_TRUE(server.Requests().empty());
}

}  // namespace
}  // namespace vmk::platform
