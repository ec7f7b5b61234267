#include "text/cp1252.h"

#include <array>
#include <cstdint>

namespace vmk::text {
namespace {

// Unicode code points of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePointOf(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F) return kHighControls[c - 0x80];
  return c;
}

bool ByteOf(char32_t cp, unsigned char& out) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
    out = static_cast<unsigned char>(cp);
    return true;
  }
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == cp) {
      out = static_cast<unsigned char>(0x80 + i);
      return true;
    }
  }
  return false;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

bool NextUtf8(std::string_view text, std::size_t& i, char32_t& cp) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) {
    cp = lead;
    return true;
  }
  int extra = 0;
  char32_t min = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, min = 0x10000;
  } else {
    return false;
  }
  std::size_t j = i;
  for (int k = 0; k < extra; ++k, ++j) {
    if (j >= text.size() || (static_cast<unsigned char>(text[j]) & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (static_cast<unsigned char>(text[j]) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  i = j;
  return true;
}

unsigned char ToUpper1252(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A:
      return 0x8A;  // š
    case 0x9C:
      return 0x8C;  // œ
    case 0x9E:
      return 0x8E;  // ž
    case 0xFF:
      return 0x9F;  // ÿ
    default:
      break;
  }
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  return c;
}

std::string ToUpper1252(std::string_view text) {
  std::string out(text);
  for (char& ch : out) ch = static_cast<char>(ToUpper1252(static_cast<unsigned char>(ch)));
  return out;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x -= 0x20;
    if (y >= 'a' && y <= 'z') y -= 0x20;
    if (x != y) return false;
  }
  return true;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (char ch : text) AppendUtf8(out, CodePointOf(static_cast<unsigned char>(ch)));
  return out;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    char32_t cp = 0;
    unsigned char byte = '?';
    if (NextUtf8(text, i, cp) && ByteOf(cp, byte)) {
      out += static_cast<char>(byte);
    } else {
      out += '?';
    }
  }
  return out;
}

std::string TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace vmk::text
