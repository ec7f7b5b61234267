#include "screening/list_columns.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <limits>
#include <memory>

#include "screening/like_match.h"
#include "text/cp1252.h"

namespace vmk::screening {

namespace {

struct StatementCloser {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

std::uint32_t TrigramKey(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
         static_cast<unsigned char>(bytes[at + 2]);
}

// Sorts key << 32 | row pairs by key, stably, so the rows of a key stay in the order they were made:
// three counting passes over the key bytes, much faster than a comparison sort of a million pairs.
void SortByKey(std::vector<std::uint64_t>& pairs) {
  std::vector<std::uint64_t> sorted(pairs.size());
  for (int shift = 32; shift < 56; shift += 8) {
    std::array<std::size_t, 257> starts{};
    for (const std::uint64_t pair : pairs) ++starts[((pair >> shift) & 0xFF) + 1];
    for (std::size_t i = 1; i < starts.size(); ++i) starts[i] += starts[i - 1];
    for (const std::uint64_t pair : pairs) sorted[starts[(pair >> shift) & 0xFF]++] = pair;
    pairs.swap(sorted);
  }
}

std::string QuotedName(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

}  // namespace

bool ListColumns::Load(sqlite3* db, const std::string& table, const std::vector<std::string>& columns) {
  rowCount_ = 0;
  columns_.clear();
  std::string select = "SELECT ";
  for (std::size_t i = 0; i < columns.size(); ++i) select += (i > 0 ? "," : "") + QuotedName(columns[i]);
  select += " FROM " + QuotedName(table);
  sqlite3_stmt* raw = nullptr;
  if (columns.empty() || sqlite3_prepare_v2(db, select.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
    sqlite3_finalize(raw);
    return false;
  }
  std::unique_ptr<sqlite3_stmt, StatementCloser> query(raw);
  for (const std::string& name : columns) columns_.push_back(Column{name, {}, {0}, {}, {}});
  std::vector<std::vector<RowId>> nullRows(columns_.size());
  int step = SQLITE_ROW;
  while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
    if (rowCount_ == std::numeric_limits<RowId>::max()) return false;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      Column& column = columns_[i];
      const int position = static_cast<int>(i);
      // The text LIKE reads: numbers in their text form, any value up to its first NUL byte.
      // (An empty BLOB reads as no text at all, so LIKE treats it as NULL.)
      const bool nullType = sqlite3_column_type(raw, position) == SQLITE_NULL;
      const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(raw, position));
      const bool isNull = nullType || value == nullptr;
      if (isNull) nullRows[i].push_back(rowCount_);
      if (!isNull) column.texts += LikeText(value);
      if (column.texts.size() > std::numeric_limits<std::uint32_t>::max()) return false;
      column.starts.push_back(static_cast<std::uint32_t>(column.texts.size()));
    }
    ++rowCount_;
  }
  if (step != SQLITE_DONE) return false;
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    RowBits notNull(rowCount_, true);
    RowBits isNull(rowCount_);
    for (const RowId row : nullRows[i]) isNull.Set(row);
    columns_[i].notNull = std::move(notNull.Remove(isNull));
    BuildIndex(columns_[i]);
  }
  return true;
}

void ListColumns::BuildIndex(Column& column) {
  std::vector<std::uint64_t> pairs;  // key << 32 | row
  for (RowId row = 0; row + 1 < column.starts.size(); ++row) {
    const std::string_view text(column.texts.data() + column.starts[row],
                                column.starts[row + 1] - column.starts[row]);
    for (std::size_t at = 0; at + 3 <= text.size(); ++at) {
      pairs.push_back(static_cast<std::uint64_t>(TrigramKey(text, at)) << 32 | row);
    }
  }
  SortByKey(pairs);
  pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
  TrigramIndex& index = column.index;
  index.rows.reserve(pairs.size());
  for (const std::uint64_t pair : pairs) {
    const auto key = static_cast<std::uint32_t>(pair >> 32);
    if (index.keys.empty() || index.keys.back() != key) {
      index.keys.push_back(key);
      index.starts.push_back(static_cast<std::uint32_t>(index.rows.size()));
    }
    index.rows.push_back(static_cast<RowId>(pair & 0xFFFFFFFFu));
  }
  index.starts.push_back(static_cast<std::uint32_t>(index.rows.size()));
}

int ListColumns::ColumnIndex(std::string_view name) const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (text::EqualsIgnoringAsciiCase(columns_[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

std::string_view ListColumns::Text(int column, RowId row) const {
  const Column& c = columns_[Pos(column)];
  return {c.texts.data() + c.starts[row], c.starts[row + 1] - c.starts[row]};
}

std::span<const RowId> ListColumns::RowsWith(int column, std::string_view trigram) const {
  const TrigramIndex& index = columns_[Pos(column)].index;
  const std::uint32_t key = TrigramKey(trigram, 0);
  const auto found = std::lower_bound(index.keys.begin(), index.keys.end(), key);
  if (found == index.keys.end() || *found != key) return {};
  const auto k = static_cast<std::size_t>(found - index.keys.begin());
  return {index.rows.data() + index.starts[k], index.starts[k + 1] - index.starts[k]};
}

}  // namespace vmk::screening
