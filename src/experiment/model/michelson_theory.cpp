#include "experiment/model/michelson_theory.h"

#include <cmath>

#include "common/numbers.h"

namespace quorvel::experiment::model {

using common::formatNumber;
using common::requireFinite;

namespace {

ArmTimes withPeriods(double T1, double T2, double v01) {
  ArmTimes times{requireFinite(T1, "T1"), requireFinite(T2, "T2"), 0, 0};
  times.N1 = requireFinite(v01 * times.T1, "N1(t)");
  times.N2 = requireFinite(v01 * times.T2, "N2(t)");
  return times;
}

}  // namespace

ArmTimes michelsonTimes(const MichelsonInput& in) {
  const double ratio = in.V * in.V / (in.Vs * in.Vs);
  const double T1 = (ratio + 1) * 2 * (in.X3 - in.X1) / in.Vs;
  const double T2 = (ratio / 2 + 1) * 2 * (in.Y2 - in.Y3) / in.Vs;
  return withPeriods(T1, T2, in.v01);
}

ArmTimes measuredTimes(const MichelsonInput& in) {
  if (in.comparative) return withPeriods(in.T1[16] - in.T1[11], in.T2[27] - in.T2[21], in.v01);
  return withPeriods(in.T1[18], in.T2[28], in.v01);
}

std::string valueLine(const ArmTimes& t) {
  return "T1=   " + formatNumber(t.T1, "0.0000000000000") +
         "       N1(t)=   " + formatNumber(t.N1, "000000000.0000") +
         "       T2=   " + formatNumber(t.T2, "0.0000000000000") +
         "       N2(t)=   " + formatNumber(t.N2, "000000000.0000");
}

std::string differenceLine(const ArmTimes& t) {
  // Twelve decimals would show a difference below a nanosecond as nothing at all (the
  // "Real" runs differ by about 1E-15 s): it is shown in the exponent form instead.
  const double difference = t.T1 - t.T2;
  const std::string differenceText = std::fabs(difference) < 1e-9
                                         ? common::numberText(difference)
                                         : formatNumber(difference, "0.000000000000");
  return "            T1-T2 =   " + differenceText +
         "                N1(t) - N2(t) =   " + formatNumber(t.N1 - t.N2, "000000000.0000");
}

}  // namespace quorvel::experiment::model
