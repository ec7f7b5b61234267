#include "reports/single_search_report.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>

#include "support/test_support.h"
#include "text/cp1252.h"

namespace vmk::reports {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using text::Win1252;

// What a command prints on standard output.
std::string Output(const std::string& command) {
  std::string out;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

// pdftotext -layout prints runs of blanks as it likes; compare texts with every run squeezed to one.
std::string Squeezed(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += c;
  }
  return out;
}

bool HaveReaders() {
  return std::system("command -v pdftotext >/dev/null && command -v qpdf >/dev/null") == 0;
}

std::string PageText(const fs::path& pdf, int page) {
  return Output("pdftotext -layout -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" +
                pdf.string() + "' -");
}

// The y positions (top of the word's box, in points) of every occurrence of a word on a page.
std::vector<double> WordTops(const fs::path& pdf, int page, const std::string& word) {
  const std::string html = Output("pdftotext -bbox -f " + std::to_string(page) + " -l " +
                                  std::to_string(page) + " '" + pdf.string() + "' -");
  std::vector<double> tops;
  std::istringstream lines(html);
  for (std::string line; std::getline(lines, line);) {
    const auto at = line.find("yMin=\"");
    if (at == std::string::npos || line.find(">" + word + "</word>") == std::string::npos) continue;
    tops.push_back(std::stod(line.substr(at + 6)));
  }
  return tops;
}

SingleSearchReportInput SampleInput(const fs::path& folder) {
  SingleSearchReportInput input;
  input.terms = {"Bank Melli", Win1252("Müller (Köln)"), "Teheran", "C:\\Pfad"};
  input.mode = 3;
  input.hitCounts = {2, 1, 0, 0};
  input.listDateLabels = {"Datenbank vom   : 28.01.2026", "Datenbank vom   : 27.02.2026",
                          "Datenbank vom   : 20.02.2026", "Datenbank vom   : 15.01.2026"};
  input.person = {"Muster GmbH", "Einkauf", Win1252("Hauptstraße 1"),
                  "10115",       "Berlin",  "info@muster.example"};
  input.saveFolder = folder;
  input.logoFile = testing::ProgramDirectoryFile("Tamberlogo.jpg");
  for (int hit = 0; hit < 2; ++hit) {
    input.hitReports[0].push_back({"Datensatz Nr.", {std::to_string(hit)}});
    input.hitReports[0].push_back({"Entity", {"Bank Melli Iran"}});
    input.hitReports[0].push_back({std::string(10, '~'), {std::string(53, '~')}});
  }
  input.hitReports[1] = {{"Datensatz Nr.", {"0"}}, {"Name 1", {"BANK MELLI"}}};
  return input;
}

class SingleSearchReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveReaders()) GTEST_SKIP() << "qpdf and poppler-utils are needed to read the reports";
    clock_.now = {2026, 12, 11, 9, 5, 7};
  }
  WrittenReport Write(const SingleSearchReportInput& input) {
    return WriteSingleSearchReport(input, clock_, [this](const std::string& line) { log_.push_back(line); });
  }
  TempDir dir_;
  testing::FakeClock clock_;
  std::vector<std::string> log_;
};

TEST_F(SingleSearchReportTest, ReadsPageByPageAsLaidOut) {
  const WrittenReport report = Write(SampleInput(dir_.path()));
  ASSERT_TRUE(report.saved);
  EXPECT_EQ(report.path, dir_ / "VMK_ES_2026-12-11-09-05-07.pdf");
  EXPECT_EQ(std::system(("qpdf --check '" + report.path.string() + "' >/dev/null").c_str()), 0);
  const std::string info = Output("pdfinfo '" + report.path.string() + "'");
  EXPECT_NE(Squeezed(info).find("Pages: 2\n"), std::string::npos) << info;
  EXPECT_NE(info.find("841.89 x 595.28 pts"), std::string::npos) << info;

  const std::string first = Squeezed(PageText(report.path, 1));
  std::size_t at = 0;
  for (const char* text : {"Erstellt mit dem Veldmark",
                           "1.  Erstellt für",
                           "Druckdatum: 11.12.2026",
                           "Firma :",
                           "Muster GmbH",
                           "Einkauf",
                           "Straße :",
                           "Hauptstraße 1",
                           "PLZ Ort:",
                           "10115   Berlin",
                           "2.  Suchbegriffe",
                           "Begriff 1 (Name) :",
                           "Bank Melli",
                           "Müller (Köln)",
                           "Teheran",
                           "C:\\Pfad",
                           "3.  Phonetik:",
                           "Klartext + Soundex + Double Metaphone",
                           "4.  Datenbankinformationen",
                           "Aktualität der EU      Datenbank vom   : 28.01.2026",
                           "Treffer Einzelsuche: 2",
                           "Aktualität der BoE      Datenbank vom   : 20.02.2026",
                           "Seite 1/2"}) {
    const auto found = first.find(Squeezed(text), at);
    EXPECT_NE(found, std::string::npos) << "page 1 lacks, in order: " << text << "\n" << first;
    if (found != std::string::npos) at = found;
  }
  const std::string second = Squeezed(PageText(report.path, 2));
  at = 0;
  for (const char* text : {"5.  Ergebnis der EU Liste", "Datensatz Nr.", "0,", "Entity", "Bank Melli Iran,",
                           "1,", "6.  Ergebnis der UN Liste", "BANK MELLI,", "7.  Ergebnis der UK Liste",
                           "8.  Ergebnis der US Liste", "Seite 2/2"}) {
    const auto found = second.find(Squeezed(text), at);
    EXPECT_NE(found, std::string::npos) << "page 2 lacks, in order: " << text << "\n" << second;
    if (found != std::string::npos) at = found;
  }
  EXPECT_NE(log_.front(), "");
  EXPECT_EQ(log_.back(), "Schreibe PDF Footer");
}

