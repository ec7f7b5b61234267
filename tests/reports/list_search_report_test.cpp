#include "reports/list_search_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <vector>

#include "pdf_test_tools.h"
#include "support/test_support.h"
#include "text/cp1252.h"

namespace vmk::reports {
namespace {

namespace fs = std::filesystem;
using testing::Quoted;
using testing::RunCommand;
using text::Win1252;

const char* const kHeadingRow =
    "Begriff 1 (Name) : Begriff 2 (Name) : Begriff 3 (Adresse) : Begriff 4 (Adresse) : EU Treffer UN Treffer "
    "UK Treffer US Treffer";

// pdftotext -layout prints runs of blanks as it likes; compare texts with every run squeezed to one.
std::string Squeezed(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += c;
  }
  return out;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

// The pages of the report as pdftotext lays them out, blanks squeezed.
std::vector<std::string> Pages(const fs::path& pdf) {
  std::vector<std::string> pages =
      Split(Squeezed(RunCommand("pdftotext -layout -enc UTF-8 " + Quoted(pdf) + " -").output), '\f');
  if (!pages.empty() && pages.back().find_first_not_of(" \n") == std::string::npos) pages.pop_back();
  return pages;
}

// The body lines of a document between two texts (to its end when `to` is empty), without the page
// headers and footers and without empty lines.
std::vector<std::string> BodyLines(const std::vector<std::string>& pages, const std::string& from,
                                   const std::string& to) {
  std::string all;
  for (const std::string& page : pages) all += page + "\n";
  const auto begin = all.find(from);
  if (begin == std::string::npos) return {"<missing " + from + ">"};
  const auto end = to.empty() ? std::string::npos : all.find(to, begin);
  std::vector<std::string> lines;
  for (std::string line : Split(all.substr(begin + from.size(), end - begin - from.size()), '\n')) {
    line = text::TrimBlanks(line);
    if (line.empty() || line.starts_with("Seite ") || line == "Erstellt mit dem Veldmark") continue;
    lines.push_back(line);
  }
  return lines;
}

ListSearchResultRow Row(const std::string& name, std::array<int, 4> hits) {
  return {{Win1252(name), Win1252("Müller & Söhne"), Win1252("Straße 1"), "Berlin"}, hits};
}

// A row as pdftotext shows it.
std::string Line(const ListSearchResultRow& row) {
  std::string line;
  for (const std::string& term : row.terms) line += text::Cp1252ToUtf8(term) + " ";
  for (int hits : row.hits) line += std::to_string(hits) + " ";
  return Squeezed(line.substr(0, line.size() - 1));
}

// A source of the rows; no rows means the query failed.
ResultRowSource Source(std::optional<std::vector<ListSearchResultRow>> rows) {
  return [rows](const std::function<void(const ListSearchResultRow&)>& row) {
    if (!rows) return false;
    for (const ListSearchResultRow& each : *rows) row(each);
    return true;
  };
}

std::vector<std::string> Expected(const std::optional<std::vector<ListSearchResultRow>>& rows) {
  std::vector<std::string> lines = {kHeadingRow};
  for (const ListSearchResultRow& row : rows.value_or(std::vector<ListSearchResultRow>{}))
    lines.push_back(Line(row));
  return lines;
}

// A rendered colour within the rounding of the renderer.
::testing::AssertionResult Near(testing::Rgb seen, testing::Rgb wanted) {
  if (std::abs(seen.red - wanted.red) <= 2 && std::abs(seen.green - wanted.green) <= 2 &&
      std::abs(seen.blue - wanted.blue) <= 2)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "rendered " << seen.red << "," << seen.green << "," << seen.blue;
}

class ListSearchReportTest : public ::testing::Test {
 protected:
  void SetUp() override { VMK_REQUIRE_TOOLS("pdftotext", "pdftoppm", "qpdf"); }

  ListSearchReportInput Input(std::optional<std::vector<ListSearchResultRow>> hitRows,
                              std::optional<std::vector<ListSearchResultRow>> allRows) const {
    ListSearchReportInput input;
    input.mode = 1;
    input.listDateLabels = {"Datenbank vom   : 28.01.2026", "Datenbank vom   : 27.02.2026",
                            "Datenbank vom   : 20.02.2026", "Datenbank vom   : 15.01.2026"};
    input.person = {"Muster GmbH", "Einkauf", Win1252("Hauptstraße 1"),
                    "10115",       "Berlin",  "info@muster.example"};
    input.saveFolder = dir_.path();
    input.logoFile = vmk::testing::ProgramDirectoryFile("Tamberlogo.jpg");
    input.hitRows = Source(std::move(hitRows));
    input.allRows = Source(std::move(allRows));
    return input;
  }
  WrittenReport Write(const ListSearchReportInput& input) {
    const WrittenReport report = WriteListSearchReport(input, clock_, {});
    EXPECT_TRUE(report.saved);
    EXPECT_EQ(RunCommand("qpdf --check " + Quoted(report.path)).status, 0);
    return report;
  }

