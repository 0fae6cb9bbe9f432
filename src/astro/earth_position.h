#pragma once

#include "astro/orbital_elements.h"
#include "astro/vec3.h"

namespace quorvel::astro {

// The Earth (body 3) on its Keplerian orbit: heliocentric ecliptic coordinates of J2000.
struct EarthState {
  double t = 0.0;  // Julian centuries from J2000 of the moment (JDcur)
  OrbitalElements elements;
  double meanAnomaly = 0.0;       // M, rad
  double eccentricAnomaly = 0.0;  // E, rad
  int keplerPasses = 0;
  bool keplerConverged = false;
  double trueAnomaly = 0.0;         // ν, rad, (−π, π]
  double radius = 0.0;              // r, m
  double argumentOfLatitude = 0.0;  // u = ν + ϖ − Ω, rad
  Vec3 position;                    // X3, Y3, Z3, m
  double longitude = 0.0;           // FullAngle(X3, Y3), rad, [0, 2π) ("AlfaGelioGeo")
  double latitude = 0.0;            // heliocentric ecliptic latitude, rad, [−π/2, π/2]
  Vec3 velocity;                    // VX3, VY3, VZ3, m/s
  double speed = 0.0;               // Vgeo, m/s
};

// Position and velocity of the Earth at `t` Julian centuries from J2000. The velocity is
// that of the two-body orbit about the Sun's mass (radial k·e·sin ν and transverse
// k·(1 + e·cos ν), k = √(G·Msun/p), p = a·(1 − e²)).
EarthState earthState(double t);

}  // namespace quorvel::astro
