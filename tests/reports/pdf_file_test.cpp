// The files the PDF writer saves, checked with real PDF readers (qpdf, poppler) and byte by byte where a
// reader would forgive a fault.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>

#include "pdf_test_tools.h"
#include "reports/pdf_document.h"
#include "reports/pdf_syntax.h"
#include "support/test_support.h"
#include "text/cp1252.h"

namespace vmk::reports {
namespace {

using testing::PageText;
using testing::Quoted;
using testing::RunCommand;
using text::Win1252;

int LinesStartingWith(const std::string& text, const std::string& start) {
  int lines = 0;
  for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
    if (text.compare(at, start.size(), start) == 0) ++lines;
    if (text.find('\n', at) == std::string::npos) break;
  }
  return lines;
}

// A three-page report-like document: header with a bold title, footer "Seite n/{nb}", bookmarks.
void WriteThreePages(PdfDocument& pdf) {
  pdf.SetHeader([&pdf] {
    pdf.SetFont("Arial", "B", 15);
    pdf.Cell(0, 10, "Erstellt mit dem Veldmark", 0, 0, "C");
    pdf.LineBreak(28);
  });
  pdf.SetFooter([&pdf] {
    pdf.SetY(-15);
    pdf.SetFont("Arial", "I", 8);
    pdf.Cell(135, 10);
    pdf.Cell(141, 10, "Seite " + std::to_string(pdf.PageNumber()) + "/{nb}", 0, 0, "R");
  });
  pdf.AliasNumberOfPages("{nb}");
  pdf.AddPage();
  pdf.Bookmark(Win1252("Erstellt für"));
  pdf.SetFont("Sans", "", 10);
  pdf.SetFillColour(200, 220, 255);
  pdf.Cell(0, 6, Win1252("1.  Erstellt für"), 0, 1, "L", true);
  pdf.SetFont("Arial", "", 10);
  pdf.Cell(30, 10, Win1252("Straße :"));
  pdf.Cell(0, 10, Win1252("Hauptstraße 5 (Hinterhaus) C:\\Daten\\ 100 €"), 0, 1);
  pdf.SetFont("Sans", "BU", 10);
  pdf.Cell(0, 10, Win1252("Größe (fett) \\ unterstrichen"), 1, 1);
  pdf.Bookmark("Zweites Kapitel", 1);
  pdf.AddPage();
  pdf.Bookmark("Ergebnisse");
  pdf.SetFont("Times", "", 10);
  for (int row = 0; row < 40; ++row) pdf.Cell(0, 5, "Zeile " + std::to_string(row), 0, 1);  // into page 3
}

class SavedDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteThreePages(pdf);
    ASSERT_TRUE(pdf.Save(file));
    bytes = vmk::testing::ReadFile(file);
  }

  vmk::testing::TempDir folder;
  std::filesystem::path file = folder / "report.pdf";
  PdfDocument pdf;
  std::string bytes;
};

TEST_F(SavedDocument, PassesQpdfAndShowsThreeA4LandscapePages) {
  VMK_REQUIRE_TOOLS("qpdf", "pdfinfo");
  const auto check = RunCommand("qpdf --check " + Quoted(file));
  EXPECT_EQ(check.status, 0) << check.output;
  EXPECT_NE(check.output.find("No syntax or stream encoding errors found"), std::string::npos)
      << check.output;
  const std::string info = RunCommand("pdfinfo " + Quoted(file)).output;
  EXPECT_TRUE(std::regex_search(info, std::regex("Pages:\\s+3\n"))) << info;
  EXPECT_TRUE(std::regex_search(info, std::regex("Page size:\\s+841.89 x 595.28 pts"))) << info;
  EXPECT_TRUE(std::regex_search(info, std::regex("Producer:\\s+Veldmark\n"))) << info;
  EXPECT_TRUE(std::regex_search(info, std::regex("CreationDate:\\s+\\S+"))) << info;
}

