#include "astro/ether_wind.h"

#include <cmath>

#include "astro/cmb_velocity.h"
#include "astro/erfa_time.h"
#include "common/shared.h"

namespace quorvel::astro {

std::optional<EtherWind> etherWind(const EtherWindQuery& query) {
  auto state =
      query.ephemeris == Ephemeris::kErfa
          ? computePreciseApparatusState(query.jdut, query.lonObsDeg, query.latObsDeg,
                                         query.useDeltaT)
          : computeApparatusState(query.jdut, query.lonObsDeg, query.latObsDeg, query.useDeltaT);
  if (!state) return std::nullopt;
  if (query.frame == EtherFrame::kCmb) {
    const double jdtt = query.jdut + ttMinusUtc(query.jdut) / common::SecondsPerDay;
    state->frameVelocity = sunVelocityInCmb(jdtt);
    state->velocity.x += state->frameVelocity.x;
    state->velocity.y += state->frameVelocity.y;
    state->velocity.z += state->frameVelocity.z;
  }
  EtherWind wind{*state, state->velocity, inHorizon(state->velocity, state->horizon)};
  const HorizonVelocity& h = wind.horizon;
  if (!std::isfinite(h.east) || !std::isfinite(h.north) || !std::isfinite(h.up) ||
      !std::isfinite(wind.ecliptic.x) || !std::isfinite(wind.ecliptic.y) ||
      !std::isfinite(wind.ecliptic.z)) {
    return std::nullopt;
  }
  return wind;
}

}  // namespace quorvel::astro
