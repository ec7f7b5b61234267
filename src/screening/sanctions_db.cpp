#include "screening/sanctions_db.h"

#include <sqlite3.h>

#include <memory>

namespace vmk::screening {
namespace {

struct StatementCloser {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

}  // namespace

SanctionsDatabase::SanctionsDatabase(const std::filesystem::path& file) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return;
  }
  sqlite3_busy_timeout(db, 20000);
  db_ = db;
}

SanctionsDatabase::~SanctionsDatabase() {
  sqlite3_close(db_);
}

bool SanctionsDatabase::Query(const std::string& statement, const std::function<void(const Row&)>& visitor) {
  if (db_ == nullptr) return false;
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_, statement.c_str(), static_cast<int>(statement.size()), &raw, nullptr) !=
      SQLITE_OK) {
    sqlite3_finalize(raw);
    return false;
  }
  std::unique_ptr<sqlite3_stmt, StatementCloser> query(raw);
  const int columns = sqlite3_column_count(raw);
  Row row(static_cast<std::size_t>(columns));
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
    for (int i = 0; i < columns; ++i) {
      const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(raw, i));
      const int size = sqlite3_column_bytes(raw, i);
      row[static_cast<std::size_t>(i)].assign(value != nullptr ? value : "", value != nullptr ? size : 0);
    }
    visitor(row);
  }
  return rc == SQLITE_DONE;
}

std::string SanctionsDatabase::LastError() const {
  return db_ != nullptr ? sqlite3_errmsg(db_) : "database not open";
}

std::array<std::string, 4> ReadListDates(SanctionsDatabase& database) {
  std::array<std::string, 4> dates;
  std::size_t index = 0;
  database.Query("SELECT * FROM DBDate", [&](const Row& row) {
    if (index < dates.size() && !row.empty()) dates[index] = row[0];
    ++index;
  });
  return dates;
}

}  // namespace vmk::screening
