#include "app/window_actions.h"

#include <charconv>
#include <chrono>

#include "app/mail_binding.h"
#include "app/single_search_run.h"
#include "text/cp1252.h"
#include "text/date_mask.h"
#include "text/ui_texts.h"
#include "update/program_update.h"

namespace vmk::app {

namespace {

using namespace std::chrono_literals;
using text::Ui;
using text::UiText;

constexpr const char* kHelpFile = "VMK21.chm";
constexpr const char* kHistoryViewer = "Sichtwerk.exe";
constexpr const char* kRemoteSupport = "ZoraduRA_de.exe";

std::string Framed(const std::string& caption) {
  return "  " + caption + "  ";
}

// The hit-report frame's list names, EU to US.
std::string ListName(int list) {
  static constexpr Ui kNames[] = {Ui::ReportListEU, Ui::ReportListUN, Ui::ReportListBoE, Ui::ReportListUS};
  return UiText(kNames[list]);
}

void ApplyListTab(PanelState& panels, int list) {
  panels.listSidePanelVisible = false;
  panels.sideTab = static_cast<SideTab>(list);
  panels.shownHitReport = list;
  panels.hitFrameCaption = Framed(ListName(list));
  panels.workPage = WorkPage::SingleSearch;
}

void ShowSetupPage(AppContext& context, SetupPage page, const std::string& caption) {
  context.model.EditSetupPages([&](SetupPagesState& pages) { pages.front = page; });
  context.model.EditPanels([&](PanelState& panels) { panels.setupFrameCaption = Framed(caption); });
}

void Box(AppContext& context, Ui title, Ui message, int icon) {
  context.dialogs.MessageBox(UiText(title), UiText(message), icon);
}

const char* OnOff(bool on) {
  return on ? "1" : "0";
}

// The address field's text as a dotted IPv4 address; an empty or missing part counts as 0.
std::string DottedAddress(const std::string& field) {
  std::string address;
  std::size_t start = 0;
  for (int part = 0; part < 4; ++part) {
    const std::size_t dot = start <= field.size() ? field.find('.', start) : std::string::npos;
    const std::string number = start <= field.size() ? field.substr(start, dot - start) : "";
    int value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    address += (part > 0 ? "." : "") + std::to_string(value & 0xFF);
    start = dot == std::string::npos ? field.size() + 1 : dot + 1;
  }
  return address;
}

std::string PhoneticOptionCaption(int mode) {
  switch (mode) {
    case 1:
      return UiText(Ui::OptionSoundex);
    case 2:
      return UiText(Ui::OptionMetaphone);
    case 3:
      return UiText(Ui::ModeAllPhonetics);
    default:
      return UiText(Ui::OptionPlainText);
  }
}

}  // namespace

void SelectSideTab(AppContext& context, SideTab tab) {
  if (tab == SideTab::SetupNews) {
    context.model.EditPanels([](PanelState& panels) {
      panels.sideTab = SideTab::SetupNews;
      panels.shownHitReport = -1;
      panels.workPage = WorkPage::SetupNews;
    });
    SelectSetupRow(context, SetupRow::News);
    return;
  }
  context.model.EditPanels([&](PanelState& panels) { ApplyListTab(panels, static_cast<int>(tab)); });
}

void SelectWorkPage(AppContext& context, WorkPage page) {
  context.model.EditPanels([&](PanelState& panels) {
    switch (page) {
      case WorkPage::SingleSearch:
        ApplyListTab(panels, 0);
        break;
      case WorkPage::ListSearch:
        panels.listSidePanelVisible = true;
        panels.listSideTab = ListSideTab::ListSearch;
        panels.workPage = WorkPage::ListSearch;
        break;
      case WorkPage::SetupNews:
        panels.listSidePanelVisible = false;
        panels.sideTab = SideTab::SetupNews;
        panels.workPage = WorkPage::SetupNews;
        break;
    }
  });
}

void SelectListSideTab(AppContext& context, ListSideTab tab) {
  context.model.EditPanels([&](PanelState& panels) {
    panels.listSideTab = tab;
    if (tab == ListSideTab::ListSearch) {
      panels.workPage = WorkPage::ListSearch;
      return;
    }
    // The side panel comes back on its last list tab; the work page stays on the list search.
    panels.listSidePanelVisible = false;
    panels.sideTab = SideTab::US;
  });
}

void SelectSetupRow(AppContext& context, SetupRow row) {
  switch (row) {
    case SetupRow::News:
      ShowSetupPage(context, SetupPage::News, UiText(Ui::SetupRowNews));
      break;
    case SetupRow::Personalise:
      ShowSetupPage(context, SetupPage::Personalisation, UiText(Ui::SetupRowPersonalise));
      break;
    case SetupRow::Update:
      ShowSetupPage(context, SetupPage::Update, UiText(Ui::SetupRowUpdate));
      break;
    case SetupRow::ProgramSettings:
      ShowSetupPage(context, SetupPage::Settings, UiText(Ui::TabSearchSettings));
      break;
    case SetupRow::SearchHistory:
      context.desktop.Open(context.workingDirectory / kHistoryViewer);
      break;
  }
}

void ShowUpdatePage(AppContext& context) {
  ShowSetupPage(context, SetupPage::Update, "Update");
}

std::string SavePathLabelText(const std::string& savePath) {
  return UiText(Ui::SavePathLabel) + "   " + savePath;
}

void ChooseSaveFolder(AppContext& context) {
  const std::optional<std::string> folder =
      context.dialogs.ChooseFolder(UiText(Ui::TitleChooseSavePath), context.model.SavePath());
  if (folder) {
    context.settings.WriteSavePath(*folder);
    context.model.SetSavePath(*folder);
  }
  const std::string label = SavePathLabelText(context.model.SavePath());
  context.model.EditPanels([&](PanelState& panels) { panels.savePathLabel = label; });
}

void OpenReportFromSaveFolder(AppContext& context) {
  const std::optional<std::string> file = context.dialogs.ChooseOpenFile(
      UiText(Ui::TitleOpenPdf), "", UiText(Ui::PdfFileFilter), context.model.SavePath());
  if (file) context.desktop.Open(text::Cp1252ToUtf8(*file));
}

void SelectListResultRow(AppContext& context, std::size_t row) {
  const std::vector<ListResultRow> rows = context.model.ListResultRowsFrom(row);
  if (rows.empty()) return;
  context.model.SetSearchFields({rows[0][0], rows[0][1], rows[0][2], rows[0][3]});
}

void OpenHelpFile(AppContext& context) {
  context.desktop.Open(context.workingDirectory / kHelpFile);
}

void StartOnlineSupport(AppContext& context) {
  context.desktop.Open(context.workingDirectory / kRemoteSupport);
}

void MarkSingleSearchActive(AppContext& context) {
  context.model.SetStartButton(context.model.StartButtonVisible(), false);
  context.model.SetPageStatus(UiText(Ui::SearchActive));
  context.model.SetPageStatusColour(kStatusDarkRed);
  context.clock.Pause(100ms);
}

void StartSingleSearch(AppContext& context) {
  MarkSingleSearchActive(context);
  RunSingleSearch(context);
}

void SetOpenPdfSwitch(AppContext& context, bool on) {
  context.settings.WritePDFAnzeige(OnOff(on));
  context.model.SetOpenPdfAfterSearch(on);
}

void SetCsvExportSwitch(AppContext& context, bool on) {
  context.settings.WriteCSVExport(OnOff(on));
  context.model.EditSetupPages([&](SetupPagesState& pages) { pages.csvExport = on; });
}

void SetWhitelistFilterSwitch(AppContext& context, bool on) {
  context.settings.WriteWhiteList(OnOff(on));
  context.model.SetWhitelistSwitch(on);
  const std::string label = "White List : " + UiText(on ? Ui::StateEnabled : Ui::StateDisabled);
  context.model.EditSetupPages([&](SetupPagesState& pages) { pages.whitelistLabel = label; });
}

void SetOnlyListHitsSwitch(AppContext& context, bool on) {
  context.settings.SetNurListenTreffer(on ? 1 : 0);
  context.model.EditSetupPages([&](SetupPagesState& pages) { pages.onlyListHits = on; });
}

void SetProxyStorageSwitch(AppContext& context, bool on) {
  context.settings.SetProxyStorage(on ? 1 : 0);
  context.model.EditSetupPages([&](SetupPagesState& pages) { pages.proxyStorage = on; });
}

void SelectPhoneticOption(AppContext& context, int mode) {
  context.settings.WritePhonetik(std::to_string(mode));
  context.search.mode = mode;
  const std::string label = UiText(Ui::PhoneticLabel) + "   " + PhoneticOptionCaption(mode);
  context.model.EditSetupPages([&](SetupPagesState& pages) {
    pages.phoneticMode = mode;
    pages.phoneticLabel = label;
  });
}

void ConfirmPersonalisation(AppContext& context, const std::array<std::string, 6>& fields) {
  for (const std::string& field : fields) {
    if (field.empty()) return Box(context, Ui::TitleNotice, Ui::MsgFillAllFields, platform::kIconWarning);
  }
  {
    SettingsBinding::Group group(context.settings);
    for (int n = 1; n <= 6; ++n) context.settings.WritePerson(n, fields[static_cast<std::size_t>(n - 1)]);
    context.installationId = InstallationId(context.settings);
  }
  context.model.SetPersonalisation(fields);
  Box(context, Ui::TitleNotice, Ui::MsgPersonalisationSaved, platform::kIconInformation);
}

void DownloadUpdate(AppContext& context, const std::string& updateServer) {
  update::DownloadProgramUpdate(context.dialogs, context.programDirectory, updateServer,
                                context.model.SetupPages().proxyState);
}

std::string SupportMessageTemplate(const platform::Clock& clock) {
  const std::string lines[] = {text::FormatDate("%dd.%mm.%yyyy", clock.Now()),
                               "",
                               "!!!!!   Support Anfrage Veldmark   !!!!!",
                               "",
                               "",
                               "Sehr geehrtes Veldmark Support-Team,",
                               "",
                               "",
                               "(Bitte geben Sie hier Ihre Anfrage ein)",
                               "",
                               text::Win1252("Mit freundlichen Grüssen"),
                               ""};
  std::string text = lines[0];
  for (std::size_t i = 1; i < std::size(lines); ++i) text += "\r" + lines[i];
  return text;
}

void SwitchProxy(AppContext& context, const std::string& address, const std::string& port) {
  const SetupPagesState pages = context.model.SetupPages();
  const int storage = pages.proxyStorage ? 1 : 0;
  if (!pages.proxyState) {
    context.settings.SetProxyInfo(DottedAddress(address) + ":" + port, storage);
    Box(context, Ui::ProxySettings, Ui::MsgProxyStored, platform::kIconInformation);
    context.model.EditSetupPages([&](SetupPagesState& state) {
      state.proxyState = true;
      state.proxyButtonCaption = UiText(Ui::ButtonProxyOff);
      state.proxyAddress = DottedAddress(address);
      state.proxyPort = port;
    });
    return;
  }
  context.settings.SetProxyInfo("", storage);
  Box(context, Ui::ProxySettings, Ui::MsgProxyDisabled, platform::kIconInformation);
  context.model.EditSetupPages([](SetupPagesState& state) {
    state.proxyState = false;
    state.proxyButtonCaption = UiText(Ui::ButtonProxyOn);
    state.proxyAddress.clear();
    state.proxyPort.clear();
  });
}

void SelectVendorMailServer(AppContext& context) {
  context.model.EditSetupPages([](SetupPagesState& pages) {
    pages.ownMailServer = false;
    pages.mailServer.clear();
    pages.mailPort.clear();
    pages.mailUser.clear();
  });
  SettingsBinding::Group group(context.settings);
  context.settings.SetExtMailStatus(1);
  context.settings.ExtMail("", "", "", "");
}

void SelectOwnMailServer(AppContext& context) {
  context.model.EditSetupPages([](SetupPagesState& pages) { pages.ownMailServer = true; });
  context.settings.SetExtMailStatus(0);
}

void StoreOwnMailServer(AppContext& context, const std::string& server, const std::string& port,
                        const std::string& user, const std::string& password, const std::string& repetition) {
  if (password != repetition)
    return Box(context, Ui::TitleError, Ui::MsgPasswordsDiffer, platform::kIconStop);
  if (context.settings.ExtMail(server, port, user, password) != 1) {
    return Box(context, Ui::TitleError, Ui::MsgMailSettingsNotRegistered, platform::kIconStop);
  }
  context.model.EditSetupPages([&](SetupPagesState& pages) {
    pages.mailServer = server;
    pages.mailPort = port;
    pages.mailUser = user;
  });
  Box(context, Ui::TitleConfirmation, Ui::MsgMailSettingsRegistered, platform::kIconInformation);
}

void ChooseBatchPath(AppContext& context) {
  const std::optional<std::string> folder =
      context.dialogs.ChooseFolder("Batch Pfad", context.model.SavePath());
  if (!folder) return;
  context.model.EditSetupPages([&](SetupPagesState& pages) { pages.batchPath = *folder; });
  context.settings.SetBatchPath(*folder);
}

void StoreBatchFile(AppContext& context, const std::string& file) {
  context.settings.SetBatchFile(file);
  context.model.EditSetupPages([&](SetupPagesState& pages) { pages.batchFile = file; });
}

void SelectBatchPdfOption(AppContext& context, const std::string& option) {
  context.settings.SetBatchPDFOption(option);
  context.batchPdfOption = option;
  context.model.EditSetupPages([&](SetupPagesState& pages) { pages.batchPdfOption = option; });
}

}  // namespace vmk::app
