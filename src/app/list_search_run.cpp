#include "app/list_search_run.h"

#include <algorithm>

#include "lists/csv_export.h"
#include "lists/list_result.h"
#include "lists/master_store.h"
#include "lists/search_history.h"
#include "log/messages.h"
#include "reports/list_search_report.h"
#include "screening/database_unpack.h"
#include "screening/list_count_engine.h"
#include "screening/prepare_search.h"
#include "screening/whitelist.h"
#include "text/date_mask.h"
#include "text/ui_texts.h"

namespace vmk::app {

namespace {

using screening::ListId;
using screening::RunMode;
using text::Ui;
using text::UiText;

class ListSearchHost : public screening::SearchHost {
 public:
  explicit ListSearchHost(AppContext& context) : context_(context) {}

  RunMode Mode() const override { return context_.runMode; }
  bool WhitelistSwitchOn() const override { return context_.model.WhitelistSwitch(); }
  void ApplyWhitelist(screening::SearchState& state) override {
    screening::ApplyWhitelist(state, context_.dataDirectory, context_.runLog);
    if (context_.runMode == RunMode::Interactive) context_.model.SetSearchFields(state.terms);
  }
  void RefuseNoSearchTerm() override {
    if (context_.runMode == RunMode::Interactive)
      log::ShowMessage(context_.dialogs, UiText(Ui::MsgAtLeastOneTerm), "1", "MF594", "16");
  }
  void BeforeMakingKeys() override {}
  log::RunLog& RunLog() override { return context_.runLog; }

 private:
  AppContext& context_;
};

void SetProcessed(AppContext& context, const std::string& text) {
  context.model.EditListSearchPage([&](ListSearchPageState& page) { page.processedText = text; });
}

void LockButtons(AppContext& context) {
  context.model.SetStartButton(context.model.StartButtonVisible(), false);
  context.model.EditListSearchPage([](ListSearchPageState& page) {
    page.loadButtonEnabled = false;
    page.startButtonEnabled = false;
  });
  context.search.hitCounts = {};
  context.model.SetHitReports({});
}

std::string RunDate(const AppContext& context) {
  return text::FormatDate("%dd.%mm.%yyyy", context.clock.Now());
}

// One screened record: its terms after the whitelist and its four counts. The lists are loaded into
// memory once per run for the counting.
class RecordScreening {
 public:
  RecordScreening(AppContext& context, screening::SanctionsDatabase& database)
      : context_(context), engine_(database), host_(context) {}

  // False when the record is skipped: no term at all, or none left after the whitelist.
  bool Screen(const std::array<std::string, 4>& terms, lists::ListResultEntry& entry) {
    if (std::all_of(terms.begin(), terms.end(), [](const std::string& t) { return t.empty(); })) return false;
    screening::SearchState& state = context_.search;
    state.terms = terms;
    if (screening::PrepareSearch(state, host_) != 0) return false;
    for (ListId list : screening::kAllLists) engine_.Count(list, state);
    entry.terms = state.terms;
    entry.hits = state.hitCounts;
    return true;
  }

