// The PDF report of a list search: for whom, with which phonetic mode and list versions, the screened
// records that matched a list, then every screened record with its four hit counts.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/clock.h"
#include "reports/report_parts.h"

namespace vmk::reports {

// One screened record: its four search terms (Windows-1252) and its hit count in EU, UN, UK and US.
struct ListSearchResultRow {
  std::array<std::string, 4> terms;
  std::array<int, 4> hits{};
};

// Streams the rows of one result query to `row`, in the order the query returns them; false when the
// query failed (the chapter then keeps its title, bookmark and heading row only). Rows are streamed so
// a run over a million records is never held in memory at once.
using ResultRowSource = std::function<bool(const std::function<void(const ListSearchResultRow&)>& row)>;

struct ListSearchReportInput {
  int mode = 0;                               // phonetic mode 0..3
  std::array<std::string, 4> listDateLabels;  // "Datenbank vom   : <date>" per list
  std::array<std::string, 6> person;          // company, addition, street, postcode, town, e-mail
  std::filesystem::path saveFolder;
  std::filesystem::path logoFile;
  ResultRowSource hitRows;  // the records with at least one hit
  ResultRowSource allRows;  // every screened record
};

// Writes "KESTO_LS_<moment>.pdf" into the save folder; when that name is taken, "-2", "-3", ... is added
// before ".pdf". Only writes the file: status texts, opening it and the history row are the caller's.
// `log` receives the progress texts of the run log.
WrittenReport WriteListSearchReport(const ListSearchReportInput& input, const platform::Clock& clock,
                                    const std::function<void(const std::string&)>& log);

}  // namespace vmk::reports
