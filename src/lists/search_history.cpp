#include "lists/search_history.h"

#include <sqlite3.h>

#include <fstream>
#include <memory>
#include <system_error>
#include <vector>

#include "log/messages.h"
#include "text/date_mask.h"
#include "text/sql_text.h"

namespace vmk::lists {
namespace {

struct Closer {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Connection = std::unique_ptr<sqlite3, Closer>;

constexpr const char* kColumns =
    "Datum LONG, Suche1 TEXT, Suche2 TEXT, Suche3 TEXT, Suche4 TEXT, Treffer1 CHAR(5), Treffer2 CHAR(5), "
    "Treffer3 CHAR(5), Treffer4 CHAR(5), Listendatum1 TEXT, Listendatum2 TEXT, Listendatum3 TEXT, "
    "Listendatum4 TEXT, PDFLink TEXT";

// The statement head, then every value as a string literal joined by "','".
std::string InsertStatement(const char* head, const std::vector<std::string>& values) {
  std::string statement = head;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) statement += "','";
    statement += text::EscapeSqlValue(values[i]);
  }
  return statement + "')";
}

HistoryResult Execute(const std::filesystem::path& file, const std::string& statement) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  Connection db(raw);
  if (rc != SQLITE_OK) {
    return {HistoryResult::Stage::OpenFailed, raw != nullptr ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)};
  }
  sqlite3_busy_timeout(raw, 20000);
  char* error = nullptr;
  if (sqlite3_exec(raw, statement.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    HistoryResult result{HistoryResult::Stage::InsertFailed, error != nullptr ? error : sqlite3_errmsg(raw)};
    sqlite3_free(error);
    return result;
  }
  return {};
}

std::string Now(const platform::Clock& clock) {
  return std::to_string(text::WallSeconds(clock.Now()));
}

}  // namespace

void CreateHistoryDatabase(const std::filesystem::path& file, log::RunLog& runLog) {
  std::error_code error;
  if (std::filesystem::exists(file, error)) return;
  std::ofstream(file, std::ios::binary);
  sqlite3* raw = nullptr;
  sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  Connection db(raw);
  log::ExecuteLogged(raw, std::string("CREATE TABLE History (") + kColumns + ")", 0, runLog);
}

HistoryResult RecordSingleSearch(const std::filesystem::path& file, const SingleSearchRecord& record,
                                 const platform::Clock& clock) {
  std::vector<std::string> values = {Now(clock)};
  values.insert(values.end(), record.terms.begin(), record.terms.end());
  for (int hits : record.hitCounts) values.push_back(std::to_string(hits));
  values.insert(values.end(), record.listDates.begin(), record.listDates.end());
  values.push_back(record.pdfPath);
  return Execute(file,
                 InsertStatement("INSERT INTO History (Datum,Suche1,Suche2,Suche3,Suche4,Treffer1,Treffer2,"
                                 "Treffer3,Treffer4,Listendatum1,Listendatum2,Listendatum3,Listendatum4,"
                                 "PDFLink) VALUES ('",
                                 values));
}

HistoryResult RecordListSearch(const std::filesystem::path& file, const std::string& pdfPath,
                               const std::string& listSearchText, const platform::Clock& clock) {
  return Execute(file, InsertStatement("INSERT INTO History (Datum,Suche1,PDFLink) VALUES ('",
                                       {Now(clock), listSearchText, pdfPath}));
}

}  // namespace vmk::lists