 private:
  AppContext& context_;
  screening::ListCountEngine engine_;
  ListSearchHost host_;
};

void ScreenRecords(AppContext& context, ListSearchGate& gate, screening::SanctionsDatabase& database,
                   bool csv) {
  const long long total = lists::CountMasterRecords(context.programDirectory).count.value_or(0);
  std::optional<lists::CsvExport> all;
  if (csv) {
    SetProcessed(context, UiText(Ui::ProgressGeneratingCsv));
    all.emplace(context.model.SavePath(), "VMK_LS_All_", context.clock);
  }
  RecordScreening screening(context, database);
  long long k = 0;
  std::string error;
  lists::ReadMasterRecords(
      context.programDirectory,
      [&](const std::array<std::string, 4>& terms) {
        lists::ListResultEntry entry;
        if (screening.Screen(terms, entry)) {
          lists::InsertListResult(database, entry);
          SetProcessed(context, UiText(Ui::ProgressProcessed) + " " + std::to_string(k) + " / " +
                                    std::to_string(total));
          if (all) all->Write(entry);
        }
        ++k;
        if (context.runMode == RunMode::Interactive) {
          context.model.EditStatusBar([&](StatusBarState& bar) {
            bar.progress = static_cast<int>(k);
            bar.progressMaximum = total;
          });
        }
        if (context.listSearchProgress) context.listSearchProgress(k, total);
        gate.PassBetweenRecords();
        return !gate.AbortRequested();
      },
      error);
}

void ShowHits(AppContext& context, screening::SanctionsDatabase& database, bool csv) {
  std::optional<lists::CsvExport> hits;
  if (csv) {
    SetProcessed(context, UiText(Ui::ProgressGeneratingCsv));
    hits.emplace(context.model.SavePath(), "VMK_LS_Hits_", context.clock);
  }
  const std::string date = RunDate(context);
  lists::ReadListResults(database, true, [&](const lists::ListResultEntry& entry) {
    ListResultRow row;
    for (std::size_t i = 0; i < 4; ++i) {
      row[i] = entry.terms[i];
      row[i + 4] = std::to_string(entry.hits[i]);
    }
    row[8] = date;
    context.model.AddListResultRow(row);
    if (hits) hits->Write(entry, date);
  });
}

reports::ResultRowSource RowsOf(screening::SanctionsDatabase& database, bool hitsOnly) {
  return [&database, hitsOnly](const std::function<void(const reports::ListSearchResultRow&)>& row) {
    return lists::ReadListResults(database, hitsOnly, [&](const lists::ListResultEntry& entry) {
      row({entry.terms, entry.hits});
    });
  };
}

void WriteReport(AppContext& context, screening::SanctionsDatabase& database) {
  context.model.EditListSearchPage([](ListSearchPageState& page) { page.stopButtonVisible = false; });
  SetProcessed(context, UiText(Ui::ProgressGeneratingPdf));
  context.model.SetPageStatus(UiText(Ui::StatusCreatingPdf));
  reports::ListSearchReportInput input;
  input.mode = context.search.mode;
  input.listDateLabels = context.model.ListDateLabels();
  input.person = context.model.Personalisation();
  input.saveFolder = context.model.SavePath();
  input.logoFile = context.LogoFile();
  input.hitRows = RowsOf(database, true);
  input.allRows = RowsOf(database, false);
  const reports::WrittenReport report = reports::WriteListSearchReport(
      input, context.clock, [&](const std::string& line) { context.runLog.WriteRunLog(line); });
  if (context.model.OpenPdfAfterSearch() && report.saved) context.desktop.Open(report.path);
  context.model.SetPageStatus("");
  lists::RecordListSearch(context.HistoryFile(), report.path.string(), UiText(Ui::ListSearch), context.clock);
}

void ResetAfterRun(AppContext& context, ListSearchGate& gate) {
  gate.Reset();
  context.model.EditStatusBar([](StatusBarState& bar) {
    bar.progress = 0;
    bar.progressMaximum = 11;
  });
  context.model.SetSearchFields({});
  context.model.SetPageStatus("");
  context.model.SetPageStatusColour(kStatusWhite);
  context.model.SetStartButton(true, true);
  context.model.EditListSearchPage([](ListSearchPageState& page) {
    page.loadButtonEnabled = true;
    page.startButtonEnabled = true;
    page.stopButtonVisible = false;
  });
}

}  // namespace

void ListSearchGate::Pause() {
  std::lock_guard lock(mutex_);
  paused_ = true;
}

void ListSearchGate::Resume() {
  {
    std::lock_guard lock(mutex_);
    paused_ = false;
  }
  resumed_.notify_all();
}

void ListSearchGate::PassBetweenRecords() {
  std::unique_lock lock(mutex_);
  resumed_.wait(lock, [this] { return !paused_; });
}

void ListSearchGate::Reset() {
  Resume();
  abort_ = false;
}

void ListSearchRunner::Start(AppContext& context) {
  Wait();
  running_ = true;
  worker_ = std::thread([this, &context] {
    RunListSearch(context, gate_);
    running_ = false;
  });
}

void ListSearchRunner::Wait() {
  if (worker_.joinable()) worker_.join();
}

bool StartListSearch(AppContext& context, ListSearchRunner& runner) {
  const bool scheduled = context.runMode == RunMode::ScheduledListSearch;
  const lists::MasterCount counted = lists::CountMasterRecords(context.programDirectory);
  if (!counted.count) {
    const char* code =
        counted.openFailed ? (scheduled ? "MF1500" : "MF1514") : (scheduled ? "MF1504" : "MF1518");
    log::ShowMessage(context.dialogs, counted.error, "-1", code, "16");
    return false;
  }
  const bool listFileLoaded = !context.model.ListSearchPage().listFileText.empty();
  if (!listFileLoaded && *counted.count == 0) return false;
  // While the run is active its stop button stands where the start button was; the list shows this run.
  context.model.ClearListResultRows();
  context.model.EditListSearchPage([](ListSearchPageState& page) { page.stopButtonVisible = true; });
  runner.Start(context);
  return true;
}

void RunListSearch(AppContext& context, ListSearchGate& gate) {
  LockButtons(context);
  screening::EnsureDatabaseUnpacked(context.dataDirectory, context.runLog, context.dialogs);
  {
    screening::SanctionsDatabase database(screening::WorkingCopyPath(context.dataDirectory));
    lists::CreateListResultTable(database);
    const bool csv = context.model.SetupPages().csvExport;
    ScreenRecords(context, gate, database, csv);
    ShowHits(context, database, csv);
    WriteReport(context, database);
  }
  screening::DeleteWorkingCopy(context.dataDirectory);
  lists::EmptyMasterStore(context.programDirectory);
  ResetAfterRun(context, gate);
}

void StopListSearch(AppContext& context, ListSearchGate& gate) {
  gate.Pause();
  const std::string text = UiText(Ui::MsgListSearchPaused) + "\r" + UiText(Ui::MsgContinueListSearch) + "\r" +
                           UiText(Ui::MsgPressYesToContinue) + "\r" + UiText(Ui::MsgPressNoToAbort) + "\r" +
                           UiText(Ui::MsgAbortKeepsResults) + "\r" + UiText(Ui::MsgResultsSaved);
  if (!context.dialogs.AskYesNo(UiText(Ui::TitleAbortListSearch), text, true)) {
    gate.RequestAbort();
    context.model.EditListSearchPage([](ListSearchPageState& page) { page.stopButtonVisible = false; });
  }
  gate.Resume();
}

}  // namespace vmk::app
