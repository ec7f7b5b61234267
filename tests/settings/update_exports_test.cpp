// The settings library's downloads from the update server, called by export name as a foreign program
// would, against an HTTP server of the test.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/shared_library.h"
#include "support/http_test_server.h"
#include "support/test_support.h"

namespace vmk::settings {
namespace {

namespace fs = std::filesystem;
using testing::HttpReply;
using testing::HttpServer;
using testing::ReadFile;
using testing::WriteFile;

std::string PackBytes(const testing::TempDir& scratch, const std::string& euDate) {
  publish::SanctionsData data;
  data.dates = {euDate, "27.02.2026", "20.02.2026", "15.01.2026"};
  data.entries = {testing::Entry(screening::ListId::EU, {{"Name", "Bank Melli"}})};
  testing::WriteDatabasePack(scratch.path(), data);
  return ReadFile(scratch / "KE2DB.pak");
}

class UpdateExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("VELDMARK_ROOT", root_.path().c_str(), 1);
    ASSERT_TRUE(library_.Load(VMK21_FILE)) << library_.Error();
    fs::create_directories(data_);
    fs::create_directories(second_);
    fs::create_directories(root_ / "config");
    UseServer(server_.BaseUrl());
  }
  void TearDown() override { unsetenv("VELDMARK_ROOT"); }

  void UseServer(const std::string& base) {
    WriteFile(root_ / "config" / "veldmark.conf", "[Vendor]\nUpdateServer = " + base + "\n");
  }
  std::string Call(const char* name) {
    auto* call = reinterpret_cast<const char* (*)()>(library_.Symbol(name));
    EXPECT_NE(call, nullptr) << name;
    return call != nullptr ? call() : "";
  }
  std::string Luf(const char* eu, const char* un, const char* uk, const char* us) {
    auto* call = reinterpret_cast<const char* (*)(const char*, const char*, const char*, const char*)>(
        library_.Symbol("LUF"));
    EXPECT_NE(call, nullptr);
    return call != nullptr ? call(eu, un, uk, us) : "";
  }
  // Only the named files may be in the folder: no backup or half-written download stays behind.
  static void ExpectFolderHolds(const fs::path& folder, std::set<std::string> names) {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) found.insert(entry.path().filename().string());
    EXPECT_EQ(found, names);
  }

  testing::TempDir root_, scratch_;
  fs::path data_ = root_ / "appdata" / "{3A91F2C4-58D0-4E7B-9C16-2F4B8E07D5A3}";
  fs::path second_ = root_ / "appdata" / "{8E2D4B17-C3A9-4F60-A5B8-71D9E6C0F248}";
  HttpServer server_;
  platform::SharedLibrary library_;
};

TEST_F(UpdateExportsTest, InformationFile) {
  WriteFile(data_ / "in.fo", "older text");
  server_.Serve("/kepdata/vminfo.txt", {.body = "Listen vom 28.01.2026"});
  EXPECT_EQ(Call("LIF"), (data_ / "in.fo").string());
  EXPECT_EQ(ReadFile(data_ / "in.fo"), "Listen vom 28.01.2026");

  server_.Serve("/kepdata/vminfo.txt", {.body = ""});
  EXPECT_EQ(Call("LIF"), "-2");

  WriteFile(data_ / "in.fo", "older text");
  server_.Remove("/kepdata/vminfo.txt");
  EXPECT_EQ(Call("LIF"), "-1");
  EXPECT_EQ(ReadFile(data_ / "in.fo"), "older text");
}

