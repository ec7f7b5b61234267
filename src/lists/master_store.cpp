#include "lists/master_store.h"

#include <sqlite3.h>

#include <fstream>
#include <memory>
#include <system_error>

#include "log/messages.h"

namespace vmk::lists {

namespace {

namespace fs = std::filesystem;

struct CloseConnection {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Connection = std::unique_ptr<sqlite3, CloseConnection>;

bool IsMissingOrEmpty(const fs::path& file) {
  std::error_code error;
  const auto size = fs::file_size(file, error);
  return error || size == 0;
}

}  // namespace

void CreateMasterStore(const fs::path& programDirectory, log::RunLog& runLog) {
  const fs::path file = programDirectory / kMasterStoreFile;
  if (!IsMissingOrEmpty(file)) return;
  std::ofstream(file, std::ios::binary | std::ios::trunc);
  sqlite3* raw = nullptr;
  sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  Connection db(raw);
  log::ExecuteLogged(raw,
                     "CREATE TABLE Stammdaten (ID TEXT,Name1 TEXT,Name2 TEXT,Address1 TEXT,Address2 TEXT,"
                     "Datum LONG)",
                     0, runLog);
}

MasterCount CountMasterRecords(const fs::path& programDirectory) {
  const fs::path file = programDirectory / kMasterStoreFile;
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  Connection db(raw);
  MasterCount result;
  if (opened != SQLITE_OK) {
    result.openFailed = true;
    result.error = raw != nullptr ? sqlite3_errmsg(raw) : sqlite3_errstr(opened);
    return result;
  }
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(raw, "SELECT COUNT(*) FROM Stammdaten", -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    result.count = sqlite3_column_int64(statement, 0);
  } else {
    result.error = sqlite3_errmsg(raw);
  }
  sqlite3_finalize(statement);
  return result;
}

}  // namespace vmk::lists
