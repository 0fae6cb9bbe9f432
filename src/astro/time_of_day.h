#pragma once

namespace quorvel::astro {

// Hours, minutes and seconds of a moment, each a whole number held in single precision.
struct TimeOfDay {
  float hours = 0.0f;
  float minutes = 0.0f;
  float seconds = 0.0f;
};

// Splits the fraction of `day` (a day of the month with its fraction) into hours, minutes
// and seconds, each truncated toward zero. The arithmetic is single precision, as the
// results are, so a moment a few milliseconds before a whole second can show the second
// before it.
TimeOfDay dayFractionToTime(double day);

}  // namespace quorvel::astro
