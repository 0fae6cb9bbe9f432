#include "astro/ecliptic_frame.h"

#include <cmath>

#include "common/shared.h"

namespace quorvel::astro {

double meanObliquity(double t) {
  const double arcSeconds = t * (46.815 + t * (0.00059 - 0.001813 * t));
  return (23.43929111 - arcSeconds / 3600.0) / common::RadToDeg;
}

Vec3 sphericalToRectangular(double lonDeg, double latDeg, double radius) {
  const double lon = lonDeg / common::RadToDeg;
  const double lat = latDeg / common::RadToDeg;
  return Vec3{radius * std::cos(lat) * std::cos(lon), radius * std::cos(lat) * std::sin(lon),
              radius * std::sin(lat)};
}

Vec3 equatorialToEcliptic(const Vec3& equatorial, double obliquity) {
  const double c = std::cos(obliquity);
  const double s = std::sin(obliquity);
  return Vec3{equatorial.x, c * equatorial.y + s * equatorial.z,
              c * equatorial.z - s * equatorial.y};
}

}  // namespace quorvel::astro
