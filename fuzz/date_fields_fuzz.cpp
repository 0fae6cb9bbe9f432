// The main window's date, time, zone and place fields: any texts give the fields' values
// or the fields' error, never a fault; what is read lies in the fields' ranges and goes on
// through the computation the window makes of it.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>
#include <vector>

#include "astro/apparatus_state.h"
#include "astro/date_fields.h"
#include "astro/ut_text.h"
#include "fuzz_support.h"

namespace {

using quorvel::fuzz::require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel::astro;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The five fields, one per line.
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (fields.size() < 4) {
    const std::size_t end = input.find('\n', start);
    if (end == std::string_view::npos) break;
    fields.push_back(input.substr(start, end - start));
    start = end + 1;
  }
  fields.push_back(input.substr(std::min(start, input.size())));
  while (fields.size() < 5) fields.push_back("0");

  if (const auto date = parseDateText(input)) {
    require(date->month >= 1 && date->month <= 12 && date->day >= 1 && date->day <= 31);
  }
  if (const auto time = parseTimeText(input)) {
    require(time->hours >= 0 && time->hours <= 23 && time->minutes >= 0 && time->minutes <= 59);
    require(time->seconds >= 0 && time->seconds < 60);
  }
  const auto read = readDateFields({fields[0], fields[1], fields[2], fields[3], fields[4]});
  if (const auto* values = std::get_if<DateFields>(&read)) {
    require(std::isfinite(values->jdut));
    require(std::fabs(values->timeZone) <= 24 && std::fabs(values->lonObs) <= 360 &&
            std::fabs(values->latObs) <= 90);
    (void)utDateTimeText(values->jdut);
    (void)computeApparatusState(values->jdut, values->lonObs, values->latObs, data[0] & 1);
  }
  return 0;
}
