// The cursor of the PDF writer: cell geometry, line modes, page breaks with header and footer, wrapped
// multi-line cells and text widths from the standard font metrics.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "reports/pdf_document.h"
#include "support/test_support.h"
#include "text/cp1252.h"

namespace vmk::reports {
namespace {

constexpr double kTolerance = 0.01;  // mm; the margins are 28.35 pt, a hair above 10 mm

TEST(PdfCursor, StartsOnTheMarginsOfAnA4LandscapePage) {
  PdfDocument pdf("L", "mm", "595.28,841.89");
  EXPECT_NEAR(pdf.PageWidth(), 297, kTolerance);
  EXPECT_NEAR(pdf.PageHeight(), 210, kTolerance);
  pdf.AddPage();
  EXPECT_EQ(pdf.PageNumber(), 1);
  EXPECT_NEAR(pdf.X(), 10, kTolerance);
  EXPECT_NEAR(pdf.Y(), 10, kTolerance);

  const PdfDocument portrait("P", "mm", "595.28,841.89");
  EXPECT_NEAR(portrait.PageWidth(), 210, kTolerance);
  EXPECT_NEAR(portrait.PageHeight(), 297, kTolerance);
}

TEST(PdfCursor, CellOfWidthZeroReachesTheRightMargin) {
  PdfDocument pdf;
  pdf.AddPage();
  pdf.Cell(0, 10, "whole line");
  EXPECT_NEAR(pdf.X() - 10, 277, kTolerance);

  pdf.LineBreak(10);
  pdf.Cell(50, 10);
  pdf.Cell(0, 10);
  EXPECT_NEAR(pdf.X(), 287, kTolerance);
}

TEST(PdfCursor, LineModesMoveTheCursorRightToTheNextLineOrBelow) {
  struct Case {
    int lineMode;
    double x, y;
  };
  const Case cases[] = {{0, 20 + 40, 30}, {1, 10, 30 + 8}, {2, 20, 30 + 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lineMode);
    PdfDocument pdf;
    pdf.AddPage();
    pdf.SetY(30);
    pdf.Cell(10, 8);
    pdf.Cell(40, 8, "text", 1, c.lineMode, "C", true);
    EXPECT_NEAR(pdf.X(), c.x, kTolerance);
    EXPECT_NEAR(pdf.Y(), c.y, kTolerance);
  }
}

TEST(PdfCursor, LineBreakAndSetYReturnToTheLeftMargin) {
  PdfDocument pdf;
  pdf.AddPage();
  pdf.SetY(40);
  pdf.Cell(30, 7);
  pdf.LineBreak();  // the height of the last cell
  EXPECT_NEAR(pdf.X(), 10, kTolerance);
  EXPECT_NEAR(pdf.Y(), 47, kTolerance);
  pdf.Cell(30, 7);
  pdf.LineBreak(4);
  EXPECT_NEAR(pdf.Y(), 51, kTolerance);

  struct Case {
    double y, expected;
  };
  for (const Case c : {Case{-15, 195}, Case{0, 0}, Case{120, 120}, Case{-210, 0}}) {
    SCOPED_TRACE(c.y);
    pdf.Cell(30, 7);
    pdf.SetY(c.y);
    EXPECT_NEAR(pdf.X(), 10, kTolerance);
    EXPECT_NEAR(pdf.Y(), c.expected, kTolerance);
  }
}

// A document whose header and footer record when they run and leave the cursor as the reports do.
class PageBreak : public ::testing::Test {
 protected:
  void SetUp() override {
    pdf.SetHeader([this] {
      events.push_back("header " + std::to_string(pdf.PageNumber()));
      pdf.SetFont("Arial", "B", 15);
      pdf.Cell(0, 10, "Header", 0, 0, "C");
      pdf.LineBreak(28);
    });
    pdf.SetFooter([this] {
      events.push_back("footer " + std::to_string(pdf.PageNumber()));
      pdf.SetY(-15);
      pdf.SetFont("Arial", "I", 8);
      pdf.Cell(0, 10, "Seite " + std::to_string(pdf.PageNumber()) + "/{nb}", 0, 0, "R");
    });
    pdf.AddPage();
    pdf.SetFont("Times", "", 10);
  }