TEST_F(UpdateExportsTest, UpdateCheckComparesTheFourDates) {
  server_.Serve("/kepdata/download.me",
                {.body = "[Version]\r\nKESTO2=21080\r\n[Date]\r\nEUK2=28.01.2026\r\nunk2 = 27.02.2026\r\n"
                         "UKK2=20.02.2026\r\nUSK2=15.01.2026\r\n"});
  WriteFile(data_ / "update.dat", "[Date]\r\nEUK2=01.01.2020\r\n");
  EXPECT_EQ(Luf("28.01.2026", "27.02.2026", "20.02.2026", "15.01.2026"), "-4");
  EXPECT_EQ(ReadFile(data_ / "update.dat").substr(0, 9), "[Version]");
  EXPECT_EQ(Luf("28.01.2026", "27.02.2026", "20.02.2026", "16.01.2026"), "1");
  EXPECT_EQ(Luf("28.01.2026", "27.02.2026", "20.02.2026 ", "15.01.2026"), "1");

  // Absent keys read as "-1".
  server_.Serve("/kepdata/download.me", {.body = "garbage\r\n[Date]\r\nEUK2=1\r\n"});
  EXPECT_EQ(Luf("1", "-1", "-1", "-1"), "-4");
  EXPECT_EQ(Luf(nullptr, "-1", "-1", "-1"), "1");

  server_.Remove("/kepdata/download.me");
  EXPECT_EQ(Luf("1", "-1", "-1", "-1"), "-1");
  EXPECT_EQ(ReadFile(data_ / "update.dat"), "garbage\r\n[Date]\r\nEUK2=1\r\n");
}

TEST_F(UpdateExportsTest, PackDownloadReplacesOnlyWithACheckedPack) {
  const std::string installed = PackBytes(scratch_, "01.01.2026");
  const std::string fresh = PackBytes(scratch_, "28.01.2026");
  struct Case {
    const char* name;
    HttpReply reply;
    const char* result;
  };
  const Case cases[] = {
      {"empty body", {.body = ""}, "-1"},
      {"random bytes", {.body = std::string(3000, '\x5a')}, "-1"},
      {"truncated pack", {.body = fresh.substr(0, fresh.size() / 2)}, "-1"},
      {"404 page", {.status = "404 Not Found", .body = "<html>404</html>"}, "0"},
      {"truncated transfer", {.body = fresh, .stallAfter = 100, .hangUpAtStall = true}, "0"},
      {"valid pack", {.body = fresh}, "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(data_ / "KE2DB.pak", installed);
    server_.Serve("/kepdata/KE2DBpak.bin", c.reply);
    EXPECT_EQ(Call("DBU21"), c.result);
    EXPECT_EQ(ReadFile(data_ / "KE2DB.pak"), std::string(c.result) == "1" ? fresh : installed);
    ExpectFolderHolds(data_, {"KE2DB.pak"});
  }
}

TEST_F(UpdateExportsTest, SecondPackInItsOwnFolder) {
  const std::string installed = PackBytes(scratch_, "01.01.2026");
  const std::string fresh = PackBytes(scratch_, "28.01.2026");
  WriteFile(second_ / "KE2DB.pdb", installed);
  server_.Serve("/kepdata/KE2DB.bin", {.body = ""});
  EXPECT_EQ(Call("DBU"), "-1");
  EXPECT_EQ(ReadFile(second_ / "KE2DB.pdb"), installed);
  server_.Serve("/kepdata/KE2DB.bin", {.body = fresh});
  EXPECT_EQ(Call("DBU"), "1");
  EXPECT_EQ(ReadFile(second_ / "KE2DB.pdb"), fresh);
  ExpectFolderHolds(second_, {"KE2DB.pdb"});
  EXPECT_EQ(server_.RequestedPaths(), (std::vector<std::string>{"/kepdata/KE2DB.bin", "/kepdata/KE2DB.bin"}));
}

TEST_F(UpdateExportsTest, WithoutAReachableServerNothingChanges) {
  const std::string installed = PackBytes(scratch_, "01.01.2026");
  for (const std::string& base :
       {std::string(), "http://127.0.0.1:" + std::to_string(testing::ClosedLoopbackPort())}) {
    SCOPED_TRACE(base.empty() ? "no server configured" : "refused connection");
    UseServer(base);
    WriteFile(data_ / "KE2DB.pak", installed);
    WriteFile(data_ / "update.dat", "previous");
    EXPECT_EQ(Call("LIF"), "-1");
    EXPECT_EQ(Luf("1", "2", "3", "4"), "-1");
    EXPECT_EQ(Call("DBU21"), "0");
    EXPECT_EQ(Call("DBU"), "0");
    EXPECT_EQ(ReadFile(data_ / "KE2DB.pak"), installed);
    EXPECT_EQ(ReadFile(data_ / "update.dat"), "previous");
    ExpectFolderHolds(data_, {"KE2DB.pak", "update.dat"});
  }
  EXPECT_TRUE(server_.Requests().empty());
}

}  // namespace
}  // namespace vmk::settings
