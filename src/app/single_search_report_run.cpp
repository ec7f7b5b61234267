#include "app/single_search_report_run.h"

#include <numeric>

#include "app/vendor_mail.h"
#include "lists/search_history.h"
#include "log/messages.h"
#include "reports/single_search_report.h"
#include "text/ui_texts.h"

namespace vmk::app {
namespace {

using screening::RunMode;
using text::Ui;
using text::UiText;

int TotalHits(const AppContext& context) {
  const auto& hits = context.search.hitCounts;
  return std::accumulate(hits.begin(), hits.end(), 0);
}

reports::SingleSearchReportInput ReportInput(const AppContext& context) {
  reports::SingleSearchReportInput input;
  input.terms = context.search.terms;
  input.mode = context.search.mode;
  input.hitCounts = context.search.hitCounts;
  input.listDateLabels = context.model.ListDateLabels();
  const screening::HitReports hitReports = context.model.HitReports();
  for (std::size_t list = 0; list < hitReports.size(); ++list) {
    for (const screening::HitRow& row : hitReports[list].rows) {
      input.hitReports[list].push_back({row.label, {row.value}});
    }
  }
  input.person = context.model.Personalisation();
  input.saveFolder = context.model.SavePath();
  input.logoFile = context.LogoFile();
  return input;
}

lists::SingleSearchRecord HistoryRecord(const AppContext& context, const std::string& pdfPath) {
  return {context.search.terms, context.search.hitCounts, context.model.ListDateLabels(), pdfPath};
}

void FinishBatch(AppContext& context) {
  if (context.finishBatchRun) context.finishBatchRun();
}

// The batch run without report shows a failed history row, under the codes of its branch.
void RecordBatchWithoutReport(AppContext& context, const char* openCode, const char* insertCode) {
  const lists::HistoryResult result =
      lists::RecordSingleSearch(context.HistoryFile(), HistoryRecord(context, ""), context.clock);
  if (!result.Ok()) {
    const bool openFailed = result.stage == lists::HistoryResult::Stage::OpenFailed;
    log::ShowMessage(context.dialogs, result.error, "-1", openFailed ? openCode : insertCode, "16");
  }
}

}  // namespace

void RunSingleSearchReport(AppContext& context) {
  const bool batch = context.runMode == RunMode::SingleSearchBatch;
  context.model.SetPageStatus(UiText(Ui::StatusCreatingPdf));
  const reports::WrittenReport report =
      reports::WriteSingleSearchReport(ReportInput(context), context.clock,
                                       [&](const std::string& line) { context.runLog.WriteRunLog(line); });
  const std::string path = report.path.string();
  context.model.SetStartButton(context.model.StartButtonVisible(), true);

  // A failed history row of a report changes nothing of the run.
  lists::RecordSingleSearch(context.HistoryFile(), HistoryRecord(context, path), context.clock);
  if (batch) {
    context.batchResultLine += ";" + path + (TotalHits(context) > 0 ? ";1" : ";0");
  } else if (context.model.OpenPdfAfterSearch() && report.saved) {
    context.desktop.Open(report.path);
  }
  context.model.SetPageStatus("");
  if (context.runLog.IsOn()) MailRunLog(context);
  if (batch) FinishBatch(context);
}

void FinishSingleSearchBatch(AppContext& context) {
  const int total = TotalHits(context);
  const std::string& option = context.batchPdfOption;
  if (option == "2" || (option == "1" && total > 0)) {
    RunSingleSearchReport(context);
    return;
  }
  context.batchResultLine += ";" + UiText(Ui::NoPdfCreated) + (total > 0 ? ";1" : ";0");
  if (option == "1") {
    RecordBatchWithoutReport(context, "MF713", "MF717");
  } else {
    RecordBatchWithoutReport(context, "MF743", "MF747");
  }
  FinishBatch(context);
}

}  // namespace vmk::app
