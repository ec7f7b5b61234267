#include "app/single_search_run.h"

#include <algorithm>

#include "app/single_search_report_run.h"
#include "log/messages.h"
#include "screening/database_unpack.h"
#include "screening/list_search.h"
#include "screening/prepare_search.h"
#include "screening/whitelist.h"
#include "text/cp1252.h"
#include "text/ui_texts.h"

namespace vmk::app {
namespace {

using screening::RunMode;
using text::Ui;
using text::UiText;

bool IsBatch(const AppContext& context) {
  return context.runMode == RunMode::SingleSearchBatch;
}

void FinishBatch(AppContext& context) {
  if (context.finishBatchRun) context.finishBatchRun();
}

// Gives the start button back after a refused search.
void ReleaseStartButton(AppContext& context) {
  context.model.SetStartButton(true, true);
  context.model.SetPageStatusColour(kStatusWhite);
}

class SingleSearchHost : public screening::SearchHost {
 public:
  explicit SingleSearchHost(AppContext& context) : context_(context) {}

  RunMode Mode() const override { return context_.runMode; }
  bool WhitelistSwitchOn() const override { return context_.model.WhitelistSwitch(); }
  void ApplyWhitelist(screening::SearchState& state) override {
    screening::ApplyWhitelist(state, context_.dataDirectory, context_.runLog);
    // The user sees what was searched for.
    if (context_.runMode == RunMode::Interactive) context_.model.SetSearchFields(state.terms);
  }
  void RefuseNoSearchTerm() override {
    if (IsBatch(context_)) {
      context_.batchResultLine += ";-1;" + UiText(Ui::BatchNoTerm) + ";-1";
      FinishBatch(context_);
      return;
    }
    log::ShowMessage(context_.dialogs, UiText(Ui::MsgAtLeastOneTerm), "1", "MF594", "16");
    ReleaseStartButton(context_);
  }
  void BeforeMakingKeys() override {
    if (context_.runMode != RunMode::Interactive) return;
    context_.model.SetStartButton(false, context_.model.StartButtonEnabled());
    context_.clock.Pause(std::chrono::milliseconds(100));
  }
  log::RunLog& RunLog() override { return context_.runLog; }

 private:
  AppContext& context_;
};

void TakeTerms(AppContext& context) {
  const std::array<std::string, 4> fields = context.model.SearchFields();
  for (std::size_t i = 0; i < fields.size(); ++i) context.search.terms[i] = text::TrimBlanks(fields[i]);
}

bool AnyTermOfOneCharacter(const screening::SearchState& state) {
  return std::any_of(state.terms.begin(), state.terms.end(),
                     [](const std::string& t) { return t.size() == 1; });
}

void RefuseShortTerm(AppContext& context) {
  if (IsBatch(context)) {
    context.batchResultLine += ";-1;" + UiText(Ui::BatchTermTooShort) + ";-1";
    FinishBatch(context);
    return;
  }
  log::ShowMessage(context.dialogs, UiText(Ui::MsgTermTooShort), "0", "MF688", "48");
  ReleaseStartButton(context);
}

}  // namespace

void RunSingleSearch(AppContext& context) {
  context.runLog.WriteRunLog("Starte Einzelsuche ButtonImage5()");
  context.model.SetPageStatusColour(kStatusDarkRed);
  context.runLog.WriteRunLog(text::Win1252("Übernehme Suchworte"));
  TakeTerms(context);
  if (AnyTermOfOneCharacter(context.search)) {
    RefuseShortTerm(context);
    return;
  }
  // The accepted-terms field follows the preparation, so that a search whose terms the whitelist
  // emptied reports only its rejection and the result line keeps its four fields.
  SingleSearchHost host(context);
  if (screening::PrepareSearch(context.search, host) != 0) return;
  if (IsBatch(context)) context.batchResultLine += ";0";

  screening::EnsureDatabaseUnpacked(context.dataDirectory, context.runLog, context.dialogs);
  screening::HitReports reports = context.model.HitReports();
  screening::SearchAllLists(context.search, screening::WorkingCopyPath(context.dataDirectory), reports,
                            context.runLog);
  context.model.SetHitReports(reports);

  context.runLog.WriteRunLog("Untersuchung beendet");
  screening::DeleteWorkingCopy(context.dataDirectory);
  context.model.SetStartButton(true, context.model.StartButtonEnabled());
  context.runLog.WriteRunLog("starte pdf Thread");
  if (IsBatch(context)) {
    FinishSingleSearchBatch(context);
  } else {
    RunSingleSearchReport(context);
  }
}

}  // namespace vmk::app
