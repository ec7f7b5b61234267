// The German texts the main program shows: captions, labels, status texts, message texts, message
// titles and the fixed texts of the PDF reports, one named Windows-1252 entry each.
#pragma once

#include <cstddef>
#include <string>

namespace vmk::text {

// One enumerator per entry. A wording used in several places has one entry per place (TabEU and
// ColumnEU are both "EU"). Messages of several lines are several entries the caller joins with "\r".
enum class Ui {
  // Start-up and command line
  MsgProgramWillEnd,
  MsgNotInstalledCorrectly,
  MsgPleaseReinstall,
  ErrorCodeMF19,
  MsgWithoutPersonalisation,
  MsgChecksNotFilledIn,
  MsgPleasePersonalise,
  MsgSettingsLibraryMissing,
  ErrorCodeMF9,

  // Main window, pages, dialogs and status bar
  TabEU,
  ButtonPdfTargetPath,
  ButtonShowDisplaySelection,
  PhoneticPaddedLabel,
  WhitelistPaddedLabel,
  DisplayItemsTitleEU,
  TabUN,
  TabBatch,
  ProxySettings,
  ProxyAddressLabel,
  ProxyPortLabel,
  DisplayItemsTitleUN,
  TabUK,
  ButtonSave,
  ButtonProxyOn,
  ButtonProxyOff,
  DisplayItemsTitleUK,
  TabUS,
  SetupRowSearchHistory,
  StatusLoadingFieldDisplay,
  StatusReadingListDates,
  StatusReadingPhoneticMode,
  VersionLabel,
  DisplayItemsTitleUS,
  TabSetupNews,
  SetupListTitle,
  SetupRowNews,
  SetupRowPersonalise,
  SetupRowUpdate,
  TabSearchSettings,
  ListSetupCaption,
  PageSingleSearch,
  SearchTerm1Label,
  SearchTerm2Label,
  SearchTerm3Label,
  SearchTerm4Label,
  ButtonStartSearch,
  ButtonPdfFolder,
  HitTableValueEU,
  HitTableContentEU,
  HitTableExtendedEU,
  HitTableValueUN,
  HitTableContentUN,
  HitTableExtendedUN,
  HitTableValueBoE,
  HitTableContentBoE,
  HitTableValueUS,
  HitTableContentUS,
  ColumnName1,
  ColumnName2,
  ColumnAddress1,
  ColumnAddress2,
  ColumnEU,
  ColumnUN,
  ColumnUK,
  ColumnUS,
  ColumnSearchDate,
  ButtonLoadListFile,
  ButtonStartListSearch,
  ButtonStopListSearch,
  CheckListHitsOnly,
  ListFileLabel,
  ProcessedLabel,
  StateEnabled,
  StateDisabled,
  InfoWindowTitle,
  CompanyNameLabel,
  DepartmentLabel,
  StreetLabel,
  PostalCodeLabel,
  CityLabel,
  EmailLabel,
  ButtonConfirmPersonalisation,
  NoProgramUpdateLabel,
  SavePathInitialLabel,
  SetupRowProgramSettings,
  FramePhoneticChoice,
  OptionSoundex,
  OptionPlainText,
  OptionMetaphone,
  FramePdfStorage,
  StatusCheckingDatabase,
  FramePdfDisplayMode,
  CheckOpenPdfAfterSearch,
  FrameCsvExport,
  CheckCsvExport,
  WhitelistCaption,
  CheckWhitelistFilter,
  TabMail,
  FrameMailSettings,
  OptionOwnMailServer,
  MailServerLabel,
  MailPortLabel,
  MailUserLabel,
  MailPasswordLabel,
  MailPasswordRepeatLabel,
  ButtonApplyMailSettings,
  SetupFrameInitialCaption,
  TitleInformation,
  MsgSupportMessageSent,
  TitleConfirmation,
  StatusCheckingProgramUpdate,
  UpdateAvailableLabel,
  MsgUpdateAvailable,
  StatusNextDatabaseUpdate,
  TitleChooseSavePath,
  SavePathLabel,
  MsgListSearchPaused,
  MsgContinueListSearch,
  MsgPressYesToContinue,
  MsgPressNoToAbort,
  MsgAbortKeepsResults,
  MsgResultsSaved,
  TitleAbortListSearch,
  MsgFillAllFields,
  MsgPersonalisationSaved,
  MsgMailSettingsRegistered,
  MsgMailSettingsNotRegistered,
  MsgPasswordsDiffer,
  MsgProxyStored,
  MsgProxyDisabled,
  FrameBatchSettings,
  BatchPathLabel,
  BatchFileLabel,
  OptionBatchNoPdf,
  OptionBatchPdfOnHits,
  OptionBatchPdfAlways,
  ButtonOnlineSupport,
  TabDataOutput,
  ModeAllPhonetics,
  ButtonInstallUpdate,
  ButtonDownloadUpdate,
  CheckStoreProxyInternally,
  OptionVendorMailServer,
  TitleOpenPdf,
  PdfFileFilter,
  HelpWindowTitle,
  ButtonCloseHelp,

