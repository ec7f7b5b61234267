#include "publish/fixture_text.h"

#include "text/cp1252.h"

namespace vmk::publish {
namespace {

using screening::ListId;

bool ListByName(std::string_view name, ListId& list) {
  for (ListId candidate : screening::kAllLists) {
    if (screening::Schema(candidate).name == name) {
      list = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace

std::string ParseFixtureText(std::string_view utf8, SanctionsData& data) {
  enum class Section { None, Dates, Entry } section = Section::None;
  std::size_t lineNumber = 0;
  std::size_t pos = 0;
  while (pos <= utf8.size()) {
    const std::size_t end = std::min(utf8.find('\n', pos), utf8.size());
    std::string line(utf8.substr(pos, end - pos));
    pos = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string trimmed = text::TrimBlanks(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    if (trimmed.front() == '[' && trimmed.back() == ']') {
      const std::string name = trimmed.substr(1, trimmed.size() - 2);
      ListId list;
      if (name == "DBDate") {
        section = Section::Dates;
      } else if (ListByName(name, list)) {
        section = Section::Entry;
        data.entries.push_back({list, {}});
      } else {
        return where + "unknown section [" + name + "]";
      }
      continue;
    }
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string::npos || section == Section::None) return where + "expected \"Column = value\"";
    const std::string key = text::TrimBlanks(trimmed.substr(0, equals));
    const std::string value = text::Utf8ToCp1252(text::TrimBlanks(trimmed.substr(equals + 1)));
    if (section == Section::Dates) {
      ListId list;
      if (!ListByName(key, list)) return where + "unknown list " + key;
      data.dates[static_cast<std::size_t>(screening::Index(list))] = value;
      continue;
    }
    ListEntry& entry = data.entries.back();
    if (screening::Schema(entry.list).PositionOf(key) < 0) return where + "no column " + key;
    if (value == "<NULL>") {
      entry.values[key] = std::nullopt;
    } else {
      entry.values[key] = value;
    }
  }
  return {};
}

}  // namespace vmk::publish
