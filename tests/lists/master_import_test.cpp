#include "lists/master_import.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>

#include "lists/master_store.h"
#include "support/test_support.h"
#include "text/cp1252.h"

namespace vmk::lists {

// Readable records in test failures.
void PrintTo(const MasterRecord& r, std::ostream* out) {
  *out << "{" << r.id << "|" << r.name1 << "|" << r.name2 << "|" << r.address1 << "|" << r.address2 << "}";
}

namespace {

using testing::FakeClock;
using testing::TempDir;
using testing::WriteFile;
using text::Win1252;

TEST(ImportLineTest, CleaningBlanksPunctuationAndDropsQuotes) {
  const struct {
    std::string line, cleaned;
  } cases[] = {
      {"O'Brien", "OBrien"},
      {"\"Bank-Melli\"", "Bank Melli"},
      {"a!#$%&()*+,-./b", "a             b"},  // 33 to 47 without the two quotes: 13 blanks
      {"<=>?[\\]^_`", "          "},
      {"09:;@AZaz{|}~ \t", "09:;@AZaz{|}~ \t"},
      {Win1252("Müller Straße ¿€"), Win1252("Müller Straße ¿€")},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(CleanImportLine(c.line), c.cleaned) << c.line;
}

TEST(ImportLineTest, SplitsBothFormats) {
  const struct {
    std::string line;
    bool unattended;
    MasterRecord record;
  } cases[] = {
      {"Muster GmbH;;Hauptstr. 1;Berlin", false, {"", "Muster GmbH", "", "Hauptstr  1", "Berlin"}},
      {"Schmidt AG", false, {"", "Schmidt AG", "", "", ""}},
      {"A;B;C;D;E;F", false, {"", "A", "B", "C", "D E F"}},
      {"", false, {}},
      {" A ; B ;;", false, {"", " A ", " B ", "", ""}},
      {"4711;Muster GmbH;;Hauptstr. 1;Berlin", true, {"4711", "Muster GmbH", "", "Hauptstr  1", "Berlin"}},
      {"4711", true, {"4711", "", "", "", ""}},
      {"1;A;B;C;D;E", true, {"1", "A", "B", "C", "D E"}},
      {"", true, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitImportLine(CleanImportLine(c.line), c.unattended), c.record) << c.line;
  }
}

// The store's rows as "ID|Name1|Name2|Address1|Address2|Datum|storage type of Datum"; NULL shows as "<null>".
std::vector<std::string> StoredRows(const std::filesystem::path& programDirectory) {
  sqlite3* db = nullptr;
  sqlite3_open((programDirectory / kMasterStoreFile).c_str(), &db);
  sqlite3_stmt* statement = nullptr;
  std::vector<std::string> rows;
  if (sqlite3_prepare_v2(db, "SELECT *, typeof(Datum) FROM Stammdaten ORDER BY rowid", -1, &statement,
                         nullptr) == SQLITE_OK) {
    while (sqlite3_step(statement) == SQLITE_ROW) {
      std::string row;
      for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
        const int size = sqlite3_column_bytes(statement, i);
        row += (i > 0 ? "|" : "") + (value != nullptr ? std::string(value, size) : std::string("<null>"));
      }
      rows.push_back(row);
    }
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return rows;
}

class MasterImportTest : public ::testing::Test {
 protected:
  ImportResult Import(const std::string& bytes, bool unattended = false) {
    WriteFile(file_, bytes);
    return ImportFile(unattended);
  }
  ImportResult ImportFile(bool unattended = false) {
    return ImportMasterFile(
        dir_.path(), file_, unattended, clock_, runLog_,
        [this](long long line, long long total) {
          progress_.push_back({line, total});
          if (onProgress_) onProgress_(line);
        },
        [this](const std::string& error) { errors_.push_back(error); });
  }
  // The ending of a stored row: Datum as the clock's wall seconds, stored as an integer.
  std::string Stamp() const { return "|" + std::to_string(text::WallSeconds(clock_.now)) + "|integer"; }

  TempDir dir_, inputDir_;
  std::filesystem::path file_ = inputDir_ / "kunden.csv";
  FakeClock clock_;
  log::RunLog runLog_{clock_};
  std::vector<std::pair<long long, long long>> progress_;
  std::function<void(long long)> onProgress_;
  std::vector<std::string> errors_;
};

TEST_F(MasterImportTest, EveryLineEndingGivesOneRecordPerLine) {
  const struct {
    std::string bytes;
    std::vector<std::string> names;
  } cases[] = {
      {"A\r\nB\r\n", {"A", "B"}},
      {"A\nB\n", {"A", "B"}},
      {"A\nB", {"A", "B"}},
      {"A\r\n\r\nB", {"A", "", "B"}},
      {"A\n\nB\n", {"A", "", "B"}},
      {"\n", {""}},
      {"", {}},
  };
  for (const auto& c : cases) {
    progress_.clear();
    const ImportResult result = Import(c.bytes);
    const auto rows = StoredRows(dir_.path());
    ASSERT_EQ(rows.size(), c.names.size()) << c.bytes;
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i], "|" + c.names[i] + "|||" + Stamp());
    const auto n = static_cast<long long>(c.names.size());
    EXPECT_EQ(result.total, n);
    EXPECT_EQ(result.linesRead, n);
    ASSERT_EQ(progress_.size(), c.names.size());
    for (long long k = 1; k <= n; ++k) EXPECT_EQ(progress_[k - 1], std::make_pair(k, n));
  }
  EXPECT_TRUE(errors_.empty());
}

TEST_F(MasterImportTest, StoresCleanedFieldsOfBothFormats) {
  const std::string line = Win1252("O'Brien;Bank-Melli;Hauptstr. 1;Berlin;Mitte;Süd\r\n");
  Import(line);
  EXPECT_EQ(StoredRows(dir_.path()), std::vector<std::string>{"|OBrien|Bank Melli|Hauptstr  1|" +
                                                              Win1252("Berlin Mitte Süd") + Stamp()});

  Import("4711;" + line, true);
  EXPECT_EQ(StoredRows(dir_.path()), std::vector<std::string>{"4711|OBrien|Bank Melli|Hauptstr  1|" +
                                                              Win1252("Berlin Mitte Süd") + Stamp()});
}

TEST_F(MasterImportTest, EachImportReplacesTheStore) {
  Import("Erster\nZweiter\n");
  Import("Dritter\n");
  EXPECT_EQ(StoredRows(dir_.path()), std::vector<std::string>{"|Dritter|||" + Stamp()});
}

TEST_F(MasterImportTest, LongLinesAndManyFieldsAreStoredWhole) {
  const std::string longName(1 << 20, 'x');
  std::string manyFields = "N1;N2;A1";
  for (int i = 4; i <= 10000; ++i) manyFields += ";f";
  Import(longName + "\n" + manyFields + "\n");

  std::string address2 = "f";
  for (int i = 5; i <= 10000; ++i) address2 += " f";
  EXPECT_EQ(StoredRows(dir_.path()),
            (std::vector<std::string>{"|" + longName + "|||" + Stamp(), "|N1|N2|A1|" + address2 + Stamp()}));
}

TEST_F(MasterImportTest, ALineTheDatabaseRefusesIsReportedAndSkipped) {
  // A NUL byte ends the statement text inside a quoted value, which SQLite refuses.
  const ImportResult result = Import(std::string("Erster\nZwei\0ter\nDritter\n", 24));
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_NE(errors_[0].find("unrecognized token"), std::string::npos) << errors_[0];
  EXPECT_EQ(result.rejected, 1);
  EXPECT_EQ(StoredRows(dir_.path()),
            (std::vector<std::string>{"|Erster|||" + Stamp(), "|Dritter|||" + Stamp()}));
  EXPECT_EQ(progress_.back(), std::make_pair(3LL, 3LL));
}

TEST_F(MasterImportTest, AMissingFileLeavesAnEmptyStore) {
  WriteFile(file_, "Alt\n");
  ImportFile();
  std::filesystem::remove(file_);
  const ImportResult result = ImportFile();
  EXPECT_FALSE(result.fileOpened);
  EXPECT_EQ(result.total, 0);
  EXPECT_EQ(CountMasterRecords(dir_.path()).count, 0);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(MasterImportTest, AStoreThatCannotBeCreatedIsReportedOnce) {
  WriteFile(file_, "A\nB\n");
  const ImportResult result = ImportMasterFile(dir_ / "missing-folder", file_, false, clock_, runLog_, {},
                                               [this](const std::string& e) { errors_.push_back(e); });
  EXPECT_EQ(errors_.size(), 1u);
  EXPECT_FALSE(result.storeError.empty());
  EXPECT_EQ(result.linesRead, 0);
}

TEST_F(MasterImportTest, AFileCutShortWhileReadEndsWithTheRecordsReadSoFar) {
  std::string bytes;
  for (int i = 0; i < 100000; ++i) bytes += "Kunde " + std::to_string(i) + ";;Weg;Ort\n";
  WriteFile(file_, bytes);
  onProgress_ = [this](long long line) {
    if (line == 1) std::filesystem::resize_file(file_, 0);
  };
  const ImportResult result = ImportFile();
  EXPECT_EQ(result.total, 100000);
  EXPECT_GT(result.linesRead, 0);
  EXPECT_LT(result.linesRead, result.total);
  EXPECT_EQ(CountMasterRecords(dir_.path()).count, result.linesRead);
}

TEST_F(MasterImportTest, AHundredThousandLinesTakeWellUnderAFewSeconds) {
  std::string bytes;
  for (int i = 0; i < 100000; ++i)
    bytes += "Kunde " + std::to_string(i) + " GmbH;Abteilung;Hauptstr. 1;Berlin\r\n";
  WriteFile(file_, bytes);
  const auto start = std::chrono::steady_clock::now();
  ImportFile();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(CountMasterRecords(dir_.path()).count, 100000);
}

}  // namespace
}  // namespace vmk::lists
