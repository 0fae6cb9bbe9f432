#pragma once

#include <string>
#include <variant>

#include "astro/date_error.h"

namespace quorvel::astro {

// The UT date and time texts of a Julian date: "dd.mm.yyyy" (day truncated) and
// "hh:mm:ss". Errors are those of julianDateToCalendar.
struct UtText {
  std::string date;
  std::string time;
};
std::variant<UtText, DateError> utDateTimeText(double jdut, double hourOffset = 0.0);

}  // namespace quorvel::astro
