// Reads the EU consolidated financial sanctions file (FSF CSV, semicolon-separated) into rows of the
// EU table: one row per name alias of an entity, each carrying all of the entity's other data.
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "publish/csv_file.h"
#include "publish/list_reader.h"
#include "publish/list_text.h"

namespace vmk::publish {
namespace {

// The distinct non-empty texts of one column over all rows of an entity, joined by "; ".
class Joined {
 public:
  void Add(const std::string& value) {
    if (value.empty()) return;
    for (const std::string& known : values_) {
      if (known == value) return;
    }
    values_.push_back(value);
  }
  std::string Text() const {
    std::string out;
    for (const std::string& value : values_) out += (out.empty() ? "" : "; ") + value;
    return out;
  }

 private:
  std::vector<std::string> values_;
};

std::string JoinParts(const std::vector<std::string>& parts, std::string_view separator) {
  std::string out;
  for (const std::string& part : parts) {
    if (!part.empty()) out += (out.empty() ? "" : std::string(separator)) + part;
  }
  return out;
}

struct EuAlias {
  std::string lastName, firstName, middleName, wholeName, gender, title, function, language;
};

struct EuEntity {
  std::map<std::string, Joined> columns;  // table column -> values of the entity's rows
  std::vector<EuAlias> aliases;
  std::vector<std::string> aliasKeys;
};

class EuRowReader {
 public:
  explicit EuRowReader(const CsvHeader& header) : header_(header) {}

  void AddTo(EuEntity& entity, const CsvRow& row) const {
    for (const auto& [column, value] : EntityValues(row)) entity.columns[column].Add(value);
    AddAlias(entity, row);
  }

 private:
  std::string Cell(const CsvRow& row, std::string_view name) const { return header_.Cell(row, name); }

  std::vector<std::pair<std::string, std::string>> EntityValues(const CsvRow& row) const {
    const std::string zipCity = JoinParts({Cell(row, "Address_ZipCode"), Cell(row, "Address_City")}, " ");
    const std::string birthDate = Cell(row, "BirthDate_BirthDate");
    return {
        {"EntityType", Cell(row, "Entity_SubjectType")},
        {"LegalBasis", Cell(row, "Entity_Regulation_NumberTitle")},
        {"RegDate", Cell(row, "Entity_Regulation_PublicationDate")},
        {"PdfLink", Cell(row, "Entity_Regulation_PublicationUrl")},
        {"Programme", Cell(row, "Entity_Regulation_Programme")},
        {"Remark", Cell(row, "Entity_Remark")},
        {"OfficialDocument", Cell(row, "Entity_EU_ReferenceNumber")},
        {"BirthValue", Cell(row, "BirthDate_LogicalId")},
        {"BirthDate", birthDate.empty() ? Cell(row, "BirthDate_Year") : birthDate},
        {"BirthPlace",
         JoinParts({Cell(row, "BirthDate_Place"), Cell(row, "BirthDate_City"), Cell(row, "BirthDate_Region")},
                   ", ")},
        {"BirthCountry", Cell(row, "BirthDate_CountryDescription")},
        {"AddressValue", Cell(row, "Address_LogicalId")},
        {"Address", JoinParts({Cell(row, "Address_Street"), zipCity}, ", ")},
        {"Country", Cell(row, "Address_CountryDescription")},
        {"AddrOther", JoinParts({Cell(row, "Address_PoBox"), Cell(row, "Address_Place"),
                                 Cell(row, "Address_Region"), Cell(row, "Address_ContactInfo")},
                                ", ")},
        {"PassportValue", Cell(row, "Identification_TypeDescription")},
        {"PassportNumber", Cell(row, "Identification_Number")},
        {"PassportCountry", Cell(row, "Identification_CountryDescription")},
    };
  }

