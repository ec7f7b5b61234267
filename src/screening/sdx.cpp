#include "screening/sdx.h"

#include <string>

#include "text/cp1252.h"

namespace vmk::screening {
namespace {

constexpr std::size_t kMinWordLength = 3;
constexpr std::size_t kKeyLength = 8;
constexpr char kMarker = '~';

struct Mapping {
  std::string_view letters;
  char to;
};

constexpr Mapping kCodes[] = {{"AEIOUYHW", '0'}, {"BP", '1'}, {"FV", '2'}, {"CSK", '3'}, {"GJ", '4'},
                              {"QXZ", '5'},      {"DT", '6'}, {"L", '7'},  {"MN", '8'},  {"R", '9'}};

constexpr Mapping kFirstLetters[] = {{"P", 'B'},  {"T", 'D'}, {"VW", 'F'}, {"KQXC", 'G'},
                                     {"JY", 'I'}, {"N", 'M'}, {"U", 'O'},  {"Z", 'S'}};

// Each cluster is replaced by a text of the same length in which the silent letter is a marker, so
// that positions and neighbours stay put until every reduction has run.
struct Reduction {
  std::string_view from;
  std::string_view to;
};

constexpr Reduction kReductions[] = {{"DG", "~G"},   {"GH", "~H"},  {"KN", "~N"},   {"GN", "~N"},
                                     {"MB", "M~"},   {"PH", "F~"},  {"TCH", "~CH"}, {"MPS", "M~S"},
                                     {"MPT", "M~T"}, {"MPZ", "M~Z"}};

char Map(char c, const auto& table) {
  for (const Mapping& m : table) {
    if (m.letters.find(c) != std::string_view::npos) return m.to;
  }
  return c;
}

// Keeps the characters above "@" (code 64): letters, accented letters and a few signs.
std::string FilterLetters(std::string_view upper) {
  std::string kept;
  for (char c : upper) {
    if (static_cast<unsigned char>(c) > 64) kept += c;
  }
  return kept;
}

void DropSilentInitialP(std::string& word) {
  if (word.starts_with("PS") || word.starts_with("PF")) word.erase(0, 1);
}

void ReplaceAll(std::string& word, const Reduction& r) {
  std::size_t at = word.find(r.from);
  while (at != std::string::npos) {
    word.replace(at, r.from.size(), r.to);
    at = word.find(r.from, at + r.from.size());
  }
}

void ReduceClusters(std::string& word) {
  for (const Reduction& r : kReductions) ReplaceAll(word, r);
  std::erase(word, kMarker);  // markers, and any "~" the word brought along
}

std::string FoldRuns(std::string_view codes) {
  std::string folded;
  for (char c : codes) {
    if (folded.empty() || folded.back() != c) folded += c;
  }
  return folded;
}

}  // namespace

std::string SdxKey(std::string_view word) {
  if (word.size() < kMinWordLength) return {};
  std::string letters = FilterLetters(text::ToUpper1252(word));
  DropSilentInitialP(letters);
  ReduceClusters(letters);

  std::string key;
  if (!letters.empty()) {
    key += Map(letters.front(), kFirstLetters);
    std::string codes;
    for (char c : letters) codes += Map(c, kCodes);
    // The first letter's code, with the equal codes folded into it, is already stood for by the
    // first letter; vowels go only after folding, so they keep equal codes apart.
    std::string rest = FoldRuns(codes).substr(1);
    std::erase(rest, '0');
    key += rest;
  }
  key.append(kKeyLength, '0');
  key.resize(kKeyLength);
  return key;
}

}  // namespace vmk::screening
