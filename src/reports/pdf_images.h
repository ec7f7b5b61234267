// Pictures for the PDF writer: JPEG and PNG files read just far enough to describe them as image
// XObjects whose data is the file's compressed data, stored unchanged.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vmk::reports {

enum class ImageColourSpace { Gray, Rgb, Cmyk, Indexed };
enum class ImageFilter { Dct, Flate };

struct PdfImage {
  int width = 0;
  int height = 0;
  int bitsPerComponent = 8;
  ImageColourSpace colourSpace = ImageColourSpace::Rgb;
  int colours = 3;  // samples per pixel, as the PNG predictor counts them
  ImageFilter filter = ImageFilter::Dct;
  bool invertedCmyk = false;  // Adobe CMYK JPEG: stored with inverted values
  std::string palette;        // RGB triples of an indexed picture
  std::string data;           // the JPEG file, or the concatenated IDAT data of a PNG
};

// Baseline or progressive JPEG with 8-bit grey, RGB or CMYK samples.
std::optional<PdfImage> ParseJpeg(std::string_view bytes);
// Non-interlaced PNG without alpha: grey or palette (1 to 8 bits) or RGB (8 bits). Transparency
// chunks are ignored; the picture is drawn opaque.
std::optional<PdfImage> ParsePng(std::string_view bytes);
// The picture of a JPEG or PNG file, told apart by its signature; nothing when missing or unusable.
std::optional<PdfImage> LoadImageFile(const std::filesystem::path& file);

}  // namespace vmk::reports
