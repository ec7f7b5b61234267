#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QPointer>
#include <QStatusBar>
#include <QThread>
#include <thread>

#include "app/master_import_run.h"
#include "app/single_search_run.h"
#include "app/startup.h"
#include "app/window_actions.h"
#include "gui/help_window.h"
#include "gui/pictures.h"
#include "gui/qt_text.h"
#include "gui/whitelist_editor_window.h"

namespace vmk::gui {

namespace {

using app::ModelChange;
using text::Ui;

constexpr unsigned Bit(ModelChange change) {
  return 1u << static_cast<unsigned>(change);
}

QLabel* StatusField(QStatusBar* bar, int width) {
  auto* field = new QLabel(bar);
  field->setFixedWidth(width);
  bar->addWidget(field);
  return field;
}

QPushButton* ImageButton(QWidget* parent, Picture picture, const QRect& geometry, const QString& name) {
  auto* button = new QPushButton(parent);
  button->setObjectName(name);
  button->setGeometry(geometry);
  button->setIcon(QIcon(DrawPicture(picture, geometry.size() - QSize(4, 4))));
  button->setIconSize(geometry.size() - QSize(4, 4));
  button->setFlat(true);
  return button;
}

Picture ShieldOf(app::DatabaseIcon icon) {
  switch (icon) {
    case app::DatabaseIcon::Current:
      return Picture::ShieldCurrent;
    case app::DatabaseIcon::NotCurrent:
      return Picture::ShieldNotCurrent;
    default:
      return Picture::ShieldStarting;
  }
}

}  // namespace

MainWindow::MainWindow(app::AppContext& context, MainWindowSetup setup)
    : context_(context), options_(std::move(setup)) {
  setWindowTitle("Veldmark");
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(1018, 541);
  move(216, 146);
  setCentralWidget(new QWidget(this));
  BuildStatusBar();
  BuildSidePanels();
  BuildWorkPanel();
  helpFile_ = ImageButton(centralWidget(), Picture::HelpFileButton, QRect(964, 10, 26, 26), "helpFileButton");
  helpWindow_ =
      ImageButton(centralWidget(), Picture::HelpWindowButton, QRect(930, 10, 26, 26), "helpWindowButton");
  connect(helpFile_, &QPushButton::clicked, this, [this] { app::OpenHelpFile(context_); });
  connect(helpWindow_, &QPushButton::clicked, this,
          [this] { ShowHelpWindow(this, context_.programDirectory); });
  import_ = new ImportWindow(this);
  Observe();
  countdown_.setInterval(1000);
  connect(&countdown_, &QTimer::timeout, this, &MainWindow::RefreshCountdown);
  countdown_.start();
  RenderAll();
}

MainWindow::~MainWindow() {
  runner_.Gate().RequestAbort();
  runner_.Gate().Resume();
  runner_.Wait();
}

void MainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(false);
  databaseIcon_ = StatusField(bar, 25);
  updateIcon_ = StatusField(bar, 25);
  StatusField(bar, 25);
  progress_ = new QProgressBar(bar);
  progress_->setFixedWidth(150);
  progress_->setTextVisible(false);
  bar->addWidget(progress_);
  statusText_ = StatusField(bar, 550);
  StatusField(bar, 240);
}

void MainWindow::BuildSidePanels() {
  side_ = new QTabWidget(centralWidget());
  side_->setGeometry(10, 40, 245, 470);
  // Five tabs share 245 pixels: narrow tabs, so all stay in sight without scroll arrows.
  side_->setStyleSheet("QTabBar::tab { padding: 4px 6px; }");
  side_->tabBar()->setUsesScrollButtons(false);
  static constexpr Ui kTabs[] = {Ui::TabEU, Ui::TabUN, Ui::TabUK, Ui::TabUS};
  for (std::size_t list = 0; list < listTabs_.size(); ++list) {
    listTabs_[list] = new ListTab(context_, static_cast<int>(list), side_);
    side_->addTab(listTabs_[list], Caption(kTabs[list]));
  }
  auto* setupTab = new QWidget(side_);
  setupList_ = new QListWidget(setupTab);
  setupList_->setGeometry(4, 4, 230, 200);
  auto* title = new QListWidgetItem(Caption(Ui::SetupListTitle));
  title->setFlags(Qt::NoItemFlags);
  setupList_->addItem(title);
  const std::pair<Ui, Picture> rows[] = {{Ui::SetupRowNews, Picture::HelpWindowButton},
                                         {Ui::SetupRowPersonalise, Picture::ShieldCurrent},
                                         {Ui::SetupRowUpdate, Picture::UpdateAvailable},
                                         {Ui::SetupRowProgramSettings, Picture::HelpFileButton},
                                         {Ui::SetupRowSearchHistory, Picture::ShieldStarting}};
  for (const auto& [caption, picture] : rows) {
    setupList_->addItem(new QListWidgetItem(QIcon(DrawPicture(picture, QSize(16, 16))), Caption(caption)));
  }
  connect(setupList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    const int row = setupList_->row(item) - 1;
    if (row >= 0) app::SelectSetupRow(context_, static_cast<app::SetupRow>(row));
  });
  side_->addTab(setupTab, Caption(Ui::TabSetupNews));
  connect(side_, &QTabWidget::currentChanged, this,
          [this](int tab) { app::SelectSideTab(context_, static_cast<app::SideTab>(tab)); });

  listSide_ = new QTabWidget(centralWidget());
  listSide_->setGeometry(10, 40, 245, 470);
  listSide_->addTab(new QWidget(listSide_), Caption(Ui::ListSearch));
  auto* listSetup = new QLabel(Caption(Ui::ListSetupCaption), listSide_);
  listSetup->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  listSide_->addTab(listSetup, Caption(Ui::TabSetupNews));
  listSide_->hide();
  connect(listSide_, &QTabWidget::currentChanged, this,
          [this](int tab) { app::SelectListSideTab(context_, static_cast<app::ListSideTab>(tab)); });
}

