// vmk-logo FILE: draws the Veldmark logo (a shield with a check mark and the name) as a JPEG file.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// jpeglib.h expects size_t and FILE to be declared before it.
#include <jpeglib.h>

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 140;

struct Rgb {
  unsigned char r, g, b;
};

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kNavy{20, 48, 110};
constexpr Rgb kTeal{0, 140, 150};

class Canvas {
 public:
  Canvas() : pixels_(static_cast<std::size_t>(kWidth * kHeight), kWhite) {}
  void Set(int x, int y, Rgb colour) {
    if (x >= 0 && x < kWidth && y >= 0 && y < kHeight)
      pixels_[static_cast<std::size_t>(y * kWidth + x)] = colour;
  }
  void Block(int x0, int y0, int size, Rgb colour) {
    for (int y = y0; y < y0 + size; ++y)
      for (int x = x0; x < x0 + size; ++x) Set(x, y, colour);
  }
  const std::vector<Rgb>& Pixels() const { return pixels_; }

 private:
  std::vector<Rgb> pixels_;
};

// A shield: straight sides down to two thirds of its height, then curving to a point.
void DrawShield(Canvas& canvas) {
  const int left = 16, right = 116, top = 12, bottom = 128, straight = 80;
  for (int y = top; y <= bottom; ++y) {
    double half = (right - left) / 2.0;
    if (y > straight) half *= std::sqrt(1.0 - std::pow((y - straight) / double(bottom - straight), 2));
    const double centre = (left + right) / 2.0;
    for (int x = int(centre - half); x <= int(centre + half); ++x) canvas.Set(x, y, kNavy);
  }
  // The check mark: two thick strokes.
  const auto stroke = [&](double x0, double y0, double x1, double y1) {
    for (double t = 0; t <= 1; t += 0.002)
      canvas.Block(int(x0 + (x1 - x0) * t) - 5, int(y0 + (y1 - y0) * t) - 5, 11, kWhite);
  };
  stroke(40, 66, 60, 90);
  stroke(60, 90, 96, 42);
}

// Capital letters on a 5 x 7 grid, one string per row.
const std::array<std::string, 7>& Glyph(char letter) {
  static const std::array<std::string, 7> v = {"X...X", "X...X", "X...X", "X...X", ".X.X.", ".X.X.", "..X.."};
  static const std::array<std::string, 7> e = {"XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX"};
  static const std::array<std::string, 7> l = {"X....", "X....", "X....", "X....", "X....", "X....", "XXXXX"};
  static const std::array<std::string, 7> d = {"XXXX.", "X...X", "X...X", "X...X", "X...X", "X...X", "XXXX."};
  static const std::array<std::string, 7> m = {"X...X", "XX.XX", "X.X.X", "X.X.X", "X...X", "X...X", "X...X"};
  static const std::array<std::string, 7> a = {".XXX.", "X...X", "X...X", "XXXXX", "X...X", "X...X", "X...X"};
  static const std::array<std::string, 7> r = {"XXXX.", "X...X", "X...X", "XXXX.", "X.X..", "X..X.", "X...X"};
  static const std::array<std::string, 7> k = {"X...X", "X..X.", "X.X..", "XX...", "X.X..", "X..X.", "X...X"};
  switch (letter) {
    case 'V':
      return v;
    case 'E':
      return e;
    case 'L':
      return l;
    case 'D':
      return d;
    case 'M':
      return m;
    case 'A':
      return a;
    case 'R':
      return r;
    default:
      return k;
  }
}

void DrawName(Canvas& canvas) {
  const std::string name = "VELDMARK";
  const int cell = 6, x0 = 136, y0 = 40;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto& glyph = Glyph(name[i]);
    for (int row = 0; row < 7; ++row)
      for (int column = 0; column < 5; ++column)
        if (glyph[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] == 'X')
          canvas.Block(x0 + int(i) * 6 * cell + column * cell, y0 + row * cell, cell, kNavy);
  }
  for (int x = x0; x < x0 + int(name.size()) * 6 * cell - cell; ++x)
    for (int y = 96; y < 102; ++y) canvas.Set(x, y, kTeal);
}

bool WriteJpeg(const char* file, const Canvas& canvas) {
  std::FILE* out = std::fopen(file, "wb");
  if (out == nullptr) return false;
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, out);
  info.image_width = kWidth;
  info.image_height = kHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 92, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(kWidth * 3);
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < kWidth; ++x) {
      const Rgb& p = canvas.Pixels()[info.next_scanline * kWidth + static_cast<unsigned>(x)];
      row[static_cast<std::size_t>(x * 3)] = p.r;
      row[static_cast<std::size_t>(x * 3 + 1)] = p.g;
      row[static_cast<std::size_t>(x * 3 + 2)] = p.b;
    }
    JSAMPROW pointer = row.data();
    jpeg_write_scanlines(&info, &pointer, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vmk-logo FILE\n");
    return 2;
  }
  Canvas canvas;
  DrawShield(canvas);
  DrawName(canvas);
  return WriteJpeg(argv[1], canvas) ? 0 : 1;
}
