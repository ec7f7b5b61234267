// Installed faces for family names that are not built in: fontconfig's choice taken only when it
// belongs to the family, and only TrueType files, which can be embedded as they are.
#include "reports/truetype_font.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vmk::reports {
namespace {

constexpr const char* kDejaVuFolder = "/usr/share/fonts/truetype/dejavu/";

TEST(InstalledFaces, StylesOfTheSansFamilySelectTheirOwnFiles) {
  if (!std::filesystem::exists(std::string(kDejaVuFolder) + "DejaVuSans.ttf"))
    GTEST_SKIP() << "DejaVu fonts missing";
  struct Case {
    const char* family;
    bool bold, italic;
    const char* file;
  };
  const Case cases[] = {
      {"sans", false, false, "DejaVuSans.ttf"},        {"sans", true, false, "DejaVuSans-Bold.ttf"},
      {"sans", false, true, "DejaVuSans-Oblique.ttf"}, {"sans", true, true, "DejaVuSans-BoldOblique.ttf"},
      {"dejavu sans", false, false, "DejaVuSans.ttf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const auto file = FindTrueTypeFile(c.family, c.bold, c.italic);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->filename(), c.file);
  }
}

TEST(InstalledFaces, UnknownFamiliesAndFacesWithoutTrueTypeOutlinesAreNotResolved) {
  EXPECT_FALSE(FindTrueTypeFile("no such family anywhere", false, false).has_value());
  EXPECT_FALSE(FindTrueTypeFile("", false, false).has_value());
  // The URW faces are installed as CFF OpenType and Type 1 files only.
  if (std::filesystem::exists("/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf")) {
    EXPECT_FALSE(FindTrueTypeFile("nimbus sans", false, false).has_value());
  }
}

TEST(InstalledFaces, MeasuresTheFaceForItsDescriptor) {
  const std::string file = std::string(kDejaVuFolder) + "DejaVuSans-Oblique.ttf";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "DejaVu fonts missing";
  const auto face = LoadTrueTypeFace(file);
  ASSERT_TRUE(face.has_value());
  ASSERT_TRUE(face->embedded.has_value());
  EXPECT_EQ(face->baseName, "DejaVuSans-Oblique");
  EXPECT_EQ(face->embedded->fontFile.size(), std::filesystem::file_size(file));
  EXPECT_LT(face->embedded->italicAngle, -5);
  EXPECT_EQ(face->embedded->flags, 32 | 64);  // nonsymbolic, italic
  EXPECT_GT(face->embedded->ascent, face->embedded->capHeight);
  EXPECT_LT(face->embedded->descent, 0);
  // Advance widths in 1/1000 em: the digits share one width, "W" is wider than "i".
  EXPECT_EQ(face->widths['0'], face->widths['9']);
  EXPECT_GT(face->widths['W'], 2 * face->widths['i']);
  EXPECT_GT(face->widths[0xC4], 0);  // A umlaut through the Unicode character map
  EXPECT_FALSE(LoadTrueTypeFace("/no/such/font.ttf").has_value());
  EXPECT_FALSE(LoadTrueTypeFace("/usr/share/fonts/type1/urw-base35/NimbusSans-Regular.afm").has_value());
}

}  // namespace
}  // namespace vmk::reports
