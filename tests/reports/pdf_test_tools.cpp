#include "pdf_test_tools.h"

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "support/test_support.h"

namespace vmk::reports::testing {
namespace {

std::uint32_t Crc32(std::string_view bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char c : bytes) {
    crc ^= static_cast<unsigned char>(c);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(std::string_view bytes) {
  std::uint32_t a = 1, b = 0;
  for (const char c : bytes) {
    a = (a + static_cast<unsigned char>(c)) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void AppendBigEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string ZlibStored(std::string_view data) {
  std::string out = "\x78\x01";
  do {
    const std::size_t length = std::min<std::size_t>(data.size(), 65535);
    out += static_cast<char>(length == data.size() ? 1 : 0);
    out += static_cast<char>(length & 0xFF), out += static_cast<char>(length >> 8);
    out += static_cast<char>(~length & 0xFF), out += static_cast<char>((~length >> 8) & 0xFF);
    out.append(data.substr(0, length));
    data.remove_prefix(length);
  } while (!data.empty());
  AppendBigEndian(out, Adler32(out.substr(2)), 4);
  return out;
}

std::string Chunk(std::string_view type, std::string_view data) {
  std::string chunk;
  AppendBigEndian(chunk, static_cast<std::uint32_t>(data.size()), 4);
  std::string typed = std::string(type) + std::string(data);
  chunk += typed;
  AppendBigEndian(chunk, Crc32(typed), 4);
  return chunk;
}

std::string FilteredRows(const PngPicture& picture) {
  const int samples = picture.colourType == 2 ? 3 : 1;
  const std::size_t pixelBytes = static_cast<std::size_t>(std::max(1, samples * picture.bitDepth / 8));
  std::string filtered;
  for (std::size_t r = 0; r < picture.rows.size(); ++r) {
    const std::string& row = picture.rows[r];
    const bool up = r % 2 == 1;
    filtered += static_cast<char>(up ? 2 : 1);
    for (std::size_t i = 0; i < row.size(); ++i) {
      const int before = up ? static_cast<unsigned char>(picture.rows[r - 1][i])
                            : (i >= pixelBytes ? static_cast<unsigned char>(row[i - pixelBytes]) : 0);
      filtered += static_cast<char>((static_cast<unsigned char>(row[i]) - before) & 0xFF);
    }
  }
  return filtered;
}

}  // namespace

CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 4096> buffer{};
  std::size_t read = 0;
  while ((read = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.output.append(buffer.data(), read);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string Quoted(const std::filesystem::path& path) {
  std::string quoted = "'";
  for (const char c : path.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string MissingTools(std::initializer_list<const char*> programs) {
  std::string missing;
  for (const char* program : programs) {
    if (RunCommand(std::string("command -v ") + program + " >/dev/null").status != 0)
      missing += std::string(" ") + program;
  }
  return missing;
}

std::string PageText(const std::filesystem::path& pdf, int page) {
  const std::string number = std::to_string(page);
  return RunCommand("pdftotext -layout -enc UTF-8 -f " + number + " -l " + number + " " + Quoted(pdf) + " -")
      .output;
}

RenderedPage::RenderedPage(const std::filesystem::path& pdf, int page, int dotsPerInch) {
  const std::filesystem::path prefix = pdf.parent_path() / ("render-" + std::to_string(page));
  const std::string number = std::to_string(page);
  if (RunCommand("pdftoppm -r " + std::to_string(dotsPerInch) + " -f " + number + " -l " + number +
                 " -singlefile " + Quoted(pdf) + " " + Quoted(prefix))
          .status != 0) {
    return;
  }
  std::istringstream in(vmk::testing::ReadFile(prefix.string() + ".ppm"));
  std::string magic;
  int maximum = 0;
  in >> magic >> width_ >> height_ >> maximum;
  in.get();
  rgb_.assign(static_cast<std::size_t>(width_ * height_ * 3), 0);
  in.read(reinterpret_cast<char*>(rgb_.data()), static_cast<std::streamsize>(rgb_.size()));
  if (magic != "P6" || maximum != 255 || !in) width_ = 0;
  pixelsPerMillimetre_ = dotsPerInch / 25.4;
}

Rgb RenderedPage::At(double xMillimetres, double yMillimetres) const {
  const int x = static_cast<int>(xMillimetres * pixelsPerMillimetre_);
  const int y = static_cast<int>(yMillimetres * pixelsPerMillimetre_);
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {-1, -1, -1};
  const std::size_t at = static_cast<std::size_t>((y * width_ + x) * 3);
  return {rgb_[at], rgb_[at + 1], rgb_[at + 2]};
}

std::string PngFile(const PngPicture& picture) {
  std::string header;
  AppendBigEndian(header, static_cast<std::uint32_t>(picture.width), 4);
  AppendBigEndian(header, static_cast<std::uint32_t>(picture.height), 4);
  header += static_cast<char>(picture.bitDepth);
  header += static_cast<char>(picture.colourType);
  header += std::string("\0\0", 2);
  header += static_cast<char>(picture.interlaced ? 1 : 0);
  std::string png = "\x89PNG\r\n\x1A\n" + Chunk("IHDR", header);
  if (!picture.palette.empty()) png += Chunk("PLTE", picture.palette);
  const std::string compressed = ZlibStored(FilteredRows(picture));
  // Two IDAT chunks, as large pictures have: the writer must join them.
  const std::size_t half = compressed.size() / 2;
  png += Chunk("IDAT", compressed.substr(0, half)) + Chunk("IDAT", compressed.substr(half));
  return png + Chunk("IEND", "");
}

std::string RedJpeg() {
  static const unsigned char kBytes[] = {
      0xff, 0xd8, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x03, 0x02, 0x02, 0x03, 0x02, 0x02, 0x03, 0x03, 0x03, 0x03,
      0x04, 0x03, 0x03, 0x04, 0x05, 0x08, 0x05, 0x05, 0x04, 0x04, 0x05, 0x0a, 0x07, 0x07, 0x06, 0x08, 0x0c,
      0x0a, 0x0c, 0x0c, 0x0b, 0x0a, 0x0b, 0x0b, 0x0d, 0x0e, 0x12, 0x10, 0x0d, 0x0e, 0x11, 0x0e, 0x0b, 0x0b,
      0x10, 0x16, 0x10, 0x11, 0x13, 0x14, 0x15, 0x15, 0x15, 0x0c, 0x0f, 0x17, 0x18, 0x16, 0x14, 0x18, 0x12,
      0x14, 0x15, 0x14, 0xff, 0xdb, 0x00, 0x43, 0x01, 0x03, 0x04, 0x04, 0x05, 0x04, 0x05, 0x09, 0x05, 0x05,
      0x09, 0x14, 0x0d, 0x0b, 0x0d, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14,
      0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14,
      0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14, 0x14,
      0x14, 0x14, 0x14, 0x14, 0xff, 0xc0, 0x00, 0x11, 0x08, 0x00, 0x08, 0x00, 0x10, 0x03, 0x01, 0x11, 0x00,
      0x02, 0x11, 0x01, 0x03, 0x11, 0x01, 0xff, 0xc4, 0x00, 0x15, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0xff, 0xc4, 0x00, 0x14, 0x10,
      0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0xff, 0xc4, 0x00, 0x16, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0x08, 0xff, 0xc4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xda, 0x00, 0x0c, 0x03,
      0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3f, 0x00, 0x81, 0x26, 0x4d, 0xc6, 0x03, 0xff, 0xd9};
  return std::string(reinterpret_cast<const char*>(kBytes), sizeof kBytes);
}

std::string JpegHeaders(int components, int bits, bool adobeMarker) {
  std::string jpeg = "\xFF\xD8";
  if (adobeMarker)
    jpeg += std::string(
        "\xFF\xEE\x00\x0E"
        "Adobe\x00\x64\x00\x00\x00\x00\x02",
        16);
  std::string frame;
  frame += static_cast<char>(bits);
  AppendBigEndian(frame, 6, 2);   // height
  AppendBigEndian(frame, 10, 2);  // width
  frame += static_cast<char>(components);
  for (int c = 1; c <= components; ++c) frame += std::string{static_cast<char>(c), '\x11', '\x00'};
  jpeg += "\xFF\xC0";
  AppendBigEndian(jpeg, static_cast<std::uint32_t>(frame.size() + 2), 2);
  return jpeg + frame + "\xFF\xD9";
}

}  // namespace vmk::reports::testing
