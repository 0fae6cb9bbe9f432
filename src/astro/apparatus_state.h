#pragma once

#include <optional>

#include "astro/earth_position.h"
#include "astro/observer.h"
#include "astro/vec3.h"
#include "common/shared.h"

namespace quorvel::astro {

// Everything the main window shows for one moment: the Earth's orbital motion, the
// sidereal times, the observer's place and the apparatus velocity.
struct ApparatusState {
  double deltaT = 0.0;  // DeltaT: ET − UT, s (0 when it is not used)
  double jdcur = 0.0;   // JDcur = JDut + DeltaT/86400: the Julian date of the elements
  EarthState earth;     // at (JDcur − J2000)/36525
  double gmst = 0.0;    // GMST, hours, from JDut
  double lmst = 0.0;    // LMST, hours
  ObserverState observer;
  Vec3 velocity;  // VX33, VY33, VZ33 = orbital + rotation velocity, ecliptic, m/s
};

// Computes the moment `jdut` (Julian date, UT) for the place at `lonObsDeg` (degrees
// east) and `latObsDeg` (degrees north); `useDeltaT` is the check box "ET-UT, мин". The
// Earth's elements are taken at JDcur, the sidereal time and the obliquity of the
// observer's rotation at JDut. Nothing is returned when a result is not finite; the
// caller then shows "Введите правильно дату" (the show button) or "Ошибка решения" (the
// motion loop), title "Quorvel".
std::optional<ApparatusState> computeApparatusState(double jdut, double lonObsDeg, double latObsDeg,
                                                    bool useDeltaT);

// Writes the state into the shared arrays: X, Y, Z element 0 (the Sun) = 0, 3 (the Earth,
// heliocentric ecliptic), 12 (the place, geocentric equatorial), 16 (the place, geocentric
// ecliptic); VX, VY, VZ element 3 (orbital), 23 (rotation) and 33 (their sum). Nothing
// else is touched.
void storeInShared(const ApparatusState& state, common::Shared& shared);

}  // namespace quorvel::astro
