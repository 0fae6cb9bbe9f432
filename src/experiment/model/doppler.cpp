#include "experiment/model/doppler.h"

#include <cmath>
#include <string>

#include "common/numbers.h"

namespace quorvel::experiment::model {

bool DopplerStepPrompt(RunContext& context) {
  const std::string text = context.report + "ПРОДОЛЖИТЬ ПОЭТАПНЫЙ РАСЧЕТ?";
  return context.observer.ask(text, "Quorvel_Dopler");
}

MirrorFrequencies DopplerClosedForm(ExperimentState& s, double AlfaZ, double raySpeed, double An,
                                    double nu) {
  if (!s.options.staticAngles) {
    s.V12 = raySpeed * std::cos(An - AlfaZ + common::Pi / 2);
    s.V21 = s.V * std::cos(s.AlfaV - AlfaZ - common::Pi / 2);
  }
  if (s.V12 == 0) throw common::ArithmeticError("Деление на ноль: V21/V12");
  const double ratio = s.V21 / s.V12;
  MirrorFrequencies result;
  result.vm = common::requireFinite((ratio + 1) * nu, "vm");
  // The reflected ray: a point of the moving mirror meets ν·(1 − u·n1/V) and sends it on
  // along n2 as a moving source. For normal incidence this is νm/(1 − V21/V12).
  const double out = 2 * AlfaZ - An;
  const double in1 = (s.Vx * std::cos(An) + s.Vy * std::sin(An)) / raySpeed;
  const double out2 = (s.Vx * std::cos(out) + s.Vy * std::sin(out)) / raySpeed;
  if (out2 == 1) throw common::ArithmeticError("Деление на ноль: 1 - u·n2/V");
  result.vr = common::requireFinite(nu * (1 - in1) / (1 - out2), "vr");
  s.vm = result.vm;
  s.vr = result.vr;
  return result;
}

}  // namespace quorvel::experiment::model
