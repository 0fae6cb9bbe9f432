#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvel::common {

// An arithmetic fault of a computation: a division by zero, ArcSin of 1 or more, a result
// that must be finite and is not. Handlers catch it and show their own message.
class ArithmeticError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Full-circle angle of the vector (x, y), in [0, 2π); (0, 0) gives 0. Uses Pi, not the
// exact π, so its results match the rest of the program to the last digit.
double FullAngle(double x, double y);

// arctan(x / √(1 − x²)). |x| ≥ 1 (or a NaN) throws ArithmeticError.
double ArcSin(double x);

// Truncation toward zero, and truncation to k decimals: Fix(v·10^k)/10^k.
double Fix(double v);
double truncateDecimals(double v, int decimals);

// Throws ArithmeticError when v is not finite; `what` names the quantity in the message.
double requireFinite(double v, const char* what);

// Reads a number as a user types it into a field: optional blanks around it, an optional
// sign, digits with a decimal comma or a decimal point, an optional exponent ("1E3",
// "1,5E-07"). Anything else (empty, letters, two separators, a number too large for a
// double) gives nothing. Every text numberText and formatNumber write reads back: the
// largest double, written as 1,79769313486232E+308, reads as the largest double again.
std::optional<double> parseNumber(std::string_view text);

// A number in a format pattern such as "0.000000000", "000.000000", "0000" or "0": at
// least as many integer digits as the pattern has zeros before the point (zero-padded),
// exactly as many decimals as it has after it, a decimal comma, a leading "-" for
// negatives. The value is first taken to 15 significant digits (as the runtime holds it
// for display) and then rounded half away from zero, so 0,285 shows as "0,29".
std::string formatNumber(double v, std::string_view pattern);

// The runtime's default number-to-text form: up to 15 significant digits, no trailing
// zeros, decimal comma; exponent form ("1E-07", "1,23456789012346E+17", at least two
// exponent digits) below 1E-05 and from 1E+15 on in magnitude. 0 is "0", −0,5 is "-0,5".
std::string numberText(double v);

}  // namespace quorvel::common
