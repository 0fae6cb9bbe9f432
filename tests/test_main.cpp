#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/qt_environment.h"

// Every test program runs with an offscreen Qt application: pictures need its fonts, and
// the view tests need its widgets. No test needs a display.
int main(int argc, char** argv) {
  quorvel::platform::prepareQtEnvironment(true);
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
