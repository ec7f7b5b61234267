// The real main window on the offscreen platform, driven as a person would: clicks and typing, with the
// settings read back through the settings library and the results read from the widgets.
#include "gui/main_window.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QTabBar>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <functional>

#include "app/display_selection.h"
#include "lists/master_store.h"
#include "lists/search_history.h"
#include "platform/folders.h"
#include "support/test_support.h"

namespace vmk::gui {
namespace {

namespace fs = std::filesystem;
using screening::ListId;

// Serves the window's events until the condition holds or five seconds have passed.
bool WaitUntil(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QTest::qWait(5);
  }
  return true;
}

std::string Utf8(const QString& text) {
  return text.toStdString();
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("VELDMARK_ROOT", root_.path().c_str(), 1);
    {
      app::SettingsBinding::Group group(settings_);
      settings_.Startup();
    }
    fs::create_directories(platform::DataDirectory());
    context_.dataDirectory = platform::DataDirectory();
    context_.programDirectory = program_.path();
    publish::SanctionsData data;
    data.dates = {"28.01.2026", "27.02.2026", "20.02.2026", "15.01.2026"};
    data.entries = {
        testing::Entry(ListId::EU, {{"Name", "Viktor Dragunov"}, {"Address", "Hafenstrasse 5"}}),
        testing::Entry(ListId::UN, {{"FirstName", "VIKTOR"}, {"SecondName", "DRAGUNOV"}}),
    };
    testing::WriteDatabasePack(context_.dataDirectory, data);
    lists::CreateHistoryDatabase(context_.HistoryFile(), runLog_);
    model_.SetSavePath(save_.path().string() + "/");
    model_.SetListDates(data.dates);
    app::LoadDisplaySelection(context_);
    app::FillSelectionLists(context_);
    MainWindowSetup setup;
    setup.closed = [this] { closed_ = true; };
    window_ = std::make_unique<MainWindow>(context_, std::move(setup));
    window_->show();
    ASSERT_TRUE(WaitUntil([&] { return window_->isVisible(); }));
  }
  void TearDown() override {
    window_.reset();
    unsetenv("VELDMARK_ROOT");
  }

  void Serve() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }
  // Key presses with their text, so umlauts arrive as typed.
  void Type(QLineEdit* field, const QString& text) {
    field->clear();
    for (const QChar c : text)
      QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : dialogs_.boxes) texts.push_back(text::Cp1252ToUtf8(box.text));
    return texts;
  }
  void StoreRecords(const std::vector<std::string>& names) {
    lists::CreateMasterStore(program_.path(), runLog_);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((program_ / lists::kMasterStoreFile).c_str(), &db), SQLITE_OK);
    for (const std::string& name : names) {
      const std::string insert = "INSERT INTO Stammdaten VALUES ('','" + name + "','','','',0)";
      EXPECT_EQ(sqlite3_exec(db, insert.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    }
    sqlite3_close(db);
  }

  testing::TempDir root_, program_, save_, work_;
  testing::FakeClock clock_;
  log::RunLog runLog_{clock_};
  testing::RecordingDialogs dialogs_;
  testing::RecordingDesktop desktop_;
  app::MainWindowModel model_;
  screening::SearchState search_;
  app::SettingsBinding settings_{platform::ProgramDirectory()};
  app::AppContext context_{model_, search_, runLog_, dialogs_, desktop_, settings_, clock_, "", work_.path()};
  std::unique_ptr<MainWindow> window_;
  bool closed_ = false;
};

