// The results of a list search: the table ListResult in the working copy, one row per screened record
// with its terms and the hit counts of the four lists, and the master records it screens.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "screening/sanctions_db.h"

namespace vmk::lists {

struct ListResultEntry {
  std::array<std::string, 4> terms;
  std::array<int, 4> hits{};
  bool AnyHit() const { return hits[0] > 0 || hits[1] > 0 || hits[2] > 0 || hits[3] > 0; }
};

// Drops an earlier ListResult (its absence is no error) and creates it anew; the working copy is a
// throw-away file, so its writes skip the disk syncs.
bool CreateListResultTable(screening::SanctionsDatabase& database);
bool InsertListResult(screening::SanctionsDatabase& database, const ListResultEntry& entry);
// Every row, or with hitsOnly those with at least one hit, in the order SQLite returns them.
bool ReadListResults(screening::SanctionsDatabase& database, bool hitsOnly,
                     const std::function<void(const ListResultEntry&)>& visit);

// The master records as "SELECT * From Stammdaten" returns them: Name1, Name2, Address1, Address2, until
// the visitor returns false. False with the database's error text when the store cannot be read.
bool ReadMasterRecords(const std::filesystem::path& programDirectory,
                       const std::function<bool(const std::array<std::string, 4>&)>& visit,
                       std::string& error);
// "DELETE FROM Stammdaten".
bool EmptyMasterStore(const std::filesystem::path& programDirectory);

}  // namespace vmk::lists
