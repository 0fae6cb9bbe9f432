#include "astro/orbital_elements.h"

#include "astro/astro_constants.h"
#include "common/shared.h"

namespace quorvel::astro {

OrbitalElements earthElements(double t) {
  using common::RadToDeg;
  OrbitalElements el;
  el.semiMajorAxis = AstronomicalUnit * (1.00000261 + 5.62e-6 * t);
  el.eccentricity = 0.01671123 - 0.00004392 * t;
  el.inclination = (-0.00001531 - 0.01294668 * t) / RadToDeg;
  el.meanLongitude = (100.46457166 + 35999.37244981 * t) / RadToDeg;
  el.longitudeOfPerihelion = (102.93768193 + 0.32327364 * t) / RadToDeg;
  el.ascendingNode = (-5.11260389 - 0.24123856 * t) / RadToDeg;
  return el;
}

}  // namespace quorvel::astro
