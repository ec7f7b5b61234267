// Character widths of the fourteen standard PDF faces, generated at build time from the metric-compatible
// URW AFM files: 1/1000 em per byte of a PDF string (Windows-1252 code, or the face's own code).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace vmk::reports {

struct CoreFontTable {
  std::string_view baseName;  // "Helvetica-Bold"
  bool winAnsi;               // false for Symbol and ZapfDingbats, which keep their built-in encoding
  std::array<std::uint16_t, 256> widths;
};

std::span<const CoreFontTable> CoreFontTables();

}  // namespace vmk::reports
