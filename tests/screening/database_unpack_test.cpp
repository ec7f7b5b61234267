#include "screening/database_unpack.h"

#include <gtest/gtest.h>

#include "publish/pack_writer.h"
#include "screening/sanctions_db.h"
#include "support/test_support.h"

namespace vmk::screening {
namespace {

using testing::Entry;
using testing::FakeClock;
using testing::ReadFile;
using testing::RecordingDialogs;
using testing::TempDir;
using testing::WriteFile;

std::vector<std::string> FilesIn(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class UnpackTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(runLog_.Open(logDir_ / "RunLog.txt")); }

  bool Unpack() { return EnsureDatabaseUnpacked(dir_.path(), runLog_, dialogs_); }
  std::string Log() {
    runLog_.Close();
    return ReadFile(logDir_ / "RunLog.txt");
  }

  TempDir dir_, logDir_;
  FakeClock clock_;
  log::RunLog runLog_{clock_};
  RecordingDialogs dialogs_;
};

TEST_F(UnpackTest, BothSignaturesStoredOrCompressedGiveAWorkingDatabase) {
  publish::SanctionsData data;
  data.entries = {Entry(ListId::US, {{"Name", "ACME EXPORT"}})};
  data.dates = {"01.01.2026", "02.01.2026", "03.01.2026", "04.01.2026"};
  for (auto signature : {publish::PackSignature::V1, publish::PackSignature::V2}) {
    for (bool compress : {false, true}) {
      SCOPED_TRACE(std::to_string(static_cast<int>(signature)) + (compress ? " compressed" : " stored"));
      testing::WriteDatabasePack(dir_.path(), data, signature, compress);
      ASSERT_TRUE(Unpack());
      SanctionsDatabase database(WorkingCopyPath(dir_.path()));
      ASSERT_TRUE(database.IsOpen());
      EXPECT_EQ(ReadListDates(database)[3], "04.01.2026");
      DeleteWorkingCopy(dir_.path());
      EXPECT_EQ(FilesIn(dir_.path()), std::vector<std::string>{"KE2DB.pak"});
    }
  }
  EXPECT_TRUE(dialogs_.boxes.empty());
}

TEST_F(UnpackTest, ANonEmptyWorkingCopyIsUsedUnchanged) {
  WriteFile(dir_ / "KESTO.adb", "left over");
  EXPECT_TRUE(Unpack());
  EXPECT_EQ(ReadFile(dir_ / "KESTO.adb"), "left over");
  EXPECT_EQ(Log(), "09:05:07  Uhr / Entpacke KE2DB.pak\r\n09:05:07  Uhr / KE2DB bereits entpackt\r\n");
}

TEST_F(UnpackTest, AnEmptyWorkingCopyIsReplaced) {
  publish::SanctionsData data;
  testing::WriteDatabasePack(dir_.path(), data);
  WriteFile(dir_ / "KESTO.adb", "");
  EXPECT_TRUE(Unpack());
  EXPECT_GT(std::filesystem::file_size(dir_ / "KESTO.adb"), 0u);
  EXPECT_EQ(Log(), "09:05:07  Uhr / Entpacke KE2DB.pak\r\n");
}

TEST_F(UnpackTest, DamagedPacksEndInEntpackFehlerAndNoWorkingCopy) {
  const std::string valid = [&] {
    publish::WritePack(dir_ / "valid.pak", publish::PackSignature::V2,
                       {{"Kesto.pak", std::string(5000, 'x'), true}});
    return ReadFile(dir_ / "valid.pak");
  }();
  std::filesystem::remove(dir_ / "valid.pak");
  struct Case {
    const char* name;
    std::optional<std::string> pack;
  };
  const Case cases[] = {
      {"missing pack", std::nullopt},
      {"empty pack", ""},
      {"wrong signature", "3zlp" + valid.substr(4)},
      {"truncated entry", valid.substr(0, valid.size() - 3)},
      {"truncated header", valid.substr(0, 10)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs_.boxes.clear();
    if (c.pack) WriteFile(dir_ / "KE2DB.pak", *c.pack);
    EXPECT_FALSE(Unpack());
    ASSERT_EQ(dialogs_.boxes.size(), 1u);
    EXPECT_EQ(dialogs_.boxes[0].title, "Fehler");
    EXPECT_EQ(dialogs_.boxes[0].text, "Entpack Fehler");
    EXPECT_EQ(FilesIn(dir_.path()),
              c.pack ? std::vector<std::string>{"KE2DB.pak"} : std::vector<std::string>{});
  }
}

TEST_F(UnpackTest, PackWithoutTheDatabaseEntryFails) {
  publish::WritePack(dir_ / "KE2DB.pak", publish::PackSignature::V1, {{"kesto.pak", "data", false}});
  EXPECT_FALSE(Unpack());
  EXPECT_FALSE(std::filesystem::exists(dir_ / "KESTO.adb"));
}

}  // namespace
}  // namespace vmk::screening
