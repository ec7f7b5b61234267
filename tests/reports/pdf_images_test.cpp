// Pictures in the PDF writer: JPEG and PNG files embedded unchanged, listed and drawn by real readers,
// and the pictures that cannot be stored that way refused.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "pdf_test_tools.h"
#include "reports/pdf_document.h"
#include "support/test_support.h"

namespace vmk::reports {
namespace {

using testing::PngFile;
using testing::PngPicture;
using testing::Quoted;
using testing::Rgb;
using testing::RunCommand;

// 8 x 4 pixels: the left half green, the right half blue.
PngPicture TwoColourRgb() {
  PngPicture picture{8, 4, 8, 2, false, "", {}};
  std::string row;
  for (int x = 0; x < 8; ++x) row += x < 4 ? std::string("\x00\xA0\x00", 3) : std::string("\x00\x00\xF0", 3);
  picture.rows.assign(4, row);
  return picture;
}

// 8 x 2 pixels, four bits per index: orange on the left, purple on the right.
PngPicture TwoColourPalette() {
  PngPicture picture{8, 2, 4, 3, false, std::string("\xFF\x80\x00\x80\x00\x80", 6), {}};
  picture.rows.assign(2, std::string("\x00\x00\x11\x11", 4));
  return picture;
}

// 4 x 2 pixels of grey 0x40.
PngPicture DarkGrey() {
  PngPicture picture{4, 2, 8, 0, false, "", {}};
  picture.rows.assign(2, std::string(4, '\x40'));
  return picture;
}

// The contents of the IDAT chunks of a PNG file, joined.
std::string IdatData(const std::string& png) {
  std::string data;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    std::size_t length = 0;
    for (std::size_t i = 0; i < 4; ++i) length = (length << 8) | static_cast<unsigned char>(png[at + i]);
    if (png.compare(at + 4, 4, "IDAT") == 0) data += png.substr(at + 8, length);
    at += 12 + length;
  }
  return data;
}

bool Near(Rgb pixel, Rgb expected) {
  const auto close = [](int a, int b) { return a - b <= 12 && b - a <= 12; };
  return close(pixel.red, expected.red) && close(pixel.green, expected.green) &&
         close(pixel.blue, expected.blue);
}

std::string Describe(Rgb pixel) {
  return std::to_string(pixel.red) + "," + std::to_string(pixel.green) + "," + std::to_string(pixel.blue);
}

class Pictures : public ::testing::Test {
 protected:
  std::filesystem::path Picture(const std::string& name, const std::string& bytes) {
    vmk::testing::WriteFile(folder / name, bytes);
    return folder / name;
  }
  std::string Saved() {
    EXPECT_TRUE(pdf.Save(file));
    return vmk::testing::ReadFile(file);
  }

