#include "screening/list_count_engine.h"

#include <sqlite3.h>

#include <algorithm>

#include "screening/like_match.h"
#include "screening/list_count.h"
#include "screening/list_queries.h"
#include "screening/where_clause.h"
#include "text/cp1252.h"

namespace vmk::screening {

namespace {

// SQLite refuses expressions deeper than 1000 levels, and a chain of n ORs is n levels deep; well below
// that every statement SQLite accepts is counted here, longer ones go to SQLite to decide.
constexpr std::size_t kMaxAlternatives = 250;

// A condition bound to the loaded columns, with the number of rows each part may hold for at most.
struct Node {
  Condition::Kind kind = Condition::Kind::Like;
  int column = -1;
  std::optional<LikePattern> pattern;
  // A LIKE node whose pattern has a literal of three bytes or more: the rows holding its rarest
  // three-byte sequence, which every match is among.
  bool indexed = false;
  std::span<const RowId> candidates;
  std::size_t estimate = 0;
  std::vector<Node> children;  // AND: the most selective first
};

// The rows where a condition holds, found part by part within the rows still in question: an AND
// narrows them child by child, the most selective first; an OR asks each child only about the rows no
// earlier child holds for; a LIKE tests either those rows or the rows its index names, whichever are
// fewer. So a row is tested against few alternatives, and a part that holds for nearly every row (an
// empty term's "%%") costs a few word operations.
class Evaluation {
 public:
  Evaluation(const ListColumns& columns, int patternLimit) : columns_(columns), patternLimit_(patternLimit) {}

  // Nothing when a column is not loaded or a pattern is longer than SQLite accepts.
  std::optional<Node> Compile(const Condition& condition) const {
    if (condition.kind == Condition::Kind::Like) return CompileLike(condition);
    Node node;
    node.kind = condition.kind;
    for (const Condition& child : condition.children) {
      std::optional<Node> compiled = Compile(child);
      if (!compiled) return std::nullopt;
      node.children.push_back(std::move(*compiled));
    }
    if (node.kind == Condition::Kind::And) {
      std::stable_sort(node.children.begin(), node.children.end(),
                       [](const Node& a, const Node& b) { return a.estimate < b.estimate; });
      node.estimate = node.children.front().estimate;
    } else {
      for (const Node& child : node.children) node.estimate += child.estimate;
      node.estimate = std::min<std::size_t>(node.estimate, columns_.RowCount());
    }
    return node;
  }

  std::size_t CountRows(const Node& root) const {
    return Rows(root, RowBits(columns_.RowCount(), true)).Count();
  }

 private:
  std::optional<Node> CompileLike(const Condition& condition) const {
    Node node;
    node.column = columns_.ColumnIndex(condition.column);
    if (node.column < 0 || condition.pattern.size() > static_cast<std::size_t>(patternLimit_))
      return std::nullopt;
    node.pattern.emplace(condition.pattern);
    node.estimate = columns_.RowCount();
    for (const std::string& literal : node.pattern->Literals()) {
      for (std::size_t at = 0; at + 3 <= literal.size(); ++at) {
        const std::span<const RowId> rows =
            columns_.RowsWith(node.column, std::string_view(literal).substr(at, 3));
        if (!node.indexed || rows.size() < node.candidates.size()) node.candidates = rows;
        node.indexed = true;
      }
    }
    if (node.indexed) node.estimate = node.candidates.size();
    return node;
  }

  bool Holds(const Node& like, RowId row) const {
    return columns_.NotNull(like.column).Test(row) && like.pattern->Matches(columns_.Text(like.column, row));
  }

  // The rows of `within` where the node holds.
  RowBits Rows(const Node& node, RowBits within) const {
    switch (node.kind) {
      case Condition::Kind::Like:
        return LikeRows(node, std::move(within));
      case Condition::Kind::And:
        for (const Node& child : node.children) {
          if (within.None()) break;
          within = Rows(child, std::move(within));
        }
        return within;
      case Condition::Kind::Or: {
        RowBits found(columns_.RowCount());
        for (const Node& child : node.children) {
          if (within.None()) break;
          const RowBits holding = Rows(child, within);
          found |= holding;
          within.Remove(holding);
        }
        return found;
      }
    }
    return RowBits(columns_.RowCount());
  }

  RowBits LikeRows(const Node& like, RowBits within) const {
    if (like.pattern->MatchesEveryText()) return within &= columns_.NotNull(like.column);
    RowBits found(columns_.RowCount());
    if (like.indexed && like.candidates.size() < within.Count()) {
      for (const RowId row : like.candidates) {
        if (within.Test(row) && Holds(like, row)) found.Set(row);
      }
    } else {
      within.ForEach([&](RowId row) {
        if (Holds(like, row)) found.Set(row);
      });
    }
    return found;
  }

  const ListColumns& columns_;
  int patternLimit_;
};

// A state whose count query of the mode with every part names every column the count queries read.
SearchState EveryColumnState() {
  SearchState state;
  state.mode = kAllPhonetics;
  state.terms = state.sdxKeys = state.dmKeys = {"a b", "a b", "a b", "a b"};
  return state;
}

}  // namespace

ListCountEngine::ListCountEngine(SanctionsDatabase& database) : database_(database) {
  if (!database.IsOpen()) return;
  patternLimit_ = sqlite3_limit(database.Handle(), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1);
  for (const ListId list : kAllLists) {
    SearchState every = EveryColumnState();
    const std::optional<std::string> statement = BuildCountQuery(list, kAllPhonetics, every);
    const std::optional<SelectStatement> parsed = statement ? ParseSelectStatement(*statement) : std::nullopt;
    if (!parsed) continue;
    ListColumns columns;
    if (columns.Load(database.Handle(), Schema(list).table, ColumnsOf(parsed->where))) {
      lists_[static_cast<std::size_t>(Index(list))] = std::move(columns);
    }
  }
}

std::optional<int> ListCountEngine::CountInMemory(ListId list, const std::string& statement) const {
  const std::optional<ListColumns>& columns = lists_[static_cast<std::size_t>(Index(list))];
  if (!columns) return std::nullopt;
  const std::optional<SelectStatement> parsed = ParseSelectStatement(statement);
  if (!parsed || !text::EqualsIgnoringAsciiCase(parsed->table, Schema(list).table) ||
      AlternativeCount(parsed->where) > kMaxAlternatives) {
    return std::nullopt;
  }
  const Evaluation evaluation(*columns, patternLimit_);
  const std::optional<Node> root = evaluation.Compile(parsed->where);
  if (!root) return std::nullopt;
  return static_cast<int>(evaluation.CountRows(*root));
}

int ListCountEngine::Count(ListId list, SearchState& state) {
  const std::optional<std::string> statement = BuildCountQuery(list, state.mode, state);
  int count = 0;
  if (statement && database_.IsOpen()) {
    std::optional<int> inMemory = CountInMemory(list, *statement);
    if (!inMemory) {
      ++sqlCounts_;
      inMemory = CountStatementRows(database_, *statement);
    }
    count = *inMemory;
  }
  state.hitCounts[static_cast<std::size_t>(Index(list))] = count;
  return count;
}

}  // namespace vmk::screening
