#include "interference/model/screen_frame.h"

#include <cmath>

#include "common/numbers.h"
#include "common/shared.h"

namespace quorvel::interference::model {

double phaseSpeedAlongScreen(double V, double A) {
  if (std::fabs(A - common::Pi / 2) > kPerpendicularBand) return V / std::cos(A);
  return kPerpendicularPhaseSpeed * V;
}

ScreenRay toScreenFrame(const AbsoluteRay& ray, double VXiso, double VYiso) {
  ScreenRay e;
  e.Xe = ray.X - VXiso * ray.T;
  const double vx = ray.V * std::cos(ray.A) - VXiso;
  const double vy = ray.V * std::sin(ray.A) - VYiso;
  e.Ae = common::FullAngle(vx, vy);
  e.Vr = std::sqrt(vx * vx + vy * vy);
  e.Ve = phaseSpeedAlongScreen(e.Vr, e.Ae);
  return e;
}

}  // namespace quorvel::interference::model