  vmk::testing::TempDir folder;
  std::filesystem::path file = folder / "pictures.pdf";
  PdfDocument pdf;
};

TEST_F(Pictures, ReadersListAndDrawJpegAndPngPictures) {
  VMK_REQUIRE_TOOLS("qpdf", "pdfimages", "pdftoppm");
  pdf.AddPage();
  ASSERT_TRUE(pdf.Image(Picture("red.jpg", testing::RedJpeg()), 20, 20, 80));
  ASSERT_TRUE(pdf.Image(Picture("rgb.png", PngFile(TwoColourRgb())), 120, 20, 160));
  ASSERT_TRUE(pdf.Image(Picture("palette.png", PngFile(TwoColourPalette())), 20, 120, 160));
  ASSERT_TRUE(pdf.Image(Picture("grey.png", PngFile(DarkGrey())), 200, 120, 80));
  Saved();
  EXPECT_EQ(RunCommand("qpdf --check " + Quoted(file)).status, 0);

  const std::string list = RunCommand("pdfimages -list " + Quoted(file)).output;
  for (const char* row :
       {"image\\s+16\\s+8\\s+rgb\\s+3\\s+8\\s+jpeg", "image\\s+8\\s+4\\s+rgb\\s+3\\s+8\\s+image",
        "image\\s+8\\s+2\\s+index\\s+1\\s+4\\s+image", "image\\s+4\\s+2\\s+gray\\s+1\\s+8\\s+image"}) {
    EXPECT_TRUE(std::regex_search(list, std::regex(row))) << row << "\n" << list;
  }

  const testing::RenderedPage page(file, 1, 36);
  ASSERT_TRUE(page.valid());
  struct Probe {
    const char* what;
    double x, y;
    Rgb colour;
  };
  const Probe probes[] = {
      {"jpeg", 60, 40, {200, 30, 30}},
      {"png left", 150, 40, {0, 160, 0}},
      {"png right", 250, 40, {0, 0, 240}},
      {"palette left", 60, 130, {255, 128, 0}},
      {"palette right", 160, 130, {128, 0, 128}},
      {"grey", 240, 140, {64, 64, 64}},
      {"blank page", 110, 100, {255, 255, 255}},
  };
  for (const Probe& probe : probes) {
    EXPECT_TRUE(Near(page.At(probe.x, probe.y), probe.colour))
        << probe.what << ": " << Describe(page.At(probe.x, probe.y));
  }
}

TEST_F(Pictures, HeightFollowsTheAspectRatioAndAPictureIsStoredOnce) {
  pdf.AddPage();
  const auto jpeg = Picture("logo.jpg", testing::RedJpeg());
  ASSERT_TRUE(pdf.Image(jpeg, 10, 10, 35));
  pdf.AddPage();
  ASSERT_TRUE(pdf.Image(jpeg, 10, 10, 35));
  ASSERT_TRUE(pdf.Image(jpeg, 50, 10, 0, 20));  // width from the height
  const std::string bytes = Saved();
  // 35 mm wide and 17.5 mm high, its top 10 mm below the page's top edge.
  EXPECT_NE(bytes.find("q 99.21 0 0 49.61 28.35 517.33 cm /I1 Do Q"), std::string::npos);
  EXPECT_NE(bytes.find("q 113.39 0 0 56.69 141.73 510.24 cm /I1 Do Q"), std::string::npos);
  EXPECT_EQ(bytes.find("/Subtype /Image"), bytes.rfind("/Subtype /Image"));
  EXPECT_NE(bytes.find("/Filter /DCTDecode /Length 271>>"), std::string::npos);
}

TEST_F(Pictures, JpegColourSpacesFollowTheComponents) {
  struct Case {
    int components;
    bool adobe;
    const char* colourSpace;
    bool inverted;
  };
  const Case cases[] = {{1, false, "/DeviceGray", false},
                        {3, false, "/DeviceRGB", false},
                        {4, false, "/DeviceCMYK", false},
                        {4, true, "/DeviceCMYK", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.colourSpace + std::string(c.adobe ? " Adobe" : ""));
    PdfDocument document;
    document.AddPage();
    const auto picture = Picture("c.jpg", testing::JpegHeaders(c.components, 8, c.adobe));
    ASSERT_TRUE(document.Image(picture, 10, 10, 20));
    ASSERT_TRUE(document.Save(file));
    const std::string bytes = vmk::testing::ReadFile(file);
    EXPECT_NE(bytes.find("/Width 10 /Height 6 /ColorSpace " + std::string(c.colourSpace) +
                         " /BitsPerComponent 8 /Filter /DCTDecode"),
              std::string::npos);
    EXPECT_EQ(bytes.find("/Decode [1 0 1 0 1 0 1 0]") != std::string::npos, c.inverted);
  }
}

TEST_F(Pictures, PngDataIsStoredUnchangedWithThePredictorOfItsRows) {
  pdf.AddPage();
  const std::string png = PngFile(TwoColourRgb());
  ASSERT_TRUE(pdf.Image(Picture("rgb.png", png), 10, 10, 40));
  const std::string bytes = Saved();
  EXPECT_NE(bytes.find("/Filter /FlateDecode /DecodeParms <</Predictor 15 /Colors 3 /BitsPerComponent 8 "
                       "/Columns 8>>"),
            std::string::npos);
  const std::string data = IdatData(png);
  EXPECT_NE(bytes.find("/Length " + std::to_string(data.size()) + ">>\nstream\n" + data + "\nendstream"),
            std::string::npos);
}

TEST_F(Pictures, PicturesThatCannotBeStoredUnchangedAreRefused) {
  VMK_REQUIRE_TOOLS("qpdf");
  PngPicture alpha = TwoColourRgb();
  alpha.colourType = 6;
  PngPicture interlaced = TwoColourRgb();
  interlaced.interlaced = true;
  PngPicture deep = DarkGrey();
  deep.bitDepth = 16;
  PngPicture noPalette = TwoColourPalette();
  noPalette.palette.clear();
  const std::string png = PngFile(TwoColourRgb());
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"alpha", PngFile(alpha)},
      {"interlaced", PngFile(interlaced)},
      {"16 bits", PngFile(deep)},
      {"palette missing", PngFile(noPalette)},
      {"truncated png", png.substr(0, png.size() - 20)},
      {"12-bit jpeg", testing::JpegHeaders(3, 12, false)},
      {"jpeg without frame", "\xFF\xD8\xFF\xD9"},
      {"text", "not a picture"},
      {"empty", ""},
  };
  pdf.AddPage();
  for (const Case& c : cases) EXPECT_FALSE(pdf.Image(Picture("bad", c.bytes), 10, 10, 20)) << c.name;
  EXPECT_FALSE(pdf.Image(folder / "Tamberlogo.jpg", 10, 10, 35)) << "missing file";
  pdf.Cell(0, 10, "still written");
  const std::string bytes = Saved();
  EXPECT_EQ(bytes.find("/XObject"), std::string::npos);
  EXPECT_EQ(bytes.find(" Do "), std::string::npos);
  EXPECT_EQ(RunCommand("qpdf --check " + Quoted(file)).status, 0);
}

}  // namespace
}  // namespace vmk::reports
