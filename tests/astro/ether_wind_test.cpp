#include "astro/ether_wind.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "astro/cmb_velocity.h"
#include "astro/erfa_time.h"
#include "common/shared.h"

namespace quorvel::astro {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = 180.0 / kPi;
constexpr double kArcsec = kPi / 180.0 / 3600.0;

double norm(const Vec3& v) {
  return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}
Vec3 minus(const Vec3& a, const Vec3& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double angleDeg(const Vec3& a, const Vec3& b) {
  const double c = (a.x * b.x + a.y * b.y + a.z * b.z) / (norm(a) * norm(b));
  return std::acos(std::fmin(1.0, c)) * kDeg;
}
// Rotations of the axes (a vector's coordinates in axes turned by `a`).
Vec3 axesAboutX(double a, const Vec3& v) {
  return {v.x, std::cos(a) * v.y + std::sin(a) * v.z, -std::sin(a) * v.y + std::cos(a) * v.z};
}
Vec3 axesAboutZ(double a, const Vec3& v) {
  return {std::cos(a) * v.x + std::sin(a) * v.y, -std::sin(a) * v.x + std::cos(a) * v.y, v.z};
}

// From the ecliptic and equinox of J2000 to those of the date, `t` Julian centuries later:
// the precession of the ecliptic (J. H. Lieske et al., 1977): the ecliptic of date is
// inclined by πA to that of J2000 along the node of longitude ΠA, and the equinox has
// moved by pA.
Vec3 precessEcliptic(const Vec3& v, double t) {
  const double piA = (47.0029 * t - 0.03302 * t * t + 0.00006 * t * t * t) * kArcsec;
  const double bigPiA = (629554.9824 - 869.8089 * t + 0.03536 * t * t) * kArcsec;
  const double pA = (5029.0966 * t + 1.11113 * t * t - 0.000006 * t * t * t) * kArcsec;
  return axesAboutZ(-(bigPiA + pA), axesAboutX(piA, axesAboutZ(bigPiA, v)));
}

// The elements are those of the Earth–Moon barycentre, the ephemeris the Earth's own: the
// Moon moves the Earth by up to 1 023 m/s / 82,3 = 12,4 m/s about the barycentre, and the
// elements themselves are good to some 20″.
TEST(PreciseEphemeris, AgreesWithTheElementsWithinTheMoonsPull) {
  const double dates[] = {2415020.5,  // 1900 January 0,5
                          2433282.5, 2440000.5, 2451545.0,
                          2461383.0, 2469807.5, 2488068.5};  // 2099 December 31
  for (const double jd : dates) {
    const auto elements = computeApparatusState(jd, 44.5, 48.7, false);
    const auto precise = computePreciseApparatusState(jd, 44.5, 48.7, false);
    ASSERT_TRUE(elements && precise) << jd;
    EXPECT_FALSE(precise->outsideCenturies) << jd;
    const Vec3 fromElements = precessEcliptic(elements->earth.velocity, (jd - 2451545.0) / 36525);
    const double difference = norm(minus(fromElements, precise->earth.velocity));
    EXPECT_GT(difference, 0.5) << jd;
    EXPECT_LT(difference, 20.0) << jd;
    EXPECT_LT(angleDeg(fromElements, precise->earth.velocity), 0.03) << jd;
    EXPECT_NEAR(precise->earth.radius / elements->earth.radius, 1.0, 1e-4) << jd;
  }
  EXPECT_TRUE(computePreciseApparatusState(2396758.5, 0, 0, false)->outsideCenturies);  // 1850
  EXPECT_TRUE(computePreciseApparatusState(2506331.5, 0, 0, false)->outsideCenturies);  // 2150
}

// TAI − UTC of the IERS leap-second table, + 32,184 s.
TEST(PreciseEphemeris, TerrestrialTimeFollowsTheLeapSeconds) {
  struct Case {
    double jdutc;
    double seconds;
  };
  const Case cases[] = {
      {2461383.0, 69.184},  // 2026-12-08 12:00
      {2457754.5, 69.184},  // 2017-01-01 0h: the 37th second
      {2457754.4, 68.184},  // the evening before
      {2451545.0, 64.184},  // 2000
      {2441317.5, 42.184},  // 1972-01-01: 10 s
      {2433282.5, 32.184},  // 1950: no UTC yet, TAI − UTC taken as 0
  };
  for (const Case& c : cases) EXPECT_NEAR(ttMinusUtc(c.jdutc), c.seconds, 1e-9) << c.jdutc;
}

// The Sun against the background radiation, in the ecliptic of J2000: λ 171,67°, β −11,15°.
TEST(CmbVelocity, PointsToTheDipoleInEclipticAxes) {
  const Vec3 v = sunVelocityInCmb(2451545.0);
  EXPECT_NEAR(norm(v), 369820.0, 1e-6);
  EXPECT_NEAR(std::atan2(v.y, v.x) * kDeg, 171.67, 0.01);
  EXPECT_NEAR(std::asin(v.z / norm(v)) * kDeg, -11.15, 0.01);
  // A century later: the same vector in the ecliptic and equinox of 2100.
  const Vec3 later = sunVelocityInCmb(2451545.0 + 36525.0);
  EXPECT_LT(norm(minus(later, precessEcliptic(v, 1.0))), 1.0);
  EXPECT_GT(norm(minus(later, v)), 8000.0);
}

// The frame adds the Sun's velocity and nothing else, for either ephemeris.
TEST(EtherWind, BackgroundFrameAddsTheSunsVelocity) {
  for (const Ephemeris ephemeris : {Ephemeris::kElements, Ephemeris::kErfa}) {
    EtherWindQuery query{2461383.0, true, 44.5, 48.7, ephemeris, EtherFrame::kSun};
    const auto sun = etherWind(query);
    query.frame = EtherFrame::kCmb;
    const auto cmb = etherWind(query);
    ASSERT_TRUE(sun && cmb);
    const Vec3 added = minus(cmb->ecliptic, sun->ecliptic);
    EXPECT_NEAR(norm(minus(added, cmb->state.frameVelocity)), 0.0, 1e-6);
    EXPECT_NEAR(norm(added), CmbSunSpeed, 1e-6);
    EXPECT_EQ(norm(sun->state.frameVelocity), 0.0);
    EXPECT_EQ(cmb->state.velocity.x, cmb->ecliptic.x);
  }
  // With the elements and the Sun's frame the velocity is the window's sum as it always was.
  const auto plain = computeApparatusState(2461383.0, 44.5, 48.7, true);
  const auto wind =
      etherWind({2461383.0, true, 44.5, 48.7, Ephemeris::kElements, EtherFrame::kSun});
  EXPECT_EQ(wind->ecliptic.x, plain->velocity.x);
  EXPECT_EQ(wind->ecliptic.y, plain->velocity.y);
  EXPECT_EQ(wind->ecliptic.z, plain->velocity.z);
}

// The horizon against the altitude and azimuth of the velocity's apex by spherical
// trigonometry: right ascension and declination from the ecliptic (the program's
// obliquity), hour angle H = LMST − α; sin h = sin φ sin δ + cos φ cos δ cos H, azimuth
// from north through east atan2(−cos δ sin H, sin δ cos φ − cos δ cos H sin φ).
TEST(EtherWind, HorizonIsTheApexAltitudeAndAzimuth) {
  struct Case {
    double jd;
    double lon;
    double lat;
    EtherFrame frame;
  };
  const Case cases[] = {{2461383.0, 44.5, 48.7, EtherFrame::kSun},
                        {2461383.2, -70.0, -33.4, EtherFrame::kCmb},
                        {2451545.3, 0.0, 0.0, EtherFrame::kSun},
                        {2455000.7, 150.0, 80.0, EtherFrame::kCmb},
                        {2440000.1, -120.0, 30.0, EtherFrame::kSun}};
  for (const Case& c : cases) {
    const auto wind = etherWind({c.jd, false, c.lon, c.lat, Ephemeris::kElements, c.frame});
    ASSERT_TRUE(wind);
    const double eps = wind->state.observer.obliquity;
    const Vec3 eq = axesAboutX(-eps, wind->ecliptic);  // back to the equator of date
    const double speed = norm(eq);
    const double ra = std::atan2(eq.y, eq.x);
    const double dec = std::asin(eq.z / speed);
    const double hourAngle = wind->state.lmst * 15.0 / kDeg - ra;
    const double phi = c.lat / kDeg;
    const double altitude = std::asin(std::sin(phi) * std::sin(dec) +
                                      std::cos(phi) * std::cos(dec) * std::cos(hourAngle));
    double azimuth = std::atan2(
        -std::cos(dec) * std::sin(hourAngle),
        std::sin(dec) * std::cos(phi) - std::cos(dec) * std::cos(hourAngle) * std::sin(phi));
    if (azimuth < 0) azimuth += 2 * kPi;
    const HorizonVelocity& h = wind->horizon;
    EXPECT_NEAR(h.up, speed * std::sin(altitude), 1e-6 * speed) << c.jd;
    EXPECT_NEAR(h.horizontalSpeed, speed * std::cos(altitude), 1e-6 * speed) << c.jd;
    ASSERT_TRUE(h.azimuth.has_value());
    EXPECT_NEAR(*h.azimuth, azimuth, 1e-6) << c.jd;
    EXPECT_NEAR(h.horizontalSpeed * h.horizontalSpeed + h.up * h.up, speed * speed,
                1e-9 * speed * speed);
  }
}

// The rotation of a place on the WGS84 ellipsoid is due east at ω·N·cos φ, with
// N = a/√(1 − e² sin² φ) and ω the rate of the Earth rotation angle.
TEST(EtherWind, PreciseRotationIsDueEast) {
  constexpr double a = 6378137.0;
  constexpr double f = 1.0 / 298.257223563;
  constexpr double e2 = f * (2.0 - f);
  constexpr double omega = 2.0 * kPi * 1.00273781191135448 / 86400.0;
  for (const double lat : {0.0, 48.7, -60.0, 89.0}) {
    const auto state = computePreciseApparatusState(2461383.0, 44.5, lat, false);
    ASSERT_TRUE(state);
    const double phi = lat / kDeg;
    const double expected =
        omega * a / std::sqrt(1.0 - e2 * std::sin(phi) * std::sin(phi)) * std::cos(phi);
    const HorizonVelocity h = inHorizon(state->observer.rotationVelocity, state->horizon);
    EXPECT_NEAR(h.east, expected, 1e-6) << lat;
    EXPECT_NEAR(h.north, 0.0, 1e-6) << lat;
    EXPECT_NEAR(h.up, 0.0, 1e-6) << lat;
    EXPECT_NEAR(state->observer.rotationSpeed, expected, 1e-6) << lat;
  }
}

// On the equator the vertical speed is largest when the apex of the Earth's motion (the
// velocity without the place's rotation, which is horizontal) culminates: when the local
// sidereal time equals the apex's right ascension; it is then V·cos δ.
TEST(EtherWind, EquatorSeesTheApexCulminate) {
  for (const EtherFrame frame : {EtherFrame::kSun, EtherFrame::kCmb}) {
    // The day in steps of 6 minutes, then the best step's neighbourhood in 10 s steps.
    double bestJd = 2461383.0;
    double bestUp = -1e300;
    const auto search = [&](double from, double step, int count) {
      for (int k = 0; k < count; ++k) {
        const double jd = from + k * step;
        const auto wind = etherWind({jd, false, 0.0, 0.0, Ephemeris::kErfa, frame});
        ASSERT_TRUE(wind);
        if (wind->horizon.up > bestUp) {
          bestUp = wind->horizon.up;
          bestJd = jd;
        }
      }
    };
    search(bestJd, 6.0 / 1440, 240);
    search(bestJd - 6.0 / 1440, 10.0 / 86400, 72);
    const auto wind = etherWind({bestJd, false, 0.0, 0.0, Ephemeris::kErfa, frame});
    const Vec3 apex = minus(wind->ecliptic, wind->state.observer.rotationVelocity);
    const Vec3 eq = axesAboutX(-wind->state.observer.obliquity, apex);
    const double ra = std::atan2(eq.y, eq.x);
    const double dec = std::asin(eq.z / norm(eq));
    // The hour angle at the best moment: within 10 s of time (0,04°) of the meridian.
    const double hourAngle = std::remainder(wind->state.gmst * 15.0 / kDeg - ra, 2 * kPi);
    EXPECT_LT(std::fabs(hourAngle) * kDeg, 0.05) << static_cast<int>(frame);
    EXPECT_NEAR(bestUp, norm(eq) * std::cos(dec), 1e-4 * norm(eq));
  }
}

}  // namespace
}  // namespace quorvel::astro
