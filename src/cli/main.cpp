#include <QApplication>
#include <iostream>

#include "cli/cli_runner.h"
#include "platform/qt/qt_environment.h"

int main(int argc, char** argv) {
  // Pictures draw text with Qt's fonts, and whole-window pictures render the windows' Qt
  // widgets off screen; no screen is needed.
  quorvel::platform::prepareQtEnvironment(true);
  QApplication qt(argc, argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  quorvel::cli::CliRunner runner(std::cout, std::cerr);
  return runner.run(args);
}
