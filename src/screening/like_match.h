// SQLite's LIKE outside SQLite, for counting list rows without running the statement: the same
// characters, the same case folding and the same wildcards, so every answer equals SQLite's.
//
// SQLite reads texts with a lenient UTF-8 reader, also the Windows-1252 bytes of the lists: a byte from
// 0xC0 up starts a character that takes every following byte from 0x80 to 0xBF, and a character that
// comes out below 0x80 (a lone "ü", for one) or as a surrogate reads as U+FFFD. So "Müller" and "Möller"
// are the same text to LIKE. Case is folded for A to Z only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vmk::screening {

// The characters of a text as LIKE compares them, each written as one self-delimiting byte sequence
// (ASCII as itself, A to Z in lower case; others as a lead byte from 0xC2 up and bytes 0x80 to 0xBF), so
// that equal characters have equal bytes and a byte search finds characters only. The text ends at a
// NUL byte, as SQLite reads it.
std::string LikeText(std::string_view text);

// Bytes of the character that starts with this lead byte of a LikeText.
int LikeCharLength(unsigned char lead);

// A compiled LIKE pattern ("%" any run of characters, "_" one character, no escape character).
class LikePattern {
 public:
  explicit LikePattern(std::string_view pattern);

  // Whether the LikeText of a (non-NULL) value matches.
  bool Matches(std::string_view likeText) const;
  // A pattern of "%" alone, which every text matches.
  bool MatchesEveryText() const { return segments_.empty() && !anchoredStart_; }
  // The literal runs of the pattern in LikeText form; every matching text contains each of them.
  const std::vector<std::string>& Literals() const { return literals_; }

 private:
  // A stretch between two "%": literal bytes, with "_" kept as a mark for one character.
  struct Segment {
    std::string bytes;
    bool hasOneChar = false;
  };
  std::size_t MatchAt(const Segment& segment, std::string_view text, std::size_t at) const;
  std::size_t FindFrom(const Segment& segment, std::string_view text, std::size_t from) const;
  bool EndsWithAt(const Segment& segment, std::string_view text, std::size_t from) const;

  std::vector<Segment> segments_;
  bool anchoredStart_ = true, anchoredEnd_ = true;
  std::vector<std::string> literals_;
};

}  // namespace vmk::screening
