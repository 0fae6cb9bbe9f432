#include "astro/earth_position.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "astro/astro_constants.h"
#include "astro/kepler.h"
#include "common/shared.h"

namespace quorvel::astro {
namespace {

using common::Pi;
using common::RadToDeg;

constexpr double kGm = GravitationalConstant * SunMass;  // m³/s²

double centuries(double jd) { return (jd - common::J2000) / 36525.0; }

double norm(const Vec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

Vec3 cross(const Vec3& a, const Vec3& b) {
  return Vec3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

TEST(Kepler, SolvesKeplersEquation) {
  struct Case {
    double meanAnomaly;
    double eccentricity;
  };
  const std::vector<Case> cases = {{0.0, 0.0167}, {0.3, 0.0167}, {3.0, 0.0167},
                                   {6.0, 0.0167}, {1.0, 0.1},    {5.0, 0.3}};
  for (const Case& c : cases) {
    const KeplerSolution s = solveKepler(c.meanAnomaly, c.eccentricity);
    EXPECT_TRUE(s.converged);
    EXPECT_LE(s.passes, KeplerMaxPasses);
    EXPECT_NEAR(s.eccentricAnomaly - c.eccentricity * std::sin(s.eccentricAnomaly), c.meanAnomaly,
                1e-9)
        << c.meanAnomaly << " " << c.eccentricity;
  }
  // J. Meeus, "Astronomical Algorithms" (2nd ed., chapter 30, example 30.a): e = 0,1,
  // M = 5° gives E = 5,554589°.
  EXPECT_NEAR(solveKepler(5.0 / RadToDeg, 0.1).eccentricAnomaly * RadToDeg, 5.554589, 1e-6);
}

TEST(Kepler, StopsAfterTheLastPass) {
  // Near e = 1 and M = 0 the fixed-point iteration converges far too slowly for 99 passes.
  const KeplerSolution s = solveKepler(0.01, 0.999);
  EXPECT_FALSE(s.converged);
  EXPECT_EQ(s.passes, KeplerMaxPasses);
  EXPECT_TRUE(std::isfinite(s.eccentricAnomaly));
}

TEST(EarthPosition, NearPerihelionAtJ2000) {
  const EarthState s = earthState(0.0);
  EXPECT_NEAR(s.radius / AstronomicalUnit, 0.9833, 5e-5);
  EXPECT_NEAR(s.speed, 30.3e3, 0.05e3);
  EXPECT_NEAR(norm(s.position), s.radius, 1e-3);
  EXPECT_TRUE(s.keplerConverged);
  // Early January: the Earth is seen from the Sun at about 100°, opposite the Sun's 280°.
  EXPECT_NEAR(s.longitude * RadToDeg, 100.38, 0.01);
  EXPECT_NEAR(s.elements.inclination * RadToDeg, -0.00001531, 1e-12);
}

TEST(EarthPosition, PublishedSolarDistanceAndLongitude) {
  // J. Meeus, "Astronomical Algorithms" (2nd ed., chapter 25, example 25.a):
  // 1992 October 13.0 TD (JDE 2448908.5), R = 0,99766 AU, the Sun's true longitude
  // 199,90988° referred to the equinox of the date. The Earth is opposite the Sun; its
  // longitude referred to J2000 adds back the precession, 1,39697° per century, over the
  // 0,072183 century before J2000. The tolerances (10^-4 AU, 0,01°) cover the offset of
  // the Earth from the Earth–Moon barycentre and the accuracy of the mean elements.
  const double t = centuries(2448908.5);
  const EarthState s = earthState(t);
  EXPECT_NEAR(s.radius / AstronomicalUnit, 0.99766, 1e-4);
  EXPECT_NEAR(s.longitude * RadToDeg, 199.90988 - 180.0 - 1.39697 * t, 0.01);
}

TEST(EarthPosition, TwoBodyLawsHoldOverTheYear) {
  // Vis-viva v² = GM(2/r − 1/a), angular momentum |r × v| = √(GM·p) and radial speed
  // (r·v)/r = k·e·sin ν, at dates spread over a year and over two centuries.
  const std::vector<double> jds = {2451545.0, 2451636.0, 2451727.0, 2451818.0,
                                   2451909.0, 2415020.0, 2469807.5};
  for (double jd : jds) {
    const EarthState s = earthState(centuries(jd));
    const double a = s.elements.semiMajorAxis;
    const double e = s.elements.eccentricity;
    const double p = a * (1 - e * e);
    EXPECT_NEAR(s.speed * s.speed / (kGm * (2 / s.radius - 1 / a)), 1.0, 1e-12) << jd;
    EXPECT_NEAR(norm(cross(s.position, s.velocity)) / std::sqrt(kGm * p), 1.0, 1e-12) << jd;
    const double radial =
        (s.position.x * s.velocity.x + s.position.y * s.velocity.y + s.position.z * s.velocity.z) /
        s.radius;
    EXPECT_NEAR(radial, std::sqrt(kGm / p) * e * std::sin(s.trueAnomaly), 1e-6) << jd;
    EXPECT_GT(s.radius / AstronomicalUnit, 0.9832) << jd;
    EXPECT_LT(s.radius / AstronomicalUnit, 1.0168) << jd;
  }
}

TEST(EarthPosition, VelocityIsTheRateOfThePosition) {
  // A central difference of ±1 h of the positions agrees with the velocity to 0,1 %:
  // the mean motion of the elements and √(GM/a³) of the Sun's mass differ by 0,02 %.
  const double hour = 1.0 / 24 / 36525;
  for (double jd : {2451545.0, 2451700.0, 2452000.0}) {
    const double t = centuries(jd);
    const EarthState before = earthState(t - hour);
    const EarthState now = earthState(t);
    const EarthState after = earthState(t + hour);
    const Vec3 rate{(after.position.x - before.position.x) / 7200,
                    (after.position.y - before.position.y) / 7200,
                    (after.position.z - before.position.z) / 7200};
    EXPECT_NEAR(rate.x, now.velocity.x, 1e-3 * now.speed) << jd;
    EXPECT_NEAR(rate.y, now.velocity.y, 1e-3 * now.speed) << jd;
    EXPECT_NEAR(rate.z, now.velocity.z, 1e-3 * now.speed) << jd;
  }
}

}  // namespace
}  // namespace quorvel::astro
