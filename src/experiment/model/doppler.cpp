#include "experiment/model/doppler.h"

#include <cmath>
#include <string>

#include "common/numbers.h"

namespace quorvel::experiment::model {

bool DopplerStepPrompt(RunContext& context) {
  const std::string text = context.report + "ПРОДОЛЖИТЬ ПОЭТАПНЫЙ РАСЧЕТ?";
  return context.host.messageBox(text, platform::Buttons::YesNo, "Quorvel_Dopler");
}

MirrorFrequencies DopplerClosedForm(ExperimentState& s, double AlfaZ, double raySpeed, double An,
                                    double nu) {
  if (!s.options.check26) {
    s.V12 = raySpeed * std::cos(An - AlfaZ + common::Pi / 2);
    s.V21 = s.V * std::cos(s.AlfaV - AlfaZ - common::Pi / 2);
  }
  if (s.V12 == 0) throw common::ArithmeticError("Деление на ноль: V21/V12");
  const double ratio = s.V21 / s.V12;
  if (ratio == 1) throw common::ArithmeticError("Деление на ноль: 1 - V21/V12");
  MirrorFrequencies result;
  result.vm = common::requireFinite((ratio + 1) * nu, "vm");
  result.vr = common::requireFinite(result.vm / (1 - ratio), "vr");
  s.vm = result.vm;
  s.vr = result.vr;
  return result;
}

}  // namespace quorvel::experiment::model
