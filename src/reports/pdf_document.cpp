#include "reports/pdf_document.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <map>
#include <optional>
#include <vector>

#include "reports/file_replace.h"
#include "reports/pdf_file_writer.h"
#include "reports/pdf_fonts.h"
#include "reports/pdf_images.h"
#include "reports/pdf_syntax.h"

namespace vmk::reports {
namespace {

constexpr double kPointsPerMillimetre = 72.0 / 25.4;
constexpr double kA4WidthPoints = 595.28;
constexpr double kA4HeightPoints = 841.89;
constexpr double kMarginPoints = 28.35;
constexpr double kLineWidthPoints = 0.567;
constexpr int kUnderlinePosition = -100;  // 1/1000 em below the baseline
constexpr int kUnderlineThickness = 50;

double PointsPerUnit(std::string_view unit) {
  if (unit == "pt") return 1.0;
  if (unit == "cm") return 72.0 / 2.54;
  if (unit == "in") return 72.0;
  return kPointsPerMillimetre;
}

// "width,height" in points; A4 when the text is not two positive numbers.
std::pair<double, double> PageSizePoints(std::string_view size) {
  const auto comma = size.find(',');
  double width = 0, height = 0;
  if (comma != std::string_view::npos) {
    const std::string_view first = size.substr(0, comma), second = size.substr(comma + 1);
    std::from_chars(first.data(), first.data() + first.size(), width);
    std::from_chars(second.data(), second.data() + second.size(), height);
  }
  if (width > 0 && height > 0) return {width, height};
  return {kA4WidthPoints, kA4HeightPoints};
}

struct StyleFlags {
  bool bold = false, italic = false, underline = false;
};

StyleFlags ParseStyle(std::string_view style) {
  StyleFlags flags;
  for (const char c : style) {
    if (c == 'B' || c == 'b') flags.bold = true;
    if (c == 'I' || c == 'i') flags.italic = true;
    if (c == 'U' || c == 'u') flags.underline = true;
  }
  return flags;
}

// The text broken into lines no wider than maxWidth (1/1000 em of the face): at the last blank that
// fits, inside a word when it alone is too wide, and at every line feed.
std::vector<std::string> WrapLines(std::string_view text, const FontFace& face, double maxWidth) {
  std::string s;
  for (const char c : text) {
    if (c != '\r') s += c;
  }
  std::vector<std::string> lines;
  std::size_t start = 0, i = 0, blank = std::string::npos;
  long long width = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (c == '\n') {
      lines.push_back(s.substr(start, i - start));
      start = ++i, blank = std::string::npos, width = 0;
      continue;
    }
    if (c == ' ') blank = i;
    width += face.widths[static_cast<unsigned char>(c)];
    if (width <= maxWidth) {
      ++i;
      continue;
    }
    if (blank != std::string::npos) {
      lines.push_back(s.substr(start, blank - start));
      i = blank + 1;
    } else {
      if (i == start) ++i;  // a character wider than the line still takes a line of its own
      lines.push_back(s.substr(start, i - start));
    }
    start = i, blank = std::string::npos, width = 0;
  }
  if (start < s.size() || lines.empty()) lines.push_back(s.substr(start));
  return lines;
}

void ReplaceAll(std::string& content, const std::string& from, const std::string& to) {
  if (from.empty()) return;
  for (std::size_t at = content.find(from); at != std::string::npos;
       at = content.find(from, at + to.size())) {
    content.replace(at, from.size(), to);
  }
}

// Runs an operation of the document; an exception (out of memory while building the pages) ends that
// operation without leaving the writer.
template <typename Operation>
void Guarded(Operation operation) {
  try {
    operation();
  } catch (...) {
  }
}

const FontFace& DefaultFace() {
  static const FontFace face = *BuiltInFace("helvetica", false, false);
  return face;
}

}  // namespace

