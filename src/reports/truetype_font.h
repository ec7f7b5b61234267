// Installed TrueType faces: the file fontconfig picks for a family and style, and the face measured with
// FreeType for embedding as a simple WinAnsi-encoded TrueType font.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "reports/pdf_fonts.h"

namespace vmk::reports {

// The TrueType file of the family in the style, or nothing when no installed face belongs to the family
// (fontconfig's own fallback to some other family does not count; a generic name such as "Sans" does).
std::optional<std::filesystem::path> FindTrueTypeFile(std::string_view family, bool bold, bool italic);

// Widths and descriptor of a TrueType file, or nothing when it cannot be read or embedded.
std::optional<FontFace> LoadTrueTypeFace(const std::filesystem::path& file);

}  // namespace vmk::reports
