// The in-memory counting against SQLite's count of the same statements: generated records with edits
// of every kind that changes a LIKE answer, in every mode, on a fixture database and on the real lists.
#include "screening/list_count_engine.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <random>

#include "screening/list_count.h"
#include "support/test_support.h"

namespace vmk::screening {
namespace {

namespace fs = std::filesystem;
using Record = std::array<std::string, 4>;

std::string Cp(const char* utf8) {
  return text::Utf8ToCp1252(utf8);
}

// Words of the fixture lists, with the characters that matter to LIKE: umlauts (which SQLite reads as
// one and the same character), apostrophes, "%" and "_", hyphens, A-Z case.
const std::vector<std::string>& ListWords() {
  static const std::vector<std::string> words = {
      "Bank",   "Melli",  "Iran",   Cp("Müller"), Cp("Möller"), "Schmidt",  "O'Brien",      "Al-Qahtani",
      "Ali",    "Rezai",  "Gaston", "Iyamuremye", "Banco",      "Nacional", "de",           "Cuba",
      "Li",     "Wei",    "Ng",     "100%",       "A_B",        "Trading",  "GmbH",         Cp("Straße"),
      "Tehran", "Berlin", "Kuba",   Cp("Élan"),   Cp("Çelik"),  "MAHMOUD",  "Hauptstrasse", Cp("Zürich"),
      "Kim",    "Jong",   "Un",     "Petrov",     "Ivanov",     "Sergei",   "Maschinenbau", "Export"};
  return words;
}

class Generator {
 public:
  explicit Generator(unsigned seed) : random_(seed) {}

  std::size_t Below(std::size_t n) { return random_() % n; }
  bool OneIn(std::size_t n) { return Below(n) == 0; }
  const std::string& Word() { return ListWords()[Below(ListWords().size())]; }

  std::string Words(std::size_t most) {
    std::string text = Word();
    for (std::size_t n = Below(most); n > 0; --n) text += " " + Word();
    return text;
  }
  std::string Address() { return std::to_string(1 + Below(99)) + " " + Words(2); }

  // A list value: mostly words, sometimes empty or NULL.
  std::optional<std::string> Value(bool address) {
    if (OneIn(10)) return std::nullopt;
    if (OneIn(8)) return std::string();
    return address ? Address() : Words(3);
  }

  // The edits a typed record brings: a changed, dropped or added character, a case change, two
  // blanks, a wildcard or apostrophe.
  std::string Edited(std::string text) {
    static const std::string kInserts = std::string("aeiou'%_ -") + Cp("äöüßÄÉ");
    for (std::size_t edits = Below(3); edits > 0 && !text.empty(); --edits) {
      const std::size_t at = Below(text.size());
      switch (Below(6)) {
        case 0:
          text[at] = kInserts[Below(kInserts.size())];
          break;
        case 1:
          text.erase(at, 1);
          break;
        case 2:
          text.insert(at, 1, kInserts[Below(kInserts.size())]);
          break;
        case 3:
          for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
          break;
        case 4:
          text.insert(at, "  ");
          break;
        default:
          text = text.substr(0, at + 1);
          break;
      }
    }
    return text;
  }

  // A record made of list words or of whole list values, each field possibly empty.
  Record MakeRecord(const std::vector<std::string>& names, const std::vector<std::string>& addresses) {
    const auto pick = [&](const std::vector<std::string>& from, bool address) {
      if (!from.empty() && OneIn(2)) return from[Below(from.size())];
      return address ? Address() : Words(2);
    };
    Record record;
    record[0] = OneIn(12) ? "" : Edited(pick(names, false));
    record[1] = OneIn(2) ? "" : Edited(OneIn(2) ? Word() : pick(names, false));
    record[2] = OneIn(2) ? "" : Edited(pick(addresses, true));
    record[3] = OneIn(4) ? Edited(Word()) : "";
    return record;
  }