  PdfDocument pdf;
  std::vector<std::string> events;
};

TEST_F(PageBreak, CellPassingTheBreakLineStartsANewPageAtTheSameX) {
  EXPECT_NEAR(pdf.Y(), 38, kTolerance);
  pdf.SetY(179.9);
  pdf.Cell(60, 10);  // bottom at 189.9: still fits
  EXPECT_EQ(pdf.PageNumber(), 1);
  events.clear();

  pdf.Cell(40, 10.5, "", 0, 2);  // bottom at 190.4
  EXPECT_EQ(pdf.PageNumber(), 2);
  EXPECT_EQ(events, (std::vector<std::string>{"footer 1", "header 2"}));
  EXPECT_NEAR(pdf.X(), 70, kTolerance);
  EXPECT_NEAR(pdf.Y(), 38 + 10.5, kTolerance);  // drawn where the header left the cursor
}

TEST_F(PageBreak, HeaderAndFooterDoNotBreakPagesNorChangeTheBodyFont) {
  const double bodyWidth = pdf.TextWidth("Hello");
  pdf.SetY(185);
  pdf.Cell(0, 10);  // the footer then draws at 195 to 205 mm, below the break line
  pdf.Cell(0, 10);
  pdf.Cell(0, 10);
  EXPECT_EQ(pdf.PageNumber(), 2);
  EXPECT_EQ(events, (std::vector<std::string>{"header 1", "footer 1", "header 2"}));
  EXPECT_DOUBLE_EQ(pdf.TextWidth("Hello"), bodyWidth);
}

TEST_F(PageBreak, SaveRunsTheFooterOfTheLastPageOnce) {
  vmk::testing::TempDir folder;
  EXPECT_TRUE(pdf.Save(folder / "a.pdf"));
  EXPECT_EQ(events, (std::vector<std::string>{"header 1", "footer 1"}));
}

TEST(PdfTextWidth, FollowsTheStandardMetricsOfTheFace) {
  struct Case {
    const char* family;
    const char* style;
    std::string text;
    int thousandths;  // width at 1 pt in 1/1000 pt
  };
  const Case cases[] = {
      {"Helvetica", "", "Hello", 722 + 556 + 222 + 222 + 556},
      {"Helvetica", "B", "Hello", 722 + 556 + 278 + 278 + 611},
      {"Times", "", "Hello", 722 + 444 + 278 + 278 + 500},
      {"Courier", "BI", "Hello", 5 * 600},
      // Windows-1252 codes: quotesingle (not quoteright), euro, a umlaut, sharp s, bullet
      {"Helvetica", "", "'", 191},
      {"Helvetica", "", "\x80", 556},
      {"Helvetica", "", text::Win1252("äß"), 556 + 611},
      {"Helvetica", "", "\x95", 350},
      {"Symbol", "", "a", 631},  // alpha, by the face's own code
      {"ZapfDingbats", "", "a", 789},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.family) + " " + c.style + " " + c.text);
    PdfDocument pdf;
    pdf.SetFont(c.family, c.style, 10);
    EXPECT_NEAR(pdf.TextWidth(c.text), c.thousandths / 100.0 * 25.4 / 72, 1e-9);
  }
}

TEST(PdfTextWidth, ArialInAnyCaseIsHelvetica) {
  PdfDocument pdf;
  pdf.SetFont("Helvetica", "B", 12);
  const double helvetica = pdf.TextWidth("Veldmark Sanktionslisten");
  for (const char* family : {"arial", "Arial", "ARIAL", "  aRiAl "}) {
    SCOPED_TRACE(family);
    pdf.SetFont(family, "B", 12);
    EXPECT_DOUBLE_EQ(pdf.TextWidth("Veldmark Sanktionslisten"), helvetica);
  }
  pdf.SetFont("Times", "B", 12);
  EXPECT_NE(pdf.TextWidth("Veldmark Sanktionslisten"), helvetica);
}

TEST(PdfTextWidth, EmptyFamilyKeepsTheFamilyAndUnknownFamiliesAreHelvetica) {
  PdfDocument pdf;
  pdf.SetFont("Courier", "", 10);
  pdf.SetFont("", "B", 20);
  EXPECT_NEAR(pdf.TextWidth("abc"), 3 * 600 / 50.0 * 25.4 / 72, 1e-9);
  pdf.SetFont("No Such Family Anywhere", "B", 10);
  EXPECT_NEAR(pdf.TextWidth("Hello"), 2445 / 100.0 * 25.4 / 72, 1e-9);
}

