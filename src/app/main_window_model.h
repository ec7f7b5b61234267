// The main window as plain data: search fields, hit reports, labels, status texts and button states.
// The procedures change it only through these functions; every change notifies the observers, which is
// how the window (or a test) follows it.
#pragma once

#include <array>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "log/run_log.h"
#include "screening/hit_report.h"
#include "screening/list_search.h"
#include "screening/sanctions_schema.h"

namespace vmk::app {

enum class ModelChange {
  SearchFields,
  HitReports,
  ListDates,
  StatusText,
  PageStatus,
  StartButton,
  Switches,
  Settings,
  SelectionPanels,
  Window,
  StatusBar,
  SetupPages,
  ListSearchPage,
  ListResultRows,
  ImportWindow,
  Panels
};

// One row of the list-search result list: Name 1, Name 2, Adresse 1, Adresse 2, EU, UN, UK, US, Suchdatum.
using ListResultRow = std::array<std::string, 9>;

// The controls of the list-search page other than its result list.
struct ListSearchPageState {
  std::string listFileText;   // the "Listendatei:" field
  std::string processedText;  // the "Bearbeitet:" field, the progress text of the run
  bool loadButtonEnabled = true;
  bool startButtonEnabled = true;
  bool stopButtonVisible = false;  // "Stoppe Listensuche" in place of "Starte Listensuche"
};

// The small window "Import Data" shown while an import runs.
struct ImportWindowState {
  bool visible = false;
  std::string statusText = "Import Status";
  int percent = 0;
};

// The frame of the main window: the unattended modes hide, minimise or disable it.
struct WindowFrame {
  std::string title = "Veldmark";
  bool visible = true;
  bool minimised = false;
  bool enabled = true;
};

enum class DatabaseIcon { None, Starting, Current, NotCurrent };

struct StatusBarState {
  DatabaseIcon databaseIcon = DatabaseIcon::None;
  bool updateAvailableIcon = false;
  int progress = 0;  // 0 to 11 during the start-up, records done during a list search
  long long progressMaximum = 11;
};

enum class SetupPage { Settings, News, Personalisation, Update };

enum class SideTab { EU, UN, UK, US, SetupNews };
enum class WorkPage { SingleSearch, ListSearch, SetupNews };
enum class ListSideTab { ListSearch, SetupNews };

// Which tabs and pages the three tab controls show. The side panel and the list side panel share one
// place: exactly one of them is visible.
struct PanelState {
  SideTab sideTab = SideTab::EU;
  WorkPage workPage = WorkPage::SingleSearch;
  bool listSidePanelVisible = false;
  ListSideTab listSideTab = ListSideTab::ListSearch;
  int shownHitReport = 0;  // the list whose hit report is visible, -1 for none
  std::string hitFrameCaption = "  EU Liste  ";
  std::string setupFrameCaption = "  Einstellungen  ";
  std::string savePathLabel;  // the label in the frame "Speicherung der PDF Date"
};

// The fields of the setup pages and program-settings tabs, and the labels the settings fill.
struct SetupPagesState {
  SetupPage front = SetupPage::Settings;
  std::string newsText;
  std::string updateLabel;  // "Es liegt kein Programmupdate vor!" until an update is offered
  bool updateDownloadEnabled = true;
  int phoneticMode = 0;
  std::string phoneticLabel;   // the "Phonetik" labels of the four list tabs
  std::string whitelistLabel;  // the "White List" labels of the four list tabs
  bool csvExport = false;
  bool proxyState = false;
  std::string proxyButtonCaption;
  bool proxyStorage = false;
  std::string proxyAddress, proxyPort;
  bool ownMailServer = false;  // "Eigener Mailserver" selected, its fields enabled
  std::string mailServer, mailPort, mailUser;
  std::string batchPath, batchFile = "BatchResult.txt", batchPdfOption = "2";
  bool onlyListHits = false;
};

// The check list of one list's fields beside its hit report, with its toggle button.
struct SelectionPanel {
  std::vector<std::string> labels;  // the fields' selection labels, in column order
  std::vector<bool> ticked;
  bool open = false;
  int height = 0;            // 350 pixels when open, 0 when closed
  std::string buttonText;    // "Anzeigeauswahl einblenden" or "... ausblenden"
  bool countVisible = true;  // the hit-count field hides while the panel is open
};

inline constexpr screening::Rgb kStatusDarkRed{153, 0, 0};
inline constexpr screening::Rgb kStatusWhite{255, 255, 255};

class MainWindowModel : public log::StatusSink {
 public:
  using Observer = std::function<void(ModelChange)>;
  void AddObserver(Observer observer);

