#include "reports/single_search_report.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "reports/pdf_document.h"
#include "text/cp1252.h"
#include "text/date_mask.h"
#include "text/ui_texts.h"

namespace vmk::reports {
namespace {

using text::Ui;
using text::UiText;
using text::Win1252;

class SingleSearchReport {
 public:
  SingleSearchReport(const SingleSearchReportInput& input, const platform::Clock& clock,
                     const std::function<void(const std::string&)>& log)
      : input_(input), clock_(clock), log_(log) {}

  WrittenReport Write() {
    pdf_.SetFooter([this] { Footer(); });
    pdf_.SetHeader([this] { Header(); });
    pdf_.AliasNumberOfPages("{nb}");
    pdf_.AddPage();
    CreatedFor();
    SearchTerms();
    Phonetics();
    DatabaseInformation();
    pdf_.AddPage();
    const std::array<Ui, 4> titles = {Ui::ReportResultEU, Ui::ReportResultUN, Ui::ReportResultUK,
                                      Ui::ReportResultUS};
    const std::array<Ui, 4> bookmarks = {Ui::ReportListEU, Ui::ReportListUN, Ui::ReportListBoE,
                                         Ui::ReportListUS};
    for (std::size_t list = 0; list < 4; ++list) {
      Chapter(static_cast<int>(5 + list), UiText(titles[list]));
      pdf_.Bookmark(UiText(bookmarks[list]));
      HitReport(input_.hitReports[list], list == 1 ? "Arial" : "Sans");
    }
    const std::string stem = "VMK_ES_" + text::FormatDate("%YYYY-%MM-%DD-%HH-%II-%SS", clock_.Now());
    WrittenReport written{ClaimReportPath(input_.saveFolder, stem), false};
    Log("Schreibe PDF Datei");
    written.saved = pdf_.Save(written.path);
    std::error_code ignored;
    if (!written.saved && std::filesystem::file_size(written.path, ignored) == 0) {
      std::filesystem::remove(written.path, ignored);  // the claimed name stays free
    }
    return written;
  }

 private:
  void Log(const std::string& text) {
    if (log_) log_(text);
  }

  void Header() {
    Log("Schreibe PDF Header");
    pdf_.Image(input_.logoFile, 10, 10, 35);
    pdf_.SetFont("Arial", "B", 15);
    pdf_.Cell(35, 0);
    pdf_.Cell(242, 10, "Erstellt mit dem Veldmark", 0, 0, "C");
    pdf_.LineBreak(8);
    pdf_.Cell(35, 0);
    pdf_.LineBreak(20);
  }

  void Footer() {
    Log("Schreibe PDF Footer");
    pdf_.SetY(-15);
    pdf_.SetFont("Arial", "I", 8);
    pdf_.Cell(135, 10);
    pdf_.Cell(141, 10, UiText(Ui::ReportPage) + " " + std::to_string(pdf_.PageNumber()) + "/{nb}", 0, 0, "R");
  }

  // The numbered title bar of a chapter; the body starts in the regular face.
  void Chapter(int number, const std::string& title) {
    Log("Schreibe PDF Title");
    pdf_.SetFont("Sans", "", 10);
    pdf_.SetFillColour(200, 220, 255);
    pdf_.Cell(0, 6, std::to_string(number) + ".  " + title, 0, 1, "L", true);
    pdf_.LineBreak(4);
    Log("Schreibe PDF Chapter " + std::to_string(number));
    pdf_.SetFont("Sans", "", 10);
  }

  void LabelAndValue(double labelWidth, const std::string& label, const std::string& value,
                     double lineBreak) {
    pdf_.Cell(labelWidth, 10, label);
    pdf_.Cell(0, 10, value);
    pdf_.LineBreak(lineBreak);
  }

