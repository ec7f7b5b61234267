// Serialises a finished document into the bytes of a PDF 1.3 file: pages, the shared resources, fonts,
// images, the outline, the information dictionary and catalog, the cross-reference table and trailer.
#pragma once

#include <ctime>
#include <span>
#include <string>
#include <vector>

#include "reports/pdf_fonts.h"
#include "reports/pdf_images.h"

namespace vmk::reports {

struct PdfOutlineEntry {
  std::string title;  // Windows-1252
  int level = 0;
  int page = 1;        // 1-based
  double yPoints = 0;  // target position from the bottom edge, in points
};

struct PdfFileContents {
  double pageWidthPoints = 0;
  double pageHeightPoints = 0;
  std::span<const std::string> pageContents;  // one content stream per page, in page order
  std::span<const FontFace> fonts;            // referenced as /F1, /F2, ... in the order given
  std::span<const PdfImage> images;           // referenced as /I1, /I2, ...
  std::span<const PdfOutlineEntry> outline;
  std::string producer;
  std::time_t created = 0;
};

// Resource names the content streams use for the font or image at a 0-based position.
std::string FontResourceName(std::size_t index);
std::string ImageResourceName(std::size_t index);

// The whole file of a document with at least one page. The pages are the objects 1, 3, 5, ... (each
// followed by its content stream), so the first page is object 1.
std::string WritePdfFile(const PdfFileContents& contents);

}  // namespace vmk::reports
