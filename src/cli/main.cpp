#include <QGuiApplication>
#include <cstdlib>
#include <iostream>

#include "cli/cli_runner.h"

int main(int argc, char** argv) {
  // Pictures draw text with Qt's fonts; no screen is needed.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication qt(argc, argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  quorvel::cli::CliRunner runner(std::cout, std::cerr);
  return runner.run(args);
}
