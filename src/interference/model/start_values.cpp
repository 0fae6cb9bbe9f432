#include "interference/model/start_values.h"

#include <cmath>

#include "common/shared.h"

namespace quorvel::interference::model {

namespace {

// A width defined by a quotient: none when the divisor is zero or the result not finite.
std::optional<double> width(double numerator, double divisor) {
  if (divisor == 0.0) return std::nullopt;
  const double w = numerator / divisor;
  if (!std::isfinite(w)) return std::nullopt;
  return w;
}

}  // namespace

StartError checkSettings(const ComputationParameters& p) {
  if (p.N <= 0) return StartError::NoFringes;
  // ML = 0 gives a screen of one point, and an empty search window divides by zero.
  if (p.ML <= 0 || p.hi == p.lo) return StartError::BadData;
  const auto outside = [](int v) { return v < -kMostFringes || v > kMostFringes; };
  if (p.N > kMostFringes || outside(p.lo) || outside(p.hi)) return StartError::BadData;
  return StartError::None;
}

StartError checkPictureWidth(const ComputationParameters& p) {
  return 500LL * p.ML > kMostPictureWidth ? StartError::TooWide : StartError::None;
}

StartError computeWidths(const ComputationParameters& p, StartValues& out) {
  out.L1 = p.Ve1 / p.nu1;
  out.L2 = p.Ve2 / p.nu2;
  out.L0 = p.Vs / p.v01;
  if (!std::isfinite(out.L1) || !std::isfinite(out.L2) || !std::isfinite(out.L0)) {
    return StartError::BadStart;
  }
  out.BVeDifference = width(out.L1 * out.L2, out.L1 - out.L2);
  out.BVeSum = width(out.L1 * out.L2, out.L1 + out.L2);
  out.A1p = p.A1e - common::Pi / 2;
  out.A2p = p.A2e - common::Pi / 2;
  out.BAp = width(out.L0, std::fabs(std::sin(out.A2p) - std::sin(out.A1p)));
  out.BAngle = width(out.L0, std::fabs(out.A2p - out.A1p));
  std::optional<double> B = p.measuredB ? p.measuredB : out.BAp;
  if (!B || !std::isfinite(*B) || *B == 0.0) return StartError::BadStart;
  out.B = *B;
  return StartError::None;
}

void computePhases(const ComputationParameters& p, StartValues& out) {
  switch (p.phases) {
    case PhaseRule::Given:
      out.N1 = p.N10;
      out.N2 = p.N20;
      break;
    case PhaseRule::FromFields:
      out.N1 = p.N1typed;
      out.N2 = p.N2typed;
      break;
    case PhaseRule::ShiftedFirst:
      out.N1 = p.N10 + p.v01 * p.dT;
      out.N2 = p.N20;
      break;
    case PhaseRule::DelayOnly:
      out.N1 = p.v01 * p.dT;
      out.N2 = 0;
      break;
    case PhaseRule::FromArrivalTimes:
      out.N1 = p.N10 - p.v01 * p.T1 + p.v01 * p.dT;
      out.N2 = p.N20 - p.v02 * p.T2;
      break;
  }
  out.X1e = p.centresAtZero ? 0.0 : p.X1e;
  out.X2e = p.centresAtZero ? 0.0 : p.X2e;
  out.dN1 = out.X1e * p.nu1 / p.Ve1;
  out.dN2 = out.X2e * p.nu2 / p.Ve2;
}

}  // namespace quorvel::interference::model
