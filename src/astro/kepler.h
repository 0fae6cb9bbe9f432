#pragma once

namespace quorvel::astro {

struct KeplerSolution {
  double eccentricAnomaly = 0.0;  // E, rad
  int passes = 0;                 // iterations made, 1 … KeplerMaxPasses
  bool converged = false;         // the last two passes differ by at most KeplerTolerance
};

// Mean anomaly M = 2π·frac(L/2π) − ϖ, plus 2π when negative (rad; L the mean longitude
// and ϖ the longitude of perihelion, rad); in [0, 2π) while ϖ is.
double meanAnomaly(double meanLongitude, double longitudeOfPerihelion);

// Kepler's equation E = M + e·sin E by fixed-point iteration from E = M, stopping at the
// first pass that changes E by at most KeplerTolerance; after KeplerMaxPasses passes
// without that, the last E is taken and `converged` is false.
KeplerSolution solveKepler(double meanAnomaly, double eccentricity);

}  // namespace quorvel::astro
