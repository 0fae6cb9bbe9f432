#pragma once

#include "astro/vec3.h"

namespace quorvel::astro {

// Mean obliquity of the ecliptic (IAU 1976) at `t` Julian centuries from J2000, radians:
// 23,43929111° − (46,815″·t + 0,00059″·t² − 0,001813″·t³).
double meanObliquity(double t);

// Rectangular coordinates of the point at longitude `lonDeg` and latitude `latDeg`
// (degrees) and distance `radius`, in the frame and unit of the spherical coordinates.
Vec3 sphericalToRectangular(double lonDeg, double latDeg, double radius);

// Turns a vector from equatorial into ecliptic axes (about the common x axis, the
// equinox) by the obliquity `obliquity` (radians).
Vec3 equatorialToEcliptic(const Vec3& equatorial, double obliquity);

}  // namespace quorvel::astro
