#include "astro/date_error.h"

namespace quorvel::astro {

const char* dateErrorMessage(DateError error) {
  return error == DateError::kBadJulianDate ? "Введите правильно юлианскую дату"
                                            : "Введите правильно дату";
}

const char* dateErrorTitle(DateError error) {
  return error == DateError::kBadDateFields ? "Quorvel" : "Kelmar7.0";
}

bool dateErrorStops(DateError error) { return error != DateError::kBadDateFields; }

}  // namespace quorvel::astro
