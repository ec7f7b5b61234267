#include "reports/pdf_syntax.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "text/cp1252.h"

namespace vmk::reports {
namespace {

void AppendUtf16Unit(std::string& out, unsigned unit) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
}

// Code points of a UTF-8 text as the code-page conversion produces it (well formed, at most 3 bytes).
template <typename Sink>
void ForEachCodePoint(std::string_view utf8, Sink sink) {
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : 2;
    char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra && i + static_cast<std::size_t>(k) < utf8.size(); ++k) {
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    sink(cp);
  }
}

}  // namespace

std::string PdfNumber(double value) {
  if (!std::isfinite(value)) value = 0;
  // Rounding first keeps "-0.00" out of the file.
  double rounded = std::round(value * 100.0) / 100.0;
  if (rounded == 0) rounded = 0;
  std::array<char, 64> buffer{};
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), rounded, std::chars_format::fixed, 2);
  return std::string(buffer.data(), result.ptr);
}

std::string EscapedStringBytes(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + 8);
  for (const char c : bytes) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '(':
        out += "\\(";
        break;
      case ')':
        out += "\\)";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string PdfLiteralString(std::string_view bytes) {
  return "(" + EscapedStringBytes(bytes) + ")";
}

std::string PdfUtf16String(std::string_view cp1252) {
  std::string out = "<FEFF";
  // Every character of the code page lies in the Basic Multilingual Plane: one UTF-16 unit each.
  ForEachCodePoint(text::Cp1252ToUtf8(cp1252), [&out](char32_t cp) { AppendUtf16Unit(out, cp); });
  return out + ">";
}

std::string PdfDate(std::time_t moment) {
  std::tm local{};
  localtime_r(&moment, &local);
  const long offsetMinutes = local.tm_gmtoff / 60;
  const long absolute = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "D:%04d%02d%02d%02d%02d%02d%c%02ld'%02ld'",
                local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                local.tm_sec, offsetMinutes < 0 ? '-' : '+', absolute / 60, absolute % 60);
  return buffer.data();
}

}  // namespace vmk::reports
