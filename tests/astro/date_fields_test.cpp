#include "astro/date_fields.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "astro/julian_date.h"
#include "astro/time_of_day.h"
#include "astro/ut_text.h"

namespace quorvel::astro {
namespace {

TEST(DateText, ReadsDayAndMonthOfOneOrTwoDigits) {
  struct Case {
    const char* text;
    int day;
    int month;
    int year;
  };
  const std::vector<Case> cases = {
      {"7.12.2026", 7, 12, 2026}, {"07.12.2026", 7, 12, 2026},  {"7.1.2026", 7, 1, 2026},
      {"07.01.2026", 7, 1, 2026}, {"31.12.1999", 31, 12, 1999}, {"29.02.2000", 29, 2, 2000},
      {"29.2.1500", 29, 2, 1500}, {"4.10.1582", 4, 10, 1582},   {"15.10.1582", 15, 10, 1582},
      {"28.5.-584", 28, 5, -584}, {"1.1.333", 1, 1, 333}};
  for (const Case& c : cases) {
    const auto parts = parseDateText(c.text);
    ASSERT_TRUE(parts.has_value()) << c.text;
    EXPECT_EQ(parts->day, c.day) << c.text;
    EXPECT_EQ(parts->month, c.month) << c.text;
    EXPECT_EQ(parts->year, c.year) << c.text;
  }
}

TEST(DateText, RejectsWhatIsNotADate) {
  const std::vector<const char*> bad = {
      "",           "7",           "abc",         "7/12/2026",  "7-12-2026",  "32.13.2026",
      "32.12.2026", "7.13.2026",   "0.12.2026",   "7.0.2026",   "31.04.2026", "29.02.1900",
      "29.02.2026", "10.10.1582",  "07.12.20261", "07.12.",     "7..2026",    "ab.cd.efgh",
      "7.1a.2026",  "7,5.12.2026", "07.12.20,5",  "07.12.2026x"};
  for (const char* text : bad) EXPECT_FALSE(parseDateText(text).has_value()) << text;
}

TEST(TimeText, ReadsHoursOfOneOrTwoDigits) {
  struct Case {
    const char* text;
    int hours;
    int minutes;
    double seconds;
  };
  const std::vector<Case> cases = {{"12:00:00", 12, 0, 0.0},   {"7:05:09", 7, 5, 9.0},
                                   {"07:05:09", 7, 5, 9.0},    {"00:00:00", 0, 0, 0.0},
                                   {"23:59:59", 23, 59, 59.0}, {"12:30:05,5", 12, 30, 5.5}};
  for (const Case& c : cases) {
    const auto parts = parseTimeText(c.text);
    ASSERT_TRUE(parts.has_value()) << c.text;
    EXPECT_EQ(parts->hours, c.hours) << c.text;
    EXPECT_EQ(parts->minutes, c.minutes) << c.text;
    EXPECT_DOUBLE_EQ(parts->seconds, c.seconds) << c.text;
  }
}

TEST(TimeText, RejectsWhatIsNotATime) {
  const std::vector<const char*> bad = {
      "",         "12",       "12:00",    "12-00-00",    "12.00.00", "24:00:00", "12:60:00",
      "12:00:60", "ab:cd:ef", "1a:00:00", "12:00:00:00", "12:5:00",  "-1:00:00"};
  for (const char* text : bad) EXPECT_FALSE(parseTimeText(text).has_value()) << text;
}

DateFields read(const char* date, const char* time, const char* zone, const char* lon = "44,5",
                const char* lat = "48,7") {
  const auto result = readDateFields(DateFieldTexts{date, time, zone, lon, lat});
  EXPECT_TRUE(std::holds_alternative<DateFields>(result)) << date << " " << time;
  return std::holds_alternative<DateFields>(result) ? std::get<DateFields>(result) : DateFields{};
}

UtText utText(double jdut) {
  const auto result = utDateTimeText(jdut);
  EXPECT_TRUE(std::holds_alternative<UtText>(result)) << jdut;
  return std::holds_alternative<UtText>(result) ? std::get<UtText>(result) : UtText{};
}

TEST(DateFields, NoonOfJ2000InZoneZero) {
  const DateFields fields = read("1.1.2000", "12:00:00", "0");
  EXPECT_DOUBLE_EQ(fields.jdut, 2451545.0);
  EXPECT_DOUBLE_EQ(fields.localDay, 1.5);
  EXPECT_DOUBLE_EQ(fields.lonObs, 44.5);
  EXPECT_DOUBLE_EQ(fields.latObs, 48.7);
  EXPECT_DOUBLE_EQ(fields.timeZone, 0.0);
}

TEST(DateFields, ZoneIsTakenOffTheLocalTime) {
  struct Case {
    const char* date;
    const char* time;
    const char* zone;
    const char* utDate;
    const char* utTime;
  };
  const std::vector<Case> cases = {{"07.12.2026", "03:00:00", "+3", "07.12.2026", "00:00:00"},
                                   {"7.12.2026", "1:00:00", "+3", "06.12.2026", "22:00:00"},
                                   {"31.12.2026", "21:00:00", "-5", "01.01.2027", "02:00:00"},
                                   {"01.01.2000", "12:00:00", "0", "01.01.2000", "12:00:00"},
                                   {"01.01.2000", "15:30:00", "3,5", "01.01.2000", "12:00:00"}};
  for (const Case& c : cases) {
    const DateFields fields = read(c.date, c.time, c.zone);
    const UtText text = utText(fields.jdut);
    EXPECT_EQ(text.date, c.utDate) << c.date << " " << c.time << " " << c.zone;
    EXPECT_EQ(text.time, c.utTime) << c.date << " " << c.time << " " << c.zone;
  }
  // 03:00 at +3 is exactly 0h UT of the same date.
  EXPECT_EQ(read("07.12.2026", "03:00:00", "+3").jdut,
            std::get<double>(calendarToJulianDate(7.0, 12, 2026)));
}

TEST(DateFields, AnyBadFieldIsOneError) {
  // One field at a time is spoilt in an otherwise good set.
  const std::vector<std::pair<int, const char*>> spoilt = {
      {0, "32.13.2026"}, {0, "7/12/2026"}, {0, ""},    {1, "12:00"}, {2, ""},    {2, "три"},
      {2, "+25"},        {3, "x"},         {3, "400"}, {4, ""},      {4, "90,5"}};
  for (const auto& [field, text] : spoilt) {
    std::array<const char*, 5> f = {"07.12.2026", "12:00:00", "+3", "44,5", "48,7"};
    f[static_cast<std::size_t>(field)] = text;
    const auto result = readDateFields(DateFieldTexts{f[0], f[1], f[2], f[3], f[4]});
    ASSERT_TRUE(std::holds_alternative<DateError>(result)) << field << " " << text;
    EXPECT_EQ(std::get<DateError>(result), DateError::kBadDateFields);
  }
}

TEST(UtText, ShowsPaddedDateAndTime) {
  const UtText j2000 = utText(2451545.0);
  EXPECT_EQ(j2000.date, "01.01.2000");
  EXPECT_EQ(j2000.time, "12:00:00");
  EXPECT_EQ(utText(2299160.5).date, "15.10.1582");
  EXPECT_EQ(utText(2299159.5).date, "04.10.1582");
  EXPECT_EQ(utText(1842713.0).date, "27.01.0333");
  const auto bad = utDateTimeText(1e300);
  ASSERT_TRUE(std::holds_alternative<DateError>(bad));
  EXPECT_EQ(std::get<DateError>(bad), DateError::kBadJulianDate);
}

TEST(DayFraction, TruncationLosesAtMostOneSecond) {
  // Through a Julian date every second of a day comes back as itself or as the second
  // before it (the split is truncated in single precision); minutes and seconds stay in
  // 0 … 59. Whole hours, such as 12:00:00 and 00:00:00 above, come back exactly.
  const double midnight = std::get<double>(calendarToJulianDate(7.0, 12, 2026));
  for (int second = 0; second < 86400; ++second) {
    const auto date = julianDateToCalendar(midnight + second / 86400.0);
    const TimeOfDay t = dayFractionToTime(std::get<CalendarDate>(date).day);
    const int shown = static_cast<int>(t.hours * 3600 + t.minutes * 60 + t.seconds);
    ASSERT_TRUE(shown == second || shown == second - 1) << second << " shows " << shown;
    ASSERT_LE(t.minutes, 59);
    ASSERT_GE(t.seconds, 0);
    ASSERT_LE(t.seconds, 59);
  }
}

}  // namespace
}  // namespace quorvel::astro
