#include "screening/list_count.h"

#include <sqlite3.h>

#include "screening/list_queries.h"

namespace vmk::screening {

// SQLite counts the rows of the statement itself, without handing each row's values over.
int CountStatementRows(SanctionsDatabase& database, const std::string& statement) {
  sqlite3_stmt* prepared = nullptr;
  const std::string counting = "SELECT COUNT(*) FROM (" + statement + ")";
  int count = 0;
  if (sqlite3_prepare_v2(database.Handle(), counting.c_str(), -1, &prepared, nullptr) == SQLITE_OK &&
      sqlite3_step(prepared) == SQLITE_ROW) {
    count = sqlite3_column_int(prepared, 0);
  }
  sqlite3_finalize(prepared);
  return count;
}

int CountList(ListId list, SearchState& state, SanctionsDatabase& database) {
  const std::optional<std::string> statement = BuildCountQuery(list, state.mode, state);
  const int count = statement && database.IsOpen() ? CountStatementRows(database, *statement) : 0;
  state.hitCounts[static_cast<std::size_t>(Index(list))] = count;
  return count;
}

}  // namespace vmk::screening
