#include "screening/like_match.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <random>

namespace vmk::screening {
namespace {

// SQLite's own answer to "value LIKE pattern".
class SqliteLike {
 public:
  SqliteLike() {
    sqlite3_open(":memory:", &db_);
    sqlite3_prepare_v2(db_, "SELECT ?1 LIKE ?2", -1, &statement_, nullptr);
  }
  ~SqliteLike() {
    sqlite3_finalize(statement_);
    sqlite3_close(db_);
  }
  bool operator()(const std::string& value, const std::string& pattern) {
    sqlite3_reset(statement_);
    sqlite3_bind_text(statement_, 1, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(statement_, 2, pattern.data(), static_cast<int>(pattern.size()), SQLITE_TRANSIENT);
    return sqlite3_step(statement_) == SQLITE_ROW && sqlite3_column_int(statement_, 0) == 1;
  }

 private:
  sqlite3* db_ = nullptr;
  sqlite3_stmt* statement_ = nullptr;
};

bool Matches(const std::string& value, const std::string& pattern) {
  return LikePattern(pattern).Matches(LikeText(value));
}

TEST(LikeMatch, AnswersAsSqliteDoesOnWindows1252Texts) {
  struct Case {
    const char* value;
    const char* pattern;
    bool matches;
  };
  const Case cases[] = {
      {"Bank Melli Iran", "%melli%", true},  // A-Z case folded
      {"Bank Melli Iran", "%Melli Iran%", true},
      {"Bank Melli Iran", "%Melli  Iran%", false},
      {"", "%%", true},  // the empty pattern holds for every text
      {"", "%a%", false},
      {"abc", "abc", true},  // no "%": the whole text
      {"abcd", "abc", false},
      {"abcd", "abc%", true},
      {"xabc", "%abc", true},
      {"xabcx", "%abc", false},
      {"a%c", "%a_c%", true},  // "_" is one character, "%" in a pattern is a wildcard
      {"ac", "%a_c%", false},
      {"O'Brien", "%o'b%", true},
      // A lone byte from 0xC0 up reads as U+FFFD, so all of these are one character to LIKE.
      {"M\xFCller", "%M\xF6ller%", true},
      {"M\xFCller", "%M\xDCller%", true},
      {"M\xFCller", "%Muller%", false},
      {"M\xFCller", "%M_ller%", true},
      // Bytes 0x80 to 0xBF after a lead byte belong to its character; alone they are characters.
      {"\xC3\xA9t\xE9", "%\xA9%", false},
      {"\xA9t\xE9", "%\xA9%", true},
      {"\xC3\xA9", "__", false},
      {"\xC3\xA9", "_", true},
      {"\xE9\x80\x80x", "%\xE9\x80\x80%", true},
      {"\xE9\x80x", "%\xE9\x80\x80%", false},
  };
  SqliteLike sqlite;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.value) + " LIKE " + c.pattern);
    EXPECT_EQ(Matches(c.value, c.pattern), c.matches);
    EXPECT_EQ(sqlite(c.value, c.pattern), c.matches);
  }
  // LIKE reads a text up to its first NUL byte.
  const std::string withNul("ab\0cd", 5);
  EXPECT_FALSE(Matches(withNul, "%cd%"));
  EXPECT_FALSE(sqlite(withNul, "%cd%"));
  EXPECT_TRUE(Matches(withNul, "ab"));
  EXPECT_TRUE(sqlite(withNul, "ab"));
}

// Random texts over a small alphabet rich in the bytes that matter: case, wildcards, lead and
// continuation bytes, umlauts.
TEST(LikeMatch, RandomTextsAndPatternsGetSqlitesAnswer) {
  const std::string alphabet = std::string("aAbB %_'") + "\xC3\xA9\xE4\xFC\xDC\x80\xBF\xF0\xFE\xFF";
  std::mt19937 random(1211);
  const auto text = [&](std::size_t maxLength) {
    std::string t;
    for (std::size_t n = random() % (maxLength + 1); n > 0; --n) t += alphabet[random() % alphabet.size()];
    return t;
  };
  SqliteLike sqlite;
  int matched = 0;
  for (int i = 0; i < 40000; ++i) {
    const std::string value = text(8);
    std::string pattern = text(4);
    if (i % 2 == 0) pattern = "%" + pattern + "%";
    const bool expected = sqlite(value, pattern);
    matched += expected ? 1 : 0;
    ASSERT_EQ(Matches(value, pattern), expected) << "'" << value << "' LIKE '" << pattern << "'";
  }
  EXPECT_GT(matched, 2000);  // both answers occur often
}

TEST(LikeMatch, LiteralsAreTheRunsBetweenWildcards) {
  EXPECT_EQ(LikePattern("%Bank Mel_i%").Literals(), (std::vector<std::string>{"bank mel", "i"}));
  EXPECT_TRUE(LikePattern("%%").Literals().empty());
}

}  // namespace
}  // namespace vmk::screening
