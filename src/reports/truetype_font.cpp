#include "reports/truetype_font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H
#include FT_ADVANCES_H

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "text/cp1252.h"

namespace vmk::reports {
namespace {

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;
struct ConfigDeleter {
  void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
// A configuration of its own for each lookup: no state shared between threads, nothing left behind.
using ConfigPtr = std::unique_ptr<FcConfig, ConfigDeleter>;

std::string FamilyKey(const FcChar8* family) {
  return NormalisedFamily(reinterpret_cast<const char*>(family));
}

// The families the substituted pattern names with a strong binding: the requested family and the
// families configured as its equivalents. A generic name ("sans") has become its generic family
// ("sans-serif"); an unknown family stays alone, with fontconfig's fallbacks bound weakly.
std::vector<std::string> StronglyBoundFamilies(FcPattern* pattern) {
  std::vector<std::string> families;
  FcValue value;
  FcValueBinding binding;
  for (int i = 0; FcPatternGetWithBinding(pattern, FC_FAMILY, i, &value, &binding) == FcResultMatch; ++i) {
    if (value.type == FcTypeString && binding == FcValueBindingStrong)
      families.push_back(FamilyKey(value.u.s));
  }
  return families;
}

bool IsGenericFamily(const std::string& family) {
  for (const char* generic : {"sans-serif", "serif", "monospace", "cursive", "fantasy", "system-ui"}) {
    if (family == generic) return true;
  }
  return false;
}

// Whether the matched face stands for the requested family: any face of a generic family does, else
// the face must carry one of the strongly bound family names.
bool StandsForFamilies(FcPattern* match, const std::vector<std::string>& families) {
  for (const std::string& family : families) {
    if (IsGenericFamily(family)) return true;
  }
  FcChar8* family = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
    for (const std::string& wanted : families) {
      if (FamilyKey(family) == wanted) return true;
    }
  }
  return false;
}

bool IsTrueTypeFile(FcPattern* match) {
  FcChar8* format = nullptr;
  int index = 0;
  if (FcPatternGetString(match, FC_FONTFORMAT, 0, &format) != FcResultMatch) return false;
  if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch && index != 0) return false;
  return std::string_view(reinterpret_cast<const char*>(format)) == "TrueType";
}

struct LibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using LibraryPtr = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDeleter>;
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

std::string ReadWholeFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return in ? bytes.str() : std::string();
}

// A face that PDF readers can take as /FontFile2: TrueType outlines, a Unicode character map for the
// WinAnsi names, and a licence that allows embedding.
bool IsEmbeddable(FT_Face face) {
  FT_ULong glyfLength = 0;
  if (!FT_IS_SFNT(face) || FT_Load_Sfnt_Table(face, TTAG_glyf, 0, nullptr, &glyfLength) != 0) return false;
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) return false;
  const FT_UShort licence = FT_Get_FSType_Flags(face);
  return (licence & (FT_FSTYPE_RESTRICTED_LICENSE_EMBEDDING | FT_FSTYPE_BITMAP_EMBEDDING_ONLY)) == 0;
}

// Unicode code point of a Windows-1252 byte.
char32_t CodePointOf(unsigned char code) {
  const std::string utf8 = text::Cp1252ToUtf8(std::string(1, static_cast<char>(code)));
  char32_t cp = static_cast<unsigned char>(utf8[0]);
  if (utf8.size() == 2) cp = ((cp & 0x1F) << 6) | (static_cast<unsigned char>(utf8[1]) & 0x3F);
  if (utf8.size() == 3) {
    cp = ((cp & 0x0F) << 12) | ((static_cast<unsigned char>(utf8[1]) & 0x3F) << 6) |
         (static_cast<unsigned char>(utf8[2]) & 0x3F);
  }
  return cp;
}

class Scaler {
 public:
  explicit Scaler(FT_Face face) : unitsPerEm_(face->units_per_EM > 0 ? face->units_per_EM : 1000) {}
  int operator()(long fontUnits) const {
    return static_cast<int>(std::lround(static_cast<double>(fontUnits) * 1000.0 / unitsPerEm_));
  }

 private:
  double unitsPerEm_;
};

int AdvanceOf(FT_Face face, FT_UInt glyph, const Scaler& scale) {
  FT_Fixed advance = 0;
  if (FT_Get_Advance(face, glyph, FT_LOAD_NO_SCALE, &advance) != 0) return 0;
  return scale(static_cast<long>(advance));
}

