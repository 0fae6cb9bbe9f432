#pragma once

#include <array>

namespace quorvel::common {

// Program-wide constants. The main window "sets" them when it loads; they never change.
inline constexpr double Pi = 3.14159265358979;
inline constexpr double RadToDeg = 180.0 / Pi;  // degrees per radian
inline constexpr double Million = 1e6;
inline constexpr double Billion = 1e9;
inline constexpr double JD1900 = 2415020.0;  // epoch of the ET − UT formula
inline constexpr double J2000 = 2451545.0;   // epoch of the orbital elements
inline constexpr double Eps0 = 23.43929111 / RadToDeg;  // mean obliquity at J2000, rad
inline constexpr double SecondsPerDay = 86400.0;
inline constexpr double SecondsPerYear = 3.15576e7;  // Julian year
inline constexpr double OmegaYear = 2.0 * Pi / SecondsPerYear;  // orbital rate, rad/s
inline constexpr double OmegaDay = 2.0 * Pi / SecondsPerDay;    // rotation rate, rad/s

// The program-wide values that change while the program runs, and the shared arrays.
// They outlive every window; all windows read and write the one instance.
struct Shared {
  int CalendarMode = 0;     // 0: Gregorian calendar in the date conversions
  double HourOffset = 0.0;  // hours added to every date converted to a Julian date
  int StopRequested = 0;    // stop request of the long loops (1 = stop)
  double ML = 3e10;         // drawing scale of the window drawing now

  // Coordinates (m) with fixed element roles; in the experiment window the point table.
  std::array<double, 131> X{};
  std::array<double, 131> Y{};
  std::array<double, 123> Z{};
  // Velocities (m/s): 3 the Earth's orbital, 23 the place's rotation, 33 their sum.
  std::array<double, 34> VX{};
  std::array<double, 34> VY{};
  std::array<double, 34> VZ{};
  // Angular rates (rad/s): 31 the Earth's orbit, 32 its rotation; the interference window
  // keeps its rays' angular frequencies in other elements.
  std::array<double, 34> AngularRate{};
};

// The one instance of the shared module.
Shared& shared();

}  // namespace quorvel::common
