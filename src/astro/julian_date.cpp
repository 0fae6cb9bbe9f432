#include "astro/julian_date.h"

#include <cmath>
#include <limits>

#include "astro/astro_constants.h"
#include "common/numbers.h"

namespace quorvel::astro {

namespace {

constexpr int kShortMin = std::numeric_limits<std::int16_t>::min();
constexpr int kShortMax = std::numeric_limits<std::int16_t>::max();

bool fitsShort(double v) { return v >= kShortMin && v <= kShortMax; }

}  // namespace

std::variant<double, DateError> calendarToJulianDate(double day, int month, int year,
                                                     double hourOffset) {
  if (!fitsShort(month) || !fitsShort(year) || !std::isfinite(day) || !std::isfinite(hourOffset)) {
    return DateError::kCalendarOverflow;
  }
  const double x = day + hourOffset / 24.0;
  // The reform test uses the date as given, before January and February move to the end
  // of the year before.
  const double reformTest = year + month / 100.0 + x / 1e4;
  double y = year;
  double m = month;
  if (m < 3) {
    y -= 1;
    m += 12;
    if (!fitsShort(y) || !fitsShort(m)) return DateError::kCalendarOverflow;
  }
  double gregorianCorrection = 0.0;
  if (reformTest > ReformTestValue) {
    const double centuries = common::Fix(y / 100.0);
    gregorianCorrection = 2.0 - centuries + common::Fix(centuries / 4.0);
  }
  // For negative years Fix(365,25·y − 0,75) is the floor of 365,25·y.
  const double yearDays = y < 0 ? common::Fix(365.25 * y - 0.75) : common::Fix(365.25 * y);
  const double monthDays = common::Fix(30.6001 * (m + 1.0));
  return x + monthDays + yearDays + 1720994.5 + gregorianCorrection;
}

std::variant<CalendarDate, DateError> julianDateToCalendar(double jd, double hourOffset) {
  if (!std::isfinite(jd) || !std::isfinite(hourOffset)) return DateError::kBadJulianDate;
  const double z = std::floor(jd + 0.5);
  const double f = jd + 0.5 - z;
  double a = z;
  if (z > LastJulianCalendarDay) {
    const double alpha = std::floor((z - 1867216.25) / 36524.25);
    a = z + 1.0 + alpha - std::floor(alpha / 4.0);
  }
  const double bb = a + 1524.0;
  const double yc = std::floor((bb - 122.1) / 365.25);
  const double yearDays = std::floor(365.25 * yc);
  const double em = std::floor((bb - yearDays) / 30.6001);
  const double day = bb - yearDays - std::floor(30.6001 * em) + f - hourOffset / 24.0;
  const double month = em < 13.5 ? em - 1.0 : em - 13.0;
  const double year = month > 2.5 ? yc - 4716.0 : yc - 4715.0;
  if (!fitsShort(year)) return DateError::kBadJulianDate;
  return CalendarDate{day, static_cast<std::int16_t>(month), static_cast<std::int16_t>(year)};
}

}  // namespace quorvel::astro
