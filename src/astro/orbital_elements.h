#pragma once

namespace quorvel::astro {

// Keplerian elements of a heliocentric orbit, referred to the ecliptic and equinox of
// J2000. Angles in radians.
struct OrbitalElements {
  double semiMajorAxis = 0.0;          // a, m
  double eccentricity = 0.0;           // e
  double inclination = 0.0;            // i
  double meanLongitude = 0.0;          // L, not reduced to one turn
  double longitudeOfPerihelion = 0.0;  // ϖ
  double ascendingNode = 0.0;          // Ω
};

// Elements of the Earth–Moon barycentre (body 3) at `t` Julian centuries from J2000:
// linear in t, valid for about 1800 … 2050.
OrbitalElements earthElements(double t);

}  // namespace quorvel::astro
