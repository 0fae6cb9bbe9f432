#include "astro/observer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "astro/apparatus_state.h"
#include "astro/astro_constants.h"
#include "astro/ecliptic_frame.h"
#include "common/shared.h"

namespace quorvel::astro {
namespace {

using common::Eps0;
using common::Pi;
using common::RadToDeg;

double norm(const Vec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

TEST(EclipticFrame, ObliquityIsTheIau1976Polynomial) {
  // 23°26′21,448″ at J2000; J. Meeus, "Astronomical Algorithms" (2nd ed., chapter 22,
  // example 22.a): 23°26′27,407″ at 1987 April 10.0 (T = −0,127296372348).
  EXPECT_NEAR(meanObliquity(0.0) * RadToDeg * 3600, 23 * 3600 + 26 * 60 + 21.448, 1e-3);
  EXPECT_NEAR(meanObliquity(-0.127296372348) * RadToDeg * 3600, 23 * 3600 + 26 * 60 + 27.407, 1e-3);
  EXPECT_DOUBLE_EQ(meanObliquity(0.0), Eps0);
}

TEST(Observer, RotationSpeedFollowsLatitude) {
  struct Case {
    double latitude;
    double speed;
    double tolerance;
  };
  const std::vector<Case> cases = {{90.0, 0.0, 1e-9},
                                   {48.7, 306.13, 0.01},
                                   {0.0, EarthRadius * common::OmegaDay, 1e-9},  // 463,8 m/s
                                   {-48.7, 306.13, 0.01}};
  for (const Case& c : cases) {
    for (double lmst : {0.0, 6.0, 13.3}) {
      const ObserverState s = observerState(lmst, c.latitude, 0.0);
      EXPECT_NEAR(s.rotationSpeed, c.speed, c.tolerance) << c.latitude;
      EXPECT_NEAR(s.rotationSpeed, EarthRadius * std::cos(c.latitude / RadToDeg) * 2 * Pi / 86400,
                  1e-9);
      // The rotation velocity has the speed Vobs in whichever direction it points.
      EXPECT_NEAR(norm(s.rotationVelocity), s.rotationSpeed, 1e-9) << c.latitude;
      EXPECT_NEAR(norm(s.ecliptic), EarthRadius, 1e-6);
    }
  }
}

TEST(Observer, EclipticLongitudeAndLatitudeOfThePlace) {
  struct Case {
    double lmst;      // hours
    double latitude;  // degrees
    double lambda;    // λobs, degrees
    double beta;      // βobs, degrees in [0, 360)
  };
  const double eps = Eps0 * RadToDeg;
  const std::vector<Case> cases = {
      {0.0, 0.0, 0.0, 0.0},           // on the equinox: both frames agree
      {6.0, 0.0, 90.0, 360.0 - eps},  // equator at 90°: below the ecliptic by ε
      {18.0, 0.0, 270.0, eps},
      {0.0, 90.0, 90.0, 90.0 - eps},     // the north pole
      {0.0, -90.0, 270.0, 270.0 + eps},  // the south pole
  };
  for (const Case& c : cases) {
    const ObserverState s = observerState(c.lmst, c.latitude, 0.0);
    EXPECT_NEAR(s.longitude * RadToDeg, c.lambda, 1e-6) << c.lmst << " " << c.latitude;
    EXPECT_NEAR(s.latitude * RadToDeg, c.beta, 1e-6) << c.lmst << " " << c.latitude;
  }
}

TEST(Observer, SouthernPlacesHaveBetaInTheFourthQuadrant) {
  for (double lmst = 0.0; lmst < 24.0; lmst += 1.5) {
    const ObserverState south = observerState(lmst, -35.0, 0.2);
    EXPECT_GT(south.latitude * RadToDeg, 270.0) << lmst;
    EXPECT_LT(south.latitude * RadToDeg, 360.0) << lmst;
    const ObserverState north = observerState(lmst, 48.7, 0.2);
    EXPECT_GT(north.latitude * RadToDeg, 0.0) << lmst;
    EXPECT_LT(north.latitude * RadToDeg, 90.0) << lmst;
  }
}

TEST(Observer, RotationVelocityComponents) {
  // On the equator the place moves eastward: at λobs = 0 along +y, at λobs = 90° along −x
  // with the share sin(Eps0) across the ecliptic.
  const double v = EarthRadius * common::OmegaDay;
  const ObserverState atEquinox = observerState(0.0, 0.0, 0.0);
  EXPECT_NEAR(atEquinox.rotationVelocity.x, 0.0, 1e-9);
  EXPECT_NEAR(atEquinox.rotationVelocity.y, v, 1e-9);
  EXPECT_NEAR(atEquinox.rotationVelocity.z, 0.0, 1e-9);
  const ObserverState atSolstice = observerState(6.0, 0.0, 0.0);
  EXPECT_NEAR(atSolstice.rotationVelocity.x, -v * std::cos(Eps0), 1e-9);
  EXPECT_NEAR(atSolstice.rotationVelocity.y, 0.0, 1e-9);
  EXPECT_NEAR(atSolstice.rotationVelocity.z, -v * std::sin(Eps0), 1e-9);
}

TEST(ApparatusState, AtThePoleOnlyTheOrbitRemains) {
  // At the pole the apparatus moves with the Earth's orbital velocity alone.
  const auto pole = computeApparatusState(2451545.0, 44.5, 90.0, false);
  ASSERT_TRUE(pole.has_value());
  EXPECT_NEAR(pole->velocity.x, pole->earth.velocity.x, 1e-9);
  EXPECT_NEAR(pole->velocity.y, pole->earth.velocity.y, 1e-9);
  EXPECT_NEAR(pole->velocity.z, pole->earth.velocity.z, 1e-9);
  EXPECT_NEAR(pole->earth.radius / AstronomicalUnit, 0.9833, 5e-5);
  EXPECT_NEAR(pole->gmst, 18.6973746, 1e-7);
}

TEST(ApparatusState, EtMinusUtMovesOnlyTheElements) {
  const auto ut = computeApparatusState(2451545.0, 44.5, 48.7, false);
  const auto et = computeApparatusState(2451545.0, 44.5, 48.7, true);
  ASSERT_TRUE(ut.has_value() && et.has_value());
  EXPECT_NEAR(et->deltaT, 126.62, 1e-9);
  EXPECT_NEAR((et->jdcur - 2451545.0) * 86400, 126.62, 1e-4);
  EXPECT_NEAR(et->earth.t * 36525 * 86400, 126.62, 1e-4);
  // 126,62 s of orbital motion at about 30,3 km/s.
  const Vec3 a = ut->earth.position;
  const Vec3 b = et->earth.position;
  EXPECT_NEAR(norm(Vec3{b.x - a.x, b.y - a.y, b.z - a.z}), 126.62 * ut->earth.speed,
              1e-3 * 126.62 * ut->earth.speed);
  EXPECT_EQ(et->gmst, ut->gmst);
  EXPECT_EQ(et->observer.ecliptic.x, ut->observer.ecliptic.x);
}

TEST(ApparatusState, NonFiniteMomentIsAnError) {
  EXPECT_FALSE(computeApparatusState(NAN, 44.5, 48.7, false).has_value());
  EXPECT_FALSE(computeApparatusState(INFINITY, 44.5, 48.7, true).has_value());
  EXPECT_FALSE(computeApparatusState(2451545.0, NAN, 48.7, false).has_value());
}

TEST(ApparatusState, StoresExactlyItsElementsOfTheSharedArrays) {
  common::Shared shared;
  for (auto* a : {&shared.X, &shared.Y}) a->fill(-1.0);
  shared.Z.fill(-1.0);
  for (auto* a : {&shared.VX, &shared.VY, &shared.VZ}) a->fill(-1.0);
  const common::Shared before = shared;
  const auto state = computeApparatusState(2451545.0, 44.5, 48.7, false);
  ASSERT_TRUE(state.has_value());
  storeInShared(*state, shared);

  common::Shared expected = before;
  const auto setCoordinates = [&expected](std::size_t i, const Vec3& v) {
    expected.X[i] = v.x;
    expected.Y[i] = v.y;
    expected.Z[i] = v.z;
  };
  const auto setVelocity = [&expected](std::size_t i, const Vec3& v) {
    expected.VX[i] = v.x;
    expected.VY[i] = v.y;
    expected.VZ[i] = v.z;
  };
  setCoordinates(0, Vec3{});
  setCoordinates(3, state->earth.position);
  setCoordinates(12, state->observer.equatorial);
  setCoordinates(16, state->observer.ecliptic);
  setVelocity(3, state->earth.velocity);
  setVelocity(23, state->observer.rotationVelocity);
  setVelocity(33, state->velocity);
  EXPECT_EQ(shared.X, expected.X);
  EXPECT_EQ(shared.Y, expected.Y);
  EXPECT_EQ(shared.Z, expected.Z);
  EXPECT_EQ(shared.VX, expected.VX);
  EXPECT_EQ(shared.VY, expected.VY);
  EXPECT_EQ(shared.VZ, expected.VZ);
  EXPECT_EQ(shared.AngularRate, expected.AngularRate);
  EXPECT_EQ(shared.StopRequested, expected.StopRequested);
}

}  // namespace
}  // namespace quorvel::astro