void MeasureWidths(FT_Face face, const Scaler& scale, FontFace& result) {
  const int missing = AdvanceOf(face, 0, scale);
  for (int code = 32; code < 256; ++code) {
    const FT_UInt glyph = FT_Get_Char_Index(face, CodePointOf(static_cast<unsigned char>(code)));
    result.widths[static_cast<std::size_t>(code)] = glyph == 0 ? missing : AdvanceOf(face, glyph, scale);
  }
  result.embedded->missingWidth = missing;
}

// The top of the capital H, for faces whose OS/2 table is too old to state the cap height.
int CapHeightOfH(FT_Face face, const Scaler& scale) {
  if (FT_Load_Char(face, 'H', FT_LOAD_NO_SCALE) != 0) return scale(face->ascender);
  return scale(face->glyph->metrics.horiBearingY);
}

void DescribeFace(FT_Face face, const Scaler& scale, EmbeddedTrueType& descriptor) {
  descriptor.boundingBox = {scale(face->bbox.xMin), scale(face->bbox.yMin), scale(face->bbox.xMax),
                            scale(face->bbox.yMax)};
  descriptor.ascent = scale(face->ascender);
  descriptor.descent = scale(face->descender);
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const bool statesCapHeight = os2 != nullptr && os2->version >= 2 && os2->sCapHeight > 0;
  descriptor.capHeight = statesCapHeight ? scale(os2->sCapHeight) : CapHeightOfH(face, scale);
  const bool bold =
      os2 != nullptr ? os2->usWeightClass >= 600 : (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
  descriptor.stemV = bold ? 120 : 70;
  auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
  if (post != nullptr) descriptor.italicAngle = static_cast<double>(post->italicAngle) / 65536.0;
  const bool italic = descriptor.italicAngle != 0 || (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
  // Nonsymbolic (the WinAnsi names apply), fixed pitch and italic as the face is.
  descriptor.flags = 32 | (FT_IS_FIXED_WIDTH(face) ? 1 : 0) | (italic ? 64 : 0);
}

// The PostScript name without the characters a PDF name would need escaped.
std::string BaseNameOf(FT_Face face) {
  const char* postscript = FT_Get_Postscript_Name(face);
  std::string name;
  for (const char* c = postscript; c != nullptr && *c != '\0'; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    if (byte > 32 && byte < 127 && std::string_view("()<>[]{}/%#").find(*c) == std::string_view::npos)
      name += *c;
  }
  return name.empty() ? "TrueTypeFace" : name;
}

// Fills the widths and the descriptor from the font file's bytes.
bool MeasureFace(const std::string& bytes, FontFace& result) {
  // A collection would need the single face cut out; only plain .ttf files are embedded.
  if (bytes.size() < 12 || bytes.compare(0, 4, "ttcf") == 0) return false;
  FT_Library rawLibrary = nullptr;
  if (FT_Init_FreeType(&rawLibrary) != 0) return false;
  const LibraryPtr library(rawLibrary);
  FT_Face rawFace = nullptr;
  if (FT_New_Memory_Face(library.get(), reinterpret_cast<const FT_Byte*>(bytes.data()),
                         static_cast<FT_Long>(bytes.size()), 0, &rawFace) != 0) {
    return false;
  }
  const FacePtr face(rawFace);
  if (!IsEmbeddable(face.get())) return false;
  const Scaler scale(face.get());
  result.baseName = BaseNameOf(face.get());
  MeasureWidths(face.get(), scale, result);
  DescribeFace(face.get(), scale, *result.embedded);
  return true;
}

}  // namespace

std::optional<std::filesystem::path> FindTrueTypeFile(std::string_view family, bool bold, bool italic) {
  if (family.empty()) return std::nullopt;
  const ConfigPtr config(FcInitLoadConfigAndFonts());
  PatternPtr pattern(FcPatternCreate());
  if (!config || !pattern) return std::nullopt;
  const std::string name(family);
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  if (!FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern)) return std::nullopt;
  const std::vector<std::string> families = StronglyBoundFamilies(pattern.get());
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  const PatternPtr match(FcFontMatch(config.get(), pattern.get(), &result));
  if (!match || result != FcResultMatch) return std::nullopt;
  if (!StandsForFamilies(match.get(), families) || !IsTrueTypeFile(match.get())) return std::nullopt;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) return std::nullopt;
  return std::filesystem::path(reinterpret_cast<const char*>(file));
}

std::optional<FontFace> LoadTrueTypeFace(const std::filesystem::path& file) {
  FontFace result;
  result.embedded.emplace();
  result.embedded->fontFile = ReadWholeFile(file);
  if (!MeasureFace(result.embedded->fontFile, result)) return std::nullopt;
  return result;
}

}  // namespace vmk::reports
