#include "reports/pdf_fonts.h"

#include <algorithm>

#include "reports/core_font_tables.h"
#include "reports/truetype_font.h"
#include "text/cp1252.h"

namespace vmk::reports {
namespace {

// Base names of the styled faces of a built-in family: regular, bold, italic, bold italic.
struct BuiltInFamily {
  std::string_view family;
  std::array<std::string_view, 4> baseNames;
};

constexpr BuiltInFamily kBuiltInFamilies[] = {
    {"courier", {"Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique"}},
    {"helvetica", {"Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique"}},
    {"times", {"Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic"}},
    {"symbol", {"Symbol", "Symbol", "Symbol", "Symbol"}},
    {"zapfdingbats", {"ZapfDingbats", "ZapfDingbats", "ZapfDingbats", "ZapfDingbats"}},
};

std::optional<FontFace> CoreFace(std::string_view baseName) {
  for (const CoreFontTable& table : CoreFontTables()) {
    if (table.baseName != baseName) continue;
    FontFace face;
    face.baseName = std::string(baseName);
    face.winAnsi = table.winAnsi;
    std::copy(table.widths.begin(), table.widths.end(), face.widths.begin());
    return face;
  }
  return std::nullopt;
}

}  // namespace

long long FontFace::Width(std::string_view text) const {
  long long total = 0;
  for (const char c : text) total += widths[static_cast<unsigned char>(c)];
  return total;
}

std::string NormalisedFamily(std::string_view family) {
  std::string name = text::TrimBlanks(family);
  std::transform(name.begin(), name.end(), name.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
  return name == "arial" ? "helvetica" : name;
}

std::optional<FontFace> BuiltInFace(std::string_view normalisedFamily, bool bold, bool italic) {
  for (const BuiltInFamily& family : kBuiltInFamilies) {
    if (family.family == normalisedFamily)
      return CoreFace(family.baseNames[(bold ? 1 : 0) + (italic ? 2 : 0)]);
  }
  return std::nullopt;
}

FontFace ResolveFace(std::string_view normalisedFamily, bool bold, bool italic) {
  if (auto face = BuiltInFace(normalisedFamily, bold, italic)) return *face;
  if (auto file = FindTrueTypeFile(normalisedFamily, bold, italic)) {
    if (auto face = LoadTrueTypeFace(*file)) return *face;
  }
  return *BuiltInFace("helvetica", bold, italic);
}

}  // namespace vmk::reports
