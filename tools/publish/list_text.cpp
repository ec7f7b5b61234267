// Turns the UTF-8 texts of the official list files into the Windows-1252 texts of the database:
// what the code page has is kept, other scripts and marks are romanised so a Latin search finds them.
#include "publish/list_text.h"

#include <array>
#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "publish/list_reader.h"
#include "text/cp1252.h"

namespace vmk::publish {
namespace {

// Base letters of U+0100 to U+017F (Latin Extended-A); '*' marks the two ligatures IJ and ij.
constexpr std::string_view kLatinExtendedA =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi**JjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
// Capital base letters of the pairs U+1E00/1E01 to U+1E94/1E95 (Latin Extended Additional).
constexpr std::string_view kLatinAdditionalPairs =
    "ABBBCDDDDDEEEEEFGHHHHHIIKKKLLLLMMMNNNNOOOOPPRRRRSSSSSTTTTUUUUUVVWWWWWXXYZZZ";
static_assert(kLatinExtendedA.size() == 0x80 && kLatinAdditionalPairs.size() == 0x96 / 2);

// Romanisation of U+0400 to U+042F, the capitals of Russian, Ukrainian, Belarusian and Serbian.
constexpr std::array<std::string_view, 48> kCyrillicCapitals = {
    "E", "Yo", "Dj", "Gj", "Ye", "Dz", "I",  "Yi", "J",  "Lj",   "Nj", "C", "Kj", "I", "U",  "Dz",
    "A", "B",  "V",  "G",  "D",  "E",  "Zh", "Z",  "I",  "Y",    "K",  "L", "M",  "N", "O",  "P",
    "R", "S",  "T",  "U",  "F",  "Kh", "Ts", "Ch", "Sh", "Shch", "",   "Y", "",   "E", "Yu", "Ya"};

// Romanisation of U+0391 to U+03A9, the Greek capitals (U+03A2 is unassigned).
constexpr std::array<std::string_view, 25> kGreekCapitals = {"A", "V", "G", "D", "E",  "Z",  "I", "Th", "I",
                                                             "K", "L", "M", "N", "X",  "O",  "P", "R",  "",
                                                             "S", "T", "Y", "F", "Ch", "Ps", "O"};

struct Romanised {
  std::string_view capital;  // the form of the capital letter, "" for a letter that is dropped
  bool lower = false;        // the character is a small letter
};

bool LatinBase(char32_t cp, std::string& out) {
  auto take = [&out](char base) {
    out = std::string(1, base);
    return true;
  };
  if (cp >= 0x100 && cp <= 0x17F) {
    const char base = kLatinExtendedA[cp - 0x100];
    if (base != '*') return take(base);
    out = cp == 0x132 ? "IJ" : "ij";
    return true;
  }
  if (cp >= 0x1E00 && cp <= 0x1E95) {
    const char capital = kLatinAdditionalPairs[(cp - 0x1E00) / 2];
    return take(cp % 2 == 0 ? capital : static_cast<char>(std::tolower(capital)));
  }
  if (cp >= 0x1E96 && cp <= 0x1E9B) return take("htwyas"[cp - 0x1E96]);
  // Vietnamese vowels with tone marks: capitals on even code points, runs of one base vowel.
  if (cp >= 0x1EA0 && cp <= 0x1EF9) {
    const char capital = cp < 0x1EB8   ? 'A'
                         : cp < 0x1EC8 ? 'E'
                         : cp < 0x1ECC ? 'I'
                         : cp < 0x1EE4 ? 'O'
                         : cp < 0x1EF2 ? 'U'
                                       : 'Y';
    return take(cp % 2 == 0 ? capital : static_cast<char>(std::tolower(capital)));
  }
  if (cp == 0x18F || cp == 0x259) return take(cp == 0x18F ? 'A' : 'a');  // Azerbaijani schwa
  // The pairs of Latin Extended-B used in names: capital first, small letter second.
  static constexpr std::array<std::pair<char32_t, char>, 9> kPairs = {{{0x1A0, 'O'},
                                                                       {0x1AF, 'U'},
                                                                       {0x1CD, 'A'},
                                                                       {0x1CF, 'I'},
                                                                       {0x1D1, 'O'},
                                                                       {0x1D3, 'U'},
                                                                       {0x1E6, 'G'},
                                                                       {0x218, 'S'},
                                                                       {0x21A, 'T'}}};
  for (const auto& [capital, base] : kPairs) {
    if (cp == capital) return take(base);
    if (cp == capital + 1) return take(static_cast<char>(std::tolower(base)));
  }
  return false;
}

bool Cyrillic(char32_t cp, Romanised& r) {
  if (cp >= 0x400 && cp <= 0x42F) {
    r = {kCyrillicCapitals[cp - 0x400], false};
  } else if (cp >= 0x430 && cp <= 0x44F) {
    r = {kCyrillicCapitals[cp - 0x430 + 16], true};
  } else if (cp >= 0x450 && cp <= 0x45F) {
    r = {kCyrillicCapitals[cp - 0x450], true};
  } else {
    // Letters of Ukrainian and the Turkic languages written in Cyrillic, in capital/small pairs.
    static constexpr std::array<std::pair<char32_t, std::string_view>, 9> kPairs = {{{0x490, "G"},
                                                                                     {0x492, "G"},
                                                                                     {0x49A, "K"},
                                                                                     {0x4A2, "N"},
                                                                                     {0x4AE, "U"},
                                                                                     {0x4B0, "U"},
                                                                                     {0x4BA, "H"},
                                                                                     {0x4D8, "A"},
                                                                                     {0x4E8, "O"}}};
    for (const auto& [capital, form] : kPairs) {
      if (cp == capital || cp == capital + 1) {
        r = {form, cp != capital};
        return true;
      }
    }
    return false;
  }
  return true;
}

// Greek letters with accent or diaeresis, and the final sigma, with their plain letter.
constexpr std::array<std::pair<char32_t, char32_t>, 21> kGreekPlain = {
    {{0x386, 0x391}, {0x388, 0x395}, {0x389, 0x397}, {0x38A, 0x399}, {0x38C, 0x39F}, {0x38E, 0x3A5},
     {0x38F, 0x3A9}, {0x3AA, 0x399}, {0x3AB, 0x3A5}, {0x3AC, 0x3B1}, {0x3AD, 0x3B5}, {0x3AE, 0x3B7},
     {0x3AF, 0x3B9}, {0x390, 0x3B9}, {0x3CA, 0x3B9}, {0x3CC, 0x3BF}, {0x3CD, 0x3C5}, {0x3CB, 0x3C5},
     {0x3B0, 0x3C5}, {0x3CE, 0x3C9}, {0x3C2, 0x3C3}}};

bool Greek(char32_t cp, Romanised& r) {
  for (const auto& [marked, plain] : kGreekPlain) {
    if (cp == marked) cp = plain;
  }
  if (cp >= 0x391 && cp <= 0x3A9 && cp != 0x3A2) {
    r = {kGreekCapitals[cp - 0x391], false};
  } else if (cp >= 0x3B1 && cp <= 0x3C9 && cp != 0x3C2) {
    r = {kGreekCapitals[cp - 0x3B1], true};
  } else {
    return false;
  }
  return true;
}

bool Romanise(char32_t cp, Romanised& r) {
  return Cyrillic(cp, r) || Greek(cp, r);
}

// Marks and signs of other blocks that have a plain counterpart; "" drops the character.
bool Punctuation(char32_t cp, std::string& out) {
  if (cp >= 0x300 && cp <= 0x36F) {  // combining marks: a decomposed letter keeps its base letter
    out.clear();
  } else if (cp == 0x200B || cp == 0x200C || cp == 0x200D || cp == 0xFEFF) {
    out.clear();
  } else if ((cp >= 0x2010 && cp <= 0x2012) || cp == 0x2212) {
    out = "-";
  } else if ((cp >= 0x2000 && cp <= 0x200A) || cp == 0x202F) {
    out = " ";
  } else if (cp == 0x2BB || cp == 0x2BC || cp == 0x2B9 || cp == 0x2032) {
    out = "'";
  } else if (cp == 0x2033) {
    out = "\"";
  } else {
    return false;
  }
  return true;
}

// Whether the letter next to a romanised capital is a capital too: then a form of several letters is
// written in capitals ("ЩЕРБАКОВ" gives "SHCHERBAKOV", "Щукин" gives "Shchukin").
enum class LetterCase { None, Lower, Upper };

LetterCase CaseAt(std::string_view text, std::size_t i) {
  if (i >= text.size()) return LetterCase::None;
  char32_t cp = 0;
  if (!text::NextUtf8(text, i, cp)) return LetterCase::None;
  Romanised r;
  if (Romanise(cp, r)) return r.lower ? LetterCase::Lower : LetterCase::Upper;
  if (cp < 0x80 && std::isalpha(static_cast<int>(cp))) {
    return std::islower(static_cast<int>(cp)) ? LetterCase::Lower : LetterCase::Upper;
  }
  return LetterCase::None;
}

std::string Cased(std::string_view capital, bool lower, bool allCapitals) {
  std::string out(capital);
  for (std::size_t k = 0; k < out.size(); ++k) {
    const auto c = static_cast<unsigned char>(out[k]);
    const bool upper = !lower && (k == 0 || allCapitals);
    out[k] = static_cast<char>(upper ? std::toupper(c) : std::tolower(c));
  }
  return out;
}

bool IsGreekUpsilon(char32_t cp) {
  return cp == 0x3A5 || cp == 0x3C5 || cp == 0x38E || cp == 0x3CD;
}

bool IsGreekOmicron(char32_t cp) {
  return cp == 0x39F || cp == 0x3BF || cp == 0x38C || cp == 0x3CC;
}

}  // namespace

bool IsWellFormedUtf8(std::string_view text) {
  std::size_t i = 0;
  char32_t cp = 0;
  while (i < text.size()) {
    if (!text::NextUtf8(text, i, cp)) return false;
  }
  return true;
}

std::string ToListText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  char32_t previousCp = 0;
  LetterCase previousCase = LetterCase::None;
  while (i < utf8.size()) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {  // the common case, kept as it is
      out += utf8[i++];
      previousCp = byte;
      previousCase = std::isalpha(byte) ? (std::islower(byte) ? LetterCase::Lower : LetterCase::Upper)
                                        : LetterCase::None;
      continue;
    }
    const std::size_t start = i;
    char32_t cp = 0;
    if (!text::NextUtf8(utf8, i, cp)) {
      out += '?';
      previousCp = 0, previousCase = LetterCase::None;
      continue;
    }
    const std::string inCodePage = text::Utf8ToCp1252(utf8.substr(start, i - start));
    std::string plain;
    Romanised r;
    if (inCodePage != "?" || cp == '?') {
      out += inCodePage;
    } else if (LatinBase(cp, plain) || Punctuation(cp, plain)) {
      out += plain;
    } else if (Romanise(cp, r)) {
      if (IsGreekUpsilon(cp) && IsGreekOmicron(previousCp)) r.capital = "U";  // the digraph ου is ou
      const LetterCase next = CaseAt(utf8, i);
      const LetterCase neighbour = next != LetterCase::None ? next : previousCase;
      out += Cased(r.capital, r.lower, !r.lower && neighbour == LetterCase::Upper);
    } else {
      out += '?';
    }
    previousCp = cp;
    previousCase = CaseAt(utf8, start);
  }
  return out;
}

std::string FileContentToListText(std::string_view bytes) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    return ToListText(bytes.substr(kByteOrderMark.size()));
  if (IsWellFormedUtf8(bytes)) return ToListText(bytes);
  return std::string(bytes);
}

std::string ListDate(std::string_view text) {
  auto digits = [&text](std::size_t from, std::size_t count) {
    if (text.size() < from + count) return false;
    for (std::size_t k = from; k < from + count; ++k) {
      if (!std::isdigit(static_cast<unsigned char>(text[k]))) return false;
    }
    return true;
  };
  if (digits(0, 4) && text.size() >= 10 && text[4] == '-' && digits(5, 2) && text[7] == '-' && digits(8, 2)) {
    return std::string(text.substr(8, 2)) + "." + std::string(text.substr(5, 2)) + "." +
           std::string(text.substr(0, 4));
  }
  if (digits(0, 2) && text.size() >= 10 && text[2] == '/' && digits(3, 2) && text[5] == '/' && digits(6, 4)) {
    return std::string(text.substr(0, 2)) + "." + std::string(text.substr(3, 2)) + "." +
           std::string(text.substr(6, 4));
  }
  return "-";
}

}  // namespace vmk::publish
