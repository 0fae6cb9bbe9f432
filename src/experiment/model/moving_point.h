#pragma once

namespace quorvel::experiment::model {

// A point moving by (dx, dy) per model step since step k0, where it stood at (x0, y0). Its
// place after k steps is computed afresh rather than summed step by step: over the 10^8
// steps of a Doppler model a running sum would drift by rounding about a quarter of one
// step's way, as much as the model's own resolution.
struct MovingPoint {
  double x0 = 0;
  double y0 = 0;
  double dx = 0;
  double dy = 0;
  double k0 = 0;

  double x(double k) const { return x0 + dx * (k - k0); }
  double y(double k) const { return y0 + dy * (k - k0); }
  // From step k on, the point moves by (newDx, newDy) per step.
  void turn(double k, double newDx, double newDy) {
    x0 = x(k);
    y0 = y(k);
    k0 = k;
    dx = newDx;
    dy = newDy;
  }
};

}  // namespace quorvel::experiment::model
