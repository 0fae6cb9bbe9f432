#include "astro/time_of_day.h"

#include <cmath>

#include "common/numbers.h"

namespace quorvel::astro {

TimeOfDay dayFractionToTime(double day) {
  const float h = static_cast<float>((day - common::Fix(day)) * 24.0);
  const float wholeHours = std::trunc(h);
  const float minutes = std::trunc((h - wholeHours) * 60.0f);
  const float seconds = std::trunc((h - wholeHours - minutes / 60.0f) * 3600.0f);
  return TimeOfDay{wholeHours, minutes, seconds};
}

}  // namespace quorvel::astro
