#pragma once

#include "astro/apparatus_state.h"
#include "platform/picture.h"

namespace quorvel::app {

// The main window's picture: x from −10 to 10, y from 10 (top) to −10 (bottom); below,
// the Earth's orbit seen from the ecliptic pole with the Sun at (3, −3); above, the
// Earth in the plane through the Sun and the Earth perpendicular to the ecliptic.
class EarthDrawing {
 public:
  explicit EarthDrawing(platform::Picture& picture) : picture_(picture) {}

  // Clears the picture, sets its coordinates and draws the grid, the axes and the labels.
  void clear();
  // The unit grid, the grey axes and the season and axis labels.
  void drawGridAndAxes();
  // Draws the Earth, the observer's place and the apparatus velocity of `state` in both
  // diagrams. `metresPerUnit` is the lower diagram's scale (ML); with `keepTrack` the
  // earlier positions stay (the grid is drawn again over them), else the picture is
  // cleared first. Throws common::ArithmeticError when the axis tilt cannot be taken.
  void drawPosition(const astro::ApparatusState& state, double metresPerUnit, bool keepTrack);

 private:
  void drawOrbitView(const astro::ApparatusState& state, double metresPerUnit);
  void drawSectionView(const astro::ApparatusState& state);
  void drawSun(double x, double y);

  platform::Picture& picture_;
};

}  // namespace quorvel::app