struct PdfDocument::State {
  struct FontChoice {
    std::string family;  // normalised
    StyleFlags style;
    double sizePoints = 12;
    std::optional<std::size_t> face;
  };
  struct Colour {
    int red = 0, green = 0, blue = 0;
  };

  double scale = kPointsPerMillimetre;  // points per user unit
  double widthPoints = 0, heightPoints = 0;
  double width = 0, height = 0;
  double leftMargin = 0, topMargin = 0, rightMargin = 0, breakMargin = 0, cellMargin = 0, lineWidth = 0;

  std::vector<std::string> pages;
  bool pageOpen = false;
  bool inCallback = false;
  double x = 0, y = 0, lastHeight = 0;

  FontChoice font;
  Colour fill;
  std::vector<FontFace> faces;
  std::map<std::string, std::size_t> faceByKey;
  std::vector<PdfImage> images;
  std::map<std::string, std::size_t> imageByFile;
  std::vector<PdfOutlineEntry> outline;
  std::string alias;
  std::function<void()> header, footer;

  State(std::string_view orientation, std::string_view unit, std::string_view size) {
    scale = PointsPerUnit(unit);
    auto [w, h] = PageSizePoints(size);
    if (!orientation.empty() && (orientation[0] == 'L' || orientation[0] == 'l')) std::swap(w, h);
    widthPoints = w, heightPoints = h;
    width = w / scale, height = h / scale;
    leftMargin = topMargin = rightMargin = kMarginPoints / scale;
    breakMargin = 2 * leftMargin;
    cellMargin = leftMargin / 10;
    lineWidth = kLineWidthPoints / scale;
  }

  const FontFace& Face() const { return font.face ? faces[*font.face] : DefaultFace(); }
  double FontSize() const { return font.sizePoints / scale; }
  double TextWidth(std::string_view text) const {
    return static_cast<double>(Face().Width(text)) * font.sizePoints / 1000.0 / scale;
  }

  // Points from the left and from the bottom edge, as the content stream counts them.
  std::string At(double ux, double uy) const {
    return PdfNumber(ux * scale) + " " + PdfNumber((height - uy) * scale);
  }

  void Out(const std::string& operators) { pages.back() += operators; }

  void RunCallback(const std::function<void()>& callback) {
    if (!callback) return;
    inCallback = true;
    try {
      callback();
    } catch (...) {
      // A failing header or footer leaves its page as far as it got; the document goes on.
    }
    inCallback = false;
  }

  void SelectFont(std::string_view family, std::string_view style, double sizePoints) {
    std::string name = family.empty() ? font.family : NormalisedFamily(family);
    if (name.empty()) name = "helvetica";
    const StyleFlags flags = ParseStyle(style);
    const std::string key = name + (flags.bold ? "|B" : "|") + (flags.italic ? "I" : "");
    auto known = faceByKey.find(key);
    if (known == faceByKey.end())
      known = faceByKey.emplace(key, AddFace(ResolveFace(name, flags.bold, flags.italic))).first;
    font = {name, flags, sizePoints, known->second};
  }

  // The position of the face, added once even when several family names resolve to it.
  std::size_t AddFace(FontFace face) {
    for (std::size_t i = 0; i < faces.size(); ++i) {
      if (faces[i].baseName == face.baseName && faces[i].embedded.has_value() == face.embedded.has_value())
        return i;
    }
    faces.push_back(std::move(face));
    return faces.size() - 1;
  }

  void EnsureFont() {
    if (!font.face) SelectFont(font.family, "", font.sizePoints);
  }

  void EnsurePage() {
    if (!pageOpen) AddPage();
  }

  void ClosePage() {
    if (!pageOpen) return;
    RunCallback(footer);
    pageOpen = false;
  }

  void AddPage() {
    if (inCallback) return;  // a header or footer cannot start pages of its own
    const FontChoice keptFont = font;
    const Colour keptFill = fill;
    ClosePage();
    pages.push_back(PdfNumber(lineWidth * scale) + " w\n");
    pageOpen = true;
    x = leftMargin, y = topMargin;
    // The body goes on in its own font and colour whatever the footer and header select.
    font = keptFont, fill = keptFill;
    RunCallback(header);
    font = keptFont, fill = keptFill;
  }

