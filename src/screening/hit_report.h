// The hit report of one list: label and value rows of every hit, the row marker of each hit, and the
// hit-count label.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vmk::screening {

struct HitRow {
  std::string label;  // Windows-1252
  std::string value;
  bool operator==(const HitRow&) const = default;
};

struct HitReport {
  std::vector<HitRow> rows;
  std::vector<std::size_t> markers;  // index of the last row of every hit
  std::string countLabel;            // "Anzahl Treffer  :", five blanks, the count

  // A report holds a search when the value cell of its second row is not empty.
  bool HoldsSearch() const { return rows.size() > 1 && !rows[1].value.empty(); }
};

}  // namespace vmk::screening
