#pragma once

namespace quorvel::astro {

// Where the Earth's heliocentric position and velocity come from.
enum class Ephemeris {
  kElements,  // the approximate Keplerian elements of the Earth–Moon barycentre
  kErfa,      // the Earth itself from ERFA's eraEpv00 (a few mm/s over 1900–2100)
};

// What the ether is at rest with.
enum class EtherFrame {
  kSun,  // the Sun: the apparatus velocity is the Earth's heliocentric one plus the rotation
  kCmb,  // the cosmic microwave background: the Sun's velocity against it is added
};

}  // namespace quorvel::astro
