#pragma once

#include "astro/vec3.h"

namespace quorvel::astro {

// The Sun's velocity against the cosmic microwave background (the dipole of Planck 2018):
// 369,82 km/s toward right ascension 167,942°, declination −6,944° (ICRS, J2000).
inline constexpr double CmbSunSpeed = 369820.0;  // m/s
inline constexpr double CmbApexRaDeg = 167.942;
inline constexpr double CmbApexDecDeg = -6.944;

// That velocity in the mean ecliptic and equinox of the TT moment `jdtt`, m/s.
Vec3 sunVelocityInCmb(double jdtt);

}  // namespace quorvel::astro
