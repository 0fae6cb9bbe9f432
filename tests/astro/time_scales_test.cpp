#include "astro/time_scales.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvel::astro {
namespace {

double hms(double h, double m, double s) { return h + m / 60.0 + s / 3600.0; }

TEST(TimeScales, FracIsAlwaysInUnitInterval) {
  struct Case {
    double v;
    double expected;
  };
  const std::vector<Case> cases = {{2.25, 0.25}, {-2.25, 0.75}, {0.0, 0.0},
                                   {-3.0, 0.0},  {-1e-17, 0.0}, {7.5, 0.5}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(frac(c.v), c.expected) << c.v;
}

TEST(TimeScales, EtMinusUtIsTheQuadraticFrom1900) {
  // T = 0 at 1900 January 0.5 (JD1900 = 2415020) and T = 1 at J2000 (2451545).
  struct Case {
    double jd;
    double seconds;
  };
  const std::vector<Case> cases = {
      {2415020.0, 24.35},
      {2451545.0, 126.62},                                   // 24,35 + 72,32 + 29,95
      {2415020.0 - 36525.0, 24.35 - 72.32 + 29.95},          // 1800.0
      {2415020.0 + 36525.0 / 2, 24.35 + 36.16 + 29.95 / 4},  // 1950.0
  };
  for (const Case& c : cases) EXPECT_NEAR(etMinusUt(c.jd), c.seconds, 1e-9) << c.jd;
}

TEST(TimeScales, GreenwichMeanSiderealTime) {
  struct Case {
    double jd;
    double hours;
    double tolerance;
  };
  // J2000 noon; then J. Meeus, "Astronomical Algorithms" (2nd ed., chapter 12, examples
  // 12.a and 12.b): 1987 April 10 at 0h UT, 13h10m46,3668s, and at 19h21m00s UT,
  // 8h34m57,0896s. The expression here differs from Meeus's by 3·10^-5 s at these dates;
  // the tolerance is 10^-4 s.
  const std::vector<Case> cases = {
      {2451545.0, 18.6973746, 1e-7},
      {2446895.5, hms(13, 10, 46.3668), 1e-4 / 3600},
      {2446895.5 + hms(19, 21, 0) / 24, hms(8, 34, 57.0896), 1e-4 / 3600}};
  for (const Case& c : cases) {
    EXPECT_NEAR(greenwichMeanSiderealTime(modifiedJulianDate(c.jd)), c.hours, c.tolerance) << c.jd;
  }
}

TEST(TimeScales, SiderealTimeGainsAboutFourMinutesADay) {
  // Over one solar day the sidereal time gains 24·(1,0027379 − 1) h ≈ 3m56,56s, in [0, 24)
  // at every step, also before 17 November 1858, where the modified Julian date is
  // negative.
  for (double jd : {2451545.0, 2451545.3, 2299160.5, 1842713.25, 2400000.5, 2399999.75}) {
    const double today = greenwichMeanSiderealTime(modifiedJulianDate(jd));
    const double tomorrow = greenwichMeanSiderealTime(modifiedJulianDate(jd + 1.0));
    EXPECT_GE(today, 0.0);
    EXPECT_LT(today, 24.0);
    EXPECT_NEAR(frac((tomorrow - today) / 24.0) * 24.0, hms(0, 3, 56.5554), 2e-4 / 3600) << jd;
  }
}

TEST(TimeScales, LocalMeanSiderealTimeIsReducedOnlyAbove24) {
  struct Case {
    double gmst;
    double lon;
    double lmst;
  };
  const std::vector<Case> cases = {{10.0, 44.5, 10.0 + 44.5 / 15},
                                   {22.0, 45.0, 1.0},   // above 24: one turn less
                                   {21.0, 45.0, 24.0},  // exactly 24 stays
                                   {1.0, -30.0, -1.0},  // west of Greenwich: may stay below 0
                                   {18.6973746, 0.0, 18.6973746}};
  for (const Case& c : cases) {
    EXPECT_NEAR(localMeanSiderealTime(c.gmst, c.lon), c.lmst, 1e-12) << c.gmst << " " << c.lon;
  }
}

}  // namespace
}  // namespace quorvel::astro
