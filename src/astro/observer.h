#pragma once

#include "astro/vec3.h"

namespace quorvel::astro {

// The observer's place on the rotating Earth, treated as a sphere of the equatorial
// radius, and the velocity of its rotation. Geocentric coordinates in metres.
struct ObserverState {
  Vec3 equatorial;             // X12, Y12, Z12: equatorial axes of date, x toward the equinox
  Vec3 ecliptic;               // X16, Y16, Z16: the same point in ecliptic axes
  double obliquity = 0.0;      // ε used for that rotation, rad
  double rotationSpeed = 0.0;  // Vobs = R·cos(latitude)·OmegaDay, m/s
  double rho = 0.0;            // distance from the ecliptic polar axis, √(X16² + Y16²), m
  double longitude = 0.0;      // λobs = FullAngle(X16, Y16), ecliptic longitude, rad, [0, 2π)
  double latitude = 0.0;       // βobs = FullAngle(ρ, Z16), rad, [0, 2π): south is 3π/2 … 2π
  Vec3 rotationVelocity;       // VX23, VY23, VZ23: velocity of the rotation, ecliptic axes, m/s
};

// The place whose meridian has the local mean sidereal time `lmstHours` (so its right
// ascension is 15·lmstHours degrees) at latitude `latObsDeg` (degrees north), with the
// obliquity of the moment `tUt` (Julian centuries of UT from J2000). The rotation velocity
// has the speed Vobs, a component −Vobs·sin(Eps0)·sin λobs across the ecliptic and the rest
// along (−sin λobs, cos λobs) in the ecliptic plane. That is the program's simple model of
// the direction, kept because the shown components follow it: the exact rotation of
// (−sin α, cos α, 0)·Vobs from equatorial axes (α the right ascension) has the
// component −Vobs·sin ε·cos α across the ecliptic. Speeds use the solar day (OmegaDay).
ObserverState observerState(double lmstHours, double latObsDeg, double tUt);

}  // namespace quorvel::astro