// The texts of the lines a saved page shows, in drawing order (the content streams are uncompressed).
std::vector<std::string> DrawnTexts(const std::string& pdfBytes) {
  std::vector<std::string> texts;
  const std::regex shown(R"(Td \(((?:[^\\)]|\\.)*)\) Tj)");
  for (auto it = std::sregex_iterator(pdfBytes.begin(), pdfBytes.end(), shown); it != std::sregex_iterator();
       ++it) {
    texts.push_back((*it)[1]);
  }
  return texts;
}

TEST(PdfMultiCell, WrapsALongTextAtBlanksToTheUsableWidth) {
  std::string text;
  for (int word = 0; text.size() < 300; ++word)
    text += std::string(word % 4 + 3, static_cast<char>('a' + word % 26)) + " ";
  text.resize(300);
  text.back() = 'z';
  vmk::testing::TempDir folder;
  PdfDocument pdf;
  pdf.AddPage();
  pdf.SetFont("Helvetica", "", 10);
  const double top = pdf.Y();
  pdf.MultiCell(0, 5, text);
  ASSERT_TRUE(pdf.Save(folder / "wrap.pdf"));

  const std::vector<std::string> lines = DrawnTexts(vmk::testing::ReadFile(folder / "wrap.pdf"));
  ASSERT_GE(lines.size(), 2u);
  EXPECT_NEAR(pdf.Y() - top, 5.0 * static_cast<double>(lines.size()), kTolerance);
  EXPECT_NEAR(pdf.X(), 10, kTolerance);
  std::string joined;
  for (const std::string& line : lines) {
    EXPECT_LE(pdf.TextWidth(line), 275 + 1e-9) << line;
    joined += (joined.empty() ? "" : " ") + line;
  }
  EXPECT_EQ(joined, text);
  // Each line is as full as it can be: the next word would not have fitted.
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    const std::string nextWord = lines[i + 1].substr(0, lines[i + 1].find(' '));
    EXPECT_GT(pdf.TextWidth(lines[i] + " " + nextWord), 275) << lines[i];
  }
}

TEST(PdfMultiCell, BreaksAtLineFeedsAndInsideWordsTooLongForALine) {
  struct Case {
    const char* name;
    double width;
    std::string text;
    std::vector<std::string> lines;
  };
  // Courier 10 pt: 600/1000 x 10 pt = 2.1167 mm per character; 30 mm less 2 mm of cell margins take 13.
  const Case cases[] = {
      {"line feeds", 30, "one\ntwo\r\n\nthree", {"one", "two", "", "three"}},
      {"long word", 30, "abcdefghijklmnopqrstuvwxyz", {"abcdefghijklm", "nopqrstuvwxyz"}},
      {"blank then long word", 30, "ab abcdefghijklmnopq", {"ab", "abcdefghijklm", "nopq"}},
      {"exact fit", 30, "abcdefghijklm nop", {"abcdefghijklm", "nop"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vmk::testing::TempDir folder;
    PdfDocument pdf;
    pdf.AddPage();
    pdf.SetFont("Courier", "", 10);
    pdf.SetY(50);
    pdf.Cell(20, 6);
    pdf.MultiCell(c.width, 6, c.text);
    EXPECT_NEAR(pdf.Y(), 50 + 6.0 * static_cast<double>(c.lines.size()), kTolerance);
    ASSERT_TRUE(pdf.Save(folder / "lines.pdf"));
    std::vector<std::string> drawn;  // an empty line is a cell without text
    for (const std::string& line : c.lines) {
      if (!line.empty()) drawn.push_back(line);
    }
    EXPECT_EQ(DrawnTexts(vmk::testing::ReadFile(folder / "lines.pdf")), drawn);
  }
}

TEST(PdfMultiCell, LinesPassingTheBreakLineContinueOnTheNextPage) {
  PdfDocument pdf;
  pdf.AddPage();
  pdf.SetFont("Helvetica", "", 10);
  pdf.SetY(174.9);
  pdf.MultiCell(0, 5, "1\n2\n3\n4\n5");  // three lines fit, the fourth would end at 194.9
  EXPECT_EQ(pdf.PageNumber(), 2);
  EXPECT_NEAR(pdf.Y(), 10 + 2 * 5, kTolerance);
}

}  // namespace
}  // namespace vmk::reports
