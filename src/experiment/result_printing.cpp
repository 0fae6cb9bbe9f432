#include "experiment/result_printing.h"

#include <exception>
#include <string>

#include "common/numbers.h"
#include "platform/color.h"

namespace quorvel::experiment {

using model::ArmTimes;
using model::MichelsonInput;
using model::PathReportInput;
using model::ReportSetup;

namespace {

void printAt(platform::Picture& picture, double x, double y, const std::string& text) {
  picture.setCurrentX(x);
  picture.setCurrentY(y);
  picture.print(text);
}

}  // namespace

bool printPathReport(ReportSetup setup, const PathReportInput& input, platform::Picture& picture,
                     platform::Host& host) {
  try {
    const std::string header = model::reportHeader(setup, input);
    picture.setCurrentX(0.2);
    picture.setCurrentY(10.5);
    picture.print(header);
    for (int i = 0; i <= 9; ++i) {
      if (!model::reportPrintsRow(setup, i, input)) continue;
      const std::string row = model::reportRow(i, input);
      if (setup == ReportSetup::BeamSplitter) {
        // The arms (rows 3 to 5) stand out in the colour of an active title bar.
        if (i == 3) picture.setForeColor(platform::kActiveTitleBar);
        if (i == 6) picture.setForeColor(platform::kWindowText);
      }
      picture.setCurrentX(0);
      picture.setCurrentY(5 - i / 2.0);
      picture.print(row);
    }
  } catch (const std::exception&) {
    picture.setForeColor(platform::kWindowText);
    host.messageBox("Ошибка в отчете ", platform::Buttons::Ok, "Quorvel");
    return false;
  }
  return true;
}

ArmTimes printMichelsonComparison(platform::Picture& picture, const MichelsonInput& in) {
  picture.setFillColor(platform::kHighlightText);
  picture.setFillStyle(0);
  picture.box(-16, 1, 16, -5, platform::rgb(255, 255, 255));
  picture.setFillColor(platform::rgb(0, 0, 0));
  picture.setFillStyle(1);
  printAt(picture, -12, 1, " Рассчет по теории Майкельсона");
  const ArmTimes theory = model::michelsonTimes(in);
  printAt(picture, -14, 0, model::valueLine(theory));
  printAt(picture, -12, -1, model::differenceLine(theory));
  const ArmTimes measured = model::measuredTimes(in);
  printAt(picture, -12, -2,
          in.comparative ? " Эксперимент для сравнения с расчетом Майкельсона"
                         : " Эксперимент для всего пути");
  printAt(picture, -14, -3, model::valueLine(measured));
  printAt(picture, -12, -4, model::differenceLine(measured));
  return measured;
}

}  // namespace quorvel::experiment
