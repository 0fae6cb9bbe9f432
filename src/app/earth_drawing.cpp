#include "app/earth_drawing.h"

#include <cmath>

#include "astro/astro_constants.h"
#include "common/numbers.h"
#include "common/shared.h"

namespace quorvel::app {

using platform::rgb;

namespace {

// The apparatus velocity is drawn at 10^-4 units per m/s.
constexpr double kUnitsPerSpeed = 1e-4;

// Lower diagram: the Sun's place and the radii of the Earth's circle and the place's mark.
constexpr double kSunX = 3.0;
constexpr double kSunY = -3.0;
constexpr double kSunRadius = 0.6;
constexpr double kOrbitEarthRadius = 1.8;
constexpr double kOrbitPlaceReach = 1.2;  // the place's distance from E for a place on the equator
constexpr double kOrbitPlaceRadius = 0.1;

// Upper diagram: the Earth's circle fills one Earth radius, the Sun sits to the right.
constexpr double kEarthX = -5.0;
constexpr double kEarthY = 5.0;
constexpr double kSectionEarthRadius = 4.2;
constexpr double kSectionSunX = 8.5;
constexpr double kSectionPlaceRadius = 0.2;
constexpr double kLevelHalfLength = 0.3;

}  // namespace

void EarthDrawing::clear() {
  picture_.cls();
  picture_.scale(-10, 10, 10, -10);
  drawGridAndAxes();
}

void EarthDrawing::drawGridAndAxes() {
  const auto grid = rgb(200, 200, 200);
  for (int i = -10; i <= 10; ++i) {
    for (int j = -10; j <= 10; ++j) {
      picture_.line(-i, j, i, j, grid);
      picture_.line(i, -j, i, j, grid);
    }
  }
  const auto axis = rgb(120, 120, 120);
  picture_.line(-4, -3, 10, -3, axis);
  picture_.line(3, 4, 3, -10, axis);
  picture_.line(-5, 5, 10, 5, axis);
  picture_.line(-5, 0, -5, 10, axis);

  struct Caption {
    double x;
    double y;
    const char* text;
  };
  static constexpr Caption captions[] = {
      {9.5, -2.5, "X"},   {3.2, 3.5, "Y"},  {-4, -3, "Весна"}, {2.5, -9.5, "Лето"},
      {8.5, -3, "Осень"}, {2.5, 4, "Зима"}, {9.5, 5.5, "R"},   {-4.8, 10, "Z"},
  };
  for (const Caption& caption : captions) {
    picture_.setCurrentX(caption.x);
    picture_.setCurrentY(caption.y);
    picture_.print(caption.text);
  }
}

void EarthDrawing::drawPosition(const astro::ApparatusState& state, double metresPerUnit,
                                bool keepTrack) {
  if (!keepTrack) picture_.cls();
  picture_.scale(-10, 10, 10, -10);
  drawGridAndAxes();
  drawOrbitView(state, metresPerUnit);
  drawSectionView(state);
}

void EarthDrawing::drawSun(double x, double y) {
  const auto yellow = rgb(255, 255, 0);
  const int style = picture_.fillStyle();
  const auto fill = picture_.fillColor();
  picture_.setFillStyle(0);
  picture_.setFillColor(yellow);
  picture_.circle(x, y, kSunRadius, yellow);
  picture_.setFillStyle(style);
  picture_.setFillColor(fill);
}

void EarthDrawing::drawOrbitView(const astro::ApparatusState& state, double metresPerUnit) {
  const auto blue = rgb(0, 0, 255);
  const auto red = rgb(255, 0, 0);
  const auto black = rgb(0, 0, 0);
  const double ex = state.earth.position.x / metresPerUnit + kSunX;
  const double ey = state.earth.position.y / metresPerUnit + kSunY;

  picture_.circle(ex, ey, kOrbitEarthRadius, blue);
  // The Earth's mark: a bowl under E and a stem with a crossbar above it.
  picture_.circle(ex, ey + 0.25, kOrbitEarthRadius, black, common::Pi, 0.01);
  picture_.line(ex, ey, ex, ey + 0.7, black);
  picture_.line(ex - 0.15, ey + 0.5, ex + 0.15, ey + 0.5, black);

  // The place, seen from the ecliptic pole: a place on the equator lies kOrbitPlaceReach
  // from E, so the mark stays inside the Earth's circle.
  const double scale = kOrbitPlaceReach / astro::EarthRadius;
  const double px = ex + scale * state.observer.ecliptic.x;
  const double py = ey + scale * state.observer.ecliptic.y;
  picture_.circle(px, py, kOrbitPlaceRadius, red);

  drawSun(kSunX, kSunY);
  picture_.line(kSunX, kSunY, ex, ey, blue);

  picture_.line(px, py, px + kUnitsPerSpeed * state.velocity.x, py, red);
  picture_.line(px, py, px, py + kUnitsPerSpeed * state.velocity.y, red);
}

void EarthDrawing::drawSectionView(const astro::ApparatusState& state) {
  const auto blue = rgb(0, 0, 255);
  const auto red = rgb(255, 0, 0);
  const auto black = rgb(0, 0, 0);
  drawSun(kSectionSunX, kEarthY);
  picture_.circle(kEarthX, kEarthY, kSectionEarthRadius, blue);

  // The axis leans toward the Sun or away from it by the part of the obliquity that lies
  // in this plane.
  const double lambdaE = state.earth.longitude;
  const double lean = std::sin(common::Eps0) * std::sin(lambdaE);
  const double tilt = common::ArcSin(lean);
  const double dx = kSectionEarthRadius * lean;
  const double dy = kSectionEarthRadius * std::cos(tilt);
  picture_.line(kEarthX + dx, kEarthY - dy, kEarthX - dx, kEarthY + dy, black);

  // The place: its distance from the polar axis projected on the Sun–Earth line (toward
  // the Sun to the right) and its height above the ecliptic.
  const double scale = kSectionEarthRadius / astro::EarthRadius;
  const astro::ObserverState& observer = state.observer;
  const double px = kEarthX - scale * observer.rho * std::cos(observer.longitude - lambdaE);
  const double py = kEarthY + scale * observer.ecliptic.z;
  picture_.circle(px, py, kSectionPlaceRadius, red);
  picture_.line(px, py, px, py + kUnitsPerSpeed * state.velocity.z, red);

  // A blue level through the place, parallel to the ecliptic, and in red the apparatus
  // velocity along the Sun–Earth line (toward the Sun positive), at the same scale.
  picture_.line(px - kLevelHalfLength, py, px + kLevelHalfLength, py, blue);
  const double towardSun =
      -(state.velocity.x * std::cos(lambdaE) + state.velocity.y * std::sin(lambdaE));
  picture_.line(px, py, px + kUnitsPerSpeed * towardSun, py, red);
}

}  // namespace quorvel::app
