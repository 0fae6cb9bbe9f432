#include "astro/time_scales.h"

#include "astro/astro_constants.h"
#include "common/numbers.h"
#include "common/shared.h"

namespace quorvel::astro {

double frac(double v) {
  double f = v - common::Fix(v);
  if (f < 0.0) f += 1.0;
  // A tiny negative fraction plus 1 can round to exactly 1.
  return f >= 1.0 ? 0.0 : f;
}

double etMinusUt(double jdcur) {
  const double t = (jdcur - common::JD1900) / 36525.0;  // Julian centuries from 1900.0
  return 24.35 + 72.32 * t + 29.95 * t * t;
}

double modifiedJulianDate(double jd) { return jd - MjdOffset; }

double greenwichMeanSiderealTime(double mjd) {
  const double day = common::Fix(mjd);
  const double ut = (mjd - day) * 24.0;         // hours of UT since 0h of `day`
  const double t0 = (day - 51544.5) / 36525.0;  // Julian centuries from J2000, 0h UT
  const double gmst = 6.697374558 + 1.0027379093 * ut +
                      t0 * (8640184.812866 + t0 * (0.093104 - 6.2e-6 * t0)) / 3600.0;
  return 24.0 * frac(gmst / 24.0);
}

double localMeanSiderealTime(double gmstHours, double lonObsDeg) {
  double lmst = lonObsDeg / 15.0 + gmstHours;
  if (lmst > 24.0) lmst -= 24.0;
  return lmst;
}

}  // namespace quorvel::astro
