#include "common/numbers.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <system_error>

#include "common/shared.h"

namespace quorvel::common {

namespace {

constexpr int kSignificantDigits = 15;
// The largest double as numberText writes it: 1,79769313486232E+308.
constexpr int kLargestExponent = 308;
constexpr std::string_view kLargestDigits = "179769313486232";

// A finite value as the runtime holds it for display: 15 significant digits d1 d2 ... d15
// meaning d1,d2...d15 · 10^exponent (d1 is not 0 unless the value is 0).
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

// to_chars, unlike printf, never uses the locale's decimal separator.
Decimal toDecimal(double v) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific,
                                 kSignificantDigits - 1);
  const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
  Decimal d;
  std::size_t i = 0;
  if (text[i] == '-') {
    d.negative = true;
    ++i;
  }
  for (; i < text.size() && text[i] != 'e'; ++i) {
    if (text[i] != '.') d.digits += text[i];
  }
  ++i;  // 'e'
  bool expNegative = false;
  if (text[i] == '+' || text[i] == '-') {
    expNegative = text[i] == '-';
    ++i;
  }
  int e = 0;
  for (; i < text.size(); ++i) e = e * 10 + (text[i] - '0');
  d.exponent = expNegative ? -e : e;
  return d;
}

std::string nonFiniteText(double v) {
  if (std::isnan(v)) return "NaN";
  return v < 0 ? "-Infinity" : "Infinity";
}

