// The help window over the disabled main window: its frame, the browser on the welcome page, the layout
// after a resize, and its button as the only way out; and the shipped help pages with their links.
#include "gui/help_window.h"

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "support/test_support.h"
#include "window_watch.h"

namespace vmk::gui {
namespace {

namespace fs = std::filesystem;
using test::WhenShown;

TEST(HelpWindow, ShowsTheWelcomePageAndEndsOnlyThroughItsButton) {
  vmk::testing::TempDir program;
  fs::create_directories(program / "Hilfe");
  vmk::testing::WriteFile(program / "Hilfe" / "Willkommen.html",
                          "<html><head><title>Willkommen Test</title></head><body>Hallo</body></html>");
  QWidget mainWindow;
  mainWindow.show();

  struct Seen {
    QString title, pageTitle;
    QSize size;
    QPoint position;
    bool mainEnabled = true, visibleAfterClose = false;
    QRect browser, button, browserResized, buttonResized;
  } seen;
  WhenShown<HelpWindow>([&](HelpWindow& window) {
    seen.title = window.windowTitle();
    seen.size = window.size();
    seen.position = window.pos();
    seen.pageTitle = window.Browser()->documentTitle();
    seen.mainEnabled = mainWindow.isEnabled();
    seen.browser = window.Browser()->geometry();
    seen.button = window.CloseButton()->geometry();
    window.close();
    seen.visibleAfterClose = window.isVisible();
    window.resize(600, 400);
    QTest::qWait(20);
    seen.browserResized = window.Browser()->geometry();
    seen.buttonResized = window.CloseButton()->geometry();
    QTest::mouseClick(window.CloseButton(), Qt::LeftButton);
  });
  ShowHelpWindow(&mainWindow, program.path());

  EXPECT_EQ(seen.title, "Alvenbrook Hilfe");
  EXPECT_EQ(seen.size, QSize(924, 668));
  EXPECT_EQ(seen.position, QPoint(50, 50));
  EXPECT_EQ(seen.pageTitle, "Willkommen Test");
  EXPECT_FALSE(seen.mainEnabled);
  EXPECT_TRUE(seen.visibleAfterClose);
  EXPECT_EQ(seen.browser, QRect(0, 0, 924, 626));
  EXPECT_EQ(seen.button, QRect(362, 627, 200, 40));
  EXPECT_EQ(seen.browserResized, QRect(0, 0, 600, 358));
  EXPECT_EQ(seen.buttonResized, QRect(200, 359, 200, 40));
  EXPECT_TRUE(mainWindow.isEnabled());
}

std::set<QString> LinksOf(const QTextDocument& page) {
  std::set<QString> links;
  for (QTextBlock block = page.begin(); block.isValid(); block = block.next()) {
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
      const QTextCharFormat format = fragment.fragment().charFormat();
      if (format.isAnchor() && !format.anchorHref().isEmpty()) links.insert(format.anchorHref());
    }
  }
  return links;
}

// Every page the program ships has a title, every link between them leads to a page that exists, and
// the welcome page reaches all of them.
TEST(HelpPages, EveryPageHasATitleAndEveryLinkLeadsToAShippedPage) {
  const char* source = std::getenv("VELDMARK_SOURCE_DIR");
  if (source == nullptr || *source == '\0') GTEST_SKIP() << "VELDMARK_SOURCE_DIR is not set";
  const fs::path help = fs::path(source) / "data" / "help";
  std::set<QString> pages;
  for (const auto& entry : fs::directory_iterator(help)) {
    if (entry.path().extension() == ".html") pages.insert(QString::fromStdString(entry.path().filename()));
  }
  ASSERT_TRUE(pages.count("Willkommen.html"));
  std::set<QString> reachedFromWelcome;
  for (const QString& page : pages) {
    QTextBrowser browser;
    browser.setSource(QUrl::fromLocalFile(QString::fromStdString((help / page.toStdString()).string())));
    EXPECT_FALSE(browser.documentTitle().isEmpty()) << page.toStdString();
    for (const QString& link : LinksOf(*browser.document())) {
      EXPECT_TRUE(pages.count(link)) << page.toStdString() << " links to " << link.toStdString();
      if (page == "Willkommen.html") reachedFromWelcome.insert(link);
    }
  }
  for (const QString& page : pages) {
    if (page == "index.html") continue;
    EXPECT_TRUE(reachedFromWelcome.count(page)) << page.toStdString();
  }
}

}  // namespace
}  // namespace vmk::gui
