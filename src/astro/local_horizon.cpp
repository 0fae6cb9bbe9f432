#include "astro/local_horizon.h"

#include <cmath>

#include "common/numbers.h"

namespace quorvel::astro {

namespace {

double dot(const Vec3& a, const Vec3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Below this cosine of the latitude the place is at a pole: east and north are not defined
// there (1E-12 is about 6 mm from the pole on the Earth).
constexpr double kPoleCosine = 1e-12;
// A horizontal speed below this (m/s) has no direction worth showing.
constexpr double kStill = 1e-9;

}  // namespace

LocalHorizon equatorialHorizon(double zenithRa, double latitude) {
  const double cosRa = std::cos(zenithRa);
  const double sinRa = std::sin(zenithRa);
  const double cosLat = std::cos(latitude);
  const double sinLat = std::sin(latitude);
  return {Vec3{-sinRa, cosRa, 0.0}, Vec3{-sinLat * cosRa, -sinLat * sinRa, cosLat},
          Vec3{cosLat * cosRa, cosLat * sinRa, sinLat}, std::fabs(cosLat) < kPoleCosine};
}

HorizonVelocity inHorizon(const Vec3& velocity, const LocalHorizon& horizon) {
  HorizonVelocity h;
  h.east = dot(velocity, horizon.east);
  h.north = dot(velocity, horizon.north);
  h.up = dot(velocity, horizon.up);
  h.horizontalSpeed = std::hypot(h.east, h.north);
  // At a pole every horizontal direction is south (or north), so no azimuth is given.
  if (!horizon.atPole && h.horizontalSpeed >= kStill) {
    h.azimuth = common::FullAngle(h.north, h.east);
  }
  return h;
}

}  // namespace quorvel::astro
