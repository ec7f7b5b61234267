// Reads the UK consolidated list of financial sanctions targets (OFSI CSV) into rows of the UK table;
// the file already has one row per name variant, so each row becomes one table row.
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "publish/csv_file.h"
#include "publish/list_reader.h"
#include "publish/list_text.h"
#include "text/cp1252.h"

namespace vmk::publish {
namespace {

// File column -> table column, in the order of both.
constexpr std::array<std::pair<std::string_view, std::string_view>, 29> kColumns = {{
    {"Name 6", "Name6"},
    {"Name 1", "Name1"},
    {"Name 2", "Name2"},
    {"Name 3", "Name3"},
    {"Name 4", "Name4"},
    {"Name 5", "Name5"},
    {"Title", "Title"},
    {"DOB", "BirthDate"},
    {"Town of Birth", "BirthTown"},
    {"Country of Birth", "BirthCountry"},
    {"Nationality", "Nationality"},
    {"Passport Details", "PassportDetails"},
    {"NI Number", "NINumber"},
    {"Position", "Position"},
    {"Address 1", "Address1"},
    {"Address 2", "Address2"},
    {"Address 3", "Address3"},
    {"Address 4", "Address4"},
    {"Address 5", "Address5"},
    {"Address 6", "Address6"},
    {"Post/Zip Code", "PostCode"},
    {"Country", "Country"},
    {"Other Information", "OtherInformation"},
    {"Group Type", "GroupType"},
    {"Alias Type", "AliasType"},
    {"Regime", "Regime"},
    {"Listed On", "ListedOn"},
    {"Last Updated", "LastUpdated"},
    {"Group ID", "GroupID"},
}};

bool IsDateLine(const CsvRow& row) {
  return text::ToUpper1252(text::TrimBlanks(row.cells.front())) == "LAST UPDATED";
}

std::vector<std::string_view> RequiredColumns() {
  std::vector<std::string_view> names;
  for (const auto& [source, column] : kColumns) names.push_back(source);
  return names;
}

ListEntry EntryOf(const CsvHeader& header, const CsvRow& row) {
  ListEntry entry{screening::ListId::UK, {}};
  for (const auto& [source, column] : kColumns) entry.values[std::string(column)] = header.Cell(row, source);
  return entry;
}

}  // namespace

ListRead ReadUkConsolidatedCsv(const std::filesystem::path& file) {
  ListRead read;
  CsvContent csv = ReadCsvFile(file, {','});
  if (!csv.error.empty()) return {{}, "-", csv.error};
  std::size_t next = 0;
  if (IsDateLine(csv.rows[0])) {
    read.date = csv.rows[0].cells.size() > 1 ? ListDate(text::TrimBlanks(csv.rows[0].cells[1])) : "-";
    next = 1;
  }
  if (next == csv.rows.size())
    return {{}, "-", ListFileError(file, csv.rows[0].line, "column names missing")};
  CsvRow& names = csv.rows[next];
  // Some copies of the file carry an unnamed first column that no row fills.
  if (names.cells.size() > 1 && text::TrimBlanks(names.cells.front()).empty())
    names.cells.erase(names.cells.begin());
  const CsvHeader header(names.cells);
  if (!header.Has("Name 6") || !header.Has("Group ID")) {
    return {{},
            "-",
            ListFileError(file, names.line,
                          "not a UK consolidated list (columns \"Name 6\" to \"Group ID\" expected)")};
  }
  if (const std::string missing = header.FirstMissing(RequiredColumns()); !missing.empty()) {
    return {{}, "-", ListFileError(file, names.line, "column \"" + missing + "\" missing")};
  }
  for (std::size_t r = next + 1; r < csv.rows.size(); ++r) {
    if (!header.IsRepeatedBy(csv.rows[r])) read.entries.push_back(EntryOf(header, csv.rows[r]));
  }
  return read;
}

}  // namespace vmk::publish