  std::array<std::string, 4> SearchFields() const;
  void SetSearchFields(const std::array<std::string, 4>& fields);

  screening::HitReports HitReports() const;
  void SetHitReports(const screening::HitReports& reports);

  // "Datenbank vom   :", a blank and the list's date, per list.
  std::array<std::string, 4> ListDateLabels() const;
  void SetListDates(const std::array<std::string, 4>& dates);

  // Status-bar text field; the run log writes here in log mode.
  std::string StatusText() const;
  void SetStatusText(const std::string& text1252) override;

  // The status labels of the single-search and list-search pages, which share one colour.
  std::string PageStatusText() const;
  screening::Rgb PageStatusColour() const;
  void SetPageStatus(const std::string& text1252);
  void SetPageStatusColour(screening::Rgb colour);

  bool StartButtonVisible() const;
  bool StartButtonEnabled() const;
  void SetStartButton(bool visible, bool enabled);

  bool WhitelistSwitch() const;
  void SetWhitelistSwitch(bool on);
  bool OpenPdfAfterSearch() const;
  void SetOpenPdfAfterSearch(bool on);

  // Company, addition, street, postcode, town, e-mail.
  std::array<std::string, 6> Personalisation() const;
  void SetPersonalisation(const std::array<std::string, 6>& person);
  // The folder of reports and exports, with its trailing separator.
  std::string SavePath() const;
  void SetSavePath(const std::string& path);

  std::array<SelectionPanel, 4> SelectionPanels() const;
  void SetSelectionPanel(std::size_t list, const SelectionPanel& panel);

  WindowFrame Window() const;
  void EditWindow(const std::function<void(WindowFrame&)>& edit);
  StatusBarState StatusBar() const;
  void EditStatusBar(const std::function<void(StatusBarState&)>& edit);
  SetupPagesState SetupPages() const;
  void EditSetupPages(const std::function<void(SetupPagesState&)>& edit);
  ListSearchPageState ListSearchPage() const;
  void EditListSearchPage(const std::function<void(ListSearchPageState&)>& edit);
  ImportWindowState ImportWindow() const;
  void EditImportWindow(const std::function<void(ImportWindowState&)>& edit);
  PanelState Panels() const;
  void EditPanels(const std::function<void(PanelState&)>& edit);

  // The list-search result list; rows arrive one at a time while a run shows its hits.
  std::vector<ListResultRow> ListResultRows() const;
  std::size_t ListResultRowCount() const;
  // The rows from `first` on, so a view can take only what is new.
  std::vector<ListResultRow> ListResultRowsFrom(std::size_t first) const;
  void ClearListResultRows();
  void AddListResultRow(const ListResultRow& row);

 private:
  template <typename F>
  void Change(ModelChange what, F&& apply);

  mutable std::mutex mutex_;
  std::vector<Observer> observers_;
  std::array<std::string, 4> searchFields_;
  screening::HitReports hitReports_;
  std::array<std::string, 4> listDateLabels_;
  std::string statusText_;
  std::string pageStatusText_;
  screening::Rgb pageStatusColour_ = kStatusWhite;
  bool startButtonVisible_ = true;
  bool startButtonEnabled_ = true;
  bool whitelistSwitch_ = false;
  bool openPdfAfterSearch_ = false;
  std::array<std::string, 6> personalisation_;
  std::string savePath_;
  std::array<SelectionPanel, 4> selectionPanels_;
  WindowFrame window_;
  StatusBarState statusBar_;
  SetupPagesState setupPages_;
  ListSearchPageState listSearchPage_;
  ImportWindowState importWindow_;
  PanelState panels_;
  std::vector<ListResultRow> listResultRows_;
};

}  // namespace vmk::app