  double PageBreakTrigger() const { return height - breakMargin; }

  void Cell(double w, double h, std::string_view text, int border, int lineMode, std::string_view align,
            bool filled) {
    EnsurePage();
    if (!inCallback && y + h > PageBreakTrigger()) {  // automatic page breaks are always on
      const double keptX = x;
      AddPage();
      x = keptX;
    }
    if (w == 0) w = width - rightMargin - x;
    if (filled || border != 0) DrawFrame(w, h, filled, border != 0);
    if (!text.empty()) DrawText(w, h, text, align);
    lastHeight = h;
    if (lineMode == 1) {
      x = leftMargin, y += h;
    } else if (lineMode == 2) {
      y += h;
    } else {
      x += w;
    }
  }

  void DrawFrame(double w, double h, bool filled, bool framed) {
    std::string operators = "q ";
    if (filled) {
      operators += PdfNumber(fill.red / 255.0) + " " + PdfNumber(fill.green / 255.0) + " " +
                   PdfNumber(fill.blue / 255.0) + " rg ";
    }
    operators += At(x, y) + " " + PdfNumber(w * scale) + " " + PdfNumber(-h * scale) + " re ";
    operators += filled && framed ? "B" : filled ? "f" : "S";
    Out(operators + " Q\n");
  }

  void DrawText(double w, double h, std::string_view text, std::string_view align) {
    EnsureFont();
    const double textWidth = TextWidth(text);
    double textX = x + cellMargin;
    if (!align.empty() && (align[0] == 'R' || align[0] == 'r')) textX = x + w - cellMargin - textWidth;
    if (!align.empty() && (align[0] == 'C' || align[0] == 'c')) textX = x + (w - textWidth) / 2;
    const double baseline = y + h / 2 + 0.3 * FontSize();
    std::string operators = "BT " + FontResourceName(*font.face) + " " + PdfNumber(font.sizePoints) + " Tf " +
                            At(textX, baseline) + " Td " + PdfLiteralString(text) + " Tj ET\n";
    if (font.style.underline) {
      const double top = baseline - kUnderlinePosition / 1000.0 * FontSize();
      operators += At(textX, top) + " " + PdfNumber(textWidth * scale) + " " +
                   PdfNumber(-kUnderlineThickness / 1000.0 * font.sizePoints) + " re f\n";
    }
    Out(operators);
  }

  void MultiCell(double w, double lineHeight, std::string_view text) {
    EnsurePage();
    EnsureFont();
    if (w == 0) w = width - rightMargin - x;
    const double maxWidth = (w - 2 * cellMargin) * scale * 1000.0 / font.sizePoints;
    for (const std::string& line : WrapLines(text, Face(), maxWidth))
      Cell(w, lineHeight, line, 0, 2, "L", false);
    x = leftMargin;
  }

  bool Image(const std::filesystem::path& file, double ix, double iy, double w, double h) {
    const std::optional<std::size_t> index = LoadImage(file);
    if (!index) return false;
    const PdfImage& image = images[*index];
    if (w <= 0 && h <= 0) w = image.width / scale;  // one pixel per point
    if (h <= 0) h = w * image.height / image.width;
    if (w <= 0) w = h * image.width / image.height;
    EnsurePage();
    Out("q " + PdfNumber(w * scale) + " 0 0 " + PdfNumber(h * scale) + " " + At(ix, iy + h) + " cm " +
        ImageResourceName(*index) + " Do Q\n");
    return true;
  }

