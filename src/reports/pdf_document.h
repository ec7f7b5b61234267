// A small cursor-based PDF writer: A4 pages in millimetres, text cells with borders, fill and alignment,
// wrapped multi-line cells, automatic page breaks, header and footer callbacks, a page-count alias,
// bookmarks, JPEG and PNG pictures embedded unchanged. Texts are Windows-1252.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vmk::reports {

class PdfDocument {
 public:
  // Orientation "P" or "L", unit "mm", page size as portrait width and height in points ("595.28,841.89").
  PdfDocument(std::string_view orientation = "L", std::string_view unit = "mm",
              std::string_view size = "595.28,841.89");
  ~PdfDocument();
  PdfDocument(const PdfDocument&) = delete;
  PdfDocument& operator=(const PdfDocument&) = delete;

  void SetHeader(std::function<void()> header);
  void SetFooter(std::function<void()> footer);
  // Every occurrence of the alias in the page contents becomes the page count when saving.
  void AliasNumberOfPages(std::string alias = "{nb}");

  void AddPage();
  // Family compared without case and with blanks trimmed ("Arial" is Helvetica; an empty family keeps
  // the current one); style any of "B", "I", "U"; size in points. A family that is neither built in nor
  // installed falls back to Helvetica.
  void SetFont(std::string_view family, std::string_view style, double sizeInPoints);
  void SetFillColour(int red, int green, int blue);

  // width 0 reaches the right margin; border 0 or 1; lineMode 0 right, 1 next line, 2 below;
  // align "L", "C", "R" or "" (left).
  void Cell(double width, double height, std::string_view text = "", int border = 0, int lineMode = 0,
            std::string_view align = "", bool fill = false);
  void MultiCell(double width, double lineHeight, std::string_view text);
  // A negative height advances by the height of the last cell.
  void LineBreak(double height = -1);
  // From the top for 0 or more, from the bottom edge when negative; x returns to the left margin.
  void SetY(double y);
  int PageNumber() const;
  // A JPEG or PNG file; height 0 follows from the aspect ratio. False when the picture cannot be placed.
  bool Image(const std::filesystem::path& file, double x, double y, double width, double height = 0);
  // An outline entry for the current page pointing at y from the top (a negative y: the cursor's y).
  void Bookmark(std::string_view title, int level = 0, double y = 0);
  // Closes the last page and writes the file. False when it cannot be written.
  bool Save(const std::filesystem::path& file);

  double X() const;
  double Y() const;
  double PageWidth() const;
  double PageHeight() const;
  // Width in millimetres of a text in the current font.
  double TextWidth(std::string_view text) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vmk::reports