  void AddAlias(EuEntity& entity, const CsvRow& row) const {
    EuAlias alias{Cell(row, "NameAlias_LastName"),   Cell(row, "NameAlias_FirstName"),
                  Cell(row, "NameAlias_MiddleName"), Cell(row, "NameAlias_WholeName"),
                  Cell(row, "NameAlias_Gender"),     Cell(row, "NameAlias_Title"),
                  Cell(row, "NameAlias_Function"),   Cell(row, "NameAlias_NameLanguage")};
    if (JoinParts({alias.lastName, alias.firstName, alias.middleName, alias.wholeName}, "").empty()) return;
    // Rows repeat an alias once for each address, birth date or document in some issues of the file.
    std::string key = Cell(row, "NameAlias_LogicalId");
    if (key.empty())
      key = alias.lastName + ";" + alias.firstName + ";" + alias.middleName + ";" + alias.wholeName;
    for (const std::string& known : entity.aliasKeys) {
      if (known == key) return;
    }
    entity.aliasKeys.push_back(key);
    entity.aliases.push_back(std::move(alias));
  }

  const CsvHeader& header_;
};

std::string PrimaryName(const EuEntity& entity) {
  if (entity.aliases.empty()) return "";
  const EuAlias& first = entity.aliases.front();
  if (!first.wholeName.empty()) return first.wholeName;
  return JoinParts({first.firstName, first.middleName, first.lastName}, " ");
}

// One table row per alias (one row without names for an entity that has none).
void AppendRows(const EuEntity& entity, std::vector<ListEntry>& entries) {
  ListEntry base{screening::ListId::EU, {}};
  for (const auto& column : screening::Schema(screening::ListId::EU).columns) {
    if (column.key == screening::KeyKind::None) base.values[column.name] = "";
  }
  for (const auto& [column, values] : entity.columns) base.values[column] = values.Text();
  base.values["Name"] = PrimaryName(entity);
  if (entity.aliases.empty()) entries.push_back(base);
  for (const EuAlias& alias : entity.aliases) {
    ListEntry entry = base;
    entry.values["LastName"] = alias.lastName;
    entry.values["FirstName"] = alias.firstName;
    entry.values["MiddleName"] = alias.middleName;
    entry.values["WholeName"] = alias.wholeName;
    entry.values["Gender"] = alias.gender;
    entry.values["Title"] = alias.title;
    entry.values["Function"] = alias.function;
    entry.values["Language"] = alias.language;
    entries.push_back(std::move(entry));
  }
}

}  // namespace

ListRead ReadEuFinancialSanctionsCsv(const std::filesystem::path& file) {
  const CsvContent csv = ReadCsvFile(file, {';'});
  if (!csv.error.empty()) return {{}, "-", csv.error};
  const CsvRow& names = csv.rows.front();
  const CsvHeader header(names.cells);
  if (!header.Has("fileGenerationDate") || !header.Has("Entity_LogicalId")) {
    return {{},
            "-",
            ListFileError(file, names.line,
                          "not an EU financial sanctions file (columns "
                          "\"fileGenerationDate;Entity_LogicalId;...\" expected)")};
  }
  const std::string missing = header.FirstMissing(
      {"NameAlias_LastName", "NameAlias_FirstName", "NameAlias_MiddleName", "NameAlias_WholeName"});
  if (!missing.empty())
    return {{}, "-", ListFileError(file, names.line, "column \"" + missing + "\" missing")};

  ListRead read;
  const EuRowReader reader(header);
  std::vector<EuEntity> entities;
  std::map<std::string, std::size_t> indexOf;  // Entity_LogicalId -> entities
  for (std::size_t r = 1; r < csv.rows.size(); ++r) {
    const CsvRow& row = csv.rows[r];
    if (header.IsRepeatedBy(row)) continue;
    const std::string id = header.Cell(row, "Entity_LogicalId");
    if (id.empty()) return {{}, "-", ListFileError(file, row.line, "Entity_LogicalId empty")};
    if (read.date == "-") read.date = ListDate(header.Cell(row, "fileGenerationDate"));
    const auto [it, added] = indexOf.emplace(id, entities.size());
    if (added) entities.emplace_back();
    reader.AddTo(entities[it->second], row);
  }
  for (const EuEntity& entity : entities) AppendRows(entity, read.entries);
  return read;
}

}  // namespace vmk::publish
