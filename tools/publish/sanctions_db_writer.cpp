#include "publish/sanctions_db_writer.h"

#include <sqlite3.h>

#include <memory>
#include <system_error>

#include "screening/double_metaphone.h"
#include "screening/search_keys.h"
#include "text/cp1252.h"
#include "text/sql_text.h"

namespace vmk::publish {
namespace {

using screening::ColumnInfo;
using screening::KeyKind;
using screening::ListSchema;

struct DbCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementCloser {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Db = std::unique_ptr<sqlite3, DbCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

std::string JoinKeys(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!out.empty()) out += ' ';
    out += part;
  }
  return out;
}

std::string Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK) return {};
  std::string message = error != nullptr ? error : "unknown error";
  sqlite3_free(error);
  return message + " in: " + sql.substr(0, 200);
}

std::string CreateTableSql(const ListSchema& schema) {
  std::string sql = "CREATE TABLE " + schema.table + " (";
  for (int i = 0; i < schema.ColumnCount(); ++i) {
    if (i > 0) sql += ", ";
    sql += "\"" + schema.columns[static_cast<std::size_t>(i)].name + "\" TEXT";
  }
  return sql + ")";
}

std::string InsertSql(const ListSchema& schema) {
  std::string sql = "INSERT INTO " + schema.table + " VALUES (";
  for (int i = 0; i < schema.ColumnCount(); ++i) sql += i > 0 ? ",?" : "?";
  return sql + ")";
}

// The value a row stores at one position: given by the entry, computed for a key column, else "".
std::optional<std::string> ValueAt(const ListSchema& schema, const ListEntry& entry, int position) {
  const ColumnInfo& column = schema.columns[static_cast<std::size_t>(position)];
  if (auto given = entry.values.find(column.name); given != entry.values.end()) return given->second;
  if (column.key == KeyKind::None) return std::string();
  std::vector<std::string> sources;
  for (int source : column.keySources) {
    const auto it = entry.values.find(schema.columns[static_cast<std::size_t>(source)].name);
    if (it != entry.values.end() && it->second) sources.push_back(*it->second);
  }
  return column.key == KeyKind::Sdx ? SdxKeyColumn(sources) : DmKeyColumn(sources);
}

std::string CheckColumns(const ListSchema& schema, const ListEntry& entry) {
  for (const auto& [name, value] : entry.values) {
    if (schema.PositionOf(name) < 0) return "table " + schema.table + " has no column " + name;
  }
  return {};
}

std::string InsertEntry(sqlite3* db, sqlite3_stmt* insert, const ListSchema& schema, const ListEntry& entry) {
  if (std::string error = CheckColumns(schema, entry); !error.empty()) return error;
  sqlite3_reset(insert);
  std::vector<std::optional<std::string>> values;
  for (int i = 0; i < schema.ColumnCount(); ++i) values.push_back(ValueAt(schema, entry, i));
  for (int i = 0; i < schema.ColumnCount(); ++i) {
    const auto& value = values[static_cast<std::size_t>(i)];
    if (value) {
      sqlite3_bind_text(insert, i + 1, value->data(), static_cast<int>(value->size()), SQLITE_TRANSIENT);
    } else {
      sqlite3_bind_null(insert, i + 1);
    }
  }
  if (sqlite3_step(insert) != SQLITE_DONE) return sqlite3_errmsg(db);
  return {};
}

std::string WriteTables(sqlite3* db, const SanctionsData& data) {
  if (std::string error = Exec(db, "BEGIN"); !error.empty()) return error;
  for (screening::ListId list : screening::kAllLists) {
    const ListSchema& schema = screening::Schema(list);
    if (std::string error = Exec(db, CreateTableSql(schema)); !error.empty()) return error;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, InsertSql(schema).c_str(), -1, &raw, nullptr) != SQLITE_OK) {
      sqlite3_finalize(raw);
      return sqlite3_errmsg(db);
    }
    Statement insert(raw);
    for (const ListEntry& entry : data.entries) {
      if (entry.list != list) continue;
      if (std::string error = InsertEntry(db, raw, schema, entry); !error.empty()) return error;
    }
  }
  if (std::string error = Exec(db, "CREATE TABLE DBDate (ListDate TEXT)"); !error.empty()) return error;
  for (const std::string& date : data.dates) {
    const std::string sql = "INSERT INTO DBDate VALUES ('" + text::EscapeSqlValue(date) + "')";
    if (std::string error = Exec(db, sql); !error.empty()) return error;
  }
  return Exec(db, "COMMIT");
}

}  // namespace

std::string SdxKeyColumn(const std::vector<std::string>& sources) {
  std::vector<std::string> parts;
  for (const std::string& text : sources) parts.push_back(text::TrimBlanks(screening::TermSdxKey(text)));
  return JoinKeys(parts);
}

std::string DmKeyColumn(const std::vector<std::string>& sources) {
  std::vector<std::string> parts;
  for (const std::string& text : sources) {
    if (text::TrimBlanks(text).empty()) continue;
    parts.push_back(screening::DoubleMetaphone(text).primary);
    parts.push_back(text::TrimBlanks(screening::WordwiseDmKey(text)));
  }
  return JoinKeys(parts);
}

std::string WriteSanctionsDatabase(const std::filesystem::path& file, const SanctionsData& data) {
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  Db db(raw);
  if (rc != SQLITE_OK) return "cannot create " + file.string();
  std::string error = WriteTables(raw, data);
  db.reset();
  if (!error.empty()) std::filesystem::remove(file, ignored);
  return error;
}

}  // namespace vmk::publish
