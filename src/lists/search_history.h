// The search history Historie.sqlite: one row per completed screening, so a company can prove later
// what it screened, when, against which list versions, with which result, and where the report lies.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "log/run_log.h"
#include "platform/clock.h"

namespace vmk::lists {

inline constexpr const char* kHistoryFile = "Historie.sqlite";

// Creates the file with an empty History table when it does not exist; an existing file is left as it
// is. A failing statement is written to the run log.
void CreateHistoryDatabase(const std::filesystem::path& file, log::RunLog& runLog);

struct SingleSearchRecord {
  std::array<std::string, 4> terms;      // as the search used them
  std::array<int, 4> hitCounts{};        // EU, UN, UK, US
  std::array<std::string, 4> listDates;  // the displayed list-date texts
  std::string pdfPath;                   // empty when no report was written
};

// Where an insert failed, and the database's error text.
struct HistoryResult {
  enum class Stage { Written, OpenFailed, InsertFailed } stage = Stage::Written;
  std::string error;
  bool Ok() const { return stage == Stage::Written; }
};

// Each insert opens its own connection, executes one statement and closes it again.
HistoryResult RecordSingleSearch(const std::filesystem::path& file, const SingleSearchRecord& record,
                                 const platform::Clock& clock);
HistoryResult RecordListSearch(const std::filesystem::path& file, const std::string& pdfPath,
                               const std::string& listSearchText, const platform::Clock& clock);

}  // namespace vmk::lists
