#include "text/ui_texts.h"

#include <array>
#include <mutex>
#include <string_view>

#include "text/cp1252.h"

namespace vmk::text {
namespace {

struct Row {
  Ui id;
  std::string_view utf8;
};

// Every blank, every spelling and every character of these texts is shown as written here.
constexpr Row kRows[] = {
    // Start-up and command line
    {Ui::MsgProgramWillEnd, "Das Programm wird jetzt beendet"},
    {Ui::MsgNotInstalledCorrectly, "Das Programm wurde nicht richtig installiert."},
    {Ui::MsgPleaseReinstall, "Bitte führen Sie die Installation erneut durch."},
    {Ui::ErrorCodeMF19, "Fehler Code (MF19)"},
    {Ui::MsgWithoutPersonalisation, "Ohne die Personalisierung werden die Ausdrucke Ihrer"},
    {Ui::MsgChecksNotFilledIn, "Prüfungen nicht korrekt ausgefüllt"},
    {Ui::MsgPleasePersonalise, "Bitte personalisieren Sie Ihre Veldmark Version"},
    {Ui::MsgSettingsLibraryMissing,
     "Die Datei 'KES2.DLL' fehlt oder ist defekt. Bitte Programm erneut installieren"},
    {Ui::ErrorCodeMF9, "Fehler Code (MF9)"},

    // Main window, pages, dialogs and status bar
    {Ui::TabEU, "EU"},
    {Ui::ButtonPdfTargetPath, "PDF Zielpfad"},
    {Ui::ButtonShowDisplaySelection, "Anzeigeauswahl einblenden"},
    {Ui::PhoneticPaddedLabel, "Phonetik        :"},
    {Ui::WhitelistPaddedLabel, "White List      :"},
    {Ui::DisplayItemsTitleEU, "Ergebnis Anzeige EU Listen"},
    {Ui::TabUN, "UN"},
    {Ui::TabBatch, "Batch"},
    {Ui::ProxySettings, "Proxy Einstellungen"},
    {Ui::ProxyAddressLabel, "Proxy IP Adresse :"},
    {Ui::ProxyPortLabel, "Proxy Port :"},
    {Ui::DisplayItemsTitleUN, "Ergebnis Anzeige UN Liste"},
    {Ui::TabUK, "UK"},
    {Ui::ButtonSave, "Speichern"},
    {Ui::ButtonProxyOn, "Proxy Daten speichern"},
    {Ui::ButtonProxyOff, "Proxy ausschalten"},
    {Ui::DisplayItemsTitleUK, "Ergebnis Anzeige UK Liste"},
    {Ui::TabUS, "US"},
    {Ui::SetupRowSearchHistory, "Suchhistorie"},
    {Ui::StatusLoadingFieldDisplay, "Lade Feldanzeige der Datenbanken"},
    {Ui::StatusReadingListDates, "Lese Aktualität der Datenbanken"},
    {Ui::StatusReadingPhoneticMode, "Lese Phonetikeinstellung"},
    {Ui::VersionLabel, "Programmversion:"},
    {Ui::DisplayItemsTitleUS, "Ergebnis Anzeige US Listen"},
    {Ui::TabSetupNews, "Setup / News"},
    {Ui::SetupListTitle, "Setup"},
    {Ui::SetupRowNews, "News/Nachrichten"},
    {Ui::SetupRowPersonalise, "Personalisieren"},
    {Ui::SetupRowUpdate, "Aktualisieren"},
    {Ui::TabSearchSettings, "Sucheinstellungen"},
    {Ui::ListSetupCaption, "Listensuch Einstellungen"},
    {Ui::PageSingleSearch, "Einzelsuche"},
    {Ui::SearchTerm1Label, "Suchbgriff1 (Name)"},
    {Ui::SearchTerm2Label, "Suchbegriff2 (Name)"},
    {Ui::SearchTerm3Label, "Suchbegriff3 (Adresse)"},
    {Ui::SearchTerm4Label, "Suchbegriff4 (Adresse)"},
    {Ui::ButtonStartSearch, "Suche starten"},
    {Ui::ButtonPdfFolder, "PDF Verzeichnis"},
    {Ui::HitTableValueEU, "Wert EU Liste"},
    {Ui::HitTableContentEU, "Inhalt EU Liste"},
    {Ui::HitTableExtendedEU, "Erweiterter Inhalt EU Liste"},
    {Ui::HitTableValueUN, "Wert UN Liste"},
    {Ui::HitTableContentUN, "Inhalt UN Liste"},
    {Ui::HitTableExtendedUN, "Erweiterter Inhalt UN Liste"},
    {Ui::HitTableValueBoE, "Wert BoE Liste"},
    {Ui::HitTableContentBoE, "Inhalt BoE Liste"},
    {Ui::HitTableValueUS, "Wert US Listen"},
    {Ui::HitTableContentUS, "Inhalt US Listen"},
    {Ui::ColumnName1, "Name 1"},
    {Ui::ColumnName2, "Name 2"},
    {Ui::ColumnAddress1, "Adresse 1"},
    {Ui::ColumnAddress2, "Adresse 2"},
    {Ui::ColumnEU, "EU"},
    {Ui::ColumnUN, "UN"},
    {Ui::ColumnUK, "UK"},
    {Ui::ColumnUS, "US"},
    {Ui::ColumnSearchDate, "Suchdatum"},
    {Ui::ButtonLoadListFile, "Lade Listendatei"},
    {Ui::ButtonStartListSearch, "Starte Listensuche"},
    {Ui::ButtonStopListSearch, "Stoppe Listensuche"},
    {Ui::CheckListHitsOnly, "Nur Listentreffer anzeigen (Vor Start der Listensuche einschalten!"},
    {Ui::ListFileLabel, "Listendatei:"},
    {Ui::ProcessedLabel, "Bearbeitet:"},
    {Ui::StateEnabled, "aktiviert"},
    {Ui::StateDisabled, "deaktiviert"},
    {Ui::InfoWindowTitle, "Info Fenster"},
    {Ui::CompanyNameLabel, "Firmenname"},
    {Ui::DepartmentLabel, "Abteilung"},
    {Ui::StreetLabel, "Straße"},
    {Ui::PostalCodeLabel, "Postleitzahl"},
    {Ui::CityLabel, "Ort"},
    {Ui::EmailLabel, "e-mail"},
    {Ui::ButtonConfirmPersonalisation, "Personalisierung bestätigen"},
    {Ui::NoProgramUpdateLabel, "Es liegt kein Programmupdate vor!"},
    {Ui::SavePathInitialLabel, "Speicherpfad :"},
    {Ui::SetupRowProgramSettings, "Programmeinstellungen"},
    {Ui::FramePhoneticChoice, "Auswahl der Phonetik"},
    {Ui::OptionSoundex, "Soundex"},
    {Ui::OptionPlainText, "Klartext"},
    {Ui::OptionMetaphone, "Metaphone"},
    {Ui::FramePdfStorage, "Speicherung der PDF Date"},
    {Ui::StatusCheckingDatabase, "Prüfe Datenbankaktualität und führe Update durch"},
    {Ui::FramePdfDisplayMode, "PDF Anzeigemodus"},
    {Ui::CheckOpenPdfAfterSearch, "Automatisches Anzeigen der PDF Datei nach Beendigung der Suche"},
    {Ui::FrameCsvExport, "CSV Listenexport"},
    {Ui::CheckCsvExport, "Listenergebnis in CSV Datei exportieren"},
    {Ui::WhitelistCaption, "White List"},
    {Ui::CheckWhitelistFilter, "Einträge der 'White List' aus den Suchbegriffen herauslöschen"},
    {Ui::TabMail, "Mail"},
    {Ui::FrameMailSettings, "Mail Einstellungen"},
    {Ui::OptionOwnMailServer, "Eigener Mailserver"},
    {Ui::MailServerLabel, "* Mail Server Name"},
    {Ui::MailPortLabel, "* Mail Port"},
    {Ui::MailUserLabel, "User Name"},
    {Ui::MailPasswordLabel, "Passwort"},
    {Ui::MailPasswordRepeatLabel, "Passwort (wdh.)"},
    {Ui::ButtonApplyMailSettings, "Werte übernehmen"},
    {Ui::SetupFrameInitialCaption, "Einstellungen"},
    {Ui::TitleInformation, "Information"},
    {Ui::MsgSupportMessageSent, "Ihre Nachricht wurde erfolgreich versandt"},
    {Ui::TitleConfirmation, "Bestätigung"},
    {Ui::StatusCheckingProgramUpdate, "Prüfe auf Programmupdate"},
    {Ui::UpdateAvailableLabel, "Es steht eine neue Programmversion zum Download zur Verfügung"},
    {Ui::MsgUpdateAvailable, "Programmupdate verfügbar. Neue"},
    {Ui::StatusNextDatabaseUpdate, "Nächstes Datenbank Update nach Programmneustart in"},
    {Ui::TitleChooseSavePath, "Auswahl Speicherpfad"},
    {Ui::SavePathLabel, "Speicherpfad:"},
    {Ui::MsgListSearchPaused, "Sie haben die Listensuche angehalten."},
    {Ui::MsgContinueListSearch, "Wollen Sie die Listensuche fortführen?"},
    {Ui::MsgPressYesToContinue, "Drücken Sie 'JA' um mit der Listensuche fortzufahren"},
    {Ui::MsgPressNoToAbort, "Drücken Sie 'Nein' um die Listensuche abzubrechen."},
    {Ui::MsgAbortKeepsResults, "Wenn Sie die Listensuche abbrechen, werden die bislang"},
    {Ui::MsgResultsSaved, "ermittelten Daten gespeichert."},
    {Ui::TitleAbortListSearch, "Listensuche abbrechen"},
    {Ui::MsgFillAllFields, "Bitte füllen Sie alle Felder aus"},
    {Ui::MsgPersonalisationSaved, "Die Personalisierung wurde eingetragen"},
    {Ui::MsgMailSettingsRegistered, "Ihre Mailangaben wurden erfolgreich registriert"},
    {Ui::MsgMailSettingsNotRegistered, "Ihre Mailangaben konnten nicht registriert werden"},
    {Ui::MsgPasswordsDiffer, "Die eingegebenen Passwörter sind nicht identisch"},
    {Ui::MsgProxyStored, "Ihre Eingabe wurde in die Registry eingetragen"},
    {Ui::MsgProxyDisabled, "Proxy wurde deaktiviert"},
    {Ui::FrameBatchSettings, "Batch Einstellungen"},
    {Ui::BatchPathLabel, "Speicherpfad Ergebnisdatei:"},
    {Ui::BatchFileLabel, "Dateiname :"},
    {Ui::OptionBatchNoPdf, "Keine PDF Ausgabe"},
    {Ui::OptionBatchPdfOnHits, "PDF bei Treffer erzeugen"},
    {Ui::OptionBatchPdfAlways, "PDF immer erzeugen"},
    {Ui::ButtonOnlineSupport, "Online support"},
    {Ui::TabDataOutput, "Datenausgabe"},
    {Ui::ModeAllPhonetics, "Alle Phonetiken"},
    {Ui::ButtonInstallUpdate, "Update installieren"},
    {Ui::ButtonDownloadUpdate, "Update herunterladen"},
    {Ui::CheckStoreProxyInternally, "Proxy Daten intern speichern"},
    {Ui::OptionVendorMailServer, "Veldmark Mailserver"},
    {Ui::TitleOpenPdf, "Veldmark PDF Dateien"},
    {Ui::PdfFileFilter, "Veldmark pdf Dateien (*.pdf)|*.pdf|Alle Dateien (*.*)|*.*"},
    {Ui::HelpWindowTitle, "Alvenbrook Hilfe"},
    {Ui::ButtonCloseHelp, "Schließen"},

    // Shared by the window and the list dates
    {Ui::DatabaseDateLabel, "Datenbank vom   :"},

    // Shared by the window and the single search
    {Ui::HitCountLabel, "Anzahl Treffer  :"},

    // Shared by the window and the whitelist editor
    {Ui::TitleNotice, "Hinweis"},

    // Shared by the window and the single-search report
    {Ui::ReportListEU, "EU Liste"},
    {Ui::ReportListUN, "UN Liste"},
    {Ui::ReportListBoE, "BoE Liste"},
    {Ui::ReportListUS, "US Listen"},
    {Ui::TitleError, "Fehler"},
    {Ui::ModePlainText, "Klartext"},
    {Ui::ModeSoundex, "Soundex"},
    {Ui::ModeDoubleMetaphone, "Double Metaphone"},

    // Shared by the window and both reports
    {Ui::PhoneticLabel, "Phonetik:"},

    // Shared by the window and the list-search report
    {Ui::ListSearch, "Listensuche"},

    // Shared by the window and the information-file download
    {Ui::Proxy, "Proxy"},
    {Ui::StatusLoadingInfoFile, "Lade Informationsdatei"},

    // Error report
    {Ui::ErrorCodeMF173, "Fehler Code (MF173)"},

    // Batch and list-search start
    {Ui::SearchActive, "Suche ist aktiv"},

    // Unpacking the sanctions database
    {Ui::UnpackError, "Entpack Fehler"},

    // Single search
    {Ui::MsgAtLeastOneTerm, "Bitte geben Sie mindestens 1 Suchbegriff ein"},
    {Ui::MsgTermTooShort, "Bitte geben Sie einen Suchbegriff mit mindestens 2 Buchstaben ein"},
    {Ui::BatchNoTerm, "Fehlerhafte Suchbegriffe (Kein Suchbegriff vorhanden)"},
    {Ui::BatchTermTooShort, "Fehlerhafte Suchbegriffe (zu wenig Zeichen)"},
    {Ui::NoPdfCreated, "Keine Pdf Datei erzeugt"},

    // Whitelist editor
    {Ui::MsgSemicolonReserved,
     "Das eingegebenen Zeichen ';' ist ein Steuerzeichen und darf nicht gelöscht werden"},
    {Ui::WhitelistEditorTitle, "WhiteList"},
    {Ui::WhitelistColumnTerm, "Begriff"},
    {Ui::ButtonWhitelistNew, "Neu"},
    {Ui::ButtonWhitelistDelete, "Löschen"},
    {Ui::ButtonWhitelistSaveClose, "Speichern + Schließen"},

    // Display-item selection
    {Ui::DisplaySelectionShow, "Anzeigeauswahl einblenden"},
    {Ui::DisplaySelectionHide, "Anzeigeauswahl ausblenden"},

    // Master-data import
    {Ui::TitleLoadListFile, "Lade Listendatei"},
    {Ui::StatusImportingMasterData, "Stammdaten werden importiert"},
    {Ui::ImportWindowTitle, "Import Data"},

    // List search
    {Ui::ProgressProcessed, "Bearbeitet :"},
    {Ui::ProgressGeneratingPdf, "Bearbeitet : 'Generiere PDF Ausgabe'"},
    {Ui::ProgressGeneratingCsv, "Bearbeitet : Generiere CSV Export Datei"},

    // Single-search report and run-log mail
    {Ui::ReportPage, "Seite"},
    {Ui::ReportPrintDate, "Druckdatum:"},
    {Ui::ReportCompany, "Firma :"},
    {Ui::ReportStreet, "Straße :"},
    {Ui::ReportPostcodeCity, "PLZ Ort:"},
    {Ui::ReportSearchTerms, "Suchbegriffe"},
    {Ui::ReportListDatesBookmark, "Aktualität der Listen"},
    {Ui::ReportListDateEU, "Aktualität der EU"},
    {Ui::ReportSingleSearchHits, "Treffer Einzelsuche:"},
    {Ui::ReportListDateUN, "Aktualität der UN"},
    {Ui::ReportListDateBoE, "Aktualität der BoE"},
    {Ui::ReportListDateUS, "Aktualität der US"},
    {Ui::ReportResultEU, "Ergebnis der EU Liste"},
    {Ui::ReportResultUN, "Ergebnis der UN Liste"},
    {Ui::ReportResultUK, "Ergebnis der UK Liste"},
    {Ui::ReportResultUS, "Ergebnis der US Liste"},
    {Ui::MsgRunLogMailFailed, "Beim senden der Nachricht ist ein Fehler aufgetreten"},
    {Ui::MsgCheckFirewallAllowsMail, "Bitte prüfen Sie ob Ihre Firewall auch e-mail Verkehr zulässt !"},

    // Both reports
    {Ui::ReportCreatedFor, "Erstellt für"},
    {Ui::ReportTerm1, "Begriff 1 (Name) :"},
    {Ui::ReportTerm2, "Begriff 2 (Name) :"},
    {Ui::ReportTerm3, "Begriff 3 (Adresse) :"},
    {Ui::ReportTerm4, "Begriff 4 (Adresse) :"},
    {Ui::StatusCreatingPdf, "PDF Datei wird erzeugt, bitte warten Sie ..."},
    {Ui::ReportDatabaseInfo, "Datenbankinformationen"},

    // List-search report
    {Ui::ReportHitsEU, "EU Treffer"},
    {Ui::ReportHitsUN, "UN Treffer"},
    {Ui::ReportHitsUK, "UK Treffer"},
    {Ui::ReportHitsUS, "US Treffer"},
    {Ui::ReportListStart, "Listenstart"},
    {Ui::ReportListSearchResult, "Ergebnis Listensuche"},
    {Ui::ReportListSearchHits, "Ergebnis Listensuch Treffer"},

    // Database update and information file
    {Ui::ErrorCode354, "Fehler Code (354)"},
    {Ui::MsgUpdateFileNoData, "Die Datenbankinformationsdatei enthält keine Daten"},
    {Ui::MsgDataUpToDate, "Ihre Daten sind auf dem aktuellen Stand"},
    {Ui::MsgDatabaseUpdated, "Die Datenbank wurde aktualisiert"},
    {Ui::MsgDatabaseDownloadFailed, "Die neue Datenbank konnte nicht vom Server heruntergeladen werden"},
    {Ui::MsgDatabaseNotUpdated, "Die Datenbank wurde nicht aktualisiert"},
    {Ui::ErrorCode308, "Fehler Code (308)"},
    {Ui::MsgNewDatabaseDefective, "Die neue Datenbank ist fehlerhaft"},
    {Ui::MsgVendorNotified, "Eine entsprechende Nachricht wurde an den Veldmark Server versandt"},
    {Ui::ErrorCode317, "Fehler Code (317)"},
    {Ui::ErrorCode327, "Fehler Code (327)"},
    {Ui::MsgInfoFileDownloadFailed, "Der Download der Datenbank Informationsdatei ist fehlgeschlagen"},
    {Ui::ErrorCode312, "Fehler Code (312)"},
    {Ui::MsgDatabaseInfoFileNoData, "Die Datenbank Informationsdatei enthält keine Daten"},
    {Ui::ErrorCode345, "Fehler Code (345)"},
    {Ui::MsgInfoFileError, "Fehler mit der Informationsdatei"},
    {Ui::ErrorCodePrefix, "Fehler Code:"},
    {Ui::MsgInfoFileNotLoaded, "Die Informationsdatei konnte nicht geladen werden."},
    {Ui::ErrorCodeMF74, "Fehler Code (MF74)"},
    {Ui::MsgInfoFileEmpty, "Die Informationsdatei ist ohne Inhalt"},
    {Ui::ErrorMF77, "Fehler (MF77)"},
    {Ui::MsgInternetInitFailed, "Die Internetverbindung konnte nicht initialisiert werden."},
    {Ui::ErrorCodeMF80, "Fehler Code (MF80)"},
    {Ui::MsgNewDatabaseDefectiveOrMissing,
     "Die neue Datanbank ist fehlerhaft bzw. konnte vom Server nicht heruntergeladen werden"},

    // Shared by the database and program updates
    {Ui::DbUpdateCheckConnection, "Bitte prüfen Sie die Internetverbindung oder die"},
    {Ui::DbUpdateCheckFirewall, "Einstellungen Ihrer Firewall"},

    // Program update
    {Ui::ProgramUpdateCheckConnection, "Bitte prüfen Sie die Internetverbindung oder die"},
    {Ui::ProgramUpdateCheckFirewall, "Einstellungen Ihrer Firewall"},
    {Ui::MsgSetupDownloadFailed,
     "Die Datei konnte nicht geladen werden, bitte prüfen Sie die Internetverbindung oder die "
     "Einstellung der Firewall"},
    {Ui::ErrorCodeMF107, "Fehler Code (MF107)"},
    {Ui::MsgSetupFileDefective, "Die geladene Datei ist leer oder fehlerhaft"},
    {Ui::ErrorCodeMF111, "Fehler Code (MF111)"},
    {Ui::ErrorCodeMF116P, "Fehler Code (MF116P)"},
    {Ui::ErrorCodeMF116, "Fehler Code (MF116)"},
    {Ui::MsgSetupDownloaded,
     "Die Setup Datei wurde erfolgreich heruntergeladen und in folgendes Verzeichnis gespeichert:"},
    {Ui::MsgLoginAsAdministrator,
     "Bitte melden Sie sich zum Download und zur Installation als Administrator an."},
};

constexpr std::size_t kCount = static_cast<std::size_t>(kLastUiText) + 1;

// Row i must hold enumerator i: then every enumerator has exactly one row and UiText can index.
constexpr bool RowsFollowEnumOrder() {
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    if (static_cast<std::size_t>(kRows[i].id) != i) return false;
  }
  return true;
}
static_assert(std::size(kRows) == kCount, "every enumerator of Ui needs exactly one row");
static_assert(RowsFollowEnumOrder(), "the rows must follow the order of the enum Ui");

std::array<std::string, kCount> g_texts;
std::once_flag g_filled;

}  // namespace

void FillUiTexts() {
  std::call_once(g_filled, [] {
    for (const Row& row : kRows) g_texts[static_cast<std::size_t>(row.id)] = Utf8ToCp1252(row.utf8);
  });
}

const std::string& UiText(Ui id) {
  static const std::string kNone;
  FillUiTexts();
  const auto index = static_cast<std::size_t>(id);
  return index < kCount ? g_texts[index] : kNone;
}

std::size_t UiTextCount() {
  return kCount;
}

}  // namespace vmk::text
