// The detail query of one list run against the working copy, filling that list's hit report and hit
// count; and the same for all four lists.
#pragma once

#include <array>
#include <filesystem>

#include "log/run_log.h"
#include "screening/hit_report.h"
#include "screening/sanctions_schema.h"
#include "screening/search_state.h"

namespace vmk::screening {

using HitReports = std::array<HitReport, 4>;

// Opens the database file, runs the list's detail query for the state's mode and rebuilds the report.
// A failed query (missing file, rejected statement) gives 0 hits and an empty report.
void SearchList(ListId list, SearchState& state, const std::filesystem::path& databaseFile, HitReport& report,
                log::RunLog& runLog);
void SearchAllLists(SearchState& state, const std::filesystem::path& databaseFile, HitReports& reports,
                    log::RunLog& runLog);

// "Anzahl Treffer  :", five blanks and the count.
std::string HitCountLabel(int count);

}  // namespace vmk::screening
