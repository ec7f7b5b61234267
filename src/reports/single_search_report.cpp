#include "reports/single_search_report.h"

#include "reports/pdf_document.h"
#include "text/ui_texts.h"

namespace vmk::reports {
namespace {

using text::Ui;
using text::UiText;

class SingleSearchReport {
 public:
  SingleSearchReport(const SingleSearchReportInput& input, const platform::Clock& clock,
                     const std::function<void(const std::string&)>& log)
      : input_(input), parts_(pdf_, clock, log) {}

  WrittenReport Write() {
    parts_.Begin(input_.logoFile);
    parts_.CreatedFor(1, input_.person);
    SearchTerms();
    parts_.Phonetics(3, input_.mode);
    parts_.DatabaseInformation(4, input_.listDateLabels, &input_.hitCounts);
    pdf_.AddPage();
    const std::array<Ui, 4> titles = {Ui::ReportResultEU, Ui::ReportResultUN, Ui::ReportResultUK,
                                      Ui::ReportResultUS};
    const std::array<Ui, 4> bookmarks = {Ui::ReportListEU, Ui::ReportListUN, Ui::ReportListBoE,
                                         Ui::ReportListUS};
    for (std::size_t list = 0; list < 4; ++list) {
      parts_.Chapter(static_cast<int>(5 + list), UiText(titles[list]));
      pdf_.Bookmark(UiText(bookmarks[list]));
      HitReport(input_.hitReports[list], list == 1 ? "Arial" : "Sans");
    }
    return parts_.Save(input_.saveFolder, "VMK_ES_");
  }

 private:
  void SearchTerms() {
    parts_.Chapter(2, UiText(Ui::ReportSearchTerms));
    pdf_.Bookmark(UiText(Ui::ReportSearchTerms));
    const std::array<Ui, 4> labels = {Ui::ReportTerm1, Ui::ReportTerm2, Ui::ReportTerm3, Ui::ReportTerm4};
    for (std::size_t i = 0; i < 4; ++i)
      parts_.LabelAndValue(40, UiText(labels[i]), input_.terms[i], i == 3 ? 10 : 4);
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
  PdfDocument pdf_{"L", "mm", "595.28,841.89"};
  ReportParts parts_;
};

}  // namespace

std::string JoinRowValues(const std::vector<std::string>& values) {
  std::string joined;
  for (const std::string& value : values) {
    if (!value.empty()) joined += value + ",";
  }
  return joined;
}

WrittenReport WriteSingleSearchReport(const SingleSearchReportInput& input, const platform::Clock& clock,
                                      const std::function<void(const std::string&)>& log) {
  return SingleSearchReport(input, clock, log).Write();
}

}  // namespace vmk::reports
