#pragma once

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

 private:
  platform::Picture& picture_;
};

}  // namespace quorvel::app
