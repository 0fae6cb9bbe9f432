#include "common/numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "common/shared.h"

namespace quorvel::common {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct FormatCase {
  double value;
  const char* pattern;
  const char* expected;
};

TEST(FormatNumber, PatternsRoundingPaddingAndSigns) {
  const std::vector<FormatCase> cases = {
      // Every pattern of the program, rounded down and up.
      {1.2345678901, "0.000000000", "1,234567890"}, {1.2345678906, "0.000000000", "1,234567891"},
      {12.3456781, "000.000000", "012,345678"}, {12.3456785, "000.000000", "012,345679"},
      {0.1234567890123, "0.000000000000", "0,123456789012"},
      {0.1234567890126, "0.000000000000", "0,123456789013"},
      {1.23456784, "000.0000000", "001,2345678"}, {1.23456785, "000.0000000", "001,2345679"},
      {3.14159264, "0.0000000", "3,1415926"}, {3.14159266, "0.0000000", "3,1415927"},
      {0.12345678901234, "0.0000000000000", "0,1234567890123"},
      {0.123456789012346, "0.0000000000000", "0,1234567890123"},
      {-0.12345678901236, "0.0000000000000", "-0,1234567890124"},
      {2451545.12344, "000000000.0000", "002451545,1234"},
      {2451545.12345, "000000000.0000", "002451545,1235"}, {42.4, "0000", "0042"},
      {42.5, "0000", "0043"}, {7.49, "00", "07"}, {7.5, "00", "08"}, {123.0, "00", "123"},
      {0.4, "0", "0"}, {0.5, "0", "1"},
      // Carries through the integer part.
      {0.99999, "0.00", "1,00"}, {9.9996, "000.000", "010,000"},
      {999.9999999, "000.000000", "1000,000000"}, {-9.5, "0", "-10"},
      // Zero, negatives and a negative that rounds to zero.
      {0.0, "0.000", "0,000"}, {-0.0, "0.00", "0,00"}, {-5.0, "0000", "-0005"},
      {-12.3456785, "000.000000", "-012,345679"}, {-0.001, "0.00", "-0,00"}, {-0.4, "0", "-0"},
      // The 15-digit value is rounded, not the binary one.
      {0.285, "0.00", "0,29"}, {1.005, "0.00", "1,01"}, {2.5, "0", "3"}, {-2.5, "0", "-3"},
      {0.125, "0.00", "0,13"},
      // Small and large magnitudes.
      {1e-7, "0.000000000", "0,000000100"}, {4e-10, "0.000000000", "0,000000000"},
      {6e-10, "0.000000000", "0,000000001"}, {1e20, "0.0000", "100000000000000000000,0000"},
      {123456789012345678.0, "0", "123456789012346000"}, {-1.5e16, "0.0", "-15000000000000000,0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatNumber(c.value, c.pattern), c.expected)
        << "value " << c.value << " pattern " << c.pattern;
  }
}

TEST(FormatNumber, NonFiniteValuesHaveNames) {
  EXPECT_EQ(formatNumber(kNaN, "0.00"), "NaN");
  EXPECT_EQ(formatNumber(kInf, "000.000000"), "Infinity");
  EXPECT_EQ(formatNumber(-kInf, "0"), "-Infinity");
}

struct TextCase {
  double value;
  const char* expected;
};

TEST(NumberText, PositionalAndExponentForms) {
  const std::vector<TextCase> cases = {
      {0.0, "0"}, {-0.0, "0"}, {100.0, "100"}, {0.1, "0,1"}, {-0.5, "-0,5"}, {2451545.0, "2451545"},
      {2451545.5, "2451545,5"}, {1.0 / 3.0, "0,333333333333333"}, {2.0 / 3.0, "0,666666666666667"},
      {0.00001, "0,00001"}, {0.0001234, "0,0001234"}, {-0.000015, "-0,000015"},
      {123456789012345.0, "123456789012345"}, {1e14, "100000000000000"},
      {999999999999999.9, "1E+15"}, {9.9999999999999995e-6, "0,00001"}, {0.000001, "1E-06"},
      {1e-7, "1E-07"}, {1.5e-6, "1,5E-06"}, {-2.5e-8, "-2,5E-08"}, {1e15, "1E+15"},
      {123456789012345678.0, "1,23456789012346E+17"}, {1e100, "1E+100"}, {-1e-100, "-1E-100"},
      {std::numeric_limits<double>::denorm_min(), "4,94065645841247E-324"},
      {std::numeric_limits<double>::max(), "1,79769313486232E+308"}, {kNaN, "NaN"},
      {kInf, "Infinity"}, {-kInf, "-Infinity"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(numberText(c.value), c.expected) << "value " << c.value;
  }
}

struct ParseCase {
  const char* text;
  double expected;
};

TEST(ParseNumber, AcceptsCommaPointSignAndExponent) {
  const std::vector<ParseCase> cases = {
      {"1", 1.0}, {"+3", 3.0}, {"-0,5", -0.5}, {"0.5", 0.5}, {" 44,5 ", 44.5}, {"\t7\t", 7.0},
      {"1E3", 1000.0}, {"1e-7", 1e-7}, {"1,5E-07", 1.5e-7}, {"2,5e+2", 250.0}, {",5", 0.5},
      {"5,", 5.0}, {"0,6", 0.6}, {"-0", -0.0}, {"0e999", 0.0}, {"1e-400", 0.0},
      {"1,7976931348623157E308", std::numeric_limits<double>::max()},
      {"4,94065645841247E-324", std::numeric_limits<double>::denorm_min()},
      // The largest double as it is written, a little above it: it reads back as itself.
      {"1,79769313486232E+308", std::numeric_limits<double>::max()},
      {"-1,79769313486232E+308", -std::numeric_limits<double>::max()},
      {"1,797693134862316E308", std::numeric_limits<double>::max()},
      {"0179769313486231,99E294", std::numeric_limits<double>::max()},
  };
  for (const auto& c : cases) {
    const auto got = parseNumber(c.text);
    ASSERT_TRUE(got.has_value()) << '"' << c.text << '"';
    EXPECT_EQ(*got, c.expected) << '"' << c.text << '"';
  }
  EXPECT_TRUE(std::signbit(*parseNumber("-0,0")));
}

TEST(ParseNumber, RejectsAnythingElse) {
  const std::vector<const char*> bad = {
      "", " ", "abc", "1,2,3", "1.2,3", "1 5", "--1", "+-1", "1E", "E5", "1E+", "1e5e", ",",
      "-", "-,", "0x10", "inf", "nan", "1e400", "-1e400", "1,0E309", "5a", "1_000",
      "1,79769313486233E+308", "-1,797693134862321E+308", "1,8E308", "17976931348623201E292",
      "\xe2\x88\x92" "1",  // a typographic minus sign
  };
  for (const char* text : bad) {
    EXPECT_FALSE(parseNumber(text).has_value()) << '"' << text << '"';
  }
}

// Every number the program writes reads back, to its 15 digits (its default form is written
// alike again) or to a pattern's decimals: the extremes of the doubles and their neighbours,
// the edges of the exponent form.
TEST(ParseNumber, RoundTripsWhatTheProgramWrites) {
  constexpr double kMax = std::numeric_limits<double>::max();
  constexpr double kMin = std::numeric_limits<double>::min();
  constexpr double kTiny = std::numeric_limits<double>::denorm_min();
  std::vector<double> values = {
      1.0 / 3.0, -2451545.5,          1.5e-7, 1.23456789012346e17, 6378140.0,
      1e-5,      9.99999999999999e-6, 1e15,   999999999999999.0,   kMin,
      kTiny,     2 * kTiny,           1e-320};
  for (double v = kMax, step = 0; step < 40; ++step) {
    values.push_back(v);
    v = std::nextafter(v, 0.0);
  }
  for (double v : {kMax, 1e308, 1.7e308}) values.push_back(std::nextafter(v, 0.0) * 0.9999999);
  const std::size_t count = values.size();
  for (std::size_t i = 0; i < count; ++i) values.push_back(-values[i]);
  for (double v : values) {
    const std::string text = numberText(v);
    const auto back = parseNumber(text);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_LE(std::fabs(*back - v), std::max(std::fabs(v) * 5e-15, kTiny)) << text;
    EXPECT_EQ(numberText(*back), text);
    // A pattern rounds to its decimals ("-0" for −0,4 reads as zero).
    for (const auto& [pattern, half] : {std::pair{"0", 0.5}, std::pair{"0.000000000", 0.5e-9}}) {
      const std::string fixed = formatNumber(v, pattern);
      const auto fixedBack = parseNumber(fixed);
      ASSERT_TRUE(fixedBack.has_value()) << fixed.substr(0, 40) << "… (" << pattern << ")";
      EXPECT_LE(std::fabs(*fixedBack - v), half + std::fabs(v) * 5e-15) << fixed.substr(0, 40);
    }
  }
}

struct AngleCase {
  double x;
  double y;
  double expected;
};

TEST(FullAngle, QuadrantsHalfAxesAndOrigin) {
  const std::vector<AngleCase> cases = {
      {0.0, 0.0, 0.0}, {1.0, 0.0, 0.0}, {0.0, 1.0, Pi / 2}, {-1.0, 0.0, Pi},
      {0.0, -1.0, 3 * Pi / 2}, {1.0, 1.0, std::atan(1.0)}, {-1.0, 1.0, Pi - std::atan(1.0)},
      {-1.0, -1.0, Pi + std::atan(1.0)}, {1.0, -1.0, 2 * Pi - std::atan(1.0)},
      {std::sqrt(3.0), 1.0, std::atan(1.0 / std::sqrt(3.0))}, {-2.0, -0.0, Pi},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(FullAngle(c.x, c.y), c.expected) << c.x << ", " << c.y;
  }
  // Exact against the program's Pi where no arctangent is taken.
  EXPECT_EQ(FullAngle(0.0, 0.0), 0.0);
  EXPECT_EQ(FullAngle(0.0, 1.0), Pi / 2);
  EXPECT_EQ(FullAngle(0.0, -1.0), 3 * Pi / 2);
  EXPECT_EQ(FullAngle(-1.0, 0.0), Pi);
  EXPECT_NEAR(FullAngle(1.0, -1.0), 7 * Pi / 4, 1e-14);
  for (const auto& c : cases) {
    const double a = FullAngle(c.x, c.y);
    EXPECT_GE(a, 0.0);
    EXPECT_LT(a, 2 * Pi);
  }
}

TEST(ArcSin, ValuesAndFaults) {
  EXPECT_EQ(ArcSin(0.0), 0.0);
  EXPECT_NEAR(ArcSin(0.5), std::acos(-1.0) / 6, 1e-15);
  EXPECT_NEAR(ArcSin(-0.5), -std::acos(-1.0) / 6, 1e-15);
  EXPECT_NEAR(ArcSin(0.999999), std::asin(0.999999), 1e-12);
  for (double x : {1.0, -1.0, 1.5, -1.5, kNaN, kInf}) {
    EXPECT_THROW(ArcSin(x), ArithmeticError) << x;
  }
  try {
    ArcSin(1.5);
    FAIL();
  } catch (const ArithmeticError& e) {
    EXPECT_EQ(std::string(e.what()), "Арифметическая ошибка: ArcSin(1,5)");
  }
}

struct TruncCase {
  double value;
  int decimals;
  double expected;
};

TEST(Truncation, TowardZero) {
  const std::vector<TruncCase> cases = {
      {1.99, 0, 1.0}, {-1.99, 0, -1.0}, {0.1234567899, 9, 0.123456789},
      {-0.1234567899, 9, -0.123456789}, {2451545.98765, 2, 2451545.98}, {12.3456789, 6, 12.345678},
      {0.29, 2, 0.28},  // 0,29·100 is 28,999999999999996 in binary
      {5.0, 3, 5.0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(truncateDecimals(c.value, c.decimals), c.expected)
        << c.value << " to " << c.decimals;
  }
  EXPECT_EQ(Fix(-1.99), -1.0);
  EXPECT_EQ(Fix(2.7), 2.0);
  EXPECT_TRUE(std::isnan(Fix(kNaN)));
  EXPECT_EQ(Fix(-kInf), -kInf);
}

TEST(RequireFinite, PassesFiniteAndNamesTheQuantity) {
  EXPECT_EQ(requireFinite(2.5, "скорость"), 2.5);
  for (double v : {kNaN, kInf, -kInf}) {
    try {
      requireFinite(v, "скорость");
      FAIL() << v;
    } catch (const ArithmeticError& e) {
      EXPECT_NE(std::string(e.what()).find("скорость"), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace quorvel::common
