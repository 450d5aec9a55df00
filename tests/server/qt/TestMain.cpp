#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// The window tests need a QApplication; without a display they draw offscreen.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
