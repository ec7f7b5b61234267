#include "reports/pdf_file_writer.h"

#include <algorithm>
#include <cstdio>

#include "reports/pdf_syntax.h"

namespace vmk::reports {
namespace {

std::string Ref(int object) {
  return std::to_string(object) + " 0 R";
}

// Object numbers of the file, in the order the objects are written.
class ObjectLayout {
 public:
  explicit ObjectLayout(const PdfFileContents& contents) {
    const int pages = static_cast<int>(contents.pageContents.size());
    pagesRoot_ = 2 * pages + 1;
    resources_ = pagesRoot_ + 1;
    int next = resources_ + 1;
    for (const FontFace& font : contents.fonts) {
      fonts_.push_back(next);
      next += font.embedded ? 3 : 1;  // an embedded face adds its descriptor and font file
    }
    for (std::size_t i = 0; i < contents.images.size(); ++i) images_.push_back(next++);
    if (!contents.outline.empty()) {
      outlineRoot_ = next;
      next += 1 + static_cast<int>(contents.outline.size());
    }
    info_ = next++;
    catalog_ = next++;
    size_ = next;
  }

  static int Page(std::size_t index) { return 2 * static_cast<int>(index) + 1; }
  static int Content(std::size_t index) { return Page(index) + 1; }
  int PagesRoot() const { return pagesRoot_; }
  int Resources() const { return resources_; }
  int Font(std::size_t index) const { return fonts_[index]; }
  int Image(std::size_t index) const { return images_[index]; }
  int OutlineRoot() const { return outlineRoot_; }
  int OutlineEntry(std::size_t index) const { return outlineRoot_ + 1 + static_cast<int>(index); }
  int Info() const { return info_; }
  int Catalog() const { return catalog_; }
  int Size() const { return size_; }

 private:
  int pagesRoot_ = 0, resources_ = 0, outlineRoot_ = 0, info_ = 0, catalog_ = 0, size_ = 0;
  std::vector<int> fonts_, images_;
};

// The bytes of the file with the offset of every object, for the cross-reference table.
class PdfOutput {
 public:
  explicit PdfOutput(int size) : offsets_(static_cast<std::size_t>(size), 0) {
    // The comment of bytes above 127 marks the file as binary for transfer programs.
    out_ = "%PDF-1.3\n%\xE2\xE3\xCF\xD3\n";
  }

  void Object(int number, std::string_view body) {
    Begin(number);
    out_.append(body);
    out_ += "\nendobj\n";
  }

  void Stream(int number, std::string_view dictionaryEntries, std::string_view data) {
    Begin(number);
    out_ += "<<";
    out_.append(dictionaryEntries);
    out_ +=
        (dictionaryEntries.empty() ? "/Length " : " /Length ") + std::to_string(data.size()) + ">>\nstream\n";
    out_.append(data);
    out_ += "\nendstream\nendobj\n";
  }

  std::string Finish(int root, int info) {
    const std::size_t xref = out_.size();
    out_ += "xref\n0 " + std::to_string(offsets_.size()) + "\n0000000000 65535 f \n";
    char entry[32];
    for (std::size_t i = 1; i < offsets_.size(); ++i) {
      std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offsets_[i]);
      out_ += entry;
    }
    out_ += "trailer\n<</Size " + std::to_string(offsets_.size()) + " /Root " + Ref(root) + " /Info " +
            Ref(info) + ">>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return std::move(out_);
  }

 private:
  void Begin(int number) {
    offsets_[static_cast<std::size_t>(number)] = out_.size();
    out_ += std::to_string(number) + " 0 obj\n";
  }