  void CreatedFor() {
    Chapter(1, UiText(Ui::ReportCreatedFor));
    pdf_.Bookmark(UiText(Ui::ReportCreatedFor));
    pdf_.Cell(0, 10, UiText(Ui::ReportPrintDate) + " " + text::FormatDate("%DD.%MM.%YYYY", clock_.Now()));
    pdf_.LineBreak(8);
    LabelAndValue(30, UiText(Ui::ReportCompany), input_.person[0], 4);
    LabelAndValue(30, "", input_.person[1], 4);
    LabelAndValue(30, UiText(Ui::ReportStreet) + "  ", input_.person[2], 4);
    LabelAndValue(30, UiText(Ui::ReportPostcodeCity), input_.person[3] + "   " + input_.person[4], 10);
  }

  void SearchTerms() {
    Chapter(2, UiText(Ui::ReportSearchTerms));
    pdf_.Bookmark(UiText(Ui::ReportSearchTerms));
    const std::array<Ui, 4> labels = {Ui::ReportTerm1, Ui::ReportTerm2, Ui::ReportTerm3, Ui::ReportTerm4};
    for (std::size_t i = 0; i < 4; ++i)
      LabelAndValue(40, UiText(labels[i]), input_.terms[i], i == 3 ? 10 : 4);
  }

  void Phonetics() {
    Chapter(3, UiText(Ui::PhoneticLabel));
    LabelAndValue(40, UiText(Ui::PhoneticLabel), ModeText(), 10);
  }

  std::string ModeText() const {
    switch (input_.mode) {
      case 1:
        return UiText(Ui::ModeSoundex);
      case 2:
        return UiText(Ui::ModeDoubleMetaphone);
      case 3:
        return UiText(Ui::ModePlainText) + " + " + UiText(Ui::ModeSoundex) + " + " +
               UiText(Ui::ModeDoubleMetaphone);
      default:
        return UiText(Ui::ModePlainText);
    }
  }

  void DatabaseInformation() {
    Chapter(4, UiText(Ui::ReportDatabaseInfo));
    pdf_.Bookmark(UiText(Ui::ReportListDatesBookmark));
    const std::array<Ui, 4> labels = {Ui::ReportListDateEU, Ui::ReportListDateUN, Ui::ReportListDateBoE,
                                      Ui::ReportListDateUS};
    for (std::size_t i = 0; i < 4; ++i) {
      pdf_.Cell(120, 10, UiText(labels[i]) + "      " + input_.listDateLabels[i]);
      pdf_.Cell(130, 10, UiText(Ui::ReportSingleSearchHits) + " " + std::to_string(input_.hitCounts[i]));
      pdf_.LineBreak(i == 3 ? 10 : 4);
    }
  }

  void HitReport(const std::vector<ReportRow>& rows, const char* family) {
    pdf_.SetFont(family, "", 10);
    for (const ReportRow& row : rows) {
      const std::string joined = JoinRowValues(row.values);
      pdf_.Cell(40, 5, row.label);
      if (joined.size() > 100) {
        pdf_.MultiCell(0, 5, joined);
      } else {
        pdf_.Cell(0, 5, joined);
      }
      pdf_.LineBreak(5);
    }
  }

  const SingleSearchReportInput& input_;
  const platform::Clock& clock_;
  const std::function<void(const std::string&)>& log_;
  PdfDocument pdf_{"L", "mm", "595.28,841.89"};
};

}  // namespace

std::string JoinRowValues(const std::vector<std::string>& values) {
  std::string joined;
  for (const std::string& value : values) {
    if (!value.empty()) joined += value + ",";
  }
  return joined;
}

std::filesystem::path ClaimReportPath(const std::filesystem::path& folder, const std::string& stem) {
  for (int number = 1;; ++number) {
    const std::filesystem::path candidate =
        folder / (stem + (number == 1 ? std::string() : "-" + std::to_string(number)) + ".pdf");
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd >= 0) {
      ::close(fd);
      return candidate;
    }
    if (errno != EEXIST) return folder / (stem + ".pdf");
  }
}

WrittenReport WriteSingleSearchReport(const SingleSearchReportInput& input, const platform::Clock& clock,
                                      const std::function<void(const std::string&)>& log) {
  return SingleSearchReport(input, clock, log).Write();
}

}  // namespace vmk::reports
