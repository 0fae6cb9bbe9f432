#include "app/form9.h"

#include <cctype>
#include <filesystem>

#include "platform/app.h"

namespace quorvel::app {

Form9::Form9(platform::App& app)
    : Form(app, "Form9", " Quorvel1      Отчет            form9", 1580, 740),
      picBox(*this, "picBox", 1560, 720) {
  picBox.setGeometry(10, 10, 1560, 720);
  picBox.addMenuItem("Сохранить отчет…", [this] { saveReport(); });
}

void Form9::load() {
  picBox.picture().setBackColor(platform::rgb(255, 255, 255));
}

std::optional<platform::Results> Form9::results() const {
  const platform::Form* experiment = app().windows().find("Form4");
  return experiment ? experiment->results() : std::nullopt;
}

void Form9::saveReport() {
  platform::FileDialogRequest request;
  request.title = "Сохранить отчет";
  request.filter = "PNG (*.png)|*.png|CSV (*.csv)|*.csv|JSON (*.json)|*.json";
  request.fileName = "Quorvel_report.png";
  const auto chosen = host().saveFileDialog(request);
  if (!chosen) return;
  const std::filesystem::path path = *chosen;
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  bool saved = false;
  if (extension == ".png") {
    saved = picBox.picture().save(path.string());
  } else if (const auto format = platform::resultFormatOf(path)) {
    const auto report = results();
    if (!report) {
      host().messageBox("Сначала надо выполнить вычислительный эксперимент", platform::Buttons::Ok,
                        "Quorvel");
      return;
    }
    saved = platform::writeResults(*report, path, *format);
  } else {
    host().messageBox("Отчет сохраняется в файл .png, .csv или .json, а не " + path.string(),
                      platform::Buttons::Ok, "Quorvel");
    return;
  }
  if (!saved) {
    host().messageBox("Ошибка записи в файл " + path.string(), platform::Buttons::Ok, "Quorvel");
  }
}

}  // namespace quorvel::app
