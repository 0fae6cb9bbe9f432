#pragma once

#include <optional>

#include "astro/apparatus_state.h"
#include "astro/ephemeris.h"
#include "astro/local_horizon.h"
#include "astro/vec3.h"

namespace quorvel::astro {

// A moment, a place and the choices the apparatus velocity depends on.
struct EtherWindQuery {
  double jdut = 0.0;       // Julian date of the moment, UTC (taken as UT)
  bool useDeltaT = false;  // "ET-UT, мин": the elements are taken at JDut + (ET − UT)
  double lonObsDeg = 0.0;  // degrees east
  double latObsDeg = 0.0;  // degrees north, −90 … 90
  Ephemeris ephemeris = Ephemeris::kElements;
  EtherFrame frame = EtherFrame::kSun;
};

// The apparatus velocity relative to the ether's frame.
struct EtherWind {
  // Everything the main window shows; its `velocity` is `ecliptic`.
  ApparatusState state;
  // Ecliptic axes of date, m/s. With the elements these are the program's own axes (the
  // elements' orbit is that of J2000; the difference is the precession since then).
  Vec3 ecliptic;
  HorizonVelocity horizon;  // in the local horizon of the place, m/s
};

// The apparatus velocity at the moment and place: the Earth's orbital velocity from the
// chosen ephemeris, plus the rotation of the place, plus (for the background's frame) the
// Sun's velocity against the cosmic microwave background; in ecliptic axes and in the
// local horizon. Nothing when a result is not finite.
std::optional<EtherWind> etherWind(const EtherWindQuery& query);

}  // namespace quorvel::astro