TEST_F(MainWindowTest, BuiltWithItsFrameCaptionsAndStartPanels) {
  EXPECT_EQ(window_->size(), QSize(1018, 541));
  EXPECT_EQ(window_->pos(), QPoint(216, 146));
  EXPECT_EQ(window_->SidePanel()->count(), 5);
  EXPECT_EQ(Utf8(window_->SidePanel()->tabText(4)), "Setup / News");
  EXPECT_EQ(window_->SidePanel()->currentIndex(), 0);
  EXPECT_EQ(window_->WorkPanel()->currentIndex(), 0);
  EXPECT_FALSE(window_->ListSidePanel()->isVisible());
  EXPECT_FALSE(window_->ListSearch()->StopButton()->isVisibleTo(window_->ListSearch()));
  EXPECT_EQ(Utf8(window_->SingleSearch()->HitFrame()->title()), "  EU Liste  ");
  EXPECT_EQ(Utf8(window_->Setup()->Frame()->title()), "  Einstellungen  ");
  EXPECT_EQ(Utf8(window_->SingleSearch()->StartButton()->text()), "Suche starten");
  EXPECT_EQ(Utf8(window_->SingleSearch()->Table(0)->model()->headerData(1, Qt::Horizontal).toString()),
            "Inhalt EU Liste");
  EXPECT_EQ(window_->SingleSearch()->Table(0)->model()->columnCount(), 41);
  EXPECT_EQ(window_->SingleSearch()->Table(1)->model()->columnCount(), 21);
  EXPECT_EQ(Utf8(window_->ListTabOf(0)->DateLabel()->text()), "Datenbank vom   : 28.01.2026");
  const auto versions = window_->findChildren<QLabel*>("versionLabel");
  ASSERT_EQ(versions.size(), 3);
  EXPECT_EQ(Utf8(versions[0]->text()), "Programmversion:  2.65.2129");
}

TEST_F(MainWindowTest, SingleSearchFromTheButtonFillsTheHitReports) {
  Type(window_->SingleSearch()->Field(0), "Viktor Dragunov");
  EXPECT_EQ(model_.SearchFields()[0], "Viktor Dragunov");
  QTest::mouseClick(window_->SingleSearch()->StartButton(), Qt::LeftButton);

  HitReportTable* eu = window_->SingleSearch()->Table(0);
  ASSERT_TRUE(WaitUntil([&] { return eu->model()->rowCount() > 0; }));
  EXPECT_EQ(Utf8(eu->model()->index(0, 0).data().toString()), "Datensatz Nr.");
  EXPECT_NE(Utf8(window_->ListTabOf(0)->CountLabel()->text()).find("1"), std::string::npos);
  EXPECT_TRUE(WaitUntil([&] { return window_->SingleSearch()->StartButton()->isEnabled(); }));
  // The marker row of the hit carries the list's colour.
  const std::size_t marker = model_.HitReports()[0].markers.at(0);
  EXPECT_EQ(eu->model()->index(static_cast<int>(marker), 0).data(Qt::BackgroundRole).value<QColor>(),
            QColor(204, 255, 204));
  bool reportWritten = false;
  for (const auto& entry : fs::directory_iterator(save_.path()))
    reportWritten |= entry.path().extension() == ".pdf";
  EXPECT_TRUE(reportWritten);
}

TEST_F(MainWindowTest, PanelsFollowEachOtherAsThePersonSwitches) {
  struct Step {
    const char* what;
    std::function<void()> act;
    int sideTab, workPage;
    bool listSideVisible;
    int shownTable;  // -1: none
  };
  QTabBar* side = window_->SidePanel()->tabBar();
  QTabBar* work = window_->WorkPanel()->tabBar();
  QTabBar* listSide = window_->ListSidePanel()->tabBar();
  const Step steps[] = {
      {"side UN", [&] { side->setCurrentIndex(1); }, 1, 0, false, 1},
      {"work Listensuche", [&] { work->setCurrentIndex(1); }, 1, 1, true, 1},
      {"list side Setup / News", [&] { listSide->setCurrentIndex(1); }, 3, 1, false, 1},
      {"side Setup / News", [&] { side->setCurrentIndex(4); }, 4, 2, false, -1},
      {"work Einzelsuche", [&] { work->setCurrentIndex(0); }, 0, 0, false, 0},
      {"work Setup / News", [&] { work->setCurrentIndex(2); }, 4, 2, false, 0},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    Serve();
    EXPECT_EQ(window_->SidePanel()->currentIndex(), step.sideTab);
    EXPECT_EQ(window_->WorkPanel()->currentIndex(), step.workPage);
    EXPECT_EQ(window_->ListSidePanel()->isVisible(), step.listSideVisible);
    EXPECT_EQ(window_->SidePanel()->isVisible(), !step.listSideVisible);
    for (std::size_t list = 0; list < 4; ++list) {
      EXPECT_EQ(window_->SingleSearch()->Table(list)->isVisibleTo(window_->SingleSearch()),
                static_cast<int>(list) == step.shownTable)
          << "table " << list;
    }
  }
  EXPECT_EQ(Utf8(window_->Setup()->Frame()->title()), "  News/Nachrichten  ");
}

