#pragma once

#include <cmath>
#include <limits>

namespace quorvel::experiment::model {

// Leaping a running sum x += d exactly. While x stays within one binade [2^e, 2^(e+1)) every
// addition rounds the same fraction of an ulp the same way, so n additions add n times the
// increment of the first (the one exception, a fraction of exactly half an ulp rounded to
// even, alternates, and shows in the second addition). The sums stay a margin of |d| and
// an ulp inside the binade, so that no exact sum reaches its edge.

// How many additions of d to x can be leapt by leapSum; 0 when none.
inline double sumLeapLimit(double x, double d) {
  constexpr double kEndless = std::numeric_limits<double>::infinity();
  if (!std::isfinite(x) || !std::isfinite(d)) return 0;
  // Adding a zero changes nothing, but for −0 + 0, which is +0: a negative coordinate whose
  // velocity component is exactly zero (a motion along an axis) stays as it is for ever.
  if (d == 0) return x == 0 && std::signbit(x) && !std::signbit(d) ? 0 : kEndless;
  if (x == 0) return 0;
  const double x1 = x + d;
  const double x2 = x1 + d;
  const double step = x1 - x;
  if (x2 - x1 != step) return 0;
  if (step == 0) return kEndless;  // d is lost in every addition alike
  const double magnitude = std::fabs(x);
  const double low = std::ldexp(1.0, std::ilogb(magnitude));
  const double high = 2 * low;
  const double ulp = std::ldexp(std::numeric_limits<double>::epsilon(), std::ilogb(magnitude));
  const double margin = std::fabs(d) + 2 * ulp;
  if (!(magnitude - margin >= low) || !(magnitude + margin < high)) return 0;
  const bool growing = (step > 0) == (x > 0);
  const double room = growing ? high - margin - magnitude : magnitude - margin - low;
  return std::floor(room / std::fabs(step));
}

// x after n additions of d, for n ≤ sumLeapLimit(x, d).
inline double leapSum(double x, double d, double n) {
  if (d == 0) return x + d;
  const double step = (x + d) - x;
  return x + n * step;
}

}  // namespace quorvel::experiment::model
