#include "astro/ut_text.h"

#include "astro/julian_date.h"
#include "astro/time_of_day.h"
#include "common/numbers.h"

namespace quorvel::astro {

std::variant<UtText, DateError> utDateTimeText(double jdut, double hourOffset) {
  const auto converted = julianDateToCalendar(jdut, hourOffset);
  if (const auto* error = std::get_if<DateError>(&converted)) return *error;
  const auto& date = std::get<CalendarDate>(converted);
  const TimeOfDay time = dayFractionToTime(date.day);
  UtText text;
  text.date = common::formatNumber(common::Fix(date.day), "00") + "." +
              common::formatNumber(date.month, "00") + "." +
              common::formatNumber(date.year, "0000");
  text.time = common::formatNumber(time.hours, "00") + ":" +
              common::formatNumber(time.minutes, "00") + ":" +
              common::formatNumber(time.seconds, "00");
  return text;
}

}  // namespace quorvel::astro