  // The same file placed again (the logo of every page header) is stored once.
  std::optional<std::size_t> LoadImage(const std::filesystem::path& file) {
    const std::string key = file.lexically_normal().string();
    if (const auto known = imageByFile.find(key); known != imageByFile.end()) return known->second;
    std::optional<PdfImage> image = LoadImageFile(file);
    if (!image) return std::nullopt;
    images.push_back(std::move(*image));
    imageByFile.emplace(key, images.size() - 1);
    return images.size() - 1;
  }

  bool Save(const std::filesystem::path& target) {
    if (inCallback) return false;  // the page a header or footer draws on cannot be closed from inside
    EnsurePage();
    ClosePage();
    // The pages stay as drawn, with the alias, so that a document saved again still counts right.
    std::vector<std::string> streams = pages;
    const std::string count = std::to_string(pages.size());
    for (std::string& stream : streams) ReplaceAll(stream, EscapedStringBytes(alias), count);
    PdfFileContents contents;
    contents.pageWidthPoints = widthPoints;
    contents.pageHeightPoints = heightPoints;
    contents.pageContents = streams;
    contents.fonts = faces;
    contents.images = images;
    contents.outline = outline;
    contents.producer = "Veldmark";
    contents.created = std::time(nullptr);
    return ReplaceFileContents(target, WritePdfFile(contents));
  }
};

PdfDocument::PdfDocument(std::string_view orientation, std::string_view unit, std::string_view size)
    : state_(std::make_unique<State>(orientation, unit, size)) {}

PdfDocument::~PdfDocument() = default;

void PdfDocument::SetHeader(std::function<void()> header) {
  state_->header = std::move(header);
}

void PdfDocument::SetFooter(std::function<void()> footer) {
  state_->footer = std::move(footer);
}

void PdfDocument::AliasNumberOfPages(std::string alias) {
  state_->alias = std::move(alias);
}

void PdfDocument::AddPage() {
  Guarded([&] { state_->AddPage(); });
}

void PdfDocument::SetFont(std::string_view family, std::string_view style, double sizeInPoints) {
  Guarded([&] { state_->SelectFont(family, style, sizeInPoints); });
}

void PdfDocument::SetFillColour(int red, int green, int blue) {
  state_->fill = {std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255)};
}

void PdfDocument::Cell(double width, double height, std::string_view text, int border, int lineMode,
                       std::string_view align, bool fill) {
  Guarded([&] { state_->Cell(width, height, text, border, lineMode, align, fill); });
}

void PdfDocument::MultiCell(double width, double lineHeight, std::string_view text) {
  Guarded([&] { state_->MultiCell(width, lineHeight, text); });
}

void PdfDocument::LineBreak(double height) {
  state_->x = state_->leftMargin;
  state_->y += height < 0 ? state_->lastHeight : height;
}

void PdfDocument::SetY(double y) {
  state_->x = state_->leftMargin;
  state_->y = y >= 0 ? y : state_->height + y;
}

int PdfDocument::PageNumber() const {
  return static_cast<int>(state_->pages.size());
}

bool PdfDocument::Image(const std::filesystem::path& file, double x, double y, double width, double height) {
  try {
    return state_->Image(file, x, y, width, height);
  } catch (...) {
    return false;
  }
}

void PdfDocument::Bookmark(std::string_view title, int level, double y) {
  const double at = y < 0 ? state_->y : y;
  const double fromBottom = (state_->height - at) * state_->scale;
  Guarded([&] {
    state_->outline.push_back({std::string(title), level, std::max(PageNumber(), 1), fromBottom});
  });
}

bool PdfDocument::Save(const std::filesystem::path& file) {
  try {
    return state_->Save(file);
  } catch (...) {
    return false;
  }
}

double PdfDocument::X() const {
  return state_->x;
}

double PdfDocument::Y() const {
  return state_->y;
}

double PdfDocument::PageWidth() const {
  return state_->width;
}

double PdfDocument::PageHeight() const {
  return state_->height;
}

double PdfDocument::TextWidth(std::string_view text) const {
  return state_->TextWidth(text);
}

}  // namespace vmk::reports
