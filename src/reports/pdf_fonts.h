// Font faces as the PDF writer uses them: the fourteen built-in faces and installed TrueType faces
// resolved from a family name, each with its widths per Windows-1252 byte.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vmk::reports {

// What a font descriptor of an embedded TrueType face states; metrics in 1/1000 em.
struct EmbeddedTrueType {
  int flags = 32;
  std::array<int, 4> boundingBox{};
  double italicAngle = 0;
  int ascent = 0;
  int descent = 0;
  int capHeight = 0;
  int stemV = 70;
  int missingWidth = 0;
  std::string fontFile;  // the whole .ttf file
};

struct FontFace {
  std::string baseName;                      // PostScript name written as /BaseFont
  bool winAnsi = true;                       // written with /Encoding /WinAnsiEncoding
  std::array<int, 256> widths{};             // 1/1000 em per byte
  std::optional<EmbeddedTrueType> embedded;  // set for installed TrueType faces

  // Width of a text in 1/1000 em.
  long long Width(std::string_view text) const;
};

// Lower-cased, blank-trimmed family name with "arial" meaning "helvetica".
std::string NormalisedFamily(std::string_view family);

// One of the built-in faces for a normalised family name ("courier", "helvetica", "times", "symbol",
// "zapfdingbats"); nothing for any other family.
std::optional<FontFace> BuiltInFace(std::string_view normalisedFamily, bool bold, bool italic);

// The face for a normalised family: built in, else the installed TrueType face, else Helvetica in the
// same style.
FontFace ResolveFace(std::string_view normalisedFamily, bool bold, bool italic);

}  // namespace vmk::reports