 private:
  std::mt19937 random_;
};

publish::SanctionsData FixtureLists() {
  Generator make(20261211);
  publish::SanctionsData data;
  const auto add = [&](ListId list, std::initializer_list<const char*> names,
                       std::initializer_list<const char*> addresses) {
    for (int i = 0; i < 120; ++i) {
      publish::ListEntry entry{list, {}};
      for (const char* column : names) entry.values[column] = make.Value(false);
      for (const char* column : addresses) entry.values[column] = make.Value(true);
      data.entries.push_back(std::move(entry));
    }
  };
  add(ListId::EU, {"FirstName", "LastName", "MiddleName", "WholeName", "Name"}, {"Address", "AddrOther"});
  add(ListId::UN, {"FirstName", "SecondName", "Comments1", "Alias"}, {"Address"});
  add(ListId::UK, {"Name6", "Name1", "Name2", "Name3"}, {"Address1", "Address2", "Address6"});
  add(ListId::US, {"Name", "AlternateName"}, {"Address", "City"});
  return data;
}

// Name and address values of a database, for records that hit.
void ReadListValues(const fs::path& database, std::vector<std::string>& names,
                    std::vector<std::string>& addresses) {
  SanctionsDatabase db(database);
  const auto read = [&](const std::string& select, std::vector<std::string>& into) {
    db.Query(select, [&](const Row& row) {
      if (!row[0].empty()) into.push_back(row[0]);
    });
  };
  read("SELECT Name FROM EUGlobal", names);
  read("SELECT SecondName FROM UNGlobal", names);
  read("SELECT Name6 FROM UKGlobal", names);
  read("SELECT Name FROM USGlobal", names);
  read("SELECT Address FROM EUGlobal", addresses);
  read("SELECT Address1 FROM UKGlobal", addresses);
  read("SELECT Address FROM USGlobal", addresses);
}

struct Comparison {
  int records = 0, withHits = 0;
};

// Screens every record both ways in the mode and expects the same counts and the same completed keys.
Comparison CompareCounts(const fs::path& database, const std::vector<Record>& records, int mode,
                         long long* sqlCounts = nullptr) {
  SanctionsDatabase db(database);
  ListCountEngine engine(db);
  Comparison seen;
  for (const Record& record : records) {
    SearchState state;
    state.mode = mode;
    state.terms = record;
    testing::KeysOnlyHost host;
    if (PrepareSearch(state, host) != 0) continue;
    SearchState bySql = state, inMemory = state;
    for (const ListId list : kAllLists) {
      CountList(list, bySql, db);
      engine.Count(list, inMemory);
    }
    ++seen.records;
    seen.withHits += bySql.hitCounts != std::array<int, 4>{} ? 1 : 0;
    EXPECT_EQ(inMemory.hitCounts, bySql.hitCounts)
        << "mode " << mode << ": '" << record[0] << "' '" << record[1] << "' '" << record[2] << "' '"
        << record[3] << "'";
    EXPECT_EQ(inMemory.dmKeys, bySql.dmKeys);
  }
  if (sqlCounts != nullptr) *sqlCounts = engine.SqlCounts();
  return seen;
}

TEST(ListCountEngine, CountsAreSqlitesOnTheFixtureListsInEveryMode) {
  testing::TempDir dir;
  const fs::path database = dir / "KESTO.adb";
  ASSERT_EQ(publish::WriteSanctionsDatabase(database, FixtureLists()), "");
  std::vector<std::string> names, addresses;
  ReadListValues(database, names, addresses);
  Generator make(7);
  std::vector<Record> records;
  for (int i = 0; i < 2500; ++i) records.push_back(make.MakeRecord(names, addresses));
  for (int mode = kPlainText; mode <= kAllPhonetics; ++mode) {
    long long sqlCounts = -1;
    const Comparison seen = CompareCounts(database, records, mode, &sqlCounts);
    EXPECT_GT(seen.records, 2000);
    EXPECT_GT(seen.withHits, seen.records / 10) << "mode " << mode;
    EXPECT_EQ(sqlCounts, 0) << "every count of mode " << mode << " was made in memory";
  }
}

TEST(ListCountEngine, StatementsSqliteRefusesCountZeroAsThere) {
  testing::TempDir dir;
  const fs::path database = dir / "KESTO.adb";
  ASSERT_EQ(publish::WriteSanctionsDatabase(database, FixtureLists()), "");
  SanctionsDatabase db(database);
  // Patterns above the limit make SQLite fail the statement; a term of many words expands into more
  // alternatives than SQLite's expression depth allows.
  sqlite3_limit(db.Handle(), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 12);
  ListCountEngine engine(db);
  std::string manyWords;
  for (int i = 0; i < 1200; ++i) manyWords += "a ";
  const std::vector<std::pair<int, Record>> cases = {
      {kPlainText, {"Bank Melli Iran", "", "", ""}},
      {kPlainText, {"Bank", "", "", ""}},
      {kSdx, {"Bank " + manyWords + "Melli", "", "", ""}},
  };
  for (const auto& [mode, record] : cases) {
    SearchState state;
    state.mode = mode;
    state.terms = record;
    testing::KeysOnlyHost host;
    ASSERT_EQ(PrepareSearch(state, host), 0);
    SearchState bySql = state, inMemory = state;
    for (const ListId list : kAllLists) {
      CountList(list, bySql, db);
      engine.Count(list, inMemory);
    }
    EXPECT_EQ(inMemory.hitCounts, bySql.hitCounts) << record[0].substr(0, 20);
  }
  EXPECT_EQ(engine.SqlCounts(), 8);  // the long name and the many words, in every list
}

TEST(ListCountEngine, CountsAreSqlitesOnTheRealLists) {
  testing::TempDir dir;
  const std::optional<fs::path> database = testing::BuildRealListRelease(dir / "release");
  if (!database) GTEST_SKIP() << "the real list files are not in " << testing::RealListsFolder();
  std::vector<std::string> names, addresses;
  ReadListValues(*database, names, addresses);
  Generator make(11);
  std::vector<Record> records;
  for (int i = 0; i < 150; ++i) records.push_back(make.MakeRecord(names, addresses));
  for (int mode = kPlainText; mode <= kAllPhonetics; ++mode) {
    const Comparison seen = CompareCounts(*database, records, mode);
    EXPECT_GT(seen.withHits, seen.records / 20) << "mode " << mode;
  }
}

}  // namespace
}  // namespace vmk::screening
