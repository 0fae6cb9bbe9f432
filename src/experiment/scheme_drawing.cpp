#include "experiment/scheme_drawing.h"

#include <cmath>
#include <optional>

#include "common/numbers.h"

namespace quorvel::experiment {

namespace {

using platform::rgb;

constexpr platform::Color kGridColor = rgb(200, 200, 200);
// Colour value 1: the axes and every outline; seen as black, told apart from text.
constexpr platform::Color kOutlineColor = rgb(1, 0, 0);
constexpr platform::Color kEraseColor = rgb(255, 255, 255);
constexpr platform::Color kSourceColor = rgb(0, 255, 0);

// Radii of the light source, in drawing units (they do not follow ML).
constexpr double kBeamSplitterSourceRadius = 0.4;
constexpr double kPrismSourceRadius = 0.5;

// Slots of the point table.
constexpr int kSourceCopy = 55;
constexpr int kScreenCopy = 66;
constexpr int kPrismBase = 31;    // 31, 32
constexpr int kPrismCopy = 33;    // 33 apex, 34, 35 base
constexpr int kScreenPlate = 61;  // 61..64, copy 65..68
constexpr int kCylinder = 71;     // 71..74, copy 75..78

constexpr int corner(int e, int k) {
  return 10 * e + k;
}

}  // namespace

void SchemeDrawing::drawGrid() {
  picture_.scale(-14, 25, 16, -5);
  // Each grid line once, then the numbers over them, so no line cuts through a number.
  for (int x = -12; x <= 16; x += 2) picture_.line(x, -5, x, 25, kGridColor);
  for (int y = -4; y <= 24; y += 2) picture_.line(-14, y, 16, y, kGridColor);
  for (int x = -12; x <= 16; x += 2) printAt(x - 0.3, -4.3, common::numberText(x));
  for (int y = -4; y <= 24; y += 2) printAt(-14, y + 0.5, common::numberText(y));
  picture_.line(-14, 0, 16, 0, kOutlineColor);
  picture_.line(0, -5, 0, 25, kOutlineColor);
}

void SchemeDrawing::placeElement(int e, double angle, double side, const SchemeParameters& p) {
  const double halfWidth = p.mirrorWidth / 2;
  const double faceX = halfWidth * std::cos(angle);
  const double faceY = halfWidth * std::sin(angle);
  const double plateX = -side * p.plateThickness * std::sin(angle);
  const double plateY = side * p.plateThickness * std::cos(angle);
  X_[corner(e, 1)] = X_[e] - faceX;
  Y_[corner(e, 1)] = Y_[e] - faceY;
  X_[corner(e, 3)] = X_[e] + faceX;
  Y_[corner(e, 3)] = Y_[e] + faceY;
  X_[corner(e, 2)] = X_[corner(e, 1)] + plateX;
  Y_[corner(e, 2)] = Y_[corner(e, 1)] + plateY;
  X_[corner(e, 4)] = X_[corner(e, 3)] + plateX;
  Y_[corner(e, 4)] = Y_[corner(e, 3)] + plateY;
}

void SchemeDrawing::drawSegment(int from, int to, platform::Color color, double ML) {
  picture_.line(X_[from] / ML, Y_[from] / ML, X_[to] / ML, Y_[to] / ML, color);
}

void SchemeDrawing::drawQuad(int first, platform::Color color, double ML) {
  drawSegment(first, first + 1, color, ML);
  drawSegment(first + 1, first + 3, color, ML);
  drawSegment(first + 2, first + 3, color, ML);
  drawSegment(first + 2, first, color, ML);
}

void SchemeDrawing::copyPoints(int from, int to, int count) {
  for (int k = 0; k < count; ++k) {
    X_[to + k] = X_[from + k];
    Y_[to + k] = Y_[from + k];
  }
}

void SchemeDrawing::printAt(double x, double y, std::string_view text) {
  picture_.setCurrentX(x);
  picture_.setCurrentY(y);
  picture_.print(text);
}

void SchemeDrawing::redrawBeamSplitter(const SchemeParameters& p) {
  const double ML = p.ML;
  // The screen box: W/2 wide to the right of its centre's x, W/2 high about its y.
  const auto screenBox = [&](int centre, std::optional<platform::Color> color) {
    picture_.box(X_[centre] / ML + p.mirrorWidth / (2 * ML),
                 Y_[centre] / ML - p.mirrorWidth / (4 * ML), X_[centre] / ML,
                 Y_[centre] / ML + p.mirrorWidth / (4 * ML), color);
  };

  for (int e = 1; e <= 4; ++e) drawQuad(corner(e, 5), kEraseColor, ML);
  picture_.circle(X_[kSourceCopy] / ML, Y_[kSourceCopy] / ML, kBeamSplitterSourceRadius,
                  kEraseColor);
  screenBox(kScreenCopy, kEraseColor);

  const double angles[4] = {p.Alfa1, p.Alfa2, p.Alfa3, p.Alfa4};
  for (int e = 1; e <= 4; ++e) {
    placeElement(e, angles[e - 1], 1.0, p);
    drawQuad(corner(e, 1), kOutlineColor, ML);
  }
  picture_.circle(X_[5] / ML, Y_[5] / ML, kBeamSplitterSourceRadius, kSourceColor);
  // Drawn in the picture's fore colour (black), as a box without a colour is.
  screenBox(6, std::nullopt);

  for (int e = 1; e <= 4; ++e) copyPoints(corner(e, 1), corner(e, 5), 4);
  copyPoints(5, kSourceCopy, 1);
  copyPoints(6, kScreenCopy, 1);
}

void SchemeDrawing::redrawPrism(const SchemeParameters& p, const PrismOptions& options) {
  const double ML = p.ML;
  const int apexCopy = kPrismCopy;
  const int baseCopy = kPrismCopy + 1;

  // Erase. The fourth mirror and the cylinder only while their boxes are ticked, so
  // unticking one leaves its last drawing on the picture until the next clear.
  drawQuad(corner(1, 5), kEraseColor, ML);
  drawQuad(corner(2, 5), kEraseColor, ML);
  drawSegment(baseCopy, baseCopy + 1, kEraseColor, ML);
  drawSegment(baseCopy, apexCopy, kEraseColor, ML);
  drawSegment(baseCopy + 1, apexCopy, kEraseColor, ML);
  if (options.fourthMirror) drawQuad(corner(4, 5), kEraseColor, ML);
  if (options.cylinder) drawQuad(kCylinder + 4, kEraseColor, ML);
  picture_.circle(X_[kSourceCopy] / ML, Y_[kSourceCopy] / ML, kPrismSourceRadius, kEraseColor);
  drawQuad(kScreenPlate + 4, kEraseColor, ML);

  // With the fourth mirror in use the left mirror's plate lies on its other side.
  placeElement(1, p.Alfa1, options.fourthMirror ? -1.0 : 1.0, p);
  drawQuad(corner(1, 1), kOutlineColor, ML);
  placeElement(2, p.Alfa2, -1.0, p);
  drawQuad(corner(2, 1), kOutlineColor, ML);

  // The prism: apex at point 3, apex angle Alfa3 opening upward; with the half-angle
  // variant the left face stands vertical above the apex.
  const double halfWidth = p.mirrorWidth / 2;
  const double halfApexSin = halfWidth * std::sin(p.Alfa3 / 2);
  const double halfApexCos = halfWidth * std::cos(p.Alfa3 / 2);
  X_[kPrismBase] = X_[3] - halfApexSin;
  Y_[kPrismBase] = Y_[3] + halfApexCos;
  X_[kPrismBase + 1] = X_[3] + halfApexSin;
  Y_[kPrismBase + 1] = Y_[3] + halfApexCos;
  if (options.halfAngle) X_[kPrismBase] = X_[3];
  drawSegment(kPrismBase, kPrismBase + 1, kOutlineColor, ML);
  drawSegment(kPrismBase, 3, kOutlineColor, ML);
  drawSegment(kPrismBase + 1, 3, kOutlineColor, ML);

  if (options.fourthMirror) {
    placeElement(4, p.Alfa4, 1.0, p);
    drawQuad(corner(4, 1), kOutlineColor, ML);
  }

  if (options.cylinder) {
    // R long along x from X(7), 8·T high about Y(7).
    X_[kCylinder] = X_[kCylinder + 1] = X_[7];
    X_[kCylinder + 2] = X_[kCylinder + 3] = X_[7] + p.cylinderSize;
    Y_[kCylinder] = Y_[kCylinder + 2] = Y_[7] + 4 * p.plateThickness;
    Y_[kCylinder + 1] = Y_[kCylinder + 3] = Y_[7] - 4 * p.plateThickness;
    drawQuad(kCylinder, kOutlineColor, ML);
  }

  picture_.circle(X_[5] / ML, Y_[5] / ML, kPrismSourceRadius, kSourceColor);

  // The screen: a plate W wide and T thick lying on Y(6).
  X_[kScreenPlate] = X_[kScreenPlate + 1] = X_[6] - halfWidth;
  X_[kScreenPlate + 2] = X_[kScreenPlate + 3] = X_[6] + halfWidth;
  Y_[kScreenPlate] = Y_[kScreenPlate + 2] = Y_[6];
  Y_[kScreenPlate + 1] = Y_[kScreenPlate + 3] = Y_[6] + p.plateThickness;
  drawQuad(kScreenPlate, kOutlineColor, ML);

  copyPoints(corner(1, 1), corner(1, 5), 4);
  copyPoints(corner(2, 1), corner(2, 5), 4);
  copyPoints(3, apexCopy, 1);
  copyPoints(kPrismBase, baseCopy, 2);
  copyPoints(corner(4, 1), corner(4, 5), 4);
  copyPoints(5, kSourceCopy, 1);
  copyPoints(kScreenPlate, kScreenPlate + 4, 4);
  copyPoints(kCylinder, kCylinder + 4, 4);
}

void SchemeDrawing::drawBeamSplitterLegend(const SchemeParameters& p) {
  const double ML = p.ML;
  printAt(-12, 24.9, kBeamSplitterLegend);
  printAt(-12, 22.9, kBeamSplitterAngleHeader);
  printAt(X_[1] / ML - 1, Y_[1] / ML, "1");
  printAt(X_[2] / ML, Y_[2] / ML + 1, "2");
  printAt(X_[3] / ML, Y_[3] / ML + 1, "3");
  printAt(X_[4] / ML, Y_[4] / ML + 1, "4");
  printAt(X_[5] / ML - 1.5, Y_[5] / ML + 0.5, "5");
  printAt(X_[6] / ML + 1, Y_[6] / ML, "6");
}

void SchemeDrawing::drawPrismLegend(const SchemeParameters& p, const PrismOptions& options) {
  const double ML = p.ML;
  printAt(-12, 24.9, kPrismLegend);
  printAt(-12, 22.9, kPrismAngleHeader);
  printAt(X_[1] / ML - 1, Y_[1] / ML, "1");
  printAt(X_[2] / ML, Y_[2] / ML, "2");
  printAt(X_[3] / ML, Y_[3] / ML + 1, "3");
  if (options.fourthMirror) printAt(X_[4] / ML, Y_[4] / ML + 1, "4");
  printAt(X_[5] / ML - 1.5, Y_[5] / ML + 0.5, "5");
  printAt(X_[6] / ML + 0.5, Y_[6] / ML + 1, "6");
}

void clearAndDrawScheme(platform::Picture& picture, std::array<double, 131>& X,
                        std::array<double, 131>& Y, const SchemeInput& input,
                        const SchemeParameters& p, const PrismOptions& options) {
  SchemeDrawing drawing(picture, X, Y);
  picture.cls();
  drawing.drawGrid();
  X[1] = input.X1;
  Y[1] = input.Y1;
  X[2] = input.X2;
  Y[2] = input.Y2;
  X[3] = 0;
  Y[3] = 0;
  X[4] = 0;
  Y[4] = input.Y4;
  X[5] = 0;
  Y[5] = input.Y5;
  if (input.prism) {
    X[6] = 0;
    Y[6] = input.screen;
    X[7] = X[3] + (X[2] - X[3] - p.cylinderSize) / 3;
    Y[7] = Y[3];
    drawing.redrawPrism(p, options);
    drawing.drawPrismLegend(p, options);
  } else {
    X[6] = input.screen;
    Y[6] = 0;
    drawing.redrawBeamSplitter(p);
    drawing.drawBeamSplitterLegend(p);
  }
}

}  // namespace quorvel::experiment
