// The CSV readers on the real published list files of the shared data folder: every row read, known
// entries in their columns, and all rows accepted by the database writer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "publish/list_reader.h"
#include "support/test_support.h"

namespace vmk::publish {
namespace {

namespace fs = std::filesystem;

fs::path ListsFolder() {
  const char* source = std::getenv("VELDMARK_SOURCE_DIR");
  return fs::path(source != nullptr ? source : ".") / ".." / "shared" / "data" / "lists";
}

#define SKIP_WITHOUT(file) \
  if (!fs::exists(file)) GTEST_SKIP() << "real list file missing: " << (file).string()

std::string Value(const ListEntry& entry, const std::string& column) {
  const auto it = entry.values.find(column);
  return it != entry.values.end() && it->second ? *it->second : "";
}

const ListEntry* Find(const ListRead& read, const std::string& column, const std::string& value) {
  const auto it = std::find_if(read.entries.begin(), read.entries.end(),
                               [&](const ListEntry& entry) { return Value(entry, column) == value; });
  return it == read.entries.end() ? nullptr : &*it;
}

std::size_t CountWith(const ListRead& read, const std::string& column, const std::string& value) {
  return static_cast<std::size_t>(
      std::count_if(read.entries.begin(), read.entries.end(),
                    [&](const ListEntry& entry) { return Value(entry, column) == value; }));
}

void ExpectWritable(ListRead read) {
  testing::TempDir dir;
  SanctionsData data;
  data.entries = std::move(read.entries);
  EXPECT_EQ(WriteSanctionsDatabase(dir / "KESTO.adb", data), "");
}

TEST(RealCsvLists, UkConsolidatedExcerpt) {
  const fs::path file = ListsFolder() / "uk" / "conlist_2020_excerpt.csv";
  SKIP_WITHOUT(file);
  const ListRead read = ReadUkConsolidatedCsv(file);
  ASSERT_TRUE(read.Ok()) << read.error;
  EXPECT_EQ(read.entries.size(), 77u);
  const ListEntry* first = Find(read, "Name6", "AL-QAHTANI");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(Value(*first, "Name1"), "Sheikh");
  EXPECT_EQ(Value(*first, "BirthDate"), "00/00/1980");
  EXPECT_EQ(Value(*first, "GroupType"), "Individual");
  EXPECT_EQ(Value(*first, "GroupID"), "13349");
  ExpectWritable(read);
}

TEST(RealCsvLists, OfacSdnFiles) {
  const fs::path folder = ListsFolder() / "us";
  SKIP_WITHOUT(folder / "ofac_sdn.csv");
  const ListRead read =
      ReadOfacSdnCsv(folder / "ofac_sdn.csv", folder / "ofac_alt.csv", folder / "ofac_add.csv");
  ASSERT_TRUE(read.Ok()) << read.error;
  EXPECT_EQ(read.entries.size(), 8976u + 11910u) << "one row per SDN name and per alternate name";
  EXPECT_EQ(CountWith(read, "AlternateName", ""), 8976u);
  const ListEntry* bank = Find(read, "AlternateName", "NATIONAL BANK OF CUBA");
  ASSERT_NE(bank, nullptr);
  EXPECT_EQ(Value(*bank, "Name"), "BANCO NACIONAL DE CUBA");
  EXPECT_NE(Value(*bank, "Address").find("Zweierstrasse 35"), std::string::npos);
  EXPECT_NE(Value(*bank, "City").find("Zurich CH-8022"), std::string::npos);
  ExpectWritable(read);
}

TEST(RealCsvLists, ConsolidatedScreeningList2023) {
  const fs::path file = ListsFolder() / "us" / "csl_2023.csv";
  SKIP_WITHOUT(file);
  const ListRead read = ReadUsConsolidatedScreeningCsv(file);
  ASSERT_TRUE(read.Ok()) << read.error;
  // 4 226 whole rows after the two header lines; the cut-off row after them is left out.
  EXPECT_EQ(CountWith(read, "AlternateName", ""), 4226u);
  EXPECT_EQ(Find(read, "EntityNumber", "11476"), nullptr);
  EXPECT_EQ(Find(read, "Name", "_id"), nullptr);
  EXPECT_EQ(Find(read, "Name", "name"), nullptr);
  const ListEntry* telecom = Find(read, "AlternateName", "CHINA TELECOM");
  ASSERT_NE(telecom, nullptr);
  EXPECT_EQ(Value(*telecom, "Name"), "China Telecom Corporation Limited");
  EXPECT_EQ(Value(*telecom, "Address"), "31 Jinrong Street, Xicheng District, Beijing, 100033, CN");
  ExpectWritable(read);
}

TEST(RealCsvLists, ConsolidatedScreeningListOldFormat) {
  const fs::path file = ListsFolder() / "us" / "csl_sample.csv";
  SKIP_WITHOUT(file);
  const ListRead read = ReadUsConsolidatedScreeningCsv(file);
  ASSERT_TRUE(read.Ok()) << read.error;
  EXPECT_EQ(CountWith(read, "AlternateName", ""), 115u);
  const ListEntry* person = Find(read, "Name", "ADRIAN MANUEL HERNANDEZ");
  ASSERT_NE(person, nullptr);
  EXPECT_EQ(Value(*person, "Address"), "3037 S. 69TH DRIVE, PHONEIX, AZ, 85043");
  const ListEntry* alias = Find(read, "AlternateName", "HAVANTUR CANADA INC.");
  ASSERT_NE(alias, nullptr);
  EXPECT_EQ(Value(*alias, "Name"), "2904977 CANADA, INC.");
  ExpectWritable(read);
}

}  // namespace
}  // namespace vmk::publish