  // Shared by the window and the list dates
  DatabaseDateLabel,

  // Shared by the window and the single search
  HitCountLabel,

  // Shared by the window and the whitelist editor
  TitleNotice,

  // Shared by the window and the single-search report
  ReportListEU,
  ReportListUN,
  ReportListBoE,
  ReportListUS,
  TitleError,
  ModePlainText,
  ModeSoundex,
  ModeDoubleMetaphone,

  // Shared by the window and both reports
  PhoneticLabel,

  // Shared by the window and the list-search report
  ListSearch,

  // Shared by the window and the information-file download
  Proxy,
  StatusLoadingInfoFile,

  // Error report
  ErrorCodeMF173,

  // Batch and list-search start
  SearchActive,

  // Unpacking the sanctions database
  UnpackError,

  // Single search
  MsgAtLeastOneTerm,
  MsgTermTooShort,
  BatchNoTerm,
  BatchTermTooShort,
  NoPdfCreated,

  // Whitelist editor
  MsgSemicolonReserved,
  WhitelistEditorTitle,
  WhitelistColumnTerm,
  ButtonWhitelistNew,
  ButtonWhitelistDelete,
  ButtonWhitelistSaveClose,

  // Display-item selection
  DisplaySelectionShow,
  DisplaySelectionHide,

  // Master-data import
  TitleLoadListFile,
  StatusImportingMasterData,
  ImportWindowTitle,

  // List search
  ProgressProcessed,
  ProgressGeneratingPdf,
  ProgressGeneratingCsv,

  // Single-search report and run-log mail
  ReportPage,
  ReportPrintDate,
  ReportCompany,
  ReportStreet,
  ReportPostcodeCity,
  ReportSearchTerms,
  ReportListDatesBookmark,
  ReportListDateEU,
  ReportSingleSearchHits,
  ReportListDateUN,
  ReportListDateBoE,
  ReportListDateUS,
  ReportResultEU,
  ReportResultUN,
  ReportResultUK,
  ReportResultUS,
  MsgRunLogMailFailed,
  MsgCheckFirewallAllowsMail,

  // Both reports
  ReportCreatedFor,
  ReportTerm1,
  ReportTerm2,
  ReportTerm3,
  ReportTerm4,
  StatusCreatingPdf,
  ReportDatabaseInfo,

  // List-search report
  ReportHitsEU,
  ReportHitsUN,
  ReportHitsUK,
  ReportHitsUS,
  ReportListStart,
  ReportListSearchResult,
  ReportListSearchHits,

  // Database update and information file
  ErrorCode354,
  MsgUpdateFileNoData,
  MsgDataUpToDate,
  MsgDatabaseUpdated,
  MsgDatabaseDownloadFailed,
  MsgDatabaseNotUpdated,
  ErrorCode308,
  MsgNewDatabaseDefective,
  MsgVendorNotified,
  ErrorCode317,
  ErrorCode327,
  MsgInfoFileDownloadFailed,
  ErrorCode312,
  MsgDatabaseInfoFileNoData,
  ErrorCode345,
  MsgInfoFileError,
  ErrorCodePrefix,
  MsgInfoFileNotLoaded,
  ErrorCodeMF74,
  MsgInfoFileEmpty,
  ErrorMF77,
  MsgInternetInitFailed,
  ErrorCodeMF80,
  MsgNewDatabaseDefectiveOrMissing,

  // Shared by the database and program updates
  DbUpdateCheckConnection,
  DbUpdateCheckFirewall,

  // Program update
  ProgramUpdateCheckConnection,
  ProgramUpdateCheckFirewall,
  MsgSetupDownloadFailed,
  ErrorCodeMF107,
  MsgSetupFileDefective,
  ErrorCodeMF111,
  ErrorCodeMF116P,
  ErrorCodeMF116,
  MsgSetupDownloaded,
  MsgLoginAsAdministrator,
};

// The last enumerator; an entry added to the enum goes before it or moves this marker.
inline constexpr Ui kLastUiText = Ui::MsgLoginAsAdministrator;

// Converts the whole table to Windows-1252 once; later calls, from any thread, do nothing.
void FillUiTexts();

// The Windows-1252 text of an entry; fills the table first when that has not happened yet. A value
// outside the enum gives an empty text.
const std::string& UiText(Ui id);

std::size_t UiTextCount();

}  // namespace vmk::text
