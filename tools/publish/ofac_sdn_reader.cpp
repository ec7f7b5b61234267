// Reads the three OFAC SDN CSV files (names, alternate names, addresses; no header, "-0-" for an empty
// field) into rows of the US table: one row for the SDN name and one per alternate name.
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "publish/csv_file.h"
#include "publish/list_reader.h"
#include "text/cp1252.h"

namespace vmk::publish {
namespace {

namespace fs = std::filesystem;

// The list's name, as the consolidated screening list names the same source.
constexpr const char* kSource = "Specially Designated Nationals (SDN) - Treasury Department";

std::string Field(const CsvRow& row, std::size_t index) {
  if (index >= row.cells.size()) return "";
  std::string value = text::TrimBlanks(row.cells[index]);
  return value == "-0-" ? std::string() : value;
}

bool IsNumber(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// Reads one of the files and checks that every row starts with an entity number and has its fields.
std::string ReadRows(const fs::path& file, std::size_t fields, std::vector<CsvRow>& rows) {
  CsvContent csv = ReadCsvFile(file, {','});
  if (!csv.error.empty()) return csv.error;
  for (const CsvRow& row : csv.rows) {
    if (row.cells.size() < fields || !IsNumber(Field(row, 0))) {
      return ListFileError(file, row.line,
                           "not an OFAC SDN file (" + std::to_string(fields) +
                               " fields starting with the entity number expected)");
    }
  }
  rows = std::move(csv.rows);
  return "";
}

// Every address of an entity in the address columns of each of its rows, so any alias is found
// together with any address.
class Addresses {
 public:
  void Add(const CsvRow& row) {
    AddTo("AddressNumber", Field(row, 1));
    AddTo("Address", Field(row, 2));
    AddTo("City", Field(row, 3));
    AddTo("Country", Field(row, 4));
    AddTo("AddressRemarks", Field(row, 5));
  }
  void WriteTo(ListEntry& entry) const {
    for (const char* column : {"AddressNumber", "Address", "City", "Country", "AddressRemarks"}) {
      const auto it = columns_.find(column);
      entry.values[column] = it == columns_.end() ? "" : it->second;
    }
  }

 private:
  void AddTo(const std::string& column, const std::string& value) {
    if (value.empty()) return;
    std::string& text = columns_[column];
    text += (text.empty() ? "" : "; ") + value;
  }
  std::map<std::string, std::string> columns_;
};

ListEntry NameRow(const CsvRow& sdn) {
  ListEntry entry{screening::ListId::US, {}};
  for (const auto& column : screening::Schema(screening::ListId::US).columns) {
    if (column.key == screening::KeyKind::None) entry.values[column.name] = "";
  }
  entry.values["Source"] = kSource;
  const char* const columns[] = {"EntityNumber", "Name",       "SDNType", "Programs",          "Title",
                                 "CallSign",     "VesselType", "Tonnage", "RegisteredTonnage", "VesselFlag",
                                 "VesselOwner",  "Remarks"};
  for (std::size_t i = 0; i < std::size(columns); ++i) entry.values[columns[i]] = Field(sdn, i);
  return entry;
}

}  // namespace

ListRead ReadOfacSdnCsv(const fs::path& sdn, const fs::path& alt, const fs::path& add) {
  std::vector<CsvRow> names, alternates, addresses;
  std::string error = ReadRows(sdn, 12, names);
  if (error.empty()) error = ReadRows(alt, 5, alternates);
  if (error.empty()) error = ReadRows(add, 6, addresses);
  if (!error.empty()) return {{}, "-", error};

  std::map<std::string, Addresses> addressesOf;
  for (const CsvRow& row : addresses) addressesOf[Field(row, 0)].Add(row);
  std::multimap<std::string, const CsvRow*> alternatesOf;
  for (const CsvRow& row : alternates) alternatesOf.emplace(Field(row, 0), &row);

  ListRead read;
  for (const CsvRow& row : names) {
    const std::string number = Field(row, 0);
    ListEntry entry = NameRow(row);
    if (const auto it = addressesOf.find(number); it != addressesOf.end()) it->second.WriteTo(entry);
    read.entries.push_back(entry);
    for (auto [it, end] = alternatesOf.equal_range(number); it != end; ++it) {
      ListEntry alias = entry;
      alias.values["AlternateNumber"] = Field(*it->second, 1);
      alias.values["AlternateType"] = Field(*it->second, 2);
      alias.values["AlternateName"] = Field(*it->second, 3);
      alias.values["AlternateRemarks"] = Field(*it->second, 4);
      read.entries.push_back(std::move(alias));
    }
  }
  return read;
}

}  // namespace vmk::publish
