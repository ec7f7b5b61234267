// The PDF report of a single search: for whom, when, with which terms and phonetic mode, against which
// list versions, and what each of the four lists returned.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "reports/report_parts.h"

namespace vmk::reports {

// One row of a hit report: the label and the value columns.
struct ReportRow {
  std::string label;
  std::vector<std::string> values;
};

struct SingleSearchReportInput {
  std::array<std::string, 4> terms;
  int mode = 0;
  std::array<int, 4> hitCounts{};
  std::array<std::string, 4> listDateLabels;  // "Datenbank vom   : <date>" per list
  std::array<std::vector<ReportRow>, 4> hitReports;
  std::array<std::string, 6> person;  // company, addition, street, postcode, town, e-mail
  std::filesystem::path saveFolder;
  std::filesystem::path logoFile;
};

// The value columns joined, each text taken followed by ",", empty ones skipped.
std::string JoinRowValues(const std::vector<std::string>& values);

// Writes "VMK_ES_<moment>.pdf" into the save folder; when that name is taken, "-2", "-3", ... is added
// before ".pdf" so no earlier report is replaced. `log` receives the progress texts of the run log.
WrittenReport WriteSingleSearchReport(const SingleSearchReportInput& input, const platform::Clock& clock,
                                      const std::function<void(const std::string&)>& log);

}  // namespace vmk::reports
