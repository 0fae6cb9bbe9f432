#include "forecast/model/model_shift.h"

#include <cmath>

namespace quorvel::forecast::model {

std::optional<double> frontArrivalAtRay1Point(const experiment::model::RunResult& run) {
  if (!run.arrived()) return std::nullopt;
  const double A2 = run.arrivalDirection[2];
  const double ux = std::cos(A2);
  const double uy = std::sin(A2);
  // The speed of ray 2's leg to the screen; a leg the tables left without one went at c.
  double c2 = run.legs[2][8].speed;
  if (!(c2 > 0) || !std::isfinite(c2)) c2 = run.c;
  const double Vu = run.V * (std::cos(run.AlfaV) * ux + std::sin(run.AlfaV) * uy);
  const double apart =
      (run.arrivalX[1] - run.arrivalX[2]) * ux + (run.arrivalY[1] - run.arrivalY[2]) * uy;
  const double t2 = (apart + c2 * run.T2 - Vu * run.T1) / (c2 - Vu);
  if (!std::isfinite(t2)) return std::nullopt;
  return t2;
}

}  // namespace quorvel::forecast::model
