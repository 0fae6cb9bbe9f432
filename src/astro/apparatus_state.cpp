#include "astro/apparatus_state.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "astro/ecliptic_frame.h"
#include "astro/time_scales.h"

namespace quorvel::astro {

namespace {

bool finite(const Vec3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

template <std::size_t N, std::size_t M>
void put(std::array<double, N>& xs, std::array<double, N>& ys, std::array<double, M>& zs,
         std::size_t index, const Vec3& v) {
  xs[index] = v.x;
  ys[index] = v.y;
  zs[index] = v.z;
}

}  // namespace

std::optional<ApparatusState> computeApparatusState(double jdut, double lonObsDeg, double latObsDeg,
                                                    bool useDeltaT) {
  ApparatusState s;
  s.deltaT = useDeltaT ? etMinusUt(jdut) : 0.0;
  s.jdcur = jdut + s.deltaT / common::SecondsPerDay;
  s.earth = earthState((s.jdcur - common::J2000) / 36525.0);
  s.gmst = greenwichMeanSiderealTime(modifiedJulianDate(jdut));
  s.lmst = localMeanSiderealTime(s.gmst, lonObsDeg);
  s.observer = observerState(s.lmst, latObsDeg, (jdut - common::J2000) / 36525.0);
  // The horizon of the place as the program places it: zenith at right ascension LMST·15°
  // and declination LatObs in the equator of date, turned into the ecliptic by the same
  // obliquity as the place.
  const LocalHorizon equatorial =
      equatorialHorizon(s.lmst * 15.0 / common::RadToDeg, latObsDeg / common::RadToDeg);
  const double obliquity = s.observer.obliquity;
  s.horizon = {equatorialToEcliptic(equatorial.east, obliquity),
               equatorialToEcliptic(equatorial.north, obliquity),
               equatorialToEcliptic(equatorial.up, obliquity), equatorial.atPole};
  const Vec3& orbital = s.earth.velocity;
  const Vec3& rotation = s.observer.rotationVelocity;
  s.velocity = Vec3{orbital.x + rotation.x, orbital.y + rotation.y, orbital.z + rotation.z};

  const bool ok = std::isfinite(s.jdcur) && finite(s.earth.position) && finite(orbital) &&
                  std::isfinite(s.earth.speed) && std::isfinite(s.lmst) &&
                  finite(s.observer.ecliptic) && finite(rotation) &&
                  std::isfinite(s.observer.longitude) && std::isfinite(s.observer.latitude) &&
                  finite(s.velocity);
  if (!ok) return std::nullopt;
  return s;
}

void storeInShared(const ApparatusState& state, common::Shared& shared) {
  put(shared.X, shared.Y, shared.Z, 0, Vec3{});
  put(shared.X, shared.Y, shared.Z, 3, state.earth.position);
  put(shared.X, shared.Y, shared.Z, 12, state.observer.equatorial);
  put(shared.X, shared.Y, shared.Z, 16, state.observer.ecliptic);
  put(shared.VX, shared.VY, shared.VZ, 3, state.earth.velocity);
  put(shared.VX, shared.VY, shared.VZ, 23, state.observer.rotationVelocity);
  put(shared.VX, shared.VY, shared.VZ, 33, state.velocity);
}

}  // namespace quorvel::astro
