#pragma once

namespace quorvel::astro {

// Physical constants of the Earth's motion (SI units).
inline constexpr double AstronomicalUnit = 149597870691.0;    // m
inline constexpr double SunMass = 1.98976e30;                 // kg
inline constexpr double GravitationalConstant = 6.67259e-11;  // m³/(kg·s²)
inline constexpr double EarthRadius = 6378140.0;              // equatorial radius, m

// Kepler's equation is iterated until two passes differ by at most KeplerTolerance (rad),
// and never more than KeplerMaxPasses times.
inline constexpr double KeplerTolerance = 1e-10;
inline constexpr int KeplerMaxPasses = 99;

// Julian-day method: the reform test value of 15 October 1582 (year + month/100 +
// day/10^4), and the last Julian day number that is still in the Julian calendar.
inline constexpr double ReformTestValue = 1582.101499;
inline constexpr double LastJulianCalendarDay = 2299160.0;

// Modified Julian date = Julian date − MjdOffset.
inline constexpr double MjdOffset = 2400000.5;

}  // namespace quorvel::astro
