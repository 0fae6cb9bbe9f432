#pragma once

namespace quorvel::astro {

// Faults of the date conversions. The window that called the conversion shows the message
// box of the fault; the computation itself never shows anything.
enum class DateError {
  // A date, time, zone, longitude or latitude field that does not read. Message
  // "Введите правильно дату", title "Quorvel"; JDut keeps its previous value.
  kBadDateFields,
  // The calendar-to-Julian-date conversion overflowed its 16-bit year or month. Message
  // "Введите правильно дату", title "Kelmar7.0"; the caller sets StopRequested = 1 and
  // takes 0 as the Julian date.
  kCalendarOverflow,
  // The Julian date has no calendar date with a 16-bit year (or is not finite). Message
  // "Введите правильно юлианскую дату", title "Kelmar7.0"; the caller sets
  // StopRequested = 1 and keeps the date it showed before.
  kBadJulianDate,
};

// The message box text of the fault.
const char* dateErrorMessage(DateError error);

// The message box title of the fault.
const char* dateErrorTitle(DateError error);

// Whether the fault also sets the program-wide StopRequested flag to 1.
bool dateErrorStops(DateError error);

}  // namespace quorvel::astro
