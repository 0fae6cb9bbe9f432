#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "app/forms.h"
#include "cli/cli_runner.h"
#include "platform/app.h"
#include "platform/qt/form_view.h"
#include "platform/qt/qt_environment.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/view_manager.h"

namespace {

bool hasDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) {
    const std::string name = platform;
    return name != "offscreen" && name != "minimal";
  }
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

// The example's picture goes into `folder` too, so that nothing lands in the project's tree.
void printCliHelp(const QString& folder) {
  const std::string cli = (quorvel::platform::executableFolder() / "quorvel-cli").string();
  const std::string picture = QDir::current().relativeFilePath(folder + "/form1.png").toStdString();
  std::cout << "The windows can be driven without a screen through " << cli << ", for example:\n"
            << "  " << cli << " dump Form1\n"
            << "  " << cli << " set Form1.Text20=0,5 click Form1.Command3 dump Form1\n"
            << "  " << cli << " open Form2 dump Form2\n"
            << "  " << cli << " wait 200 screenshot Form1 " << picture << '\n'
            << "See README.md or " << cli << " --help for every command.\n";
}

// Without a screen: the end-to-end experiment of the beam-splitter setup through the same
// windows, its result fields printed and its pictures saved into `folder`.
void runDemoExperiment(const QString& folder) {
  const std::string dir = folder.toStdString();
  std::cout
      << "\nRunning the demo experiment (beam-splitter setup, \"Test\" units, report on)...\n";
  std::ostringstream out;
  std::ostringstream err;
  quorvel::cli::CliRunner runner(out, err);
  const int status = runner.run(
      {"click", "Form1.Command1", "set", "Form4.Option1=1", "set", "Form4.Check5=1", "click",
       "Form4.Command7", "click", "Form4.Command13", "save", "Form4.Picture1",
       dir + "/experiment-scheme.png", "save", "Form9.picBox", dir + "/experiment-report.png",
       "export", "Form4", dir + "/experiment-results.csv"});
  if (status != 0) {
    std::cout << "the demo did not run: " << err.str();
    return;
  }
  const auto dump = runner.dump("Form4");
  const std::pair<const char*, const char*> fields[] = {
      {"Text17", "T, s (model time)"},
      {"Text31", "T1, s (ray 1)"},
      {"Text32", "T2, s (ray 2)"},
      {"Text35", "S1, m"},
      {"Text36", "S2, m"},
      {"Text51", "N1 (wave periods)"},
      {"Text52", "N2 (wave periods)"},
      {"Text71", "v1/v01 at the screen"},
      {"Text72", "v2/v01 at the screen"},
      {"Text20", "v01, MHz"},
  };
  for (const auto& [name, label] : fields) {
    for (const auto& control : dump["forms"][0]["controls"]) {
      if (control["name"] == name) {
        std::cout << "  " << label << " = " << control["text"].get<std::string>() << '\n';
      }
    }
  }
  std::cout << "saved " << dir << "/experiment-scheme.png, " << dir << "/experiment-report.png and "
            << dir << "/experiment-results.csv\n";
}

// Saves a picture of every open window into `folder` as FormN.png.
bool saveScreenshots(quorvel::platform::WindowManager& windows,
                     quorvel::platform::ViewManager& views, const QString& folder) {
  QDir().mkpath(folder);
  bool ok = true;
  for (auto* form : windows.openForms()) {
    if (auto* view = views.view(*form)) {
      const QString path = folder + "/" + QString::fromStdString(form->name()) + ".png";
      ok = view->grab().save(path) && ok;
      std::cout << "saved " << path.toStdString() << '\n';
    }
  }
  return ok;
}

}  // namespace

// The desktop program. Options: --screenshot DIR [open FormN ...] shows the main window
// (and the named windows), saves a picture of each into DIR and ends.
int main(int argc, char** argv) {
  const bool display = hasDisplay();
  quorvel::platform::prepareQtEnvironment(!display);
  QApplication qt(argc, argv);

  QString screenshotFolder;
  QStringList toOpen;
  const QStringList args = QApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == "--screenshot" && i + 1 < args.size()) {
      screenshotFolder = args[++i];
    } else if (args[i] == "open" && i + 1 < args.size()) {
      toOpen << args[++i];
    }
  }
  // Without a display and without --screenshot (as `make run` on a machine with no screen):
  // a picture of the main window, the demo experiment and the way to the CLI. Asked for
  // pictures are taken alone.
  const bool demo = !display && screenshotFolder.isEmpty();
  if (demo) {
    std::cout << "quorvel: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                 "The main window is rendered off screen instead.\n";
    screenshotFolder = QDir::currentPath() + "/quorvel-screens";
  }

  quorvel::platform::QtHost host;
  host.setProgramFolder(quorvel::platform::executableFolder());
  quorvel::platform::App app(host);
  quorvel::app::registerForms(app.windows());
  quorvel::platform::ViewManager views(app.windows());
  app.windows().show("Form1");
  for (const QString& name : toOpen) app.windows().show(name.toStdString());

  if (!screenshotFolder.isEmpty()) {
    // The main window's date and time fields are filled by its timer's first tick.
    if (auto* main = app.windows().find("Form1")) {
      if (auto* timer = dynamic_cast<quorvel::platform::Timer*>(main->find("Timer1"))) {
        main->tick(*timer);
      }
    }
    QApplication::processEvents();
    const bool ok = saveScreenshots(app.windows(), views, screenshotFolder);
    if (demo) {
      runDemoExperiment(screenshotFolder);
      printCliHelp(screenshotFolder);
    }
    return ok ? 0 : 1;
  }
  return QApplication::exec();
}
