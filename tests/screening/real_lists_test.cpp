// Single searches of real names in a database built from real list entries: the OFAC SDN files for
// the US table and the UK consolidated-list excerpt for the UK table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

#include "publish/sanctions_db_writer.h"
#include "screening/list_search.h"
#include "screening/prepare_search.h"
#include "support/test_support.h"

namespace vmk::screening {
namespace {

namespace fs = std::filesystem;

fs::path ListsFolder() {
  const char* source = std::getenv("VELDMARK_SOURCE_DIR");
  return fs::path(source != nullptr ? source : ".") / ".." / "shared" / "data" / "lists";
}

// One line of comma-separated fields, double quotes around fields that hold commas.
std::vector<std::string> SplitCsvLine(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else if (c != '\r') {
      fields.back() += c;
    }
  }
  return fields;
}

std::vector<std::vector<std::string>> ReadCsv(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(in, line);) rows.push_back(SplitCsvLine(line));
  return rows;
}

// The SDN files write "-0-" for an empty field.
std::string Field(const std::vector<std::string>& row, std::size_t index) {
  if (index >= row.size()) return {};
  std::string value = text::TrimBlanks(row[index]);
  return value == "-0-" ? std::string() : value;
}

void AddOfacEntries(const fs::path& folder, publish::SanctionsData& data) {
  std::map<std::string, std::vector<std::string>> firstAddress;
  for (const auto& row : ReadCsv(folder / "ofac_add.csv")) {
    if (!firstAddress.count(Field(row, 0))) firstAddress[Field(row, 0)] = row;
  }
  std::multimap<std::string, std::string> alternates;
  for (const auto& row : ReadCsv(folder / "ofac_alt.csv")) alternates.emplace(Field(row, 0), Field(row, 3));
  for (const auto& sdn : ReadCsv(folder / "ofac_sdn.csv")) {
    const std::string number = Field(sdn, 0);
    if (number.empty()) continue;
    publish::ListEntry entry{ListId::US, {}};
    entry.values = {{"Source", "SDN"},           {"EntityNumber", number}, {"SDNType", Field(sdn, 2)},
                    {"Programs", Field(sdn, 3)}, {"Name", Field(sdn, 1)},  {"Remarks", Field(sdn, 11)}};
    if (auto address = firstAddress.find(number); address != firstAddress.end()) {
      entry.values["Address"] = Field(address->second, 2);
      entry.values["City"] = Field(address->second, 3);
      entry.values["Country"] = Field(address->second, 4);
    }
    data.entries.push_back(entry);
    // One row per name variant, as the list publishes them.
    for (auto [it, end] = alternates.equal_range(number); it != end; ++it) {
      publish::ListEntry alias = entry;
      alias.values["AlternateName"] = it->second;
      data.entries.push_back(alias);
    }
  }
}

void AddUkEntries(const fs::path& file, publish::SanctionsData& data) {
  const auto rows = ReadCsv(file);
  const ListSchema& uk = Schema(ListId::UK);
  for (std::size_t r = 1; r < rows.size(); ++r) {  // the first line names the columns
    publish::ListEntry entry{ListId::UK, {}};
    for (int position = 0; position < uk.fieldEnd; ++position) {
      entry.values[uk.columns[static_cast<std::size_t>(position)].name] =
          Field(rows[r], static_cast<std::size_t>(position));
    }
    data.entries.push_back(entry);
  }
}

class NoHost : public SearchHost {
 public:
  RunMode Mode() const override { return RunMode::Interactive; }
  bool WhitelistSwitchOn() const override { return false; }
  void ApplyWhitelist(SearchState&) override {}
  void RefuseNoSearchTerm() override {}
  void BeforeMakingKeys() override {}
  log::RunLog& RunLog() override { return runLog_; }

 private:
  log::RunLog runLog_;
};

class RealListsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!fs::exists(ListsFolder() / "us" / "ofac_sdn.csv")) return;
    publish::SanctionsData data;
    AddOfacEntries(ListsFolder() / "us", data);
    AddUkEntries(ListsFolder() / "uk" / "conlist_2020_excerpt.csv", data);
    dir_ = new testing::TempDir;
    ASSERT_EQ(publish::WriteSanctionsDatabase(Database(), data), "");
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static fs::path Database() { return *dir_ / "KESTO.adb"; }

  void SetUp() override {
    if (dir_ == nullptr) GTEST_SKIP() << "the real list files are not in " << ListsFolder();
  }

  // The values that the hits of one list show under a label.
  static std::set<std::string> Search(ListId list, int mode, std::array<std::string, 4> terms,
                                      const char* label) {
    SearchState state;
    state.mode = mode;
    state.terms = std::move(terms);
    state.selection = {std::string(29, '1'), std::string(20, '1'), std::string(29, '1'),
                       std::string(33, '1')};
    NoHost host;
    log::RunLog runLog;
    EXPECT_EQ(PrepareSearch(state, host), 0);
    HitReport report;
    SearchList(list, state, Database(), report, runLog);
    std::set<std::string> values;
    for (const HitRow& row : report.rows) {
      if (row.label == label) values.insert(row.value);
    }
    return values;
  }

  static testing::TempDir* dir_;
};

testing::TempDir* RealListsTest::dir_ = nullptr;

TEST_F(RealListsTest, ListedNamesAreFoundInTheModesWhoseKeysMatch) {
  struct Case {
    const char* name;
    ListId list;
    std::array<std::string, 4> terms;
    const char* label;
    const char* listed;
    std::array<bool, 4> foundInMode;
  };
  const Case cases[] = {
      {"exact US name",
       ListId::US,
       {"BANCO NACIONAL DE CUBA", "", "", ""},
       "Name",
       "BANCO NACIONAL DE CUBA",
       {true, true, true, true}},
      {"US alias",
       ListId::US,
       {"National Bank of Cuba", "", "", ""},
       "Alternate Name",
       "NATIONAL BANK OF CUBA",
       {true, true, true, true}},
      // Sounds alike but shares no word: the phonetic keys find it, plain text (and so all phonetics) not.
      {"US phonetic spelling",
       ListId::US,
       {"Banko Nasional Kuba", "", "", ""},
       "Name",
       "BANCO NACIONAL DE CUBA",
       {false, true, true, false}},
      {"US name with its address",
       ListId::US,
       {"BANCO NACIONAL DE CUBA", "", "Zweierstrasse", ""},
       "Address",
       "Zweierstrasse 35",
       {true, true, true, true}},
      {"UK first and last name",
       ListId::UK,
       {"Farooq", "Al-Qahtani", "", ""},
       "Name 6",
       "AL-QAHTANI",
       {true, true, true, true}},
  };
  for (const Case& c : cases) {
    for (int mode = 0; mode < 4; ++mode) {
      SCOPED_TRACE(std::string(c.name) + ", mode " + std::to_string(mode));
      EXPECT_EQ(Search(c.list, mode, c.terms, c.label).count(c.listed),
                c.foundInMode[static_cast<std::size_t>(mode)] ? 1u : 0u);
    }
  }
}

}  // namespace
}  // namespace vmk::screening