TEST_F(MainWindowTest, SetupRowsShowTheirPageAndTheHistoryRowStartsTheViewer) {
  window_->SidePanel()->tabBar()->setCurrentIndex(4);
  Serve();
  QListWidget* rows = window_->SetupList();
  const auto click = [&](int row) {
    rows->scrollToItem(rows->item(row));
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualItemRect(rows->item(row)).center());
    Serve();
  };
  click(2);
  EXPECT_EQ(window_->Setup()->Pages()->currentWidget(),
            window_->Setup()->Page(app::SetupPage::Personalisation));
  EXPECT_EQ(Utf8(window_->Setup()->Frame()->title()), "  Personalisieren  ");
  click(4);
  EXPECT_EQ(Utf8(window_->Setup()->Frame()->title()), "  Sucheinstellungen  ");
  click(5);
  EXPECT_EQ(window_->Setup()->Pages()->currentWidget(), window_->Setup()->Page(app::SetupPage::Settings));
  ASSERT_EQ(desktop_.opened.size(), 1u);
  EXPECT_EQ(desktop_.opened[0].filename(), "Sichtwerk.exe");
}

TEST_F(MainWindowTest, EverySettingsControlWritesItsSettingAtOnce) {
  SetupPages* setup = window_->Setup();
  struct Case {
    const char* control;
    std::function<void()> act;
    std::function<std::string()> stored;
    std::string expected;
  };
  const Case cases[] = {
      {"Metaphone", [&] { setup->PhoneticOption(2)->click(); }, [&] { return settings_.ReadPhonetik(); },
       "2"},
      {"PDF anzeigen", [&] { setup->OpenPdfSwitch()->click(); }, [&] { return settings_.ReadPDFAnzeige(); },
       "1"},
      {"CSV Export", [&] { setup->CsvExportSwitch()->click(); }, [&] { return settings_.ReadCSVExport(); },
       "1"},
      {"White List", [&] { setup->WhitelistSwitch()->click(); }, [&] { return settings_.ReadWhiteList(); },
       "1"},
      {"Nur Listentreffer", [&] { window_->ListSearch()->OnlyHitsSwitch()->click(); },
       [&] { return std::to_string(settings_.GetNurListenTreffer()); }, "1"},
      {"Proxy intern", [&] { setup->ProxyStorageSwitch()->click(); },
       [&] { return std::to_string(settings_.GetProxyStorage()); }, "1"},
      {"PDF bei Treffer", [&] { setup->BatchPdfOption(1)->click(); },
       [&] { return settings_.GetBatchPDFOption(); }, "1"},
      {"Dateiname OK",
       [&] {
         Type(setup->BatchFileField(), "Ergebnis.txt");
         setup->BatchFileButton()->click();
       },
       [&] { return settings_.GetBatchFile(); }, "Ergebnis.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    c.act();
    EXPECT_EQ(c.stored(), c.expected);
  }
  Serve();
  EXPECT_EQ(Utf8(window_->ListTabOf(2)->PhoneticLabel()->text()), "Phonetik:   Metaphone");
  EXPECT_EQ(Utf8(window_->ListTabOf(0)->WhitelistLabel()->text()), "White List : aktiviert");
  EXPECT_EQ(search_.mode, 2);
}

TEST_F(MainWindowTest, CancelledSaveFolderKeepsTheFolderAndRelabels) {
  dialogs_.chosenFolder.reset();
  window_->Setup()->SavePathButton()->click();
  Serve();
  EXPECT_EQ(Utf8(window_->Setup()->SavePathLabel()->text()),
            "Speicherpfad:   " + save_.path().string() + "/");
  dialogs_.chosenFolder = work_.path().string() + "/";
  window_->ListTabOf(1)->SavePathButton()->click();
  Serve();
  EXPECT_EQ(settings_.ReadSavePath(), work_.path().string() + "/");
  EXPECT_EQ(dialogs_.choosers.back()[0], "Auswahl Speicherpfad");
}

TEST_F(MainWindowTest, PersonalisationIsRefusedWhileAnyFieldIsEmptyEvenTheDepartment) {
  SetupPages* setup = window_->Setup();
  const QString person[] = {"Muster GmbH", "", "Hauptstraße 1", "10115", "Berlin", "pruefung@muster.example"};
  for (std::size_t i = 0; i < 6; ++i) Type(setup->PersonField(i), person[i]);
  setup->ConfirmPersonButton()->click();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Bitte füllen Sie alle Felder aus"});
  EXPECT_EQ(settings_.ReadPerson(1), "");

  Type(setup->PersonField(1), "Einkauf");
  setup->ConfirmPersonButton()->click();
  EXPECT_EQ(BoxTexts().back(), "Die Personalisierung wurde eingetragen");
  EXPECT_EQ(text::Cp1252ToUtf8(settings_.ReadPerson(3)), "Hauptstraße 1");
  EXPECT_EQ(settings_.ReadPerson(2), "Einkauf");
}

TEST_F(MainWindowTest, OwnMailServerNeedsTwoEqualPasswords) {
  SetupPages* setup = window_->Setup();
  EXPECT_FALSE(setup->MailField(0)->isEnabled());
  setup->OwnMailOption()->click();
  Serve();
  EXPECT_TRUE(setup->MailField(0)->isEnabled());
  EXPECT_EQ(settings_.GetExtMailStatus(), 0);
  Type(setup->MailField(0), "mail.muster.example");
  Type(setup->MailField(1), "587");
  Type(setup->MailField(2), "pruefer");
  Type(setup->MailField(3), "geheim");
  Type(setup->MailField(4), "geheimer");
  setup->ApplyMailButton()->click();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Die eingegebenen Passwörter sind nicht identisch"});
  EXPECT_EQ(settings_.ReadExtMailServer(), "");

  Type(setup->MailField(4), "geheim");
  setup->ApplyMailButton()->click();
  EXPECT_EQ(BoxTexts().back(), "Ihre Mailangaben wurden erfolgreich registriert");
  EXPECT_EQ(settings_.ReadExtMailServer(), "mail.muster.example");

  setup->VendorMailOption()->click();
  Serve();
  EXPECT_FALSE(setup->ApplyMailButton()->isEnabled());
  EXPECT_EQ(setup->MailField(0)->text(), "");
  EXPECT_EQ(settings_.GetExtMailStatus(), 1);
  EXPECT_EQ(settings_.ReadExtMailServer(), "");
}

TEST_F(MainWindowTest, ProxySwitchWithEmptyFieldsStoresZeroAddressAndColon) {
  SetupPages* setup = window_->Setup();
  setup->ProxyButton()->click();
  Serve();
  EXPECT_EQ(settings_.GetProxyInfo(), "0.0.0.0:");
  EXPECT_EQ(BoxTexts().back(), "Ihre Eingabe wurde in die Registry eingetragen");
  EXPECT_EQ(Utf8(setup->ProxyButton()->text()), "Proxy ausschalten");

  setup->ProxyButton()->click();
  Serve();
  EXPECT_EQ(BoxTexts().back(), "Proxy wurde deaktiviert");
  EXPECT_EQ(Utf8(setup->ProxyButton()->text()), "Proxy Daten speichern");
  EXPECT_EQ(setup->ProxyAddressField()->text(), "");

  Type(setup->ProxyAddressField(), "10.1.2.3");
  Type(setup->ProxyPortField(), "3128");
  setup->ProxyButton()->click();
  EXPECT_EQ(settings_.GetProxyInfo(), "10.1.2.3:3128");
}

TEST_F(MainWindowTest, SelectingAListSearchRowFillsTheFourSearchFields) {
  model_.AddListResultRow({"Erste", "", "Weg 1", "", "0", "0", "0", "0", "11.12.2026"});
  model_.AddListResultRow(
      {"Viktor Dragunov", "Viktor", "Hafenstrasse 5", "Hamburg", "1", "1", "0", "0", "x"});
  window_->WorkPanel()->tabBar()->setCurrentIndex(1);
  QTableView* table = window_->ListSearch()->Table();
  ASSERT_TRUE(WaitUntil([&] { return table->model()->rowCount() == 2; }));
  table->selectRow(1);
  Serve();
  EXPECT_EQ(model_.SearchFields(),
            (std::array<std::string, 4>{"Viktor Dragunov", "Viktor", "Hafenstrasse 5", "Hamburg"}));
  EXPECT_EQ(Utf8(window_->SingleSearch()->Field(3)->text()), "Hamburg");
}

TEST_F(MainWindowTest, DisplaySelectionSlidesOpenAndAClickRefreshesTheHitReport) {
  Type(window_->SingleSearch()->Field(0), "Viktor Dragunov");
  window_->SingleSearch()->StartButton()->click();
  HitReportTable* eu = window_->SingleSearch()->Table(0);
  ASSERT_TRUE(WaitUntil([&] { return eu->model()->rowCount() > 0; }));
  const int rowsBefore = eu->model()->rowCount();

  ListTab* tab = window_->ListTabOf(0);
  tab->SelectionButton()->click();
  ASSERT_TRUE(WaitUntil([&] { return tab->CheckList()->height() == 350; }));
  EXPECT_EQ(Utf8(tab->SelectionButton()->text()), "Anzeigeauswahl ausblenden");
  EXPECT_FALSE(tab->CountLabel()->isVisibleTo(tab));

  QTreeWidgetItem* ticked = nullptr;
  for (int i = 0; i < tab->CheckList()->topLevelItemCount() && ticked == nullptr; ++i) {
    if (tab->CheckList()->topLevelItem(i)->checkState(0) == Qt::Checked)
      ticked = tab->CheckList()->topLevelItem(i);
  }
  ASSERT_NE(ticked, nullptr);
  const std::string before = settings_.ReadSelectedEUDisplayItems();
  ticked->setCheckState(0, Qt::Unchecked);
  EXPECT_NE(settings_.ReadSelectedEUDisplayItems(), before);
  ASSERT_TRUE(WaitUntil([&] { return eu->model()->rowCount() == rowsBefore - 1; }));

  tab->SelectionButton()->click();
  ASSERT_TRUE(WaitUntil([&] { return tab->CheckList()->isHidden(); }));
  EXPECT_TRUE(tab->CountLabel()->isVisibleTo(tab));
}

TEST_F(MainWindowTest, ListSearchFromTheButtonShowsProgressAndHitRows) {
  StoreRecords({"Viktor Dragunov", "Muster GmbH", "Dragunov"});
  window_->WorkPanel()->tabBar()->setCurrentIndex(1);
  window_->ListSearch()->StartButton()->click();
  ASSERT_TRUE(WaitUntil([&] { return !window_->ListSearchRunner().Running(); }));
  Serve();
  QTableView* table = window_->ListSearch()->Table();
  ASSERT_TRUE(WaitUntil([&] { return table->model()->rowCount() == 2; }));
  EXPECT_EQ(Utf8(table->model()->index(0, 0).data().toString()), "Viktor Dragunov");
  EXPECT_TRUE(window_->ListSearch()->StartButton()->isVisibleTo(window_->ListSearch()));
  EXPECT_EQ(lists::CountMasterRecords(program_.path()).count.value_or(-1), 0);
}

TEST_F(MainWindowTest, ClosingDuringAListSearchEndsItAtTheNextRecordAndKeepsItsResults) {
  std::vector<std::string> names(400, "Muster GmbH");
  names[0] = "Viktor Dragunov";
  StoreRecords(names);
  window_->ListSearchRunner().Gate().Pause();
  window_->ListSearch()->StartButton()->click();
  ASSERT_TRUE(window_->ListSearchRunner().Running());
  window_->close();
  EXPECT_TRUE(closed_);
  EXPECT_FALSE(window_->ListSearchRunner().Running());
  Serve();
  EXPECT_GE(window_->ListSearch()->Table()->model()->rowCount(), 1);
  bool reportWritten = false;
  for (const auto& entry : fs::directory_iterator(save_.path()))
    reportWritten |= entry.path().filename().string().starts_with("KESTO_LS_");
  EXPECT_TRUE(reportWritten);
}

TEST_F(MainWindowTest, LargeResultsLongTextsAndUmlautsKeepTheWindowUsable) {
  Type(window_->SingleSearch()->Field(1), "Müller Straße");
  EXPECT_EQ(model_.SearchFields()[1], text::Win1252("Müller Straße"));
  const std::string longTerm(5000, 'x');
  model_.SetSearchFields({longTerm, "", "", ""});
  Serve();
  EXPECT_EQ(window_->SingleSearch()->Field(0)->text().size(), 5000);

  screening::HitReports reports;
  for (int i = 0; i < 30000; ++i)
    reports[3].rows.push_back({"Name", text::Win1252("Bäcker ") + std::to_string(i)});
  reports[3].markers = {29999};
  model_.SetHitReports(reports);
  HitReportTable* us = window_->SingleSearch()->Table(3);
  ASSERT_TRUE(WaitUntil([&] { return us->model()->rowCount() == 30000; }));
  EXPECT_EQ(Utf8(us->model()->index(29999, 1).data().toString()), "Bäcker 29999");

  for (int i = 0; i < 100000; ++i)
    model_.AddListResultRow({"Name " + std::to_string(i), "", "", "", "1", "0", "0", "0", "x"});
  QTableView* table = window_->ListSearch()->Table();
  ASSERT_TRUE(WaitUntil([&] { return table->model()->rowCount() == 100000; }));
  table->selectRow(99999);
  Serve();
  EXPECT_EQ(model_.SearchFields()[0], "Name 99999");
}

TEST_F(MainWindowTest, StopQuestionAnsweredNoEndsTheListSearchWithWhatItFound) {
  std::vector<std::string> names(400, "Muster GmbH");
  names[0] = "Viktor Dragunov";
  StoreRecords(names);
  window_->WorkPanel()->tabBar()->setCurrentIndex(1);
  // Held at the gate after its first record, so the question surely comes while it runs.
  window_->ListSearchRunner().Gate().Pause();
  window_->ListSearch()->StartButton()->click();
  ASSERT_TRUE(
      WaitUntil([&] { return window_->ListSearch()->StopButton()->isVisibleTo(window_->ListSearch()); }));
  dialogs_.answer = false;
  window_->ListSearch()->StopButton()->click();
  ASSERT_FALSE(dialogs_.boxes.empty());
  EXPECT_EQ(dialogs_.boxes.back().title, "Listensuche abbrechen");
  ASSERT_TRUE(WaitUntil([&] { return !window_->ListSearchRunner().Running(); }));
  Serve();
  EXPECT_TRUE(window_->ListSearch()->StartButton()->isVisibleTo(window_->ListSearch()));
  EXPECT_FALSE(window_->ListSearch()->StopButton()->isVisibleTo(window_->ListSearch()));
  EXPECT_EQ(Utf8(window_->ListSearch()->Table()->model()->index(0, 0).data().toString()), "Viktor Dragunov");
}

}  // namespace
}  // namespace vmk::gui
