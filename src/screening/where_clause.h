// The condition of a list statement read back from its text: ORs and ANDs, in SQL's precedence, of
// "column LIKE 'pattern'" alternatives. The in-memory counting evaluates exactly what SQLite would.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vmk::screening {

struct Condition {
  enum class Kind { Like, And, Or };
  Kind kind = Kind::Like;
  std::string column;               // Like: the column name as written
  std::string pattern;              // Like: the literal's value (doubled apostrophes made single)
  std::vector<Condition> children;  // And, Or: two or more, none of the same kind
};

struct SelectStatement {
  std::string table;
  Condition where;
};

// "SELECT * FROM <table> WHERE <condition>" with any case and blanks, or nothing when the text holds
// anything else (another clause, an unclosed literal, a NUL byte).
std::optional<SelectStatement> ParseSelectStatement(std::string_view statement);

// Every column the condition names, each once, in the order of first appearance.
std::vector<std::string> ColumnsOf(const Condition& condition);

// The number of LIKE alternatives in the condition.
std::size_t AlternativeCount(const Condition& condition);

}  // namespace vmk::screening