TEST_F(SavedDocument, TextsReadBackWithUmlautsEscapesAndThePageCount) {
  VMK_REQUIRE_TOOLS("pdftotext");
  const std::string first = PageText(file, 1);
  EXPECT_NE(first.find("Erstellt mit dem Veldmark"), std::string::npos) << first;
  EXPECT_NE(first.find("1. Erstellt für"), std::string::npos) << first;
  EXPECT_NE(first.find("Straße :"), std::string::npos) << first;
  EXPECT_NE(first.find("Hauptstraße 5 (Hinterhaus) C:\\Daten\\ 100 €"), std::string::npos) << first;
  EXPECT_NE(first.find("Größe (fett) \\ unterstrichen"), std::string::npos) << first;
  EXPECT_NE(first.find("Seite 1/3"), std::string::npos) << first;
  const std::string second = PageText(file, 2);
  EXPECT_NE(second.find("Seite 2/3"), std::string::npos) << second;
  EXPECT_NE(second.find("Zeile 0"), std::string::npos) << second;
  EXPECT_NE(PageText(file, 3).find("Seite 3/3"), std::string::npos);
  EXPECT_EQ(bytes.find("{nb}"), std::string::npos);
}

TEST_F(SavedDocument, UsesTheStandardFacesAndEmbedsTheSansFace) {
  VMK_REQUIRE_TOOLS("pdffonts");
  const std::string fonts = RunCommand("pdffonts " + Quoted(file)).output;
  for (const char* face : {"Helvetica-Bold", "Helvetica-Oblique", "Helvetica ", "Times-Roman"}) {
    EXPECT_TRUE(
        std::regex_search(fonts, std::regex(std::string("\n") + face + "\\s+Type 1\\s+WinAnsi\\s+no")))
        << face << fonts;
  }
  EXPECT_TRUE(std::regex_search(fonts, std::regex("\nDejaVuSans\\s+TrueType\\s+WinAnsi\\s+yes"))) << fonts;
  EXPECT_TRUE(std::regex_search(fonts, std::regex("\nDejaVuSans-Bold\\s+TrueType\\s+WinAnsi\\s+yes")))
      << fonts;
  // Each face once, however often it was selected.
  EXPECT_EQ(LinesStartingWith(fonts, "Helvetica-Bold "), 1) << fonts;
  EXPECT_EQ(LinesStartingWith(fonts, "DejaVuSans "), 1) << fonts;
}

TEST_F(SavedDocument, OutlineNamesTheChaptersWithTheirPages) {
  VMK_REQUIRE_TOOLS("qpdf");
  const std::string outline = RunCommand("qpdf --json --json-key=outlines " + Quoted(file)).output;
  const std::regex entry("\"title\": \"([^\"]*)\"");
  std::vector<std::string> titles;
  for (auto it = std::sregex_iterator(outline.begin(), outline.end(), entry); it != std::sregex_iterator();
       ++it) {
    titles.push_back((*it)[1]);
  }
  std::sort(titles.begin(), titles.end());
  EXPECT_EQ(titles, (std::vector<std::string>{"Ergebnisse", "Erstellt für", "Zweites Kapitel"})) << outline;
  // The level-1 entry is a child of the first chapter (qpdf lists the kids before the title).
  const std::size_t kids = outline.find("\"kids\": [\n");
  EXPECT_LT(kids, outline.find("\"title\": \"Zweites Kapitel\""));
  EXPECT_LT(outline.find("\"title\": \"Zweites Kapitel\""), outline.find("\"title\": \"Erstellt für\""));
  EXPECT_TRUE(
      std::regex_search(outline, std::regex("\"dest\": \\[\\s*\"1 0 R\",\\s*\"/XYZ\",\\s*0,\\s*595.28")))
      << outline;
  EXPECT_TRUE(std::regex_search(outline, std::regex("\"destpageposfrom1\": 2"))) << outline;
}

TEST_F(SavedDocument, HoldsTheFileEssentials) {
  EXPECT_EQ(bytes.rfind("%PDF-1.3\n", 0), 0u);
  EXPECT_EQ(bytes.substr(bytes.size() - 6), "%%EOF\n");
  // The first page is object 1, which the catalog opens fitted to the width.
  EXPECT_EQ(bytes.find("1 0 obj\n<</Type /Page "), bytes.find("\n1 0 obj\n") + 1);
  EXPECT_NE(bytes.find("/OpenAction [1 0 R /FitH null] /PageLayout /OneColumn"), std::string::npos);
  EXPECT_NE(bytes.find("/MediaBox [0 0 841.89 595.28]"), std::string::npos);
  EXPECT_NE(bytes.find("/ProcSet [/PDF /Text /ImageB /ImageC /ImageI]"), std::string::npos);
  EXPECT_NE(bytes.find("/BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding"), std::string::npos);
  EXPECT_EQ(bytes.find("/Filter", bytes.find("2 0 obj")), std::string::npos);  // nothing compressed
  EXPECT_TRUE(std::regex_search(bytes, std::regex(R"(/CreationDate \(D:\d{14}[+-]\d\d'\d\d'\))")));
  EXPECT_NE(bytes.find("/Title <FEFF0045007200730074"), std::string::npos);  // "Erst" as UTF-16BE
}

