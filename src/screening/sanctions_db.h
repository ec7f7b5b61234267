// Access to the working copy KESTO.adb: opening it as the searches do, running one SELECT * statement
// with every value read as text by position, and reading the list dates.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct sqlite3;

namespace vmk::screening {

inline constexpr const char* kWorkingCopyName = "KESTO.adb";
inline constexpr const char* kPackName = "KE2DB.pak";
inline constexpr const char* kPackEntryName = "Kesto.pak";

using Row = std::vector<std::string>;

class SanctionsDatabase {
 public:
  // Opens an existing file read-write without creating it, busy timeout 20 000 ms. Check IsOpen().
  explicit SanctionsDatabase(const std::filesystem::path& file);
  ~SanctionsDatabase();
  SanctionsDatabase(const SanctionsDatabase&) = delete;
  SanctionsDatabase& operator=(const SanctionsDatabase&) = delete;

  bool IsOpen() const { return db_ != nullptr; }
  sqlite3* Handle() const { return db_; }
  // Runs the statement and hands every row to the visitor, values by position, NULL as the empty
  // text. False when the statement fails to prepare or to run to its end.
  bool Query(const std::string& statement, const std::function<void(const Row&)>& visitor);
  std::string LastError() const;

 private:
  sqlite3* db_ = nullptr;
};

// The display texts of the EU, UN, UK and US list dates: position 0 of the first four rows of DBDate,
// in stored order. Rows that are missing give empty texts.
std::array<std::string, 4> ReadListDates(SanctionsDatabase& database);

}  // namespace vmk::screening
