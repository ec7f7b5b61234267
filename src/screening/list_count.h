// The count query of one list for the list search: how many entries of the list match the search
// state's terms in its phonetic mode, as SQLite counts them.
#pragma once

#include <string>

#include "screening/sanctions_db.h"
#include "screening/sanctions_schema.h"
#include "screening/search_state.h"

namespace vmk::screening {

// Runs the list's count query on the open database and sets the list's hit count to the number of rows
// it returns; 0 when the query cannot be built or fails.
int CountList(ListId list, SearchState& state, SanctionsDatabase& database);

// The number of rows of a SELECT statement; 0 when SQLite cannot run it.
int CountStatementRows(SanctionsDatabase& database, const std::string& statement);

}  // namespace vmk::screening
