#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "astro/apparatus_state.h"
#include "astro/astro_constants.h"
#include "astro/ecliptic_frame.h"
#include "astro/erfa_time.h"
#include "astro/time_scales.h"
#include "common/numbers.h"
#include "common/shared.h"

namespace quorvel::astro {

namespace {

using Matrix = double[3][3];

// m·v·scale.
Vec3 times(const Matrix m, const double v[3], double scale) {
  auto row = [&](int i) { return (m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2]) * scale; };
  return {row(0), row(1), row(2)};
}

Vec3 times(const Matrix m, const Vec3& v) {
  const double in[3] = {v.x, v.y, v.z};
  return times(m, in, 1.0);
}

double length(const Vec3& v) {
  return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

bool finite(const Vec3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

}  // namespace

std::optional<ApparatusState> computePreciseApparatusState(double jdut, double lonObsDeg,
                                                           double latObsDeg, bool useDeltaT) {
  if (!std::isfinite(jdut)) return std::nullopt;
  ApparatusState s;
  s.ephemeris = Ephemeris::kErfa;
  s.deltaT = useDeltaT ? etMinusUt(jdut) : 0.0;
  // Two-part dates keep the microseconds: the whole part is the MJD origin.
  const double ut = jdut - MjdOffset;
  const double tt = ut + ttMinusUtc(jdut) / common::SecondsPerDay;
  s.jdcur = MjdOffset + tt;

  // The Earth, heliocentric, ICRS axes: AU and AU/day.
  double heliocentric[2][3];
  double barycentric[2][3];
  s.outsideCenturies = eraEpv00(MjdOffset, tt, heliocentric, barycentric) != 0;
  Matrix toEcliptic;
  eraEcm06(MjdOffset, tt, toEcliptic);
  EarthState& earth = s.earth;
  earth.t = (s.jdcur - common::J2000) / 36525.0;
  earth.position = times(toEcliptic, heliocentric[0], ERFA_DAU);
  earth.velocity = times(toEcliptic, heliocentric[1], ERFA_DAU / ERFA_DAYSEC);
  earth.radius = length(earth.position);
  earth.longitude = common::FullAngle(earth.position.x, earth.position.y);
  earth.latitude = std::atan2(earth.position.z, std::hypot(earth.position.x, earth.position.y));
  earth.speed = length(earth.velocity);

  s.gmst = eraGmst06(MjdOffset, ut, MjdOffset, tt) * 12.0 / ERFA_DPI;
  s.lmst = localMeanSiderealTime(s.gmst, lonObsDeg);

  // The place in the celestial intermediate system (UT1 = UTC, no polar motion), then in
  // the ecliptic of date: CIRS → GCRS (the transpose of the celestial-to-intermediate
  // matrix) → ecliptic.
  const double longitude = lonObsDeg * ERFA_DD2R;
  const double latitude = latObsDeg * ERFA_DD2R;
  const double era = eraEra00(MjdOffset, ut);
  double place[2][3];
  eraPvtob(longitude, latitude, 0.0, 0.0, 0.0, eraSp00(MjdOffset, tt), era, place);
  // The truncated nutation (IAU 2000B, 1 mas) is ample for a velocity of 465 m/s and
  // costs a small part of the full series.
  Matrix celestialToIntermediate;
  eraC2i00b(MjdOffset, tt, celestialToIntermediate);
  Matrix intermediateToCelestial;
  eraTr(celestialToIntermediate, intermediateToCelestial);
  Matrix intermediateToEcliptic;
  eraRxr(toEcliptic, intermediateToCelestial, intermediateToEcliptic);

  ObserverState& observer = s.observer;
  observer.obliquity = eraObl06(MjdOffset, tt);
  observer.ecliptic = times(intermediateToEcliptic, place[0], 1.0);
  observer.equatorial = equatorialToEcliptic(observer.ecliptic, -observer.obliquity);
  observer.rotationVelocity = times(intermediateToEcliptic, place[1], 1.0);
  observer.rotationSpeed = length(observer.rotationVelocity);
  observer.rho = std::hypot(observer.ecliptic.x, observer.ecliptic.y);
  observer.longitude = common::FullAngle(observer.ecliptic.x, observer.ecliptic.y);
  observer.latitude = common::FullAngle(observer.rho, observer.ecliptic.z);

  // The zenith of the geodetic latitude, at the angle ERA + longitude from the CIO.
  const LocalHorizon intermediate = equatorialHorizon(era + longitude, latitude);
  s.horizon = {times(intermediateToEcliptic, intermediate.east),
               times(intermediateToEcliptic, intermediate.north),
               times(intermediateToEcliptic, intermediate.up), intermediate.atPole};

  const Vec3& orbital = earth.velocity;
  const Vec3& rotation = observer.rotationVelocity;
  s.velocity = Vec3{orbital.x + rotation.x, orbital.y + rotation.y, orbital.z + rotation.z};

  const bool ok = std::isfinite(s.jdcur) && finite(earth.position) && finite(orbital) &&
                  std::isfinite(s.lmst) && finite(observer.ecliptic) && finite(rotation) &&
                  finite(s.horizon.up) && finite(s.horizon.north) && finite(s.horizon.east) &&
                  std::isfinite(earth.longitude) && std::isfinite(observer.longitude) &&
                  std::isfinite(observer.latitude) && finite(s.velocity);
  if (!ok) return std::nullopt;
  return s;
}

}  // namespace quorvel::astro
