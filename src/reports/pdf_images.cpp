#include "reports/pdf_images.h"

#include <fstream>
#include <sstream>

namespace vmk::reports {
namespace {

constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1A\n";

unsigned Byte(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]);
}
unsigned BigEndian16(std::string_view bytes, std::size_t at) {
  return (Byte(bytes, at) << 8) | Byte(bytes, at + 1);
}
unsigned long BigEndian32(std::string_view bytes, std::size_t at) {
  return (static_cast<unsigned long>(BigEndian16(bytes, at)) << 16) | BigEndian16(bytes, at + 2);
}

// Markers that stand alone, without a length field.
bool IsStandaloneMarker(unsigned marker) {
  return marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7);
}
// Frame headers a PDF reader decodes: baseline, extended sequential and progressive Huffman coding.
bool IsSupportedFrame(unsigned marker) {
  return marker >= 0xC0 && marker <= 0xC2;
}
// Every other start-of-frame marker (lossless, hierarchical, arithmetic coding).
bool IsOtherFrame(unsigned marker) {
  return marker >= 0xC3 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool ReadJpegFrame(std::string_view segment, PdfImage& image) {
  if (segment.size() < 6) return false;
  image.bitsPerComponent = static_cast<int>(Byte(segment, 0));
  image.height = static_cast<int>(BigEndian16(segment, 1));
  image.width = static_cast<int>(BigEndian16(segment, 3));
  image.colours = static_cast<int>(Byte(segment, 5));
  switch (image.colours) {
    case 1:
      image.colourSpace = ImageColourSpace::Gray;
      break;
    case 3:
      image.colourSpace = ImageColourSpace::Rgb;
      break;
    case 4:
      image.colourSpace = ImageColourSpace::Cmyk;
      break;
    default:
      return false;
  }
  // A height of 0 would be given later in a DNL segment, which PDF readers do not look for.
  return image.bitsPerComponent == 8 && image.width > 0 && image.height > 0;
}

bool ReadPngHeader(std::string_view header, PdfImage& image) {
  if (header.size() != 13) return false;
  const unsigned long width = BigEndian32(header, 0);
  const unsigned long height = BigEndian32(header, 4);
  const unsigned bits = Byte(header, 8);
  const unsigned colourType = Byte(header, 9);
  // Compression and filter methods other than 0 are unknown; interlaced rows would need re-encoding.
  if (Byte(header, 10) != 0 || Byte(header, 11) != 0 || Byte(header, 12) != 0) return false;
  if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return false;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.bitsPerComponent = static_cast<int>(bits);
  image.filter = ImageFilter::Flate;
  const bool smallDepth = bits == 1 || bits == 2 || bits == 4 || bits == 8;
  switch (colourType) {
    case 0:
      image.colourSpace = ImageColourSpace::Gray, image.colours = 1;
      return smallDepth;
    case 2:
      image.colourSpace = ImageColourSpace::Rgb, image.colours = 3;
      return bits == 8;
    case 3:
      image.colourSpace = ImageColourSpace::Indexed, image.colours = 1;
      return smallDepth;
    default:  // grey or RGB with an alpha channel
      return false;
  }
}

}  // namespace

std::optional<PdfImage> ParseJpeg(std::string_view bytes) {
  if (bytes.size() < 4 || Byte(bytes, 0) != 0xFF || Byte(bytes, 1) != 0xD8) return std::nullopt;
  PdfImage image;
  bool frameFound = false;
  std::size_t at = 2;
  while (at + 4 <= bytes.size()) {
    if (Byte(bytes, at) != 0xFF) return std::nullopt;
    const unsigned marker = Byte(bytes, at + 1);
    if (marker == 0xFF) {  // fill byte before a marker
      ++at;
      continue;
    }
    at += 2;
    if (IsStandaloneMarker(marker)) continue;
    if (marker == 0xDA || marker == 0xD9) break;  // start of scan or end of image: no headers follow
    const std::size_t length = BigEndian16(bytes, at);
    if (length < 2 || at + length > bytes.size()) return std::nullopt;
    const std::string_view segment = bytes.substr(at + 2, length - 2);
    if (IsOtherFrame(marker)) return std::nullopt;
    if (IsSupportedFrame(marker)) {
      if (!ReadJpegFrame(segment, image)) return std::nullopt;
      frameFound = true;
    }
    if (marker == 0xEE && segment.substr(0, 5) == "Adobe") image.invertedCmyk = true;
    at += length;
  }
  if (!frameFound) return std::nullopt;
  image.invertedCmyk = image.invertedCmyk && image.colourSpace == ImageColourSpace::Cmyk;
  image.filter = ImageFilter::Dct;
  image.data = std::string(bytes);
  return image;
}

std::optional<PdfImage> ParsePng(std::string_view bytes) {
  if (bytes.substr(0, kPngSignature.size()) != kPngSignature) return std::nullopt;
  PdfImage image;
  bool headerRead = false;
  bool ended = false;
  std::size_t at = kPngSignature.size();
  while (!ended && at + 12 <= bytes.size()) {
    const unsigned long length = BigEndian32(bytes, at);
    const std::string_view type = bytes.substr(at + 4, 4);
    if (length > bytes.size() - at - 12) return std::nullopt;
    const std::string_view chunk = bytes.substr(at + 8, length);
    if (!headerRead && type != "IHDR") return std::nullopt;
    if (type == "IHDR") {
      if (headerRead || !ReadPngHeader(chunk, image)) return std::nullopt;
      headerRead = true;
    } else if (type == "PLTE") {
      image.palette = std::string(chunk);
    } else if (type == "IDAT") {
      image.data.append(chunk);
    } else if (type == "IEND") {
      ended = true;
    }
    at += 12 + length;
  }
  if (!ended || image.data.empty()) return std::nullopt;
  if (image.colourSpace == ImageColourSpace::Indexed) {
    const std::size_t entries = image.palette.size() / 3;
    if (image.palette.size() % 3 != 0 || entries == 0 || entries > 256) return std::nullopt;
  } else {
    image.palette.clear();  // a suggested palette of a true-colour picture is not needed
  }
  return image;
}

std::optional<PdfImage> LoadImageFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  const std::string bytes = content.str();
  if (bytes.compare(0, kPngSignature.size(), kPngSignature) == 0) return ParsePng(bytes);
  return ParseJpeg(bytes);
}

}  // namespace vmk::reports
