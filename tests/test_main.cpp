#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// Every test program runs with an offscreen Qt application: pictures need its fonts, and
// the view tests need its widgets. No test needs a display.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