void MainWindow::BuildWorkPanel() {
  work_ = new QTabWidget(centralWidget());
  work_->setGeometry(260, 40, 750, 470);
  single_ = new SingleSearchPage(context_, work_);
  listSearch_ = new ListSearchPage(context_, work_);
  setup_ = new SetupPages(
      context_, options_.updateServer,
      [this] { ShowWhitelistEditor(this, context_.dataDirectory, context_.dialogs); }, work_);
  work_->addTab(single_, Caption(Ui::PageSingleSearch));
  work_->addTab(listSearch_, Caption(Ui::ListSearch));
  work_->addTab(setup_, Caption(Ui::TabSetupNews));
  connect(work_, &QTabWidget::currentChanged, this,
          [this](int page) { app::SelectWorkPage(context_, static_cast<app::WorkPage>(page)); });
  connect(single_, &SingleSearchPage::StartRequested, this, &MainWindow::RunSingleSearchFromButton);
  connect(listSearch_, &ListSearchPage::LoadRequested, this, &MainWindow::LoadListFile);
  connect(listSearch_, &ListSearchPage::StartRequested, this, &MainWindow::StartListSearchFromButton);
  connect(listSearch_, &ListSearchPage::StopRequested, this, &MainWindow::StopListSearchFromButton);
}

// Model changes may come from a worker: they only mark what is due and post one render to the GUI thread.
void MainWindow::Observe() {
  QPointer<MainWindow> self(this);
  std::shared_ptr<std::atomic<unsigned>> pending = pending_;
  context_.model.AddObserver([self, pending](ModelChange change) {
    if (pending->fetch_or(Bit(change)) != 0) return;
    QMetaObject::invokeMethod(
        qApp,
        [self, pending] {
          if (self) self->Render(pending->exchange(0));
        },
        Qt::QueuedConnection);
  });
}

void MainWindow::RenderAll() {
  Render(~0u);
}

void MainWindow::Render(unsigned changes) {
  const auto due = [changes](ModelChange change) { return (changes & Bit(change)) != 0; };
  if (due(ModelChange::Window)) RenderWindowFrame();
  if (due(ModelChange::StatusBar) || due(ModelChange::StatusText)) RenderStatusBar();
  if (due(ModelChange::SearchFields)) single_->RenderSearchFields();
  if (due(ModelChange::HitReports)) single_->RenderHitReports();
  if (due(ModelChange::PageStatus) || due(ModelChange::StartButton)) {
    single_->RenderStatus();
    listSearch_->RenderStatus();
  }
  if (due(ModelChange::HitReports) || due(ModelChange::ListDates) || due(ModelChange::SetupPages) ||
      due(ModelChange::SelectionPanels)) {
    RenderListTabs();
  }
  if (due(ModelChange::SetupPages)) {
    setup_->RenderSetupPages();
    listSearch_->RenderSwitch();
  }
  if (due(ModelChange::Settings)) setup_->RenderPersonalisation();
  if (due(ModelChange::Switches)) setup_->RenderSwitches();
  if (due(ModelChange::ListSearchPage)) listSearch_->RenderPage();
  if (due(ModelChange::ListResultRows)) listSearch_->RenderRows();
  if (due(ModelChange::ImportWindow)) import_->Render(context_.model.ImportWindow());
  if (due(ModelChange::Panels)) RenderPanels();
}

