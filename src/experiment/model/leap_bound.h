#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

#include "experiment/model/moving_point.h"
#include "experiment/model/surface_line.h"

namespace quorvel::experiment::model {

// How many steps a stepping loop may leap before the test "|A·x − y + K| ≤ bound" of a point
// against a line could fire. The point stands at x0 + dx·(j − k0) at step j; the line keeps
// its A and moves so that its K is Ky·j − A·(Kx·j) (a line through (Kx·j, Ky·j)), plus a
// fixed K0. In exact arithmetic the offset is affine in j; the loop computes it in doubles
// with about a dozen roundings, each within 2^-53 of a magnitude no larger than the sum S(j)
// of the magnitudes of its terms. The leap stops where the exact offset comes within
// bound + 64·2^-53·S(j): until then the loop's own test cannot fire, whatever its rounding,
// and from there single steps decide with the loop's own expressions.
class LeapBound {
 public:
  // `K0size` is the magnitude of the terms K0 was computed from, where that exceeds |K0|.
  LeapBound(const MovingPoint& p, const SurfaceLine& line, double K0, double Kx, double Ky,
            double bound, double K0size = 0)
      : bound_(bound) {
    using L = long double;
    const L A = line.A;
    alpha_ = A * (L(p.x0) - L(p.dx) * L(p.k0)) - (L(p.y0) - L(p.dy) * L(p.k0)) + L(K0);
    beta_ = A * L(p.dx) - L(p.dy) + L(Ky) - A * L(Kx);
    // For j ≥ k0 every term's magnitude is at most linear in j.
    const L a = std::fabs(A);
    s0_ = a * (std::fabs(L(p.x0)) + std::fabs(L(p.dx)) * L(p.k0)) + std::fabs(L(p.y0)) +
          std::fabs(L(p.dy)) * L(p.k0) + std::max(std::fabs(L(K0)), L(K0size));
    s1_ = a * std::fabs(L(p.dx)) + std::fabs(L(p.dy)) + std::fabs(L(Ky)) + a * std::fabs(L(Kx));
  }

  // The largest n ≤ most such that the test cannot fire at any step j in (k, k + n].
  double quietSteps(double k, double most) const {
    if (!(most >= 1) || !safe(k, 1)) return 0;
    double good = 1;
    double bad = most + 1;
    // Doubling, then halving: a safe leap stays safe when it is shortened.
    while (good * 2 < bad && safe(k, good * 2)) good *= 2;
    if (good * 2 < bad) bad = std::min(bad, good * 2);
    while (bad - good > 1) {
      const double mid = std::floor((good + bad) / 2);
      (safe(k, mid) ? good : bad) = mid;
    }
    return std::min(good, most);
  }

 private:
  using L = long double;
  L offset(double j) const { return alpha_ + beta_ * L(j); }
  bool safe(double k, double n) const {
    const L first = offset(k + 1);
    const L last = offset(k + n);
    if (!std::isfinite(first) || !std::isfinite(last)) return false;
    if ((first > 0) != (last > 0) || first == 0 || last == 0) return false;
    const L nearest = std::min(std::fabs(first), std::fabs(last));
    const L magnitude = s0_ + s1_ * L(k + n);
    constexpr L kRounding = 64 * std::numeric_limits<double>::epsilon() / 2;
    return nearest > L(bound_) * (1 + 1e-12L) + kRounding * magnitude;
  }

  double bound_;
  L alpha_ = 0;
  L beta_ = 0;
  L s0_ = 0;
  L s1_ = 0;
};

// The first step j > k at which the loop's own expression T = j·step reaches `time`
// (T ≥ time), found from the quotient and settled with the expression itself.
inline double firstStepAtTime(double time, double step) {
  // Beyond 2^52 steps the step index is no longer exact: no loop gets there.
  if (!(time / step < 0x1p52)) return std::numeric_limits<double>::infinity();
  double j = std::max(std::floor(time / step) - 2, 1.0);
  while (j > 1 && (j - 1) * step >= time) j -= 1;
  while (!(j * step >= time)) j += 1;
  return j;
}

// The first step j at which T = j·step exceeds `limit` (T > limit).
inline double firstStepBeyond(double limit, double step) {
  if (!(limit / step < 0x1p52)) return std::numeric_limits<double>::infinity();
  double j = std::max(std::floor(limit / step) - 2, 1.0);
  while (j > 1 && (j - 1) * step > limit) j -= 1;
  while (!(j * step > limit)) j += 1;
  return j;
}

}  // namespace quorvel::experiment::model
