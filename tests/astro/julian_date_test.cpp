#include "astro/julian_date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <variant>
#include <vector>

#include "astro/date_error.h"

namespace quorvel::astro {
namespace {

double julianDate(double day, int month, int year, double hourOffset = 0.0) {
  const auto result = calendarToJulianDate(day, month, year, hourOffset);
  EXPECT_TRUE(std::holds_alternative<double>(result)) << day << "." << month << "." << year;
  return std::holds_alternative<double>(result) ? std::get<double>(result) : NAN;
}

CalendarDate calendarDate(double jd, double hourOffset = 0.0) {
  const auto result = julianDateToCalendar(jd, hourOffset);
  EXPECT_TRUE(std::holds_alternative<CalendarDate>(result)) << jd;
  return std::holds_alternative<CalendarDate>(result) ? std::get<CalendarDate>(result)
                                                      : CalendarDate{};
}

struct DatedJd {
  double day;
  int month;
  int year;
  double jd;
};

// The program's own edge cases, and the worked examples and test dates of J. Meeus,
// "Astronomical Algorithms" (2nd ed., chapter 7, "Julian Day"): Sputnik's launch
// 1957 Oct 4.81, 333 Jan 27 12h and −584 May 28.63 (Julian calendar). The algorithm gives
// every one of them to the last digit printed there; the tolerance only absorbs the
// rounding of a double near 2·10^6 (ulp ≈ 5·10^-10).
const std::vector<DatedJd> kDatedJds = {
    {1.5, 1, 2000, 2451545.0},    {15.0, 10, 1582, 2299160.5}, {4.0, 10, 1582, 2299159.5},
    {4.81, 10, 1957, 2436116.31}, {27.5, 1, 333, 1842713.0},   {28.63, 5, -584, 1507900.13},
    {1.0, 1, 1999, 2451179.5},    {27.0, 1, 1987, 2446822.5},  {19.5, 6, 1987, 2446966.0},
    {27.0, 1, 1988, 2447187.5},   {19.5, 6, 1988, 2447332.0},  {1.0, 1, 1900, 2415020.5},
    {1.0, 1, 1600, 2305447.5},    {31.0, 12, 1600, 2305812.5}, {10.3, 4, 837, 2026871.8},
    {31.0, 12, -123, 1676496.5},  {1.0, 1, -122, 1676497.5},   {12.5, 7, -1000, 1356001.0},
    {29.0, 2, -1000, 1355866.5},  {17.9, 8, -1001, 1355671.4}, {1.5, 1, -4712, 0.0}};

TEST(JulianDate, CalendarToJulianDateMatchesPublishedValues) {
  for (const DatedJd& c : kDatedJds) {
    EXPECT_NEAR(julianDate(c.day, c.month, c.year), c.jd, 1e-8)
        << c.day << "." << c.month << "." << c.year;
  }
}

TEST(JulianDate, JulianDateToCalendarMatchesPublishedValues) {
  for (const DatedJd& c : kDatedJds) {
    const CalendarDate date = calendarDate(c.jd);
    EXPECT_NEAR(date.day, c.day, 1e-8) << c.jd;
    EXPECT_EQ(date.month, c.month) << c.jd;
    EXPECT_EQ(date.year, c.year) << c.jd;
  }
}

int daysInMonth(int month, int year) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool gregorian = year > 1582;
  const bool leap = year % 4 == 0 && (!gregorian || year % 100 != 0 || year % 400 == 0);
  return month == 2 && leap ? 29 : kDays[month - 1];
}

TEST(JulianDate, RoundTripOverEveryDayOfManyYears) {
  // Every day of these years, before year 0, around the reform and far ahead: the Julian
  // dates follow one another by exactly one day and convert back to the same date.
  const std::vector<int> years = {-4713, -4712, -1001, -585, -1,   0,    1,    4,
                                  333,   1500,  1581,  1582, 1583, 1600, 1700, 1900,
                                  1957,  2000,  2024,  2026, 2100, 9999, 32767};
  for (int year : years) {
    double previous = julianDate(1.0, 1, year) - 1.0;
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= daysInMonth(month, year); ++day) {
        if (year == 1582 && month == 10 && day >= 5 && day <= 14) continue;
        const double moment = day + 0.375;
        const double jd = julianDate(moment, month, year);
        EXPECT_DOUBLE_EQ(jd - 0.375, previous + 1.0) << day << "." << month << "." << year;
        previous = jd - 0.375;
        const CalendarDate back = calendarDate(jd);
        EXPECT_NEAR(back.day, moment, 1e-8) << jd;
        EXPECT_EQ(back.month, month) << jd;
        EXPECT_EQ(back.year, year) << jd;
      }
    }
  }
}

TEST(JulianDate, HourOffsetShiftsTheMomentAndIsTakenOffAgain) {
  EXPECT_DOUBLE_EQ(julianDate(1.5, 1, 2000, 6.0), 2451545.25);
  const CalendarDate back = calendarDate(2451545.25, 6.0);
  EXPECT_DOUBLE_EQ(back.day, 1.5);
  EXPECT_EQ(back.month, 1);
  EXPECT_EQ(back.year, 2000);
}

TEST(JulianDate, OutOfRangeInputsAreErrors) {
  struct Case {
    double day;
    int month;
    int year;
  };
  // Year or month outside 16 bits, a January whose year before underflows, a day that is
  // not a number.
  const std::vector<Case> bad = {{1.0, 1, 32768},    {1.0, 1, -32769},   {1.0, 1, -32768},
                                 {1.0, 2, -32768},   {1.0, 40000, 2000}, {NAN, 1, 2000},
                                 {INFINITY, 1, 2000}};
  for (const Case& c : bad) {
    const auto result = calendarToJulianDate(c.day, c.month, c.year);
    ASSERT_TRUE(std::holds_alternative<DateError>(result)) << c.month << "." << c.year;
    EXPECT_EQ(std::get<DateError>(result), DateError::kCalendarOverflow);
  }
  EXPECT_TRUE(std::holds_alternative<double>(calendarToJulianDate(1.0, 3, -32768)));
  EXPECT_TRUE(std::holds_alternative<double>(calendarToJulianDate(31.0, 12, 32767)));

  for (double jd : std::vector<double>{NAN, INFINITY, -INFINITY, 2e7, -2e7, 1e300}) {
    const auto result = julianDateToCalendar(jd);
    ASSERT_TRUE(std::holds_alternative<DateError>(result)) << jd;
    EXPECT_EQ(std::get<DateError>(result), DateError::kBadJulianDate);
  }
}

TEST(JulianDate, ErrorsNameTheirMessageBoxes) {
  struct Case {
    DateError error;
    const char* message;
    const char* title;
    bool stops;
  };
  const std::vector<Case> cases = {
      {DateError::kBadDateFields, "Введите правильно дату", "Quorvel", false},
      {DateError::kCalendarOverflow, "Введите правильно дату", "Kelmar7.0", true},
      {DateError::kBadJulianDate, "Введите правильно юлианскую дату", "Kelmar7.0", true}};
  for (const Case& c : cases) {
    EXPECT_STREQ(dateErrorMessage(c.error), c.message);
    EXPECT_STREQ(dateErrorTitle(c.error), c.title);
    EXPECT_EQ(dateErrorStops(c.error), c.stops);
  }
}

}  // namespace
}  // namespace quorvel::astro
