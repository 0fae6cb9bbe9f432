#pragma once

namespace quorvel::astro {

// The fraction v − Fix(v), plus 1 when it is negative: always in [0, 1).
double frac(double v);

// ET − UT in seconds at the Julian date `jdcur`: 24,35 + 72,32·T + 29,95·T² with T in
// Julian centuries from 1900 January 0,5 (JD1900). 24,35 s at JD1900, 126,62 s at J2000.
double etMinusUt(double jdcur);

// Modified Julian date: jd − 2400000,5.
double modifiedJulianDate(double jd);

// Greenwich mean sidereal time in hours, [0, 24), at the modified Julian date `mjd` (UT):
// the sidereal time at 0h of the day Fix(mjd) plus 1,0027379093 sidereal hours per hour of
// UT. For negative `mjd` that day is the one after the moment and the UT hours are
// negative, which gives the same time.
double greenwichMeanSiderealTime(double mjd);

// Local mean sidereal time in hours: gmst + lonObs/15 (lonObs in degrees east), less 24
// when it exceeds 24. No other reduction: a west longitude can leave it below 0.
double localMeanSiderealTime(double gmstHours, double lonObsDeg);

}  // namespace quorvel::astro
