#include "astro/observer.h"

#include <cmath>

#include "astro/astro_constants.h"
#include "astro/ecliptic_frame.h"
#include "common/numbers.h"
#include "common/shared.h"

namespace quorvel::astro {

ObserverState observerState(double lmstHours, double latObsDeg, double tUt) {
  ObserverState s;
  s.equatorial = sphericalToRectangular(lmstHours * 15.0, latObsDeg, EarthRadius);
  s.obliquity = meanObliquity(tUt);
  s.ecliptic = equatorialToEcliptic(s.equatorial, s.obliquity);

  s.rotationSpeed = EarthRadius * std::cos(latObsDeg / common::RadToDeg) * common::OmegaDay;
  s.rho = std::sqrt(s.ecliptic.x * s.ecliptic.x + s.ecliptic.y * s.ecliptic.y);
  s.longitude = common::FullAngle(s.ecliptic.x, s.ecliptic.y);
  s.latitude = common::FullAngle(s.rho, s.ecliptic.z);

  // The part across the ecliptic uses the fixed J2000 obliquity Eps0.
  const double sinLon = std::sin(s.longitude);
  const double cosLon = std::cos(s.longitude);
  s.rotationVelocity.z = -s.rotationSpeed * std::sin(common::Eps0) * sinLon;
  const double inPlane =
      std::sqrt(s.rotationSpeed * s.rotationSpeed - s.rotationVelocity.z * s.rotationVelocity.z);
  s.rotationVelocity.x = -inPlane * sinLon;
  s.rotationVelocity.y = inPlane * cosLon;
  return s;
}

}  // namespace quorvel::astro
