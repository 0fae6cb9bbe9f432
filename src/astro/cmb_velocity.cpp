#include "astro/cmb_velocity.h"

#include <erfa.h>
#include <erfam.h>

#include "astro/astro_constants.h"

namespace quorvel::astro {

Vec3 sunVelocityInCmb(double jdtt) {
  double icrs[3];
  eraS2p(CmbApexRaDeg * ERFA_DD2R, CmbApexDecDeg * ERFA_DD2R, CmbSunSpeed, icrs);
  double toEcliptic[3][3];
  eraEcm06(MjdOffset, jdtt - MjdOffset, toEcliptic);
  double ecliptic[3];
  eraRxp(toEcliptic, icrs, ecliptic);
  return {ecliptic[0], ecliptic[1], ecliptic[2]};
}

}  // namespace quorvel::astro