void MainWindow::RenderWindowFrame() {
  const app::WindowFrame frame = context_.model.Window();
  setWindowTitle(Qt1252(frame.title));
  setEnabled(frame.enabled && !importing_);
  if (!frame.visible) {
    hide();
  } else if (frame.minimised) {
    showMinimized();
  } else if (!isVisible()) {
    show();
  }
}

void MainWindow::RenderStatusBar() {
  const app::StatusBarState bar = context_.model.StatusBar();
  databaseIcon_->setPixmap(bar.databaseIcon == app::DatabaseIcon::None
                               ? QPixmap()
                               : DrawPicture(ShieldOf(bar.databaseIcon), QSize(20, 20)));
  updateIcon_->setPixmap(bar.updateAvailableIcon ? DrawPicture(Picture::UpdateAvailable, QSize(20, 20))
                                                 : QPixmap());
  progress_->setMaximum(static_cast<int>(std::max<long long>(bar.progressMaximum, 1)));
  progress_->setValue(static_cast<int>(std::min<long long>(bar.progress, bar.progressMaximum)));
  statusText_->setText(Qt1252(context_.model.StatusText()));
}

void MainWindow::RenderPanels() {
  const app::PanelState panels = context_.model.Panels();
  const QSignalBlocker sideBlocker(side_), listBlocker(listSide_), workBlocker(work_);
  side_->setVisible(!panels.listSidePanelVisible);
  listSide_->setVisible(panels.listSidePanelVisible);
  side_->setCurrentIndex(static_cast<int>(panels.sideTab));
  listSide_->setCurrentIndex(static_cast<int>(panels.listSideTab));
  work_->setCurrentIndex(static_cast<int>(panels.workPage));
  single_->RenderPanels(panels);
  setup_->RenderPanels(panels);
}

void MainWindow::RenderListTabs() {
  const screening::HitReports reports = context_.model.HitReports();
  const std::array<std::string, 4> dates = context_.model.ListDateLabels();
  const app::SetupPagesState pages = context_.model.SetupPages();
  const std::array<app::SelectionPanel, 4> panels = context_.model.SelectionPanels();
  for (std::size_t list = 0; list < listTabs_.size(); ++list) {
    listTabs_[list]->Render(reports[list].countLabel, dates[list], pages, panels[list]);
  }
}

// The status text shows the time to the next database update while nothing else is running.
void MainWindow::RefreshCountdown() {
  if (runner_.Running() || importing_ || !options_.updateStamp) return;
  const std::string text = app::UpdateCountdownText(context_.clock.ElapsedSeconds(), options_.updateStamp());
  if (!text.empty() && text != context_.model.StatusText()) context_.model.SetStatusText(text);
}

void MainWindow::WaitServingEvents(const std::function<bool()>& finished) {
  while (!finished()) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(10);
  }
}

void MainWindow::RunSingleSearchFromButton() {
  app::MarkSingleSearchActive(context_);
  Render(pending_->exchange(0));
  QApplication::processEvents();
  app::RunSingleSearch(context_);
}

// The import runs on a worker while the window waits with its events served; its chooser and boxes
// come to this thread through the dialogs.
void MainWindow::LoadListFile() {
  importing_ = true;
  setEnabled(false);
  std::atomic<bool> done{false};
  std::thread importer([this, &done] {
    app::ImportMasterData(context_, std::nullopt);
    done = true;
  });
  WaitServingEvents([&] { return done.load(); });
  importer.join();
  importing_ = false;
  import_->hide();
  RenderWindowFrame();
  setEnabled(true);
  activateWindow();
}

void MainWindow::StartListSearchFromButton() {
  if (runner_.Running()) return;
  runner_.Wait();
  app::StartListSearch(context_, runner_);
}

void MainWindow::StopListSearchFromButton() {
  if (runner_.Running()) app::StopListSearch(context_, runner_.Gate());
}

// A running list search ends at its next record and keeps what it found, as after an abort; then the
// program ends.
void MainWindow::closeEvent(QCloseEvent* event) {
  if (importing_ || closing_) return event->ignore();
  closing_ = true;
  if (runner_.Running()) {
    runner_.Gate().RequestAbort();
    runner_.Gate().Resume();
    WaitServingEvents([this] { return !runner_.Running(); });
  }
  runner_.Wait();
  event->accept();
  if (options_.closed) options_.closed();
}

void MainWindow::paintEvent(QPaintEvent* event) {
  QMainWindow::paintEvent(event);
  if (background_.size() != size()) background_ = DrawPicture(Picture::Background, size());
  QPainter painter(this);
  painter.drawPixmap(0, 0, background_);
}

}  // namespace vmk::gui
