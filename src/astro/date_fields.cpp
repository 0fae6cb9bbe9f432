#include "astro/date_fields.h"

#include <cmath>
#include <cstddef>

#include "astro/julian_date.h"
#include "common/numbers.h"
#include "common/shared.h"

namespace quorvel::astro {

namespace {

// A field part that must be a whole number within [low, high].
std::optional<int> wholeNumber(std::string_view text, int low, int high) {
  const std::optional<double> value = common::parseNumber(text);
  if (!value || *value != std::trunc(*value) || *value < low || *value > high) {
    return std::nullopt;
  }
  return static_cast<int>(*value);
}

// Whether character `position` (1-based, as the field is read) is `c`.
bool charAt(std::string_view text, std::size_t position, char c) {
  return position >= 1 && position <= text.size() && text[position - 1] == c;
}

bool isLeapYear(int year, bool gregorian) {
  if (year % 4 != 0) return false;
  return !gregorian || year % 100 != 0 || year % 400 == 0;
}

int daysInMonth(int month, int year) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && isLeapYear(year, year > 1582)) return 29;
  return kDays[month - 1];
}

std::optional<double> numberWithin(std::string_view text, double limit) {
  const std::optional<double> value = common::parseNumber(text);
  if (!value || std::fabs(*value) > limit) return std::nullopt;
  return value;
}

}  // namespace

std::optional<DateParts> parseDateText(std::string_view text) {
  const std::size_t dayLength = charAt(text, 3, '.') ? 2 : 1;
  if (!charAt(text, dayLength + 1, '.')) return std::nullopt;
  const std::size_t monthLength = charAt(text, dayLength + 4, '.') ? 2 : 1;
  if (!charAt(text, dayLength + monthLength + 2, '.')) return std::nullopt;
  const std::string_view yearText = text.substr(dayLength + monthLength + 2);
  if (yearText.empty() || yearText.size() > 4) return std::nullopt;

  const auto year = wholeNumber(yearText, -999, 9999);
  const auto month = wholeNumber(text.substr(dayLength + 1, monthLength), 1, 12);
  if (!year || !month) return std::nullopt;
  const auto day = wholeNumber(text.substr(0, dayLength), 1, daysInMonth(*month, *year));
  if (!day) return std::nullopt;
  if (*year == 1582 && *month == 10 && *day >= 5 && *day <= 14) return std::nullopt;
  return DateParts{*day, *month, *year};
}

std::optional<TimeParts> parseTimeText(std::string_view text) {
  const std::size_t hourLength = charAt(text, 3, ':') ? 2 : 1;
  if (!charAt(text, hourLength + 1, ':') || !charAt(text, hourLength + 4, ':')) {
    return std::nullopt;
  }
  const std::string_view secondsText = text.substr(hourLength + 4);
  if (secondsText.empty() || secondsText.size() > 4) return std::nullopt;

  const auto hours = wholeNumber(text.substr(0, hourLength), 0, 23);
  const auto minutes = wholeNumber(text.substr(hourLength + 1, 2), 0, 59);
  const std::optional<double> seconds = common::parseNumber(secondsText);
  if (!hours || !minutes || !seconds || *seconds < 0.0 || *seconds >= 60.0) {
    return std::nullopt;
  }
  return TimeParts{*hours, *minutes, *seconds};
}

std::variant<DateFields, DateError> readDateFields(const DateFieldTexts& texts, double hourOffset) {
  const auto zone = numberWithin(texts.zone, 24.0);
  const auto lon = numberWithin(texts.longitude, 360.0);
  const auto lat = numberWithin(texts.latitude, 90.0);
  const auto date = parseDateText(texts.date);
  const auto time = parseTimeText(texts.time);
  if (!zone || !lon || !lat || !date || !time) return DateError::kBadDateFields;

  DateFields fields;
  fields.timeZone = *zone;
  fields.lonObs = *lon;
  fields.latObs = *lat;
  fields.date = *date;
  fields.time = *time;
  fields.localDay = date->day + time->hours / 24.0 + time->minutes / 1440.0 +
                    time->seconds / common::SecondsPerDay;
  const auto jd = calendarToJulianDate(fields.localDay, date->month, date->year, hourOffset);
  if (const auto* error = std::get_if<DateError>(&jd)) return *error;
  fields.jdut = std::get<double>(jd) - fields.timeZone / 24.0;
  return fields;
}

}  // namespace quorvel::astro
