#include "astro/erfa_time.h"

#include <erfa.h>

#include <cmath>

#include "astro/astro_constants.h"

namespace quorvel::astro {

namespace {

// TT − TAI, s.
constexpr double kTtMinusTai = 32.184;

}  // namespace

double ttMinusUtc(double jdutc) {
  int year = 0;
  int month = 0;
  int day = 0;
  double fraction = 0.0;
  double deltaAt = 0.0;
  if (std::isfinite(jdutc) &&
      eraJd2cal(MjdOffset, jdutc - MjdOffset, &year, &month, &day, &fraction) == 0 &&
      eraDat(year, month, day, fraction, &deltaAt) < 0) {
    deltaAt = 0.0;
  }
  return deltaAt + kTtMinusTai;
}

}  // namespace quorvel::astro
