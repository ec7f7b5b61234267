#include "app/main_window_model.h"

#include "text/ui_texts.h"

namespace vmk::app {

template <typename F>
void MainWindowModel::Change(ModelChange what, F&& apply) {
  std::vector<Observer> observers;
  {
    std::lock_guard lock(mutex_);
    apply();
    observers = observers_;
  }
  // Observers run outside the lock so they may read the model back.
  for (const Observer& observer : observers) observer(what);
}

void MainWindowModel::AddObserver(Observer observer) {
  std::lock_guard lock(mutex_);
  observers_.push_back(std::move(observer));
}

std::array<std::string, 4> MainWindowModel::SearchFields() const {
  std::lock_guard lock(mutex_);
  return searchFields_;
}

void MainWindowModel::SetSearchFields(const std::array<std::string, 4>& fields) {
  Change(ModelChange::SearchFields, [&] { searchFields_ = fields; });
}

screening::HitReports MainWindowModel::HitReports() const {
  std::lock_guard lock(mutex_);
  return hitReports_;
}

void MainWindowModel::SetHitReports(const screening::HitReports& reports) {
  Change(ModelChange::HitReports, [&] { hitReports_ = reports; });
}

std::array<std::string, 4> MainWindowModel::ListDateLabels() const {
  std::lock_guard lock(mutex_);
  return listDateLabels_;
}

void MainWindowModel::SetListDates(const std::array<std::string, 4>& dates) {
  Change(ModelChange::ListDates, [&] {
    for (std::size_t i = 0; i < dates.size(); ++i) {
      listDateLabels_[i] = text::UiText(text::Ui::DatabaseDateLabel) + " " + dates[i];
    }
  });
}

std::string MainWindowModel::StatusText() const {
  std::lock_guard lock(mutex_);
  return statusText_;
}

void MainWindowModel::SetStatusText(const std::string& text1252) {
  Change(ModelChange::StatusText, [&] { statusText_ = text1252; });
}

std::string MainWindowModel::PageStatusText() const {
  std::lock_guard lock(mutex_);
  return pageStatusText_;
}

screening::Rgb MainWindowModel::PageStatusColour() const {
  std::lock_guard lock(mutex_);
  return pageStatusColour_;
}

void MainWindowModel::SetPageStatus(const std::string& text1252) {
  Change(ModelChange::PageStatus, [&] { pageStatusText_ = text1252; });
}

void MainWindowModel::SetPageStatusColour(screening::Rgb colour) {
  Change(ModelChange::PageStatus, [&] { pageStatusColour_ = colour; });
}

bool MainWindowModel::StartButtonVisible() const {
  std::lock_guard lock(mutex_);
  return startButtonVisible_;
}

bool MainWindowModel::StartButtonEnabled() const {
  std::lock_guard lock(mutex_);
  return startButtonEnabled_;
}

void MainWindowModel::SetStartButton(bool visible, bool enabled) {
  Change(ModelChange::StartButton, [&] {
    startButtonVisible_ = visible;
    startButtonEnabled_ = enabled;
  });
}

bool MainWindowModel::WhitelistSwitch() const {
  std::lock_guard lock(mutex_);
  return whitelistSwitch_;
}

void MainWindowModel::SetWhitelistSwitch(bool on) {
  Change(ModelChange::Switches, [&] { whitelistSwitch_ = on; });
}

bool MainWindowModel::OpenPdfAfterSearch() const {
  std::lock_guard lock(mutex_);
  return openPdfAfterSearch_;
}

void MainWindowModel::SetOpenPdfAfterSearch(bool on) {
  Change(ModelChange::Switches, [&] { openPdfAfterSearch_ = on; });
}

std::array<std::string, 6> MainWindowModel::Personalisation() const {
  std::lock_guard lock(mutex_);
  return personalisation_;
}

void MainWindowModel::SetPersonalisation(const std::array<std::string, 6>& person) {
  Change(ModelChange::Settings, [&] { personalisation_ = person; });
}

std::string MainWindowModel::SavePath() const {
  std::lock_guard lock(mutex_);
  return savePath_;
}

void MainWindowModel::SetSavePath(const std::string& path) {
  Change(ModelChange::Settings, [&] { savePath_ = path; });
}

std::array<SelectionPanel, 4> MainWindowModel::SelectionPanels() const {
  std::lock_guard lock(mutex_);
  return selectionPanels_;
}

void MainWindowModel::SetSelectionPanel(std::size_t list, const SelectionPanel& panel) {
  Change(ModelChange::SelectionPanels, [&] { selectionPanels_.at(list) = panel; });
}

WindowFrame MainWindowModel::Window() const {
  std::lock_guard lock(mutex_);
  return window_;
}

void MainWindowModel::EditWindow(const std::function<void(WindowFrame&)>& edit) {
  Change(ModelChange::Window, [&] { edit(window_); });
}

StatusBarState MainWindowModel::StatusBar() const {
  std::lock_guard lock(mutex_);
  return statusBar_;
}

void MainWindowModel::EditStatusBar(const std::function<void(StatusBarState&)>& edit) {
  Change(ModelChange::StatusBar, [&] { edit(statusBar_); });
}

SetupPagesState MainWindowModel::SetupPages() const {
  std::lock_guard lock(mutex_);
  return setupPages_;
}

void MainWindowModel::EditSetupPages(const std::function<void(SetupPagesState&)>& edit) {
  Change(ModelChange::SetupPages, [&] { edit(setupPages_); });
}

ListSearchPageState MainWindowModel::ListSearchPage() const {
  std::lock_guard lock(mutex_);
  return listSearchPage_;
}

void MainWindowModel::EditListSearchPage(const std::function<void(ListSearchPageState&)>& edit) {
  Change(ModelChange::ListSearchPage, [&] { edit(listSearchPage_); });
}

ImportWindowState MainWindowModel::ImportWindow() const {
  std::lock_guard lock(mutex_);
  return importWindow_;
}

void MainWindowModel::EditImportWindow(const std::function<void(ImportWindowState&)>& edit) {
  Change(ModelChange::ImportWindow, [&] { edit(importWindow_); });
}

std::vector<ListResultRow> MainWindowModel::ListResultRows() const {
  std::lock_guard lock(mutex_);
  return listResultRows_;
}

std::size_t MainWindowModel::ListResultRowCount() const {
  std::lock_guard lock(mutex_);
  return listResultRows_.size();
}

std::vector<ListResultRow> MainWindowModel::ListResultRowsFrom(std::size_t first) const {
  std::lock_guard lock(mutex_);
  if (first >= listResultRows_.size()) return {};
  return {listResultRows_.begin() + static_cast<std::ptrdiff_t>(first), listResultRows_.end()};
}

PanelState MainWindowModel::Panels() const {
  std::lock_guard lock(mutex_);
  return panels_;
}

void MainWindowModel::EditPanels(const std::function<void(PanelState&)>& edit) {
  Change(ModelChange::Panels, [&] { edit(panels_); });
}

void MainWindowModel::ClearListResultRows() {
  Change(ModelChange::ListResultRows, [&] { listResultRows_.clear(); });
}

void MainWindowModel::AddListResultRow(const ListResultRow& row) {
  Change(ModelChange::ListResultRows, [&] { listResultRows_.push_back(row); });
}

}  // namespace vmk::app
