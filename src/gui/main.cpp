#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <iostream>
#include <string>

#include "app/forms.h"
#include "platform/app.h"
#include "platform/qt/form_view.h"
#include "platform/qt/qt_environment.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/view_manager.h"

namespace {

bool hasDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) return true;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

void printCliHelp() {
  const std::string cli = (quorvel::platform::executableFolder() / "quorvel-cli").string();
  std::cout << "The windows can be driven without a screen through " << cli
            << ", for example:\n"
            << "  " << cli << " dump Form1\n"
            << "  " << cli << " set Form1.Text20=0,5 click Form1.Command3 dump Form1\n"
            << "  " << cli << " open Form2 dump Form2\n"
            << "See README.md for every command.\n";
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
  if (!display && screenshotFolder.isEmpty()) {
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
    QApplication::processEvents();
    const bool ok = saveScreenshots(app.windows(), views, screenshotFolder);
    if (!display) printCliHelp();
    return ok ? 0 : 1;
  }
  return QApplication::exec();
}
