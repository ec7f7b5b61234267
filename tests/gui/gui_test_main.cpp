// The window tests share one QApplication on the offscreen platform, made before any test runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// What Qt and the font libraries allocate once and keep for the life of the process is no leak of ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libQt6Core\nleak:libQt6Gui\nleak:libQt6Widgets\nleak:libglib\n";
}

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
