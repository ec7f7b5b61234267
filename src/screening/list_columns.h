// The columns of one list table that the count queries read, held in memory in the form LIKE compares
// (see like_match.h), with an index of the rows each three-byte sequence occurs in.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "screening/row_bits.h"

struct sqlite3;

namespace vmk::screening {

class ListColumns {
 public:
  // Reads the columns of every row of the table; false when SQLite cannot (no such table or column).
  bool Load(sqlite3* db, const std::string& table, const std::vector<std::string>& columns);

  RowId RowCount() const { return rowCount_; }
  // The position of a loaded column, its name compared without A-Z case as SQLite does; -1 if absent.
  int ColumnIndex(std::string_view name) const;
  // The rows whose value is not NULL.
  const RowBits& NotNull(int column) const { return columns_[Pos(column)].notNull; }
  // The LikeText of the value; empty for NULL.
  std::string_view Text(int column, RowId row) const;
  // The rows, ascending, whose value contains the three bytes.
  std::span<const RowId> RowsWith(int column, std::string_view trigram) const;

 private:
  struct TrigramIndex {
    std::vector<std::uint32_t> keys;    // distinct three-byte sequences, ascending
    std::vector<std::uint32_t> starts;  // where each key's rows begin in `rows`, one more at the end
    std::vector<RowId> rows;
  };
  struct Column {
    std::string name;
    std::string texts;                  // the LikeTexts one after the other
    std::vector<std::uint32_t> starts;  // where each row's text begins, one more at the end
    RowBits notNull;
    TrigramIndex index;
  };
  static std::size_t Pos(int column) { return static_cast<std::size_t>(column); }
  static void BuildIndex(Column& column);

  RowId rowCount_ = 0;
  std::vector<Column> columns_;
};

}  // namespace vmk::screening
