#include "astro/kepler.h"

#include <cmath>

#include "astro/astro_constants.h"
#include "astro/time_scales.h"
#include "common/shared.h"

namespace quorvel::astro {

double meanAnomaly(double meanLongitude, double longitudeOfPerihelion) {
  const double twoPi = 2.0 * common::Pi;
  double m = twoPi * frac(meanLongitude / twoPi) - longitudeOfPerihelion;
  if (m < 0.0) m += twoPi;
  return m;
}

KeplerSolution solveKepler(double meanAnomaly, double eccentricity) {
  KeplerSolution solution;
  double previous = meanAnomaly;
  for (int pass = 1; pass <= KeplerMaxPasses; ++pass) {
    const double next = meanAnomaly + eccentricity * std::sin(previous);
    solution.eccentricAnomaly = next;
    solution.passes = pass;
    if (std::fabs(next - previous) <= KeplerTolerance) {
      solution.converged = true;
      break;
    }
    previous = next;
  }
  return solution;
}

}  // namespace quorvel::astro
