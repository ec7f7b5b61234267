// The actions of the main window's event loop: what a click, a selection or a change of a control does
// to the window model, the settings and the program state. The window calls these and renders the model.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "app/app_context.h"
#include "app/main_window_model.h"

namespace vmk::app {

// Panel coordination: the tab or page the person selected, and what the other panels follow with.
void SelectSideTab(AppContext& context, SideTab tab);
void SelectWorkPage(AppContext& context, WorkPage page);
void SelectListSideTab(AppContext& context, ListSideTab tab);

// The rows of the setup list, top to bottom.
enum class SetupRow { News, Personalise, Update, ProgramSettings, SearchHistory };
// Shows the row's setup page with its frame caption; "Suchhistorie" starts the history viewer instead.
void SelectSetupRow(AppContext& context, SetupRow row);
// The update announcement's way to the Update page, with its own frame caption.
void ShowUpdatePage(AppContext& context);

// "PDF Zielpfad" and "...": a chosen folder becomes the save folder; the label shows it either way.
void ChooseSaveFolder(AppContext& context);
// "Speicherpfad:", three blanks and the save folder.
std::string SavePathLabelText(const std::string& savePath);
// "PDF Verzeichnis": a report picked in the save folder is opened with its program.
void OpenReportFromSaveFolder(AppContext& context);

// The four search fields take the names and addresses of the selected list-search row.
void SelectListResultRow(AppContext& context, std::size_t row);

// The external programs beside the main program, started without waiting.
void OpenHelpFile(AppContext& context);
void StartOnlineSupport(AppContext& context);

// "Suche starten": the button off and both status labels "Suche ist aktiv" in dark red, then the search.
void MarkSingleSearchActive(AppContext& context);
void StartSingleSearch(AppContext& context);

// The switches that write their setting at once.
void SetOpenPdfSwitch(AppContext& context, bool on);
void SetCsvExportSwitch(AppContext& context, bool on);
void SetWhitelistFilterSwitch(AppContext& context, bool on);
void SetOnlyListHitsSwitch(AppContext& context, bool on);
void SetProxyStorageSwitch(AppContext& context, bool on);
// The phonetic option buttons, 0 plain text, 1 Soundex, 2 Metaphone, 3 all.
void SelectPhoneticOption(AppContext& context, int mode);

// "Personalisierung bestätigen" with the six fields: refused while any is empty.
void ConfirmPersonalisation(AppContext& context, const std::array<std::string, 6>& fields);

// "Update herunterladen": the program update by the path of the proxy state.
void DownloadUpdate(AppContext& context, const std::string& updateServer);

// The template the support text area starts with, dated today.
std::string SupportMessageTemplate(const platform::Clock& clock);

// "Speichern" / "Proxy ausschalten" with the address and port fields.
void SwitchProxy(AppContext& context, const std::string& address, const std::string& port);

// The two mail-server option buttons and "Werte übernehmen".
void SelectVendorMailServer(AppContext& context);
void SelectOwnMailServer(AppContext& context);
void StoreOwnMailServer(AppContext& context, const std::string& server, const std::string& port,
                        const std::string& user, const std::string& password, const std::string& repetition);

// The batch settings: "..." of the path, "OK" of the file, the three PDF options ("0", "1", "2").
void ChooseBatchPath(AppContext& context);
void StoreBatchFile(AppContext& context, const std::string& file);
void SelectBatchPdfOption(AppContext& context, const std::string& option);

}  // namespace vmk::app