TEST_F(SavedDocument, CrossReferenceTablePointsAtEveryObject) {
  const std::size_t startxref = bytes.rfind("startxref\n");
  ASSERT_NE(startxref, std::string::npos);
  const std::size_t xref = std::stoul(bytes.substr(startxref + 10));
  ASSERT_EQ(bytes.compare(xref, 7, "xref\n0 "), 0);
  const std::size_t countAt = xref + 7;
  const int count = std::stoi(bytes.substr(countAt));
  std::size_t entry = bytes.find('\n', countAt) + 1;
  EXPECT_EQ(bytes.substr(entry, 20), "0000000000 65535 f \n");
  for (int object = 1; object < count; ++object) {
    entry += 20;
    const std::string line = bytes.substr(entry, 20);
    ASSERT_TRUE(std::regex_match(line, std::regex("\\d{10} 00000 n \n"))) << object << ": " << line;
    const std::size_t offset = std::stoul(line.substr(0, 10));
    EXPECT_EQ(bytes.compare(offset, std::to_string(object).size() + 7, std::to_string(object) + " 0 obj\n"),
              0)
        << object;
  }
  EXPECT_EQ(bytes.compare(entry + 20, 8, "trailer\n"), 0);
  EXPECT_NE(bytes.find("/Size " + std::to_string(count) + " /Root "), std::string::npos);
}

struct WordBox {
  double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

// The boxes pdftotext gives the words of the first page, in points from the top left.
std::vector<WordBox> WordBoxes(const std::filesystem::path& pdf) {
  const std::string html = RunCommand("pdftotext -bbox -f 1 -l 1 " + Quoted(pdf) + " -").output;
  const std::regex word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">)re");
  std::vector<WordBox> boxes;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator(); ++it) {
    boxes.push_back({std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4])});
  }
  return boxes;
}

// The reader places the words with the widths the writer measured them with (standard metrics, or the
// /Widths of the embedded face), so alignment holds in the file.
TEST(PdfAlignment, ReaderFindsTheTextWhereTheCellPutIt) {
  VMK_REQUIRE_TOOLS("pdftotext");
  constexpr double k = 72 / 25.4;
  const double left = 28.35 / k;  // the page margin
  struct Case {
    const char* family;
    const char* style;
  };
  for (const Case c : {Case{"Helvetica", ""}, Case{"Sans", ""}, Case{"Sans", "B"}, Case{"Times", "I"}}) {
    SCOPED_TRACE(std::string(c.family) + " " + c.style);
    vmk::testing::TempDir folder;
    PdfDocument pdf;
    pdf.AddPage();
    pdf.SetFont(c.family, c.style, 14);
    const double width = pdf.TextWidth("Veldmark");
    pdf.SetY(50);
    for (const char* align : {"L", "C", "R"}) pdf.Cell(100, 10, "Veldmark", 0, 1, align);
    ASSERT_TRUE(pdf.Save(folder / "aligned.pdf"));
    const std::vector<WordBox> boxes = WordBoxes(folder / "aligned.pdf");
    ASSERT_EQ(boxes.size(), 3u);
    for (const WordBox& box : boxes) EXPECT_NEAR(box.xMax - box.xMin, width * k, 0.05);
    EXPECT_NEAR(boxes[0].xMin, (left + left / 10) * k, 0.05);
    EXPECT_NEAR((boxes[1].xMin + boxes[1].xMax) / 2, (left + 50) * k, 0.05);
    EXPECT_NEAR(boxes[2].xMax, (left + 100 - left / 10) * k, 0.05);
  }
}