  vmk::testing::TempDir dir_;
  vmk::testing::FakeClock clock_;
};

TEST_F(ListSearchReportTest, FiveChaptersInOrderUnderTheirTitlesAndBookmarks) {
  const std::vector<ListSearchResultRow> all = {Row("Alpha", {1, 0, 2, 0}), Row("Beta", {0, 0, 0, 0})};
  const WrittenReport report = Write(Input(std::vector{all[0]}, all));
  EXPECT_EQ(report.path, dir_ / "KESTO_LS_2026-12-11-09-05-07.pdf");

  const std::vector<std::string> pages = Pages(report.path);
  ASSERT_EQ(pages.size(), 1u);
  std::size_t at = 0;
  for (const char* text :
       {"Erstellt mit dem Veldmark", "1. Erstellt für", "Druckdatum: 11.12.2026", "Firma : Muster GmbH",
        "Einkauf", "Straße : Hauptstraße 1", "PLZ Ort: 10115 Berlin", "2. Phonetik:", "Phonetik: Soundex",
        "3. Datenbankinformationen", "Aktualität der EU Datenbank vom : 28.01.2026",
        "Aktualität der UN Datenbank vom : 27.02.2026", "Aktualität der BoE Datenbank vom : 20.02.2026",
        "Aktualität der US Datenbank vom : 15.01.2026", "4. Ergebnis Listensuch Treffer", kHeadingRow,
        "5. Ergebnis Listensuche", kHeadingRow, "Seite 1/1"}) {
    const auto found = pages[0].find(text, at);
    EXPECT_NE(found, std::string::npos) << "lacks, in order: " << text << "\n" << pages[0];
    if (found != std::string::npos) at = found + 1;
  }
  EXPECT_EQ(pages[0].find("Treffer Einzelsuche"), std::string::npos);
  EXPECT_EQ(pages[0].find("Suchbegriffe"), std::string::npos);

  // Below the four chapters above, the heading row lies at 140 to 144 mm, the first record below it.
  const testing::RenderedPage rendered(report.path, 1, 150);
  ASSERT_TRUE(rendered.valid());
  EXPECT_TRUE(Near(rendered.At(50, 142), {255, 220, 200}));
  EXPECT_TRUE(Near(rendered.At(50, 146), {255, 255, 255}));
  int frame = 255;  // the frame between the first and the second term of the record
  for (double x = 57.5; x <= 58.5; x += 0.1) frame = std::min(frame, rendered.At(x, 146).red);
  EXPECT_LT(frame, 128);

  const std::string outlines = RunCommand("qpdf --json --json-key=outlines " + Quoted(report.path)).output;
  std::vector<std::string> titles;
  const std::regex title("\"title\": \"([^\"]*)\"");
  for (auto it = std::sregex_iterator(outlines.begin(), outlines.end(), title); it != std::sregex_iterator();
       ++it)
    titles.push_back((*it)[1]);
  EXPECT_EQ(titles, (std::vector<std::string>{"Erstellt für", "Aktualität der Listen",
                                              "Ergebnis Listensuch Treffer", "Listenstart"}));
}

struct TableCase {
  const char* name;
  std::optional<std::vector<ListSearchResultRow>> hitRows, allRows;  // none: the query fails
  std::size_t minimumPages = 1;
};

TEST_F(ListSearchReportTest, ResultTablesShowTheirQueriesRowsUnderOneHeadingRow) {
  const std::vector<ListSearchResultRow> mixed = {Row("Alpha", {1, 0, 2, 0}), Row("Beta", {0, 0, 0, 0}),
                                                  Row("Gamma", {0, 0, 0, 12})};
  const std::vector<ListSearchResultRow> zeros = {Row("Alpha", {0, 0, 0, 0}), Row("Beta", {0, 0, 0, 0})};
  std::vector<ListSearchResultRow> many, manyHits;
  for (int i = 0; i < 150; ++i) {
    many.push_back(Row("Firma" + std::to_string(i), {i % 3, 0, i % 5 == 0 ? 1 : 0, 0}));
    if (many.back().hits[0] + many.back().hits[2] > 0) manyHits.push_back(many.back());
  }
  const std::vector<TableCase> cases = {
      {"hits and misses", std::vector{mixed[0], mixed[2]}, mixed},
      {"no record matched", std::vector<ListSearchResultRow>{}, zeros},
      {"failing hit query", std::nullopt, mixed},
      {"failing query of all records", std::vector{mixed[0]}, std::nullopt},
      {"more rows than fit one page", manyHits, many, 4},
  };
  for (const TableCase& c : cases) {
    SCOPED_TRACE(c.name);
    const WrittenReport report = Write(Input(c.hitRows, c.allRows));
    const std::vector<std::string> pages = Pages(report.path);
    EXPECT_GE(pages.size(), c.minimumPages);
    EXPECT_EQ(BodyLines(pages, "4. Ergebnis Listensuch Treffer", "5. Ergebnis Listensuche"),
              Expected(c.hitRows));
    EXPECT_EQ(BodyLines(pages, "5. Ergebnis Listensuche", ""), Expected(c.allRows));
    for (std::size_t page = 0; page < pages.size(); ++page) {
      const std::string footer = "Seite " + std::to_string(page + 1) + "/" + std::to_string(pages.size());
      EXPECT_NE(pages[page].find(footer), std::string::npos) << footer << "\n" << pages[page];
    }
    fs::remove(report.path);
  }
}

TEST_F(ListSearchReportTest, AnExistingReportOfTheSameSecondIsKept) {
  {
    std::ofstream earlier(dir_ / "KESTO_LS_2026-12-11-09-05-07.pdf");
    earlier << "earlier";
  }
  const WrittenReport report =
      Write(Input(std::vector<ListSearchResultRow>{}, std::vector<ListSearchResultRow>{}));
  EXPECT_EQ(report.path, dir_ / "KESTO_LS_2026-12-11-09-05-07-2.pdf");
  EXPECT_EQ(vmk::testing::ReadFile(dir_ / "KESTO_LS_2026-12-11-09-05-07.pdf"), "earlier");
}

}  // namespace
}  // namespace vmk::reports
