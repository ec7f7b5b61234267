// Reads the US Consolidated Screening List CSV (with or without the leading "_id" column) into rows of
// the US table: one row for the name and one per alternate name in "alt_names".
#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "publish/csv_file.h"
#include "publish/list_reader.h"
#include "text/cp1252.h"

namespace vmk::publish {
namespace {

// File column -> table column. The addresses come as one text ("street, city, state, postal code,
// country; ..."), which goes whole into the searched address column.
constexpr std::array<std::pair<std::string_view, std::string_view>, 20> kColumns = {{
    {"source", "Source"},
    {"entity_number", "EntityNumber"},
    {"type", "SDNType"},
    {"programs", "Programs"},
    {"name", "Name"},
    {"title", "Title"},
    {"addresses", "Address"},
    {"federal_register_notice", "FRNotice"},
    {"start_date", "EffectiveDate"},
    {"end_date", "Expired"},
    {"standard_order", "StandardOrder"},
    {"license_requirement", "LicenseRequired"},
    {"license_policy", "LicensePolicy"},
    {"call_sign", "CallSign"},
    {"vessel_type", "VesselType"},
    {"gross_tonnage", "Tonnage"},
    {"gross_registered_tonnage", "RegisteredTonnage"},
    {"vessel_flag", "VesselFlag"},
    {"vessel_owner", "VesselOwner"},
    {"remarks", "Remarks"},
}};

std::vector<std::string_view> RequiredColumns() {
  std::vector<std::string_view> names = {"alt_names", "source_information_url"};
  for (const auto& [source, column] : kColumns) names.push_back(source);
  return names;
}

std::vector<std::string> AlternateNames(const std::string& list) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(';', start), list.size());
    std::string name = text::TrimBlanks(list.substr(start, end - start));
    if (!name.empty()) names.push_back(std::move(name));
    start = end + 1;
  }
  return names;
}

void AppendRows(const CsvHeader& header, const CsvRow& row, std::vector<ListEntry>& entries) {
  ListEntry entry{screening::ListId::US, {}};
  for (const auto& column : screening::Schema(screening::ListId::US).columns) {
    if (column.key == screening::KeyKind::None) entry.values[column.name] = "";
  }
  for (const auto& [source, column] : kColumns) entry.values[std::string(column)] = header.Cell(row, source);
  std::string link = header.Cell(row, "source_information_url");
  entry.values["WebLink"] = link.empty() ? header.Cell(row, "source_list_url") : link;
  entries.push_back(entry);
  for (std::string& alias : AlternateNames(header.Cell(row, "alt_names"))) {
    entry.values["AlternateName"] = std::move(alias);
    entries.push_back(entry);
  }
}

}  // namespace

ListRead ReadUsConsolidatedScreeningCsv(const std::filesystem::path& file) {
  CsvOptions options;
  options.cutLastRowDropped = true;  // the published file may end inside its last row
  const CsvContent csv = ReadCsvFile(file, options);
  if (!csv.error.empty()) return {{}, "-", csv.error};
  const CsvRow& names = csv.rows.front();
  const CsvHeader header(names.cells);
  if (!header.Has("source") || !header.Has("entity_number")) {
    return {
        {},
        "-",
        ListFileError(file, names.line,
                      "not a consolidated screening list (columns \"source,entity_number,...\" expected)")};
  }
  if (const std::string missing = header.FirstMissing(RequiredColumns()); !missing.empty()) {
    return {{}, "-", ListFileError(file, names.line, "column \"" + missing + "\" missing")};
  }
  ListRead read;
  for (std::size_t r = 1; r < csv.rows.size(); ++r) {
    if (!header.IsRepeatedBy(csv.rows[r])) AppendRows(header, csv.rows[r], read.entries);
  }
  return read;
}

}  // namespace vmk::publish
