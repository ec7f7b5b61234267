// The list search's counting without a table scan per record: the count query of each record is read
// back into its condition and evaluated on the list columns held in memory, starting from the rows an
// index names for the most selective alternative. Its counts are SQLite's for the same statement; a
// statement it cannot evaluate the same way (see Count) goes to SQLite.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "screening/list_columns.h"
#include "screening/sanctions_db.h"
#include "screening/sanctions_schema.h"
#include "screening/search_state.h"

namespace vmk::screening {

class ListCountEngine {
 public:
  // Loads the columns the count queries read from every list table of the open database.
  explicit ListCountEngine(SanctionsDatabase& database);
  ListCountEngine(const ListCountEngine&) = delete;
  ListCountEngine& operator=(const ListCountEngine&) = delete;

  // As CountList: builds the list's count query for the state (completing its key pairs where the
  // query does), sets the list's hit count and returns it. SQLite counts instead when the list could
  // not be loaded, or the statement has another form, names a column not loaded, or exceeds one of
  // SQLite's limits (pattern length, expression depth), so its failure stays a failure.
  int Count(ListId list, SearchState& state);

  // How many counts went to SQLite so far.
  long long SqlCounts() const { return sqlCounts_; }

 private:
  std::optional<int> CountInMemory(ListId list, const std::string& statement) const;

  SanctionsDatabase& database_;
  std::array<std::optional<ListColumns>, 4> lists_;
  int patternLimit_ = 0;
  long long sqlCounts_ = 0;
};

}  // namespace vmk::screening