TEST_F(SingleSearchReportTest, SearchWithoutHitsKeepsItsFourResultChapters) {
  SingleSearchReportInput input = SampleInput(dir_.path());
  input.hitReports = {};
  input.hitCounts = {};
  const WrittenReport report = Write(input);
  ASSERT_TRUE(report.saved);
  const std::string second = Squeezed(PageText(report.path, 2));
  for (const char* title : {"5.  Ergebnis der EU Liste", "6.  Ergebnis der UN Liste",
                            "7.  Ergebnis der UK Liste", "8.  Ergebnis der US Liste"}) {
    EXPECT_NE(second.find(Squeezed(title)), std::string::npos) << title;
  }
  EXPECT_EQ(second.find("Datensatz"), std::string::npos);
}

TEST_F(SingleSearchReportTest, RowsOverAHundredCharactersWrapAsMultiLineCells) {
  SingleSearchReportInput input = SampleInput(dir_.path());
  // Joined with its "," the first value holds exactly 100 characters, the second 101.
  input.hitReports[0] = {{"Zeile1", {std::string(99, 'a')}},
                         {"Zeile2", {"x"}},
                         {"Zeile3", {std::string(100, 'b')}},
                         {"Zeile4", {"y"}}};
  const WrittenReport report = Write(input);
  const double mm = 72 / 25.4;
  const double one = WordTops(report.path, 2, "Zeile2").at(0) - WordTops(report.path, 2, "Zeile1").at(0);
  const double wrapped = WordTops(report.path, 2, "Zeile4").at(0) - WordTops(report.path, 2, "Zeile3").at(0);
  EXPECT_NEAR(one, 5 * mm, 0.5);       // a single cell, then the line break of 5
  EXPECT_NEAR(wrapped, 10 * mm, 0.5);  // the multi-line cell moved below itself first
}

TEST_F(SingleSearchReportTest, ASecondReportInTheSameSecondGetsItsOwnName) {
  const WrittenReport first = Write(SampleInput(dir_.path()));
  const WrittenReport second = Write(SampleInput(dir_.path()));
  EXPECT_EQ(second.path, dir_ / "VMK_ES_2026-12-11-09-05-07-2.pdf");
  EXPECT_TRUE(fs::exists(first.path));
  EXPECT_TRUE(second.saved);
}

TEST_F(SingleSearchReportTest, MissingLogoOrUnwritableFolderNeverStopsTheReport) {
  SingleSearchReportInput input = SampleInput(dir_.path());
  input.logoFile = dir_ / "missing.jpg";
  const WrittenReport report = Write(input);
  ASSERT_TRUE(report.saved);
  EXPECT_EQ(std::system(("qpdf --check '" + report.path.string() + "' >/dev/null").c_str()), 0);

  input.saveFolder = dir_ / "no" / "such" / "folder";
  const WrittenReport lost = Write(input);
  EXPECT_FALSE(lost.saved);
  EXPECT_EQ(lost.path, dir_ / "no" / "such" / "folder" / "VMK_ES_2026-12-11-09-05-07.pdf");
}

TEST(ReportRows, JoinTakesEveryNonEmptyValueWithAComma) {
  EXPECT_EQ(JoinRowValues({"", "", "c"}), "c,");
  EXPECT_EQ(JoinRowValues({"a", "", "b"}), "a,b,");
  EXPECT_EQ(JoinRowValues({"", ""}), "");
}

}  // namespace
}  // namespace vmk::reports
