// The release folder: built whole from small list files, read back by the program's own pack and
// update-description readers, and left as it was when a list file is bad.
#include "publish/list_release.h"

#include <gtest/gtest.h>

#include "screening/pack_reader.h"
#include "support/test_support.h"
#include "update/update_description.h"

namespace vmk::publish {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUkList =
    "Last Updated,20/02/2026\r\n"
    "Name 6,Name 1,Name 2,Name 3,Name 4,Name 5,Title,DOB,Town of Birth,Country of Birth,Nationality,"
    "Passport Details,NI Number,Position,Address 1,Address 2,Address 3,Address 4,Address 5,Address 6,"
    "Post/Zip Code,Country,Other Information,Group Type,Alias Type,Regime,Listed On,Last Updated,Group ID\r\n"
    "DRAGUNOV,Viktor,,,,,,,,,,,,,12 Lesnaya Street,Port Mirov,,,,,,Nordavia,,Individual,Primary name,"
    "Nordavia,10/01/2026,10/01/2026,91001\r\n";

TEST(ListRelease, IsReadBackByTheProgramsPackAndUpdateReaders) {
  testing::TempDir dir;
  testing::WriteFile(dir / "uk.csv", kUkList);
  ListSources sources;
  sources.uk = dir / "uk.csv";
  ReleaseSummary summary;
  ASSERT_EQ(BuildListRelease(sources, dir / "release", summary), "");
  EXPECT_EQ(summary.rows, (std::array<std::size_t, 4>{0, 0, 1, 0}));
  EXPECT_EQ(summary.dates, (std::array<std::string, 4>{"-", "-", "20.02.2026", "-"}));

  const fs::path server = dir / "release" / "kepdata";
  EXPECT_EQ(update::AnnouncedListDates(server / "download.me"),
            (std::array<std::string, 4>{"-", "-", "20.02.2026", "-"}));
  EXPECT_EQ(update::ReadDescriptionValue(server / "download.me", "Version", "KESTO2"), "21072");
  EXPECT_EQ(screening::ExtractPackEntry(server / "KE2DBpak.bin", "Kesto.pak", dir / "unpacked.adb"),
            screening::PackError::None);
  EXPECT_EQ(testing::ReadFile(dir / "unpacked.adb"), testing::ReadFile(dir / "release" / "KESTO.adb"));
  EXPECT_NE(testing::ReadFile(server / "vminfo.txt").find("20.02.2026"), std::string::npos);
}

TEST(ListRelease, BadListFileLeavesTheEarlierReleaseAsItWas) {
  testing::TempDir dir;
  testing::WriteFile(dir / "uk.csv", kUkList);
  ListSources sources;
  sources.uk = dir / "uk.csv";
  ReleaseSummary summary;
  ASSERT_EQ(BuildListRelease(sources, dir / "release", summary), "");
  const std::string pack = testing::ReadFile(dir / "release" / "KE2DB.pak");

  testing::WriteFile(dir / "un.xml", "<?xml version=\"1.0\"?>\n<CONSOLIDATED_LIST>\n<INDIVIDUALS>\n");
  sources.un = dir / "un.xml";
  const std::string error = BuildListRelease(sources, dir / "release", summary);
  EXPECT_NE(error.find((dir / "un.xml").string() + ":"), std::string::npos) << error;
  EXPECT_EQ(testing::ReadFile(dir / "release" / "KE2DB.pak"), pack);
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename().string().find(".building-"), std::string::npos) << entry.path();
  }
}

}  // namespace
}  // namespace vmk::publish