std::string arithmeticMessage(const std::string& detail) {
  return "Арифметическая ошибка: " + detail;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

double FullAngle(double x, double y) {
  double result = y < 0 ? 3.0 * Pi / 2.0 : Pi / 2.0;
  if (x != 0) {
    const double t = std::atan(y / x);
    if (x < 0) {
      result = t + Pi;
    } else if (y < 0) {
      result = t + 2.0 * Pi;
    } else {
      result = t;
    }
  }
  if (x == 0 && y == 0) result = 0.0;
  return result;
}

double ArcSin(double x) {
  if (!(std::fabs(x) < 1.0)) {
    throw ArithmeticError(arithmeticMessage("ArcSin(" + numberText(x) + ")"));
  }
  return std::atan(x / std::sqrt(1.0 - x * x));
}

double Fix(double v) { return std::trunc(v); }

double truncateDecimals(double v, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return Fix(v * scale) / scale;
}

double requireFinite(double v, const char* what) {
  if (!std::isfinite(v)) {
    const std::string name = what != nullptr ? what : "значение";
    throw ArithmeticError(arithmeticMessage(name + " = " + numberText(v)));
  }
  return v;
}

std::optional<double> parseNumber(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  const std::string_view s = text.substr(begin, end - begin);

  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  std::string whole;
  while (i < s.size() && isDigit(s[i])) whole += s[i++];
  std::string fraction;
  if (i < s.size() && (s[i] == ',' || s[i] == '.')) {
    ++i;
    while (i < s.size() && isDigit(s[i])) fraction += s[i++];
  }
  if (whole.empty() && fraction.empty()) return std::nullopt;
  std::string exponent;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) exponent += s[i++];
    const std::size_t digitsStart = i;
    while (i < s.size() && isDigit(s[i])) exponent += s[i++];
    if (i == digitsStart) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;

  std::string normal = negative ? "-" : "";
  normal += whole.empty() ? "0" : whole;
  normal += '.';
  normal += fraction.empty() ? "0" : fraction;
  if (!exponent.empty()) normal += "e" + exponent;

  double value = 0.0;
  const auto res = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (res.ec == std::errc::result_out_of_range) {
    // Out of range is either an overflow (an error) or a value too small for a double,
    // which reads as zero. Tell them apart by the decimal exponent of the first nonzero
    // digit, with the exponent clamped so that huge exponents cannot overflow an int.
    const std::string digits = whole + fraction;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) return negative ? -0.0 : 0.0;
    long long e = 0;
    bool eNegative = false;
    for (char c : exponent) {
      if (c == '-') eNegative = true;
      if (isDigit(c) && e < 100000) e = e * 10 + (c - '0');
    }
    const long long magnitude = static_cast<long long>(whole.size()) - 1 -
                                static_cast<long long>(first) + (eNegative ? -e : e);
    if (magnitude <= 0) return negative ? -0.0 : 0.0;
    // The largest double is written with 15 digits as 1,79769313486232E+308, a little
    // above it; that text, and any value up to it, reads back as the largest double.
    std::string significant = digits.substr(first);
    significant.erase(significant.find_last_not_of('0') + 1);
    if (magnitude == kLargestExponent && significant <= kLargestDigits) {
      return negative ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
    }
    return std::nullopt;
  }
  if (res.ec != std::errc() || res.ptr != normal.data() + normal.size()) return std::nullopt;
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::string formatNumber(double v, std::string_view pattern) {
  if (!std::isfinite(v)) return nonFiniteText(v);
  int intDigits = 0;
  int decimals = 0;
  bool afterPoint = false;
  for (char c : pattern) {
    if (c == '.') {
      afterPoint = true;
    } else if (c == '0') {
      ++(afterPoint ? decimals : intDigits);
    }
  }

  const Decimal d = toDecimal(v);
  // `scaled` holds the digits of |v|·10^decimals rounded to an integer.
  const long long keep = static_cast<long long>(d.exponent) + 1 + decimals;
  std::string scaled;
  if (keep >= 0) {
    const std::size_t n = static_cast<std::size_t>(keep);
    if (n >= d.digits.size()) {
      scaled = d.digits + std::string(n - d.digits.size(), '0');
    } else {
      scaled = d.digits.substr(0, n);
      if (d.digits[n] >= '5') {
        std::size_t pos = scaled.size();
        while (pos > 0 && scaled[pos - 1] == '9') scaled[--pos] = '0';
        if (pos == 0) {
          scaled.insert(scaled.begin(), '1');
        } else {
          ++scaled[pos - 1];
        }
      }
    }
  }
  const std::size_t firstNonZero = scaled.find_first_not_of('0');
  scaled = firstNonZero == std::string::npos ? std::string() : scaled.substr(firstNonZero);

  const std::size_t minLength = static_cast<std::size_t>(intDigits + decimals);
  if (scaled.size() < minLength) scaled.insert(0, minLength - scaled.size(), '0');
  const std::size_t split = scaled.size() - static_cast<std::size_t>(decimals);

  std::string out = v < 0 ? "-" : "";
  out += scaled.substr(0, split);
  if (decimals > 0) {
    out += ',';
    out += scaled.substr(split);
  }
  return out;
}

std::string numberText(double v) {
  if (!std::isfinite(v)) return nonFiniteText(v);
  if (v == 0) return "0";
  Decimal d = toDecimal(v);
  d.digits.erase(d.digits.find_last_not_of('0') + 1);

  std::string out = d.negative ? "-" : "";
  if (d.exponent >= -5 && d.exponent < kSignificantDigits) {
    if (d.exponent < 0) {
      out += "0,";
      out += std::string(static_cast<std::size_t>(-d.exponent - 1), '0');
      out += d.digits;
    } else {
      const std::size_t intLength = static_cast<std::size_t>(d.exponent) + 1;
      if (d.digits.size() <= intLength) {
        out += d.digits + std::string(intLength - d.digits.size(), '0');
      } else {
        out += d.digits.substr(0, intLength) + ',' + d.digits.substr(intLength);
      }
    }
    return out;
  }

  out += d.digits[0];
  if (d.digits.size() > 1) out += ',' + d.digits.substr(1);
  out += d.exponent < 0 ? "E-" : "E+";
  const std::string e = std::to_string(d.exponent < 0 ? -d.exponent : d.exponent);
  if (e.size() < 2) out += '0';
  out += e;
  return out;
}

}  // namespace quorvel::common
