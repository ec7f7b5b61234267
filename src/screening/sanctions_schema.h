// The four list tables of the sanctions database: column names, hit-report and selection labels,
// which positions the display selection switches, the key columns and the hit-marker colours.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vmk::screening {

// The lists, always in this order; list number = index + 1.
enum class ListId { EU = 0, UN = 1, UK = 2, US = 3 };
inline constexpr std::array<ListId, 4> kAllLists = {ListId::EU, ListId::UN, ListId::UK, ListId::US};
inline constexpr int Index(ListId list) {
  return static_cast<int>(list);
}

enum class KeyKind { None, Sdx, DoubleMetaphone };

struct Rgb {
  int red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

struct ColumnInfo {
  std::string name;            // column name in the table
  std::string reportLabel;     // Windows-1252 label of the hit-report row
  std::string selectionLabel;  // Windows-1252 label in the display selection; empty for key columns
  KeyKind key = KeyKind::None;
  std::vector<int> keySources;  // positions of the text columns a key column is made from
};

struct ListSchema {
  ListId id;
  std::string name;         // "EU", "UN", "UK", "US"
  std::string table;        // "EUGlobal", ...
  int firstField = 0;       // first position the selection switches (1 for UN: position 0 is never shown)
  int fieldEnd = 0;         // one past the last own field; the key columns follow
  int selectionLength = 0;  // characters the selection writes
  int separatorWidth = 0;   // length of the "~" and "*" separator values
  Rgb markerColour;
  std::vector<ColumnInfo> columns;

  int ColumnCount() const { return static_cast<int>(columns.size()); }
  // The selection character (0-based index) that switches a field position.
  int SelectionIndex(int position) const { return firstField == 0 ? position : position - 1; }
  bool IsShown(int position, std::string_view selection) const;
  int PositionOf(std::string_view columnName) const;  // -1 when the list has no such column
};

const ListSchema& Schema(ListId list);

// The table holding one row per list with its date as display text.
inline constexpr std::string_view kDateTable = "DBDate";

}  // namespace vmk::screening
