// Helpers of the PDF writer's tests: running the installed PDF readers on a written file, rendering a
// page to pixels, and building small JPEG and PNG pictures.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace vmk::reports::testing {

struct CommandResult {
  int status = -1;     // exit status, -1 when the command could not be run
  std::string output;  // standard output and standard error
};

CommandResult RunCommand(const std::string& command);
// The command line form of a path, in single quotes.
std::string Quoted(const std::filesystem::path& path);
// The names of the programs that are not installed ("" when all are).
std::string MissingTools(std::initializer_list<const char*> programs);

#define VMK_REQUIRE_TOOLS(...)                                                          \
  do {                                                                                  \
    const std::string missing = ::vmk::reports::testing::MissingTools({__VA_ARGS__});   \
    if (!missing.empty()) GTEST_SKIP() << "PDF reader tools not installed:" << missing; \
  } while (false)

// The text of one page as pdftotext lays it out (UTF-8).
std::string PageText(const std::filesystem::path& pdf, int page);

struct Rgb {
  int red = 0, green = 0, blue = 0;
};

// One page rendered by pdftoppm at the resolution; pixels addressed in millimetres from the top left.
class RenderedPage {
 public:
  RenderedPage(const std::filesystem::path& pdf, int page, int dotsPerInch);
  bool valid() const { return width_ > 0; }
  Rgb At(double xMillimetres, double yMillimetres) const;

 private:
  int width_ = 0, height_ = 0;
  double pixelsPerMillimetre_ = 0;
  std::vector<unsigned char> rgb_;
};

// A PNG file; rows are the raw samples of each row without the filter byte. The rows are written
// with the Sub and Up filters in turn, as encoders do, so a reader must undo them.
struct PngPicture {
  int width = 1, height = 1, bitDepth = 8, colourType = 2;
  bool interlaced = false;
  std::string palette;  // PLTE contents
  std::vector<std::string> rows;
};
std::string PngFile(const PngPicture& picture);

// A 16 x 8 baseline JPEG, filled with RGB 200, 30, 30.
std::string RedJpeg();
// The headers of a JPEG without scan data: enough for the writer, which stores the data unchanged.
std::string JpegHeaders(int components, int bits, bool adobeMarker);

}  // namespace vmk::reports::testing
