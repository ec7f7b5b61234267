#include "lists/list_result.h"

#include <sqlite3.h>

#include <charconv>
#include <memory>

#include "lists/master_store.h"
#include "text/sql_text.h"

namespace vmk::lists {

namespace {

namespace fs = std::filesystem;

struct CloseConnection {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Connection = std::unique_ptr<sqlite3, CloseConnection>;

int Number(const std::string& text) {
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

Connection OpenMasterStore(const fs::path& programDirectory) {
  sqlite3* raw = nullptr;
  const int opened =
      sqlite3_open_v2((programDirectory / kMasterStoreFile).c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  Connection db(raw);
  if (opened == SQLITE_OK) sqlite3_busy_timeout(raw, 20000);
  return db;
}

}  // namespace

bool CreateListResultTable(screening::SanctionsDatabase& database) {
  database.Query("PRAGMA synchronous = OFF", [](const screening::Row&) {});
  database.Query("DROP TABLE ListResult", [](const screening::Row&) {});
  return database.Query(
      "CREATE TABLE ListResult (Such1 TEXT, Such2 TEXT, Such3 TEXT, Such4 TEXT, Treff1 INT(5), Treff2 "
      "INT(5), "
      "Treff3 INT(5), Treff4 INT(5))",
      [](const screening::Row&) {});
}

bool InsertListResult(screening::SanctionsDatabase& database, const ListResultEntry& entry) {
  std::string statement = "INSERT INTO ListResult VALUES ('";
  for (std::size_t i = 0; i < 4; ++i)
    statement += (i > 0 ? "','" : "") + text::EscapeSqlValue(entry.terms[i]);
  statement += "',";
  for (std::size_t i = 0; i < 4; ++i) statement += (i > 0 ? "," : "") + std::to_string(entry.hits[i]);
  statement += ")";
  return database.Query(statement, [](const screening::Row&) {});
}

bool ReadListResults(screening::SanctionsDatabase& database, bool hitsOnly,
                     const std::function<void(const ListResultEntry&)>& visit) {
  const char* statement =
      hitsOnly ? "SELECT * FROM ListResult WHERE Treff1>0 OR Treff2 > 0 OR Treff3>0 OR Treff4>0"
               : "SELECT * FROM ListResult";
  return database.Query(statement, [&](const screening::Row& row) {
    ListResultEntry entry;
    for (std::size_t i = 0; i < 4 && i < row.size(); ++i) entry.terms[i] = row[i];
    for (std::size_t i = 0; i < 4 && i + 4 < row.size(); ++i) entry.hits[i] = Number(row[i + 4]);
    visit(entry);
  });
}

bool ReadMasterRecords(const fs::path& programDirectory,
                       const std::function<bool(const std::array<std::string, 4>&)>& visit,
                       std::string& error) {
  Connection db = OpenMasterStore(programDirectory);
  sqlite3_stmt* statement = nullptr;
  if (!db || sqlite3_prepare_v2(db.get(), "SELECT * From Stammdaten", -1, &statement, nullptr) != SQLITE_OK) {
    error = db ? sqlite3_errmsg(db.get()) : "out of memory";
    return false;
  }
  int step = SQLITE_ROW;
  while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
    std::array<std::string, 4> terms;
    for (int i = 0; i < 4; ++i) {
      const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(statement, i + 1));
      if (value != nullptr)
        terms[static_cast<std::size_t>(i)].assign(
            value, static_cast<std::size_t>(sqlite3_column_bytes(statement, i + 1)));
    }
    if (!visit(terms)) {
      step = SQLITE_DONE;
      break;
    }
  }
  const bool done = step == SQLITE_DONE;
  if (!done) error = sqlite3_errmsg(db.get());
  sqlite3_finalize(statement);
  return done;
}

bool EmptyMasterStore(const fs::path& programDirectory) {
  Connection db = OpenMasterStore(programDirectory);
  return db && sqlite3_exec(db.get(), "DELETE FROM Stammdaten", nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace vmk::lists
