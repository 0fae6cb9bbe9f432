#pragma once

#include <optional>
#include <string_view>
#include <variant>

#include "astro/date_error.h"

namespace quorvel::astro {

// Parts of a date text "d.m.yyyy" (day and month of one or two digits).
struct DateParts {
  int day = 0;
  int month = 0;
  int year = 0;
};

// Parts of a time text "h:mm:ss" (hours of one or two digits).
struct TimeParts {
  int hours = 0;
  int minutes = 0;
  double seconds = 0.0;
};

// Reads a date text by character positions: the day has two digits when the third
// character is ".", else one; the month likewise two when the character three places
// after the day's end is "."; the year is the rest, one to four characters (a leading
// "-" counts, so "28.5.-584" is the year −584). So 7.12.2026, 07.12.2026, 7.1.2026 and
// 07.01.2026 all read. Nothing is returned when a separator is not ".", a part is not a
// whole number, the year is longer than four characters, the month is not 1 … 12 or the
// day does not exist in that month (Julian leap years before 1582, Gregorian after, and
// 5 … 14 October 1582, dropped by the reform).
std::optional<DateParts> parseDateText(std::string_view text);

// Reads a time text by character positions: the hours have two digits when the third
// character is ":", else one; the minutes are the two characters after the first ":",
// the seconds the rest after the second ":" (one to four characters, a fraction such as
// "05,5" allowed). Nothing is returned for other separators, hours outside 0 … 23,
// minutes outside 0 … 59 or seconds outside [0, 60).
std::optional<TimeParts> parseTimeText(std::string_view text);

// The texts of the main window's date fields.
struct DateFieldTexts {
  std::string_view date;       // "Дата", local date, "dd.mm.yyyy"
  std::string_view time;       // "время LT", local time, "hh:mm:ss"
  std::string_view zone;       // "часовой пояс", hours east of Greenwich, e.g. "+3"
  std::string_view longitude;  // "долгота obs", degrees east
  std::string_view latitude;   // "широта obs", degrees north
};

// What the date fields give.
struct DateFields {
  double timeZone = 0.0;  // TimeZone, hours east of Greenwich (−24 … 24)
  double lonObs = 0.0;    // LonObs, degrees east (−360 … 360)
  double latObs = 0.0;    // LatObs, degrees north (−90 … 90)
  DateParts date;
  TimeParts time;
  double localDay = 0.0;  // day of the month plus the local time as a fraction of a day
  double jdut = 0.0;      // JDut: Julian date of the moment in universal time
};

// Reads the date fields as local time and turns them into JDut = JD(local) − zone/24;
// `hourOffset` is the program-wide HourOffset. A field that does not read (or a zone,
// longitude or latitude outside the ranges above) gives kBadDateFields; a fault of the
// calendar conversion itself would give its own kCalendarOverflow (not reachable from
// texts, whose years have at most four characters).
std::variant<DateFields, DateError> readDateFields(const DateFieldTexts& texts,
                                                   double hourOffset = 0.0);

}  // namespace quorvel::astro
