#include "experiment/transfer_to_interference.h"

#include <cmath>
#include <optional>

#include "common/numbers.h"
#include "common/shared.h"
#include "experiment/form4.h"
#include "platform/app.h"

namespace quorvel::experiment {

using common::Fix;
using common::numberText;

namespace {

constexpr char kTitle[] = "Quorvel";

// A direction turned by +90°; a full turn is taken off only beyond 2π.
double turned(double angle) {
  const double a = angle + common::Pi / 2;
  return a > 2 * common::Pi ? a - 2 * common::Pi : a;
}

void write(platform::Form& form, const char* name, const std::string& text) {
  if (auto* box = dynamic_cast<platform::TextBox*>(form.find(name))) box->setText(text);
}

}  // namespace

void transferToInterference(platform::App& app, model::ExperimentState& state,
                            const ShownResults& shown, bool testUnits) {
  platform::Host& host = app.host();
  if (state.ii != 19 || state.jj != 29) {
    host.messageBox("Сначала надо выполнить вычислительный эксперимент", platform::Buttons::Ok,
                    kTitle);
    return;
  }
  struct Shown {
    const std::string& text;
    const char* label;
    double value = 0;
  };
  Shown fields[] = {{shown.ratio1, "v1/v01"}, {shown.ratio2, "v2/v01"}, {shown.T1, "T1"},
                    {shown.T2, "T2"},         {shown.N1, "N1"},         {shown.N2, "N2"}};
  for (Shown& field : fields) {
    const auto value = common::parseNumber(field.text);
    if (!value) {
      host.messageBox(std::string("Задайте правильно данные: в поле «") + field.label +
                          "» должно быть число, а не «" + field.text + "»",
                      platform::Buttons::Ok, kTitle);
      return;
    }
    field.value = *value;
  }
  const double ratio1 = fields[0].value, ratio2 = fields[1].value;
  const double T1 = fields[2].value, T2 = fields[3].value;
  const double N1 = fields[4].value, N2 = fields[5].value;

  const double Vx = state.V * std::cos(state.AlfaV);
  const double Vy = state.V * std::sin(state.AlfaV);
  const double Vs = state.c;
  double x1 = state.arrivalX[1], y1 = state.arrivalY[1];
  double x2 = state.arrivalX[2], y2 = state.arrivalY[2];
  double A1 = state.legs.An[18], A2 = state.legs.An[28];
  double VXiso = Vx, VYiso = Vy;
  if (!state.options.prism) {
    // The beam-splitter setup's screen stands upright: everything turns by +90°.
    x1 = -state.arrivalY[1];
    y1 = state.arrivalX[1];
    x2 = -state.arrivalY[2];
    y2 = state.arrivalX[2];
    VXiso = -Vy;
    VYiso = Vx;
    A1 = turned(A1);
    A2 = turned(A2);
  }

  if (!app.windows().show("Form3")) return;
  platform::Form& target = *app.windows().find("Form3");
  const double V1 = state.legs.V1[19], V2 = state.legs.V2[29];
  write(target, "Text22", numberText(Fix(1000 * VXiso) / 1e6));
  write(target, "Text23", numberText(Fix(1000 * VYiso) / 1e6));
  write(target, "Text24", numberText(Vs / 1000));
  write(target, "Text67", numberText(Fix(1e12 * Vs / state.v01) / 1e6));
  write(target, "Text25", numberText(state.v01 / 1e6));
  write(target, "Text63", numberText(state.v02 / 1e6));
  write(target, "Text1", numberText(A1 * 180 / common::Pi));
  write(target, "Text2", numberText(A2 * 180 / common::Pi));
  write(target, "Text3", numberText(ratio1));
  write(target, "Text4", numberText(ratio2));
  write(target, "Text5", numberText(V1 / Vs));
  write(target, "Text6", numberText(V2 / Vs));
  write(target, "Text7", numberText(N1));
  write(target, "Text8", numberText(N2));
  write(target, "Text9", numberText(T1));
  write(target, "Text10", numberText(T2));
  write(target, "Text64", numberText(state.v01 * T1));
  write(target, "Text65", numberText(state.v02 * T2));
  write(target, "Text26", numberText(Fix(1e12 * x1) / 1e12));
  write(target, "Text28", numberText(Fix(1e9 * y1) / 1e9));
  write(target, "Text27", numberText(Fix(1e12 * x2) / 1e12));
  write(target, "Text29", numberText(Fix(1e9 * y2) / 1e9));
  write(target, "Text40", testUnits ? "1E-6" : "1E-17");
  write(target, "Text32", testUnits ? "1E-2" : "1E-14");

  // The run keeps the times and period counts as they were shown; its frequencies,
  // directions and the setup's points stay as the run left them.
  state.T1 = T1;
  state.T2 = T2;
  state.N1 = N1;
  state.N2 = N2;
}

void transferToInterference(Form4& window, model::ExperimentState& state) {
  const ShownResults shown{window.Text71.text(), window.Text72.text(), window.Text31.text(),
                           window.Text32.text(), window.Text51.text(), window.Text52.text()};
  transferToInterference(window.app(), state, shown, window.Option4.value());
}

}  // namespace quorvel::experiment
