// Reads the UN Security Council consolidated list (XML) into rows of the UN table: one row per name
// variant, each carrying the whole entry so that every alias is found together with the addresses.
#include <string>
#include <string_view>
#include <vector>

#include "publish/list_reader.h"
#include "publish/list_text.h"
#include "publish/xml_reader.h"

namespace vmk::publish {
namespace {

constexpr std::string_view kRootName = "CONSOLIDATED_LIST";

bool IsXmlBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The source's line breaks and runs of blanks become one blank, so a multi-word term matches.
std::string CollapseBlanks(std::string_view text) {
  std::string out;
  bool pendingBlank = false;
  for (const char c : text) {
    if (IsXmlBlank(c)) {
      pendingBlank = !out.empty();
      continue;
    }
    if (pendingBlank) out += ' ';
    pendingBlank = false;
    out += c;
  }
  return out;
}

std::string Field(const XmlElement& parent, std::string_view name) {
  return CollapseBlanks(parent.ChildText(name));
}

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
  std::string out;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!out.empty()) out += separator;
    out += part;
  }
  return out;
}

// The named fields of one element joined by ", ", its NOTE in parentheses after them.
std::string Describe(const XmlElement& element, const std::vector<std::string_view>& fields) {
  std::vector<std::string> parts;
  for (const std::string_view name : fields) parts.push_back(Field(element, name));
  const std::string main = Join(parts, ", ");
  const std::string note = Field(element, "NOTE");
  if (note.empty()) return main;
  return main.empty() ? note : main + " (" + note + ")";
}

// Every repetition of one element of the entry described, joined by "; ".
std::string DescribeAll(const XmlElement& entry, std::string_view name,
                        const std::vector<std::string_view>& fields) {
  std::vector<std::string> all;
  for (const XmlElement* element : entry.Children(name)) all.push_back(Describe(*element, fields));
  return Join(all, "; ");
}

// The VALUE children of every repetition of one element, joined by "; ".
std::string Values(const XmlElement& entry, std::string_view name) {
  std::vector<std::string> all;
  for (const XmlElement* element : entry.Children(name)) {
    for (const XmlElement* value : element->Children("VALUE")) all.push_back(CollapseBlanks(value->text));
  }
  return Join(all, "; ");
}

// "1971", "APPROXIMATELY 1966", "1960-1962", a full date as the list writes it.
std::string BirthDate(const XmlElement& date) {
  std::string value = Field(date, "DATE");
  if (value.empty()) value = Field(date, "YEAR");
  if (value.empty()) value = Join({Field(date, "FROM_YEAR"), Field(date, "TO_YEAR")}, "-");
  const std::string type = Field(date, "TYPE_OF_DATE");
  if (!value.empty() && !type.empty() && type != "EXACT" && type != "BETWEEN") value = type + " " + value;
  const std::string note = Field(date, "NOTE");
  if (note.empty()) return value;
  return value.empty() ? note : value + " (" + note + ")";
}

std::string BirthDates(const XmlElement& entry) {
  std::vector<std::string> all;
  for (const XmlElement* date : entry.Children("INDIVIDUAL_DATE_OF_BIRTH")) all.push_back(BirthDate(*date));
  return Join(all, "; ");
}

ListEntry UnRow(std::vector<std::pair<const char*, std::string>> fields) {
  ListEntry row{screening::ListId::UN, {}};
  for (auto& [column, value] : fields) row.values[column] = ToListText(value);
  return row;
}

// The fields every row of the entry carries; `kind` is "INDIVIDUAL" or "ENTITY".
ListEntry EntryRow(const XmlElement& entry, const std::string& kind) {
  const std::string secondName =
      Join({Field(entry, "SECOND_NAME"), Field(entry, "THIRD_NAME"), Field(entry, "FOURTH_NAME")}, " ");
  return UnRow({
      {"DataId", Field(entry, "DATAID")},
      {"Version", Field(entry, "VERSIONNUM")},
      {"FirstName", Field(entry, "FIRST_NAME")},
      {"SecondName", secondName},
      {"UNListType", Field(entry, "UN_LIST_TYPE")},
      {"ReferenceNumber", Field(entry, "REFERENCE_NUMBER")},
      {"ListedOn", Field(entry, "LISTED_ON")},
      {"OriginalName", Field(entry, "NAME_ORIGINAL_SCRIPT")},
      {"Comments1", Field(entry, "COMMENTS1")},
      {"Nationality", Values(entry, "NATIONALITY")},
      {"ListType", Values(entry, "LIST_TYPE")},
      {"LastUpdate", Values(entry, "LAST_DAY_UPDATED")},
      {"Alias", ""},
      {"Address",
       DescribeAll(entry, kind + "_ADDRESS", {"STREET", "CITY", "STATE_PROVINCE", "ZIP_CODE", "COUNTRY"})},
      {"BirthDate", BirthDates(entry)},
      {"BirthPlace",
       DescribeAll(entry, "INDIVIDUAL_PLACE_OF_BIRTH", {"STREET", "CITY", "STATE_PROVINCE", "COUNTRY"})},
      {"Document", DescribeAll(entry, "INDIVIDUAL_DOCUMENT",
                               {"TYPE_OF_DOCUMENT", "TYPE_OF_DOCUMENT2", "NUMBER", "ISSUING_COUNTRY",
                                "COUNTRY_OF_ISSUE", "CITY_OF_ISSUE", "DATE_OF_ISSUE"})},
      {"SortKey", Field(entry, "SORT_KEY")},
      {"SortDate", Field(entry, "SORT_KEY_LAST_MOD")},
  });
}

// The main name's row, then one row per alias that has a name.
void AddEntryRows(const XmlElement& entry, const std::string& kind, std::vector<ListEntry>& rows) {
  const ListEntry main = EntryRow(entry, kind);
  rows.push_back(main);
  for (const XmlElement* alias : entry.Children(kind + "_ALIAS")) {
    const std::string name = Field(*alias, "ALIAS_NAME");
    if (name.empty()) continue;
    ListEntry row = main;
    row.values["Alias"] = ToListText(name);
    rows.push_back(std::move(row));
  }
}

void AddSection(const XmlElement& root, std::string_view section, const std::string& kind,
                std::vector<ListEntry>& rows) {
  for (const XmlElement* group : root.Children(section)) {
    for (const XmlElement* entry : group->Children(kind)) AddEntryRows(*entry, kind, rows);
  }
}

}  // namespace

ListRead ReadUnConsolidatedXml(const std::filesystem::path& file) {
  ListRead read;
  const XmlDocument document = ReadXmlFile(file);
  if (!document.Ok()) {
    read.error = document.error;
    return read;
  }
  const XmlElement& root = document.root;
  if (root.name != kRootName) {
    read.error =
        LocatedError(file, root.line, "root element " + root.name + " is not " + std::string(kRootName));
    return read;
  }
  read.date = ListDate(root.Attribute("dateGenerated"));
  AddSection(root, "INDIVIDUALS", "INDIVIDUAL", read.entries);
  AddSection(root, "ENTITIES", "ENTITY", read.entries);
  for (std::size_t i = 0; i < read.entries.size(); ++i) {
    read.entries[i].values["RowId"] = std::to_string(i + 1);
  }
  return read;
}

}  // namespace vmk::publish
