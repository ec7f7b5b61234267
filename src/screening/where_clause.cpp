#include "screening/where_clause.h"

#include <algorithm>

#include "text/cp1252.h"

namespace vmk::screening {

namespace {

// Parentheses deeper than this are not what the statement builder writes.
constexpr int kMaxNesting = 64;

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  std::optional<SelectStatement> Statement() {
    SelectStatement statement;
    if (!Keyword("SELECT") || !Symbol('*') || !Keyword("FROM")) return std::nullopt;
    std::optional<std::string> table = Identifier();
    if (!table || !Keyword("WHERE")) return std::nullopt;
    statement.table = std::move(*table);
    std::optional<Condition> where = OrExpression(0);
    SkipBlanks();
    if (!where || at_ != text_.size()) return std::nullopt;
    statement.where = std::move(*where);
    return statement;
  }

 private:
  static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
  static bool IsIdentifierChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_' ||
           u >= 0x80;
  }

  void SkipBlanks() {
    while (at_ < text_.size() && IsBlank(text_[at_])) ++at_;
  }

  // A word, so "ORDER" is not "OR".
  std::string_view PeekWord() {
    SkipBlanks();
    std::size_t end = at_;
    while (end < text_.size() && IsIdentifierChar(text_[end])) ++end;
    return text_.substr(at_, end - at_);
  }

  bool Keyword(std::string_view word) {
    const std::string_view next = PeekWord();
    if (!text::EqualsIgnoringAsciiCase(next, word)) return false;
    at_ += next.size();
    return true;
  }

  bool Symbol(char symbol) {
    SkipBlanks();
    if (at_ >= text_.size() || text_[at_] != symbol) return false;
    ++at_;
    return true;
  }

  std::optional<std::string> Identifier() {
    const std::string_view word = PeekWord();
    if (word.empty() || (word[0] >= '0' && word[0] <= '9')) return std::nullopt;
    at_ += word.size();
    return std::string(word);
  }

  std::optional<std::string> Literal() {
    if (!Symbol('\'')) return std::nullopt;
    std::string value;
    while (at_ < text_.size()) {
      const char c = text_[at_++];
      if (c != '\'') {
        value += c;
      } else if (at_ < text_.size() && text_[at_] == '\'') {
        value += '\'';
        ++at_;
      } else {
        return value;
      }
    }
    return std::nullopt;
  }

  // Children of the same kind are taken into the parent: AND and OR are associative.
  static Condition Join(Condition::Kind kind, std::vector<Condition> parts) {
    if (parts.size() == 1) return std::move(parts.front());
    Condition joined;
    joined.kind = kind;
    for (Condition& part : parts) {
      if (part.kind == kind) {
        for (Condition& child : part.children) joined.children.push_back(std::move(child));
      } else {
        joined.children.push_back(std::move(part));
      }
    }
    return joined;
  }

  std::optional<Condition> OrExpression(int nesting) {
    std::vector<Condition> parts;
    do {
      std::optional<Condition> part = AndExpression(nesting);
      if (!part) return std::nullopt;
      parts.push_back(std::move(*part));
    } while (Keyword("OR"));
    return Join(Condition::Kind::Or, std::move(parts));
  }

  std::optional<Condition> AndExpression(int nesting) {
    std::vector<Condition> parts;
    do {
      std::optional<Condition> part = Primary(nesting);
      if (!part) return std::nullopt;
      parts.push_back(std::move(*part));
    } while (Keyword("AND"));
    return Join(Condition::Kind::And, std::move(parts));
  }

  std::optional<Condition> Primary(int nesting) {
    if (Symbol('(')) {
      if (nesting >= kMaxNesting) return std::nullopt;
      std::optional<Condition> inner = OrExpression(nesting + 1);
      if (!inner || !Symbol(')')) return std::nullopt;
      return inner;
    }
    Condition like;
    std::optional<std::string> column = Identifier();
    if (!column || !Keyword("LIKE")) return std::nullopt;
    std::optional<std::string> pattern = Literal();
    if (!pattern) return std::nullopt;
    like.column = std::move(*column);
    like.pattern = std::move(*pattern);
    return like;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

void CollectColumns(const Condition& condition, std::vector<std::string>& columns) {
  if (condition.kind != Condition::Kind::Like) {
    for (const Condition& child : condition.children) CollectColumns(child, columns);
    return;
  }
  const bool known = std::any_of(columns.begin(), columns.end(), [&](const std::string& column) {
    return text::EqualsIgnoringAsciiCase(column, condition.column);
  });
  if (!known) columns.push_back(condition.column);
}

}  // namespace

std::optional<SelectStatement> ParseSelectStatement(std::string_view statement) {
  // SQLite reads the statement text up to its first NUL byte.
  if (statement.find('\0') != std::string_view::npos) return std::nullopt;
  return Parser(statement).Statement();
}

std::vector<std::string> ColumnsOf(const Condition& condition) {
  std::vector<std::string> columns;
  CollectColumns(condition, columns);
  return columns;
}

std::size_t AlternativeCount(const Condition& condition) {
  if (condition.kind == Condition::Kind::Like) return 1;
  std::size_t count = 0;
  for (const Condition& child : condition.children) count += AlternativeCount(child);
  return count;
}

}  // namespace vmk::screening
