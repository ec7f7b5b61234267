#include "app/startup.h"

#include <atomic>
#include <charconv>
#include <functional>
#include <system_error>
#include <thread>

#include "app/command_line.h"
#include "app/display_selection.h"
#include "app/error_report.h"
#include "app/list_search_run.h"
#include "app/mail_binding.h"
#include "app/master_import_run.h"
#include "app/single_search_run.h"
#include "app/window_actions.h"
#include "lists/master_store.h"
#include "lists/search_history.h"
#include "log/messages.h"
#include "platform/http_download.h"
#include "text/cp1252.h"
#include "text/date_mask.h"
#include "text/ui_texts.h"
#include "update/database_update.h"
#include "update/program_update.h"

namespace vmk::app {

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using screening::RunMode;
using text::Ui;
using text::UiText;

constexpr const char* kVersionText = "2.65.2129";

// A decimal number at the start of the text, 0 when there is none.
long long LeadingNumber(const std::string& text) {
  long long value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

bool ModeIsOneOf(RunMode mode, std::initializer_list<RunMode> modes) {
  for (RunMode m : modes) {
    if (m == mode) return true;
  }
  return false;
}

std::string PhoneticModeName(int mode) {
  switch (mode) {
    case screening::kSdx:
      return UiText(Ui::ModeSoundex);
    case screening::kDoubleMetaphone:
      return UiText(Ui::ModeDoubleMetaphone);
    case screening::kAllPhonetics:
      return UiText(Ui::ModeAllPhonetics);
    default:
      return UiText(Ui::ModePlainText);
  }
}

std::string WhitelistLabel(bool on) {
  return UiText(Ui::WhitelistPaddedLabel) + " " + UiText(on ? Ui::StateEnabled : Ui::StateDisabled);
}

class Startup {
 public:
  explicit Startup(ProgramShell& shell)
      : shell_(shell),
        context_(shell.context),
        model_(shell.context.model),
        settings_(shell.context.settings),
        update_(shell.context.runLog, shell.context.dialogs, shell.context.clock) {}

  [[noreturn]] void Run() {
    PrepareProcess();
    EmptyParameterFile();
    EvaluateCommandLine(shell_);
    StartRegistry();
    LoadDisplaySelection(context_);
    lists::CreateHistoryDatabase(context_.HistoryFile(), context_.runLog);
    BuildWindow();
    LetTheWindowPaint();
    ShowStarting();
    TakeProxyState();
    ShowListDates();
    lists::CreateMasterStore(context_.programDirectory, context_.runLog);
    ReadSettings();
    EnableOwnMailServer();
    CheckPersonalisation();
    Progress(0, "");
    InstallErrorReport(context_);
    Dispatch();
    RunEventLoop();
  }

 private:
  void Progress(int step, const std::string& status) {
    model_.EditStatusBar([&](StatusBarState& bar) { bar.progress = step; });
    model_.SetStatusText(status);
  }
  void Log(const std::string& text) { context_.runLog.WriteRunLog(text); }
  void Message(const std::string& text, const char* level, const char* code, const char* icon) {
    log::ShowMessage(context_.dialogs, text, level, code, icon);
  }

  // Step 1. The import lock and the working tables belong to the list search.
  void PrepareProcess() {
    platform::StartNetwork();
    context_.runMode = RunMode::Interactive;
    context_.batchPdfOption = "2";
  }

  void EmptyParameterFile() {
    log::LineFile parameters;
    parameters.OpenEmpty(context_.workingDirectory / kParameterFile);
  }

  // Step 4: a settings library that is missing or refuses to start ends the program.
  void StartRegistry() {
    SettingsBinding::Group group(settings_);
    const int started = settings_.Startup();
    if (settings_.Failed()) {
      Message(UiText(Ui::MsgSettingsLibraryMissing) + "\r" + UiText(Ui::ErrorCodeMF9), "-1", "MF9", "16");
      shell_.End();
    }
    context_.runLog.WriteRaw("");
    context_.runLog.WriteRaw("[ReadRegContent]");
    context_.runLog.WriteRaw("Startup = " + std::to_string(started));
    if (started < 0) {
      Message(UiText(Ui::MsgNotInstalledCorrectly) + "\r" + UiText(Ui::MsgPleaseReinstall) + "\r" +
                  UiText(Ui::MsgProgramWillEnd) + "\r" + UiText(Ui::ErrorCodeMF19),
              "-1", "MF19", "16");
      shell_.End();
    }
    const std::string dataPath = settings_.ReadPath(35);
    context_.runLog.WriteRaw("ReadPath = " + dataPath);
    context_.dataDirectory = text::Cp1252ToUtf8(dataPath);
    update_.dataDirectory = context_.dataDirectory;
  }

  // Step 7.
  void BuildWindow() {
    const RunMode mode = context_.runMode;
    model_.EditWindow([&](WindowFrame& window) {
      window.visible = !ModeIsOneOf(
          mode, {RunMode::ImportBatch, RunMode::SingleSearchBatch, RunMode::ScheduledListSearch});
      const bool batch =
          ModeIsOneOf(mode, {RunMode::ListBatch, RunMode::ImportBatch, RunMode::SingleSearchBatch});
      window.minimised = batch;
      window.enabled = !batch;
      window.title = std::string("Veldmark ") + kVersionText;
    });
    model_.EditSetupPages(
        [](SetupPagesState& pages) { pages.updateLabel = UiText(Ui::NoProgramUpdateLabel); });
    FillSelectionLists(context_);
    if (shell_.buildWindow) shell_.buildWindow();
  }

  // Step 8: the window paints in its own loop; the start-up only gives it the time.
  void LetTheWindowPaint() { context_.clock.Pause(500ms); }

  void ShowStarting() {
    model_.EditStatusBar([](StatusBarState& bar) { bar.databaseIcon = DatabaseIcon::Starting; });
    Progress(1, UiText(Ui::StatusLoadingFieldDisplay));
    context_.clock.Pause(100ms);
    Progress(2, UiText(Ui::ProxySettings));
  }

  // Step 10: whatever the stored status, the proxy state is on after every start.
  void TakeProxyState() {
    {
      SettingsBinding::Group group(settings_);
      settings_.GetProxyStatus();
    }
    PrepareUpdateContext();
    model_.SetStatusText(UiText(Ui::StatusLoadingInfoFile) + "( " + UiText(Ui::Proxy) + " )");
    const std::string news = update::LoadInformationText(update_);
    model_.EditSetupPages([&](SetupPagesState& pages) {
      pages.proxyState = true;
      pages.newsText = news;
      pages.proxyButtonCaption = UiText(Ui::ButtonProxyOff);
    });
  }

  void PrepareUpdateContext() {
    update_.updateServer = shell_.updateServer;
    update_.runMode = context_.runMode;
    update_.batchResultLine = &context_.batchResultLine;
    update_.statusText = [this](const std::string& text) { model_.SetStatusText(text); };
    update_.statusImage = [this](bool current) {
      model_.EditStatusBar([&](StatusBarState& bar) {
        bar.databaseIcon = current ? DatabaseIcon::Current : DatabaseIcon::NotCurrent;
      });
    };
    update_.mailNotice = [this](const std::string& notice, const std::string& body) {
      CallMailForwarder(context_.programDirectory, context_.installationId, notice, body);
    };
    update_.readLastUpdate = [this] { return LeadingNumber(settings_.ReadLastUpdate()); };
    update_.writeLastUpdate = [this](long long seconds) {
      settings_.WriteLastUpdate(std::to_string(seconds));
    };
  }

  void ShowListDates() {
    Progress(3, UiText(Ui::StatusReadingListDates));
    if (const auto dates = update::ReadInstalledDates(update_)) shell_.listDates = *dates;
    model_.SetListDates(shell_.listDates);
  }

  // Step 13 with the update rule (14) and the program-update check (15) in their places.
  void ReadSettings() {
    SettingsBinding::Group group(settings_);
    ReadPhoneticMode();
    Progress(6, text::Win1252("Lese Speicherpfad"));
    const std::string savePath = settings_.ReadSavePath();
    model_.SetSavePath(savePath);
    model_.EditPanels([&](PanelState& panels) {
      panels.savePathLabel = UiText(Ui::SavePathInitialLabel) + " " + savePath;
    });
    Log("ReadSavePath = " + savePath);
    ReadPersonalisation();
    const std::string appPath = settings_.GetApplicationPath();
    Log("ReadAppPath = " + appPath);
    ReadSwitches();
    ReadProxy();
    CheckDatabaseUpdate();
    if (ModeIsOneOf(context_.runMode, {RunMode::Interactive, RunMode::DatabaseUpdate})) CheckProgramUpdate();
    if (shell_.Argument(0) == "/ResetWL") settings_.DelWhiteList();
    context_.search.phoneticDisplay = shell_.Argument(0) == "/Phonetik";
    ReadListSearchAndMail();
    ReadBatchSettings();
  }

  void ReadPhoneticMode() {
    Progress(5, UiText(Ui::StatusReadingPhoneticMode));
    const int mode = static_cast<int>(LeadingNumber(settings_.ReadPhonetik()));
    context_.search.mode = mode;
    Log("");
    Log("[Initialisierung]");
    Log("ReadPhonetik = " + std::to_string(mode));
    model_.EditSetupPages([&](SetupPagesState& pages) {
      pages.phoneticMode = mode;
      pages.phoneticLabel = UiText(Ui::PhoneticLabel) + "   " + PhoneticModeName(mode);
    });
  }

  void ReadPersonalisation() {
    Progress(7, "Lese Personalisierung");
    std::array<std::string, 6> person;
    for (int n = 1; n <= 6; ++n) person[n - 1] = settings_.ReadPerson(n);
    model_.SetPersonalisation(person);
    context_.installationId = InstallationId(settings_);
    update_.installationId = context_.installationId;
    update_.personalisation = person;
  }

  void ReadSwitches() {
    const std::string pdf = settings_.ReadPDFAnzeige();
    model_.SetOpenPdfAfterSearch(pdf == "1");
    Log("ReadPDFActivity = " + pdf);
    const std::string whitelist = settings_.ReadWhiteList();
    model_.SetWhitelistSwitch(whitelist == "1");
    Log("ReadWhiteList = " + whitelist);
    const std::string csv = settings_.ReadCSVExport();
    Log("ReadCSVExport = " + csv);
    model_.EditSetupPages([&](SetupPagesState& pages) {
      pages.whitelistLabel = WhitelistLabel(whitelist == "1");
      pages.csvExport = csv == "1";
    });
  }

  void ReadProxy() {
    const bool storage = settings_.GetProxyStorage() != 0;
    const std::string proxy = settings_.GetProxyInfo();
    Log("ReadProxyInfo = " + proxy);
    const auto [address, port] = ParseProxyText(proxy);
    model_.EditSetupPages([&](SetupPagesState& pages) {
      pages.proxyStorage = storage;
      pages.proxyAddress = address;
      pages.proxyPort = port;
    });
  }

  // Step 14: the stamp is when the last update was, on the elapsed-time clock.
  void CheckDatabaseUpdate() {
    Progress(9, UiText(Ui::StatusCheckingDatabase));
    const long long now = text::WallSeconds(context_.clock.Now());
    const long long last = update_.readLastUpdate();
    const bool due = now - last > update::kUpdateInterval;
    shell_.updateStamp = context_.clock.ElapsedSeconds() - (now - last);
    update::UpdateCheckAtStart(update_, shell_.listDates);
    if (due) shell_.updateStamp = context_.clock.ElapsedSeconds();
    model_.SetListDates(shell_.listDates);
  }

  void CheckProgramUpdate() {
    Progress(11, UiText(Ui::StatusCheckingProgramUpdate));
    if (!update::IsProgramUpdateOffered(settings_.PUPD())) return;
    const std::string info = settings_.ReadUpdateInfo();
    model_.EditStatusBar([](StatusBarState& bar) { bar.updateAvailableIcon = true; });
    model_.EditSetupPages([&](SetupPagesState& pages) {
      pages.updateDownloadEnabled = true;
      pages.updateLabel = UiText(Ui::UpdateAvailableLabel) + " (" + info + ")";
    });
    ShowUpdatePage(context_);
    Message(UiText(Ui::MsgUpdateAvailable) + " " + info, "1", "D664", "64");
  }

  void ReadListSearchAndMail() {
    const bool onlyHits = settings_.GetNurListenTreffer() != 0;
    const int mailMode = settings_.GetExtMailStatus();
    std::string server, port, user;
    if (mailMode == 0) {
      server = settings_.ReadExtMailServer();
      Log("ReadExtMailServer = " + server);
      port = settings_.ReadExtMailPort();
      Log("ReadExtMailPort = " + port);
      user = settings_.ReadExtMailUser();
      Log("ReadExtMailUser = " + user);
    }
    mailMode_ = mailMode;
    model_.EditSetupPages([&](SetupPagesState& pages) {
      pages.onlyListHits = onlyHits;
      pages.mailServer = server;
      pages.mailPort = port;
      pages.mailUser = user;
    });
  }

  void ReadBatchSettings() {
    const std::string path = settings_.GetBatchPath();
    Log("ReadBatchPath = " + path);
    const std::string file = settings_.GetBatchFile();
    Log("ReadBatchFile = " + file);
    const std::string option = settings_.GetBatchPDFOption();
    Log("BatchPDFOption = " + option);
    context_.batchPdfOption = option;
    model_.EditSetupPages([&](SetupPagesState& pages) {
      pages.batchPath = path;
      pages.batchFile = file;
      pages.batchPdfOption = option;
    });
  }

  // Step 16.
  void EnableOwnMailServer() {
    if (mailMode_ != 0) return;
    model_.EditSetupPages([](SetupPagesState& pages) { pages.ownMailServer = true; });
    settings_.SetExtMailStatus(0);
  }

  // Step 17: the department may stay empty.
  void CheckPersonalisation() {
    const auto person = model_.Personalisation();
    for (std::size_t field : {0u, 2u, 3u, 4u, 5u}) {
      if (!person[field].empty()) continue;
      Message(UiText(Ui::MsgPleasePersonalise) + "\r" + UiText(Ui::MsgWithoutPersonalisation) + "\r" +
                  UiText(Ui::MsgChecksNotFilledIn),
              "0", "MF1340", "48");
      SelectSetupRow(context_, SetupRow::Personalise);
      model_.EditPanels([](PanelState& panels) {
        panels.sideTab = SideTab::SetupNews;
        panels.shownHitReport = -1;
        panels.workPage = WorkPage::SetupNews;
      });
      return;
    }
  }

  // Step 20.
  void Dispatch() {
    switch (context_.runMode) {
      case RunMode::SingleSearchBatch:
        context_.finishBatchRun = [this] { FinishSingleSearchBatchRun(shell_); };
        model_.SetSearchFields(SplitSearchArgument(shell_.Argument(1)));
        RunSingleSearch(context_);
        FinishSingleSearchBatchRun(shell_);
      case RunMode::ListBatch:
      case RunMode::ImportBatch:
        RunListBatch();
      case RunMode::ScheduledListSearch:
        StartScheduledListSearch();
      case RunMode::Interactive:
      case RunMode::DatabaseUpdate:
        return;
    }
  }

  // "/b" and "/e": the import (for "/e") and the list search on workers, the main thread waiting.
  [[noreturn]] void RunListBatch() {
    model_.EditWindow([](WindowFrame& window) { window.minimised = true; });
    model_.ClearListResultRows();
    model_.SetPageStatus(UiText(Ui::SearchActive));
    model_.SetPageStatusColour(kStatusDarkRed);
    model_.EditListSearchPage([](ListSearchPageState& page) { page.stopButtonVisible = true; });
    if (context_.runMode == RunMode::ImportBatch) {
      std::atomic<bool> imported{false};
      std::thread importer([&] {
        ImportMasterData(context_, shell_.listFile);
        imported = true;
      });
      WaitServingTheWindow([&] { return imported.load(); });
      importer.join();
    }
    ListSearchRunner runner;
    runner.Start(context_);
    WaitServingTheWindow([&] { return !runner.Running(); });
    runner.Wait();
    shell_.End();
  }

  // "/TIME": the run ends the program; with nothing stored there is nothing to wait for.
  [[noreturn]] void StartScheduledListSearch() {
    ListSearchRunner runner;
    if (StartListSearch(context_, runner)) {
      WaitServingTheWindow([&] { return !runner.Running(); });
      runner.Wait();
    }
    shell_.End();
  }

  // Every wait of the main thread for a worker keeps a shown window answering, every 10 ms.
  void WaitServingTheWindow(const std::function<bool()>& finished) {
    if (!shell_.processEvents) return;
    while (!finished()) {
      shell_.processEvents();
      std::this_thread::sleep_for(10ms);
    }
  }

  // Step 21: the window's loop runs until its close request; without a window the start ends here.
  [[noreturn]] void RunEventLoop() {
    if (shell_.runEventLoop) {
      shell_.runEventLoop();
    } else {
      Notice("Veldmark findet keine Anzeige für sein Programmfenster; der interaktive Start endet hier.");
    }
    context_.runLog.Close();
    shell_.End();
  }

  void Notice(const std::string& text) {
    if (shell_.notice) shell_.notice(text::Win1252(text));
  }

  ProgramShell& shell_;
  AppContext& context_;
  MainWindowModel& model_;
  SettingsBinding& settings_;
  update::UpdateContext update_;
  int mailMode_ = 1;
};

bool TermsAccepted(const std::string& resultLine) {
  const std::size_t first = resultLine.find(';');
  return first != std::string::npos && resultLine.compare(first + 1, 2, "0;") == 0;
}

}  // namespace

void RunStartup(ProgramShell& shell) {
  Startup(shell).Run();
}

void FinishSingleSearchBatchRun(ProgramShell& shell) {
  AppContext& context = shell.context;
  const SetupPagesState pages = context.model.SetupPages();
  const std::string& line = context.batchResultLine;
  {
    log::LineFile result;
    if (result.OpenEmpty(fs::path(text::Cp1252ToUtf8(pages.batchPath + pages.batchFile)))) result.Write(line);
  }
  log::WriteBatchLog(shell.batchLog, line);
  if (TermsAccepted(line))
    log::WriteBatchLog(shell.batchLog, text::FormatDate("%HH:%II:%SS", context.clock.Now()));
  shell.batchLog.Close();
  shell.End();
}

std::array<std::string, 2> ParseProxyText(const std::string& proxy) {
  if (proxy.empty() || proxy == "-1") return {"", ""};
  const std::size_t colon = proxy.find(':');
  const std::string host = proxy.substr(0, colon);
  const std::string port = colon == std::string::npos ? "" : proxy.substr(colon + 1);
  std::string address;
  std::size_t start = 0;
  for (int part = 0; part < 4; ++part) {
    const std::size_t dot = host.find('.', start);
    const std::string number = start <= host.size() ? host.substr(start, dot - start) : "";
    address += (part > 0 ? "." : "") + std::to_string(LeadingNumber(number) & 0xFF);
    start = dot == std::string::npos ? host.size() + 1 : dot + 1;
  }
  return {address, port};
}

std::string UpdateCountdownText(long long elapsedSeconds, long long updateStamp) {
  const long long remaining = update::kUpdateInterval - (elapsedSeconds - updateStamp);
  if (remaining <= 0) return "";
  const long long minutes = remaining / 60 % 60;
  return UiText(Ui::StatusNextDatabaseUpdate) + " " + std::to_string(remaining / 3600) + ":" +
         (minutes < 10 ? "0" : "") + std::to_string(minutes) + " h";
}

}  // namespace vmk::app