  std::string out_;
  std::vector<std::size_t> offsets_;
};

void WritePages(PdfOutput& out, const PdfFileContents& contents, const ObjectLayout& layout) {
  const std::string mediaBox =
      "[0 0 " + PdfNumber(contents.pageWidthPoints) + " " + PdfNumber(contents.pageHeightPoints) + "]";
  for (std::size_t i = 0; i < contents.pageContents.size(); ++i) {
    out.Object(ObjectLayout::Page(i), "<</Type /Page /Parent " + Ref(layout.PagesRoot()) + " /MediaBox " +
                                          mediaBox + " /Resources " + Ref(layout.Resources()) +
                                          " /Contents " + Ref(ObjectLayout::Content(i)) + ">>");
    out.Stream(ObjectLayout::Content(i), "", contents.pageContents[i]);
  }
  std::string kids;
  for (std::size_t i = 0; i < contents.pageContents.size(); ++i) {
    kids += (i == 0 ? "" : " ") + Ref(ObjectLayout::Page(i));
  }
  out.Object(layout.PagesRoot(), "<</Type /Pages /Kids [" + kids + "] /Count " +
                                     std::to_string(contents.pageContents.size()) + ">>");
}

void WriteResources(PdfOutput& out, const PdfFileContents& contents, const ObjectLayout& layout) {
  std::string body = "<</ProcSet [/PDF /Text /ImageB /ImageC /ImageI]";
  if (!contents.fonts.empty()) {
    body += " /Font <<";
    for (std::size_t i = 0; i < contents.fonts.size(); ++i) {
      body += (i == 0 ? "" : " ") + FontResourceName(i) + " " + Ref(layout.Font(i));
    }
    body += ">>";
  }
  if (!contents.images.empty()) {
    body += " /XObject <<";
    for (std::size_t i = 0; i < contents.images.size(); ++i) {
      body += (i == 0 ? "" : " ") + ImageResourceName(i) + " " + Ref(layout.Image(i));
    }
    body += ">>";
  }
  out.Object(layout.Resources(), body + ">>");
}

std::string WidthsArray(const FontFace& font) {
  std::string widths = "[";
  for (int code = 32; code < 256; ++code) {
    widths += std::to_string(font.widths[static_cast<std::size_t>(code)]);
    widths += (code % 16 == 15) ? "\n" : " ";
  }
  return widths + "]";
}

void WriteEmbeddedTrueType(PdfOutput& out, const FontFace& font, int object) {
  const EmbeddedTrueType& face = *font.embedded;
  out.Object(object, "<</Type /Font /Subtype /TrueType /BaseFont /" + font.baseName +
                         " /FirstChar 32 /LastChar 255 /Widths " + WidthsArray(font) + " /FontDescriptor " +
                         Ref(object + 1) + " /Encoding /WinAnsiEncoding>>");
  const auto& box = face.boundingBox;
  out.Object(object + 1, "<</Type /FontDescriptor /FontName /" + font.baseName + " /Flags " +
                             std::to_string(face.flags) + " /FontBBox [" + std::to_string(box[0]) + " " +
                             std::to_string(box[1]) + " " + std::to_string(box[2]) + " " +
                             std::to_string(box[3]) + "] /ItalicAngle " + PdfNumber(face.italicAngle) +
                             " /Ascent " + std::to_string(face.ascent) + " /Descent " +
                             std::to_string(face.descent) + " /CapHeight " + std::to_string(face.capHeight) +
                             " /StemV " + std::to_string(face.stemV) + " /MissingWidth " +
                             std::to_string(face.missingWidth) + " /FontFile2 " + Ref(object + 2) + ">>");
  out.Stream(object + 2, "/Length1 " + std::to_string(face.fontFile.size()), face.fontFile);
}

void WriteFonts(PdfOutput& out, const PdfFileContents& contents, const ObjectLayout& layout) {
  for (std::size_t i = 0; i < contents.fonts.size(); ++i) {
    const FontFace& font = contents.fonts[i];
    if (font.embedded) {
      WriteEmbeddedTrueType(out, font, layout.Font(i));
    } else {
      out.Object(layout.Font(i), "<</Type /Font /Subtype /Type1 /BaseFont /" + font.baseName +
                                     (font.winAnsi ? " /Encoding /WinAnsiEncoding" : "") + ">>");
    }
  }
}

std::string HexBytes(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string hex;
  for (const char c : bytes) {
    hex += kHex[static_cast<unsigned char>(c) >> 4];
    hex += kHex[static_cast<unsigned char>(c) & 0xF];
  }
  return hex;
}

std::string ColourSpaceOf(const PdfImage& image) {
  switch (image.colourSpace) {
    case ImageColourSpace::Gray:
      return "/DeviceGray";
    case ImageColourSpace::Cmyk:
      return "/DeviceCMYK";
    case ImageColourSpace::Indexed:
      return "[/Indexed /DeviceRGB " + std::to_string(image.palette.size() / 3 - 1) + " <" +
             HexBytes(image.palette) + ">]";
    case ImageColourSpace::Rgb:
      break;
  }
  return "/DeviceRGB";
}

void WriteImages(PdfOutput& out, const PdfFileContents& contents, const ObjectLayout& layout) {
  for (std::size_t i = 0; i < contents.images.size(); ++i) {
    const PdfImage& image = contents.images[i];
    std::string entries = "/Type /XObject /Subtype /Image /Width " + std::to_string(image.width) +
                          " /Height " + std::to_string(image.height) + " /ColorSpace " +
                          ColourSpaceOf(image) + " /BitsPerComponent " +
                          std::to_string(image.bitsPerComponent);
    if (image.filter == ImageFilter::Dct) {
      entries += " /Filter /DCTDecode";
      if (image.invertedCmyk) entries += " /Decode [1 0 1 0 1 0 1 0]";
    } else {
      entries += " /Filter /FlateDecode /DecodeParms <</Predictor 15 /Colors " +
                 std::to_string(image.colours) + " /BitsPerComponent " +
                 std::to_string(image.bitsPerComponent) + " /Columns " + std::to_string(image.width) + ">>";
    }
    out.Stream(layout.Image(i), entries, image.data);
  }
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Parent, siblings and children of each outline entry; the last node stands for the outline root.
struct OutlineNode {
  std::size_t parent = kNone, prev = kNone, next = kNone, first = kNone, last = kNone;
  int descendants = 0;
};

std::vector<OutlineNode> LinkOutline(std::span<const PdfOutlineEntry> entries) {
  const std::size_t root = entries.size();
  std::vector<OutlineNode> nodes(root + 1);
  std::vector<std::size_t> path;  // the latest entry of each level, from level 0 down
  for (std::size_t i = 0; i < root; ++i) {
    // A level more than one below the previous entry hangs directly under that entry.
    const auto level =
        static_cast<std::size_t>(std::clamp(entries[i].level, 0, static_cast<int>(path.size())));
    OutlineNode& node = nodes[i];
    node.parent = level == 0 ? root : path[level - 1];
    node.prev = level < path.size() ? path[level] : kNone;
    if (node.prev != kNone) nodes[node.prev].next = i;
    OutlineNode& parent = nodes[node.parent];
    if (parent.first == kNone) parent.first = i;
    parent.last = i;
    for (std::size_t up = node.parent; up != kNone; up = nodes[up].parent) ++nodes[up].descendants;
    path.resize(level);
    path.push_back(i);
  }
  return nodes;
}

void WriteOutline(PdfOutput& out, const PdfFileContents& contents, const ObjectLayout& layout) {
  if (contents.outline.empty()) return;
  const std::vector<OutlineNode> nodes = LinkOutline(contents.outline);
  const auto ref = [&](std::size_t node) {
    return Ref(node == contents.outline.size() ? layout.OutlineRoot() : layout.OutlineEntry(node));
  };
  const OutlineNode& root = nodes.back();
  out.Object(layout.OutlineRoot(), "<</Type /Outlines /First " + ref(root.first) + " /Last " +
                                       ref(root.last) + " /Count " + std::to_string(root.descendants) + ">>");
  const int pages = static_cast<int>(contents.pageContents.size());
  for (std::size_t i = 0; i < contents.outline.size(); ++i) {
    const PdfOutlineEntry& entry = contents.outline[i];
    const OutlineNode& node = nodes[i];
    std::string body = "<</Title " + PdfUtf16String(entry.title) + " /Parent " + ref(node.parent);
    if (node.prev != kNone) body += " /Prev " + ref(node.prev);
    if (node.next != kNone) body += " /Next " + ref(node.next);
    if (node.first != kNone) {
      body += " /First " + ref(node.first) + " /Last " + ref(node.last) + " /Count " +
              std::to_string(node.descendants);
    }
    const auto page = static_cast<std::size_t>(std::clamp(entry.page, 1, pages) - 1);
    body += " /Dest [" + Ref(ObjectLayout::Page(page)) + " /XYZ 0 " + PdfNumber(entry.yPoints) + " null]>>";
    out.Object(layout.OutlineEntry(i), body);
  }
}

void WriteInfoAndCatalog(PdfOutput& out, const PdfFileContents& contents, const ObjectLayout& layout) {
  out.Object(layout.Info(), "<</Producer " + PdfLiteralString(contents.producer) + " /CreationDate " +
                                PdfLiteralString(PdfDate(contents.created)) + ">>");
  std::string catalog = "<</Type /Catalog /Pages " + Ref(layout.PagesRoot()) + " /OpenAction [" +
                        Ref(ObjectLayout::Page(0)) + " /FitH null] /PageLayout /OneColumn";
  if (!contents.outline.empty())
    catalog += " /Outlines " + Ref(layout.OutlineRoot()) + " /PageMode /UseOutlines";
  out.Object(layout.Catalog(), catalog + ">>");
}

}  // namespace

std::string FontResourceName(std::size_t index) {
  return "/F" + std::to_string(index + 1);
}

std::string ImageResourceName(std::size_t index) {
  return "/I" + std::to_string(index + 1);
}

std::string WritePdfFile(const PdfFileContents& contents) {
  const ObjectLayout layout(contents);
  PdfOutput out(layout.Size());
  WritePages(out, contents, layout);
  WriteResources(out, contents, layout);
  WriteFonts(out, contents, layout);
  WriteImages(out, contents, layout);
  WriteOutline(out, contents, layout);
  WriteInfoAndCatalog(out, contents, layout);
  return out.Finish(layout.Catalog(), layout.Info());
}

}  // namespace vmk::reports
