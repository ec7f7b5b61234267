// The main window: a view of the window model with the side panels, the work panel and the status
// bar. Clicks call the actions; model changes from any thread reach the widgets on the GUI thread.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <array>
#include <atomic>
#include <functional>
#include <memory>

#include "app/app_context.h"
#include "app/list_search_run.h"
#include "gui/import_window.h"
#include "gui/list_search_page.h"
#include "gui/list_tab.h"
#include "gui/setup_pages.h"
#include "gui/single_search_page.h"

namespace vmk::gui {

struct MainWindowSetup {
  std::string updateServer;                // the base URL "Update herunterladen" downloads from
  std::function<long long()> updateStamp;  // elapsed seconds the update countdown counts from
  std::function<void()> closed;            // leaves the event loop after the close request
};

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(app::AppContext& context, MainWindowSetup setup);
  ~MainWindow() override;

  // Everything from the model at once, as after building the window.
  void RenderAll();

  QTabWidget* SidePanel() const { return side_; }
  QTabWidget* ListSidePanel() const { return listSide_; }
  QTabWidget* WorkPanel() const { return work_; }
  QListWidget* SetupList() const { return setupList_; }
  ListTab* ListTabOf(std::size_t list) const { return listTabs_[list]; }
  SingleSearchPage* SingleSearch() const { return single_; }
  ListSearchPage* ListSearch() const { return listSearch_; }
  SetupPages* Setup() const { return setup_; }
  QLabel* StatusTextField() const { return statusText_; }
  QProgressBar* ProgressField() const { return progress_; }
  QPushButton* HelpFileButton() const { return helpFile_; }
  QPushButton* HelpWindowButton() const { return helpWindow_; }
  ImportWindow* Import() const { return import_; }
  app::ListSearchRunner& ListSearchRunner() { return runner_; }

  // The actions of the buttons that run work, also for tests.
  void RunSingleSearchFromButton();
  void LoadListFile();
  void StartListSearchFromButton();
  void StopListSearchFromButton();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void BuildStatusBar();
  void BuildSidePanels();
  void BuildWorkPanel();
  void Observe();
  void Render(unsigned changes);
  void RenderWindowFrame();
  void RenderStatusBar();
  void RenderPanels();
  void RenderListTabs();
  void RefreshCountdown();
  void WaitServingEvents(const std::function<bool()>& finished);

  app::AppContext& context_;
  MainWindowSetup options_;
  QTabWidget *side_ = nullptr, *listSide_ = nullptr, *work_ = nullptr;
  QListWidget* setupList_ = nullptr;
  std::array<ListTab*, 4> listTabs_{};
  SingleSearchPage* single_ = nullptr;
  ListSearchPage* listSearch_ = nullptr;
  SetupPages* setup_ = nullptr;
  QLabel *databaseIcon_ = nullptr, *updateIcon_ = nullptr, *statusText_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton *helpFile_ = nullptr, *helpWindow_ = nullptr;
  ImportWindow* import_ = nullptr;
  QTimer countdown_;
  QPixmap background_;
  app::ListSearchRunner runner_;
  bool importing_ = false;
  bool closing_ = false;
  // Changes not yet rendered, one bit per ModelChange; the first sets off one queued render.
  std::shared_ptr<std::atomic<unsigned>> pending_ = std::make_shared<std::atomic<unsigned>>(0);
};

}  // namespace vmk::gui
