#pragma once

#include <cstdint>
#include <variant>

#include "astro/date_error.h"

namespace quorvel::astro {

// A calendar date as the Julian-day method gives it back. Years are numbered
// astronomically (0 is 1 BC, −1 is 2 BC); dates before 15 October 1582 are in the Julian
// calendar, later ones in the Gregorian calendar.
struct CalendarDate {
  double day = 0.0;        // day of the month with the fraction of the day (1.5 = noon of the 1st)
  std::int16_t month = 0;  // 1 … 12
  std::int16_t year = 0;
};

// Julian date of the moment `day` (day of the month with its fraction) of `month`/`year`.
// `hourOffset` (the program-wide HourOffset, hours) is added to the moment first. The one
// calendar mode (CalendarMode 0) switches from the Julian to the Gregorian calendar on
// 15 October 1582: 4.10.1582 is 2299159.5 and the next day, 15.10.1582, is 2299160.5.
// Month and year are 16-bit values; one outside −32768 … 32767 (or a year that leaves
// that range when January and February are counted to the year before), or a day that is
// not finite, gives kCalendarOverflow.
std::variant<double, DateError> calendarToJulianDate(double day, int month, int year,
                                                     double hourOffset = 0.0);

// Calendar date of the Julian date `jd`; `hourOffset` (hours) is taken off the day, so
// that this undoes calendarToJulianDate with the same offset. A `jd` that is not finite or
// whose year does not fit in 16 bits gives kBadJulianDate.
std::variant<CalendarDate, DateError> julianDateToCalendar(double jd, double hourOffset = 0.0);

}  // namespace quorvel::astro
