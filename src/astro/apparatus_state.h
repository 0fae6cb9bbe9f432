#pragma once

#include <optional>

#include "astro/earth_position.h"
#include "astro/ephemeris.h"
#include "astro/local_horizon.h"
#include "astro/observer.h"
#include "astro/vec3.h"
#include "common/shared.h"

namespace quorvel::astro {

// Everything the main window shows for one moment: the Earth's orbital motion, the
// sidereal times, the observer's place and the apparatus velocity.
struct ApparatusState {
  Ephemeris ephemeris = Ephemeris::kElements;
  double deltaT = 0.0;  // DeltaT: ET − UT, s (0 when it is not used)
  // The Julian date the Earth is taken at: JDcur = JDut + DeltaT/86400 for the elements,
  // TT for the precise ephemeris.
  double jdcur = 0.0;
  // The precise ephemeris was asked for a date outside 1900–2100, where it is less exact.
  bool outsideCenturies = false;
  EarthState earth;   // the elements: at (JDcur − J2000)/36525
  double gmst = 0.0;  // GMST, hours, from JDut
  double lmst = 0.0;  // LMST, hours
  ObserverState observer;
  LocalHorizon horizon;  // of the place, in the axes of `velocity`
  Vec3 frameVelocity;    // the Sun's velocity in the ether's frame (0 for the Sun), m/s
  // VX33, VY33, VZ33 = orbital + rotation velocity (+ the Sun's in the ether's frame),
  // ecliptic axes, m/s
  Vec3 velocity;
};

// Computes the moment `jdut` (Julian date, UT) for the place at `lonObsDeg` (degrees
// east) and `latObsDeg` (degrees north); `useDeltaT` is the check box "ET-UT, мин". The
// Earth's elements are taken at JDcur, the sidereal time and the obliquity of the
// observer's rotation at JDut. Nothing is returned when a result is not finite; the
// caller then shows "Введите правильно дату" (the show button) or "Ошибка решения" (the
// motion loop), title "Quorvel".
std::optional<ApparatusState> computeApparatusState(double jdut, double lonObsDeg, double latObsDeg,
                                                    bool useDeltaT);

// The same moment and place with the Earth's own heliocentric position and velocity from
// ERFA (TT = UTC + ΔAT of the leap-second table + 32,184 s; JDut is taken as UTC and as UT1),
// turned from the ICRS into the mean ecliptic and equinox of date, and the place's rotation
// velocity (the WGS84 ellipsoid at height 0, the Earth rotation angle, no polar motion) in
// the same axes. `useDeltaT` only sets the shown ET − UT. Nothing when a result is not
// finite.
std::optional<ApparatusState> computePreciseApparatusState(double jdut, double lonObsDeg,
                                                           double latObsDeg, bool useDeltaT);

// Writes the state into the shared arrays: X, Y, Z element 0 (the Sun) = 0, 3 (the Earth,
// heliocentric ecliptic), 12 (the place, geocentric equatorial), 16 (the place, geocentric
// ecliptic); VX, VY, VZ element 3 (orbital), 23 (rotation) and 33 (their sum). Nothing
// else is touched.
void storeInShared(const ApparatusState& state, common::Shared& shared);

}  // namespace quorvel::astro
