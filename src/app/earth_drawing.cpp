#include "app/earth_drawing.h"

namespace quorvel::app {

using platform::rgb;

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
      {9.5, -2.5, "X"},     {3.2, 3.5, "Y"},  {-4, -3, "Весна"}, {2.5, -9.5, "Лето"},
      {8.5, -3, "Осень"}, {2.5, 4, "Зима"}, {9.5, 5.5, "R"},     {-4.8, 10, "Z"},
  };
  for (const Caption& caption : captions) {
    picture_.setCurrentX(caption.x);
    picture_.setCurrentY(caption.y);
    picture_.print(caption.text);
  }
}

}  // namespace quorvel::app
