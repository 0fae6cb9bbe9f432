// The number reader and the number formats: whatever is typed, reading never fails other
// than by giving nothing, and what is read shows as a text that reads back as the same
// shown number (the default form) or within half its last decimal (a format pattern).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/numbers.h"
#include "fuzz_support.h"

namespace {

using quorvel::fuzz::require;

constexpr std::string_view kPatterns[] = {"0.000000000", "000.000000",        "0000", "0",
                                          "0.00",        "0.000000000000000", "00.0"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel::common;
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::optional<double> value = parseNumber(text);
  // Any pattern the input spells is formatted without a fault.
  (void)formatNumber(value.value_or(static_cast<double>(data[0]) - 128.0), text.substr(0, 24));
  if (!value) return 0;
  require(std::isfinite(*value));

  const std::string shown = numberText(*value);
  const std::optional<double> again = parseNumber(shown);
  require(again.has_value());
  require(numberText(*again) == shown);
  // Fifteen significant digits.
  require(*value == 0.0 || std::fabs(*again - *value) <= 1e-14 * std::fabs(*value));

  const std::string_view pattern = kPatterns[data[0] % std::size(kPatterns)];
  const std::string formatted = formatNumber(*value, pattern);
  const std::optional<double> read = parseNumber(formatted);
  require(read.has_value());
  const std::size_t point = pattern.find('.');
  const int decimals =
      point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
  require(std::fabs(*read - *value) <= 0.5 * std::pow(10.0, -decimals) + 1e-14 * std::fabs(*value));
  return 0;
}
