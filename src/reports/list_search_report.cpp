#include "reports/list_search_report.h"

#include "reports/pdf_document.h"
#include "text/ui_texts.h"

namespace vmk::reports {
namespace {

using text::Ui;
using text::UiText;

class ListSearchReport {
 public:
  ListSearchReport(const ListSearchReportInput& input, const platform::Clock& clock,
                   const std::function<void(const std::string&)>& log)
      : input_(input), parts_(pdf_, clock, log) {}

  WrittenReport Write() {
    parts_.Begin(input_.logoFile);
    parts_.CreatedFor(1, input_.person);
    parts_.Phonetics(2, input_.mode);
    parts_.DatabaseInformation(3, input_.listDateLabels);
    ResultTable(4, UiText(Ui::ReportListSearchHits), UiText(Ui::ReportListSearchHits), input_.hitRows);
    ResultTable(5, UiText(Ui::ReportListSearchResult), UiText(Ui::ReportListStart), input_.allRows);
    return parts_.Save(input_.saveFolder, "KESTO_LS_");
  }

 private:
  // The table runs over as many pages as it needs through the automatic page break; its heading row
  // stands only at its start.
  void ResultTable(int number, const std::string& title, const std::string& bookmark,
                   const ResultRowSource& rows) {
    parts_.Chapter(number, title);
    pdf_.Bookmark(bookmark);
    pdf_.SetFont("sans", "", 8);
    pdf_.SetFillColour(255, 220, 200);
    HeadingRow();
    if (rows) rows([this](const ListSearchResultRow& row) { ResultRow(row); });
    pdf_.LineBreak(10);
  }

  void HeadingRow() {
    for (Ui term : {Ui::ReportTerm1, Ui::ReportTerm2, Ui::ReportTerm3, Ui::ReportTerm4})
      pdf_.Cell(48, 4, UiText(term), 1, 0, "L", true);
    for (const std::string& hits : {UiText(Ui::ReportHitsEU) + " ", UiText(Ui::ReportHitsUN) + " ",
                                    UiText(Ui::ReportHitsUK), UiText(Ui::ReportHitsUS)})
      pdf_.Cell(22, 4, hits, 1, 0, "C", true);
    pdf_.LineBreak(4);
  }

  void ResultRow(const ListSearchResultRow& row) {
    for (const std::string& term : row.terms) pdf_.Cell(48, 4, term, 1, 0, "L");
    for (int hits : row.hits) pdf_.Cell(22, 4, std::to_string(hits), 1, 0, "C");
    pdf_.LineBreak(4);
  }

  const ListSearchReportInput& input_;
  PdfDocument pdf_{"L", "mm", "595.28,841.89"};
  ReportParts parts_;
};

}  // namespace

WrittenReport WriteListSearchReport(const ListSearchReportInput& input, const platform::Clock& clock,
                                    const std::function<void(const std::string&)>& log) {
  return ListSearchReport(input, clock, log).Write();
}

}  // namespace vmk::reports
