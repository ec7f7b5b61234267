// The import progress window as a view of the model's import state: shown with its text and percentage
// while the main window is disabled, hidden again, and gone with the main window.
#include "gui/import_window.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <memory>

namespace vmk::gui {
namespace {

TEST(ImportWindow, RenderShowsTextAndPercentUsableOverTheDisabledMainWindowAndHides) {
  auto mainWindow = std::make_unique<QWidget>();
  mainWindow->show();
  QPointer<ImportWindow> window = new ImportWindow(mainWindow.get());
  mainWindow->setEnabled(false);  // as the window does when the import starts

  window->Render({true, "Import Status: 3 / 4     ( 75.0 % )", 75});
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->isEnabled());
  EXPECT_EQ(window->windowTitle(), "Import Data");
  EXPECT_EQ(window->size(), QSize(410, 54));
  EXPECT_EQ(window->Status()->currentMessage(), "Import Status: 3 / 4     ( 75.0 % )");
  EXPECT_EQ(window->Progress()->value(), 75);
  EXPECT_EQ(window->Progress()->maximum(), 100);

  window->Render({false, "Import Status", 0});
  EXPECT_FALSE(window->isVisible());

  mainWindow.reset();
  EXPECT_TRUE(window.isNull());
}

}  // namespace
}  // namespace vmk::gui