TEST(PdfUnderline, IsDrawnBelowTheTextOfUnderlinedCellsOnly) {
  VMK_REQUIRE_TOOLS("pdftoppm");
  vmk::testing::TempDir folder;
  PdfDocument pdf;
  pdf.AddPage();
  pdf.SetY(50);
  pdf.SetFont("Helvetica", "U", 40);
  pdf.Cell(0, 20, "ooooo", 0, 1);
  pdf.SetFont("Helvetica", "", 40);
  pdf.Cell(0, 20, "ooooo", 0, 1);
  ASSERT_TRUE(pdf.Save(folder / "underline.pdf"));
  const testing::RenderedPage page(folder / "underline.pdf", 1, 150);
  ASSERT_TRUE(page.valid());
  // Baselines at 50 + 10 + 0.3 x 14.1 mm and 20 mm further down; the line lies 1.4 to 2.1 mm below.
  const double below = 60 + 0.3 * 40 / (72 / 25.4) + 1.75;
  EXPECT_LT(page.At(30, below).red, 100);
  EXPECT_GT(page.At(30, below + 20).red, 200);
}

TEST(PdfStrings, EscapeTheCharactersThatEndOrBreakAString) {
  struct Case {
    std::string bytes, expected;
  };
  const Case cases[] = {
      {"plain", "(plain)"},
      {"a(b)c", "(a\\(b\\)c)"},
      {"C:\\x", "(C:\\\\x)"},
      {"\b\t\n\f\r", "(\\b\\t\\n\\f\\r)"},
      {Win1252("Straße"),
       "(Stra\xDF"
       "e)"},
  };
  for (const Case& c : cases) EXPECT_EQ(PdfLiteralString(c.bytes), c.expected) << c.expected;
  EXPECT_EQ(PdfUtf16String(Win1252("ü€")), "<FEFF00FC20AC>");
  EXPECT_EQ(PdfNumber(-0.001), "0.00");
  EXPECT_EQ(PdfNumber(841.889), "841.89");
}

TEST(PdfSave, UnknownFamilyFallsBackToHelveticaInTheFile) {
  VMK_REQUIRE_TOOLS("pdffonts", "qpdf");
  vmk::testing::TempDir folder;
  PdfDocument pdf;
  pdf.AddPage();
  pdf.SetFont("No Such Family Anywhere", "B", 12);
  pdf.Cell(0, 10, "fallback");
  ASSERT_TRUE(pdf.Save(folder / "fallback.pdf"));
  const std::string fonts = RunCommand("pdffonts " + Quoted(folder / "fallback.pdf")).output;
  EXPECT_TRUE(std::regex_search(fonts, std::regex("\nHelvetica-Bold\\s+Type 1\\s+WinAnsi"))) << fonts;
  EXPECT_EQ(std::count(fonts.begin(), fonts.end(), '\n'), 3) << fonts;  // two heading lines and one face
  EXPECT_EQ(RunCommand("qpdf --check " + Quoted(folder / "fallback.pdf")).status, 0);
}

TEST(PdfSave, DocumentWithoutPagesGetsOneEmptyPage) {
  VMK_REQUIRE_TOOLS("qpdf");
  vmk::testing::TempDir folder;
  PdfDocument pdf;
  ASSERT_TRUE(pdf.Save(folder / "empty.pdf"));
  EXPECT_EQ(pdf.PageNumber(), 1);
  EXPECT_EQ(RunCommand("qpdf --check " + Quoted(folder / "empty.pdf")).status, 0);
}

TEST(PdfSave, ReplacesAnOldFileAndLeavesNoTemporaryFiles) {
  vmk::testing::TempDir folder;
  const std::filesystem::path file = folder / "VMK_ES_2026-12-11-09-05-07.pdf";
  vmk::testing::WriteFile(file, "old");
  PdfDocument pdf;
  pdf.AddPage();
  pdf.Cell(0, 10, "new");
  ASSERT_TRUE(pdf.Save(file));
  EXPECT_EQ(vmk::testing::ReadFile(file).rfind("%PDF-1.3", 0), 0u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(PdfSave, FailsWithoutLeavingAFileWhenTheFolderCannotBeWritten) {
  vmk::testing::TempDir folder;
  PdfDocument pdf;
  pdf.AddPage();
  EXPECT_FALSE(pdf.Save(folder / "missing" / "report.pdf"));
  std::filesystem::create_directory(folder / "taken.pdf");
  EXPECT_FALSE(pdf.Save(folder / "taken.pdf"));  // a folder of that name cannot be replaced
  EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.pdf"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

}  // namespace
}  // namespace vmk::reports
