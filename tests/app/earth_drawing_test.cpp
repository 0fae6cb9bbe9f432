#include "app/earth_drawing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/numbers.h"
#include "common/shared.h"

namespace quorvel::app {
namespace {

using platform::Rgb;

constexpr double kAu = 149597870691.0;
constexpr double kEarthRadius = 6378140.0;

bool colourNear(const platform::Picture& picture, double x, double y, Rgb colour) {
  const int column = static_cast<int>(std::lround(picture.toPixelX(x)));
  const int row = static_cast<int>(std::lround(picture.toPixelY(y)));
  for (int dc = -1; dc <= 1; ++dc) {
    for (int dr = -1; dr <= 1; ++dr) {
      if (picture.pixel(column + dc, row + dr) == colour) return true;
    }
  }
  return false;
}

// The Earth at heliocentric longitude `lambdaDeg` on a circle of 1 AU, at rest, with the
// place at ecliptic longitude λE + 180° (the noon side), 0,6 R from the polar axis and
// 0,8 R above the ecliptic.
astro::ApparatusState stateAt(double lambdaDeg) {
  astro::ApparatusState s;
  const double lambda = lambdaDeg / common::RadToDeg;
  s.earth.position = {kAu * std::cos(lambda), kAu * std::sin(lambda), 0.0};
  s.earth.longitude = lambda;
  s.observer.rho = 0.6 * kEarthRadius;
  s.observer.longitude = lambda + common::Pi;
  s.observer.ecliptic = {s.observer.rho * std::cos(s.observer.longitude),
                         s.observer.rho * std::sin(s.observer.longitude), 0.8 * kEarthRadius};
  return s;
}

TEST(EarthDrawing, AxisLeansByTheObliquityAlongTheSunEarthLine) {
  struct Case {
    double lambdaDeg;
    double lean;  // sin(Eps0)·sin λE: the axis's top moves that far (× 4,2) from the Sun
  };
  const double s = std::sin(common::Eps0);
  const Case cases[] = {{90.0, s}, {270.0, -s}, {0.0, 0.0}, {180.0, 0.0}};
  for (const Case& c : cases) {
    platform::Picture picture(560, 560);
    EarthDrawing drawing(picture);
    drawing.clear();
    drawing.drawPosition(stateAt(c.lambdaDeg), 3e10, false);
    const double dy = 4.2 * std::cos(std::asin(c.lean));
    const Rgb black{0, 0, 0};
    // The top end away from the Sun in northern winter (λE = 90°), toward it in summer.
    EXPECT_TRUE(colourNear(picture, -5.0 - 4.2 * c.lean * 0.9, 5.0 + dy * 0.9, black))
        << c.lambdaDeg;
    EXPECT_TRUE(colourNear(picture, -5.0 + 4.2 * c.lean * 0.9, 5.0 - dy * 0.9, black))
        << c.lambdaDeg;

    // Upper diagram: the place on the noon side, 0,6·4,2 toward the Sun, 0,8·4,2 up.
    const Rgb red{255, 0, 0};
    EXPECT_TRUE(colourNear(picture, -5.0 + 0.6 * 4.2, 5.0 + 0.8 * 4.2 + 0.2, red)) << c.lambdaDeg;
    // Lower diagram: the Earth 5 units from the Sun, the place 1,2·0,6 units sunward.
    const double lambda = c.lambdaDeg / common::RadToDeg;
    const double ex = 3.0 + kAu / 3e10 * std::cos(lambda);
    const double ey = -3.0 + kAu / 3e10 * std::sin(lambda);
    EXPECT_TRUE(
        colourNear(picture, ex - 0.72 * std::cos(lambda), ey - 0.72 * std::sin(lambda) + 0.1, red))
        << c.lambdaDeg;
  }
}

TEST(EarthDrawing, VelocityLinesAtOneTenThousandthUnitPerMetrePerSecond) {
  platform::Picture picture(560, 560);
  EarthDrawing drawing(picture);
  astro::ApparatusState s = stateAt(90.0);
  s.velocity = {-20000.0, 15000.0, 30000.0};
  drawing.drawPosition(s, 3e10, false);
  const Rgb red{255, 0, 0};
  // The place's mark in the lower diagram is at (3, −3 + 4,99 − 0,72).
  const double px = 3.0;
  const double py = -3.0 + kAu / 3e10 - 0.72;
  EXPECT_TRUE(colourNear(picture, px - 1.9, py, red));  // 2 units to the left
  EXPECT_FALSE(colourNear(picture, px - 2.15, py, red));
  EXPECT_TRUE(colourNear(picture, px, py + 1.4, red));  // 1,5 units up
  EXPECT_FALSE(colourNear(picture, px, py + 1.65, red));
  // Upper diagram: 3 units up across the ecliptic from the place at (−2,48; 8,36).
  EXPECT_TRUE(colourNear(picture, -5.0 + 2.52, 5.0 + 3.36 + 1.5, red));
}

}  // namespace
}  // namespace quorvel::app
