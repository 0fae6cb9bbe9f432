#pragma once

#include <optional>

#include "astro/vec3.h"

namespace quorvel::astro {

// The local horizon of a place: unit vectors toward the east, the north and the zenith,
// written in the ecliptic axes of the velocity they are applied to.
struct LocalHorizon {
  Vec3 east;
  Vec3 north;
  Vec3 up;
  bool atPole = false;  // east and north are then one meridian's limit, not directions
};

// A velocity seen in the local horizon, m/s.
struct HorizonVelocity {
  double east = 0.0;
  double north = 0.0;
  double up = 0.0;                // the vertical speed, positive toward the zenith
  double horizontalSpeed = 0.0;   // √(east² + north²)
  std::optional<double> azimuth;  // of the horizontal motion, rad, [0, 2π), clockwise from
                                  // north; none at a pole or without horizontal motion
};

// The horizon of the place whose zenith has the right ascension `zenithRa` (rad) and the
// declination `latitude` (rad) in an equatorial frame, in that frame's axes.
LocalHorizon equatorialHorizon(double zenithRa, double latitude);

// `velocity` and `horizon` in the same axes.
HorizonVelocity inHorizon(const Vec3& velocity, const LocalHorizon& horizon);

}  // namespace quorvel::astro
