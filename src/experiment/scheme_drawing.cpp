#include "experiment/scheme_drawing.h"

#include <algorithm>
#include <bit>
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

// Pixel coordinates the picture hands to the painter without clipping them.
constexpr double kRange = platform::Picture::kPaintedRangePx - 1;

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
  emitLine(X_[from] / ML, Y_[from] / ML, X_[to] / ML, Y_[to] / ML, color);
}

void SchemeDrawing::emitLine(double x1, double y1, double x2, double y2, platform::Color color) {
  draw({Primitive::Line, x1, y1, x2, y2, color});
}

void SchemeDrawing::emitCircle(double x, double y, double r, platform::Color color) {
  draw({Primitive::Circle, x, y, r, 0, color});
}

void SchemeDrawing::emitBox(double x1, double y1, double x2, double y2,
                            std::optional<platform::Color> color) {
  draw({Primitive::Box, x1, y1, x2, y2, color});
}

void SchemeDrawing::draw(const Primitive& q) {
  if (recording_) {
    recording_->push_back(q);
    return;
  }
  switch (q.kind) {
    case Primitive::Line:
      picture_.line(q.x1, q.y1, q.x2, q.y2, q.color);
      break;
    case Primitive::Circle:
      picture_.circle(q.x1, q.y1, q.x2, q.color);
      break;
    case Primitive::Box:
      picture_.box(q.x1, q.y1, q.x2, q.y2, q.color);
      break;
  }
}

OutlinePixels SchemeDrawing::pixelsOf(const Primitive& q) const {
  // Whole pixels as the picture hands them to the painter; coordinates the painter would
  // be given clipped (or not at all) are kept apart by their bits.
  // Lines are cut to the picture and a border as wide before the painter, boxes and circles
  // to the picture: within the picture's own size on every side they go to it whole.
  const double near = std::min<double>(std::max(picture_.width(), picture_.height()), kRange);
  const auto px = [near](double v) -> std::int64_t {
    if (!(std::fabs(v) < near)) {
      return static_cast<std::int64_t>(std::bit_cast<std::uint64_t>(v)) | (std::int64_t{1} << 62);
    }
    return platform::Picture::pixelIndex(v);
  };
  const auto clamp = [](double v) { return static_cast<int>(std::clamp(v, -kRange, kRange)); };
  OutlinePixels out;
  const double c1 = picture_.toPixelX(q.x1);
  const double r1 = picture_.toPixelY(q.y1);
  const platform::Color color = q.color.value_or(picture_.foreColor());
  if (q.kind == Primitive::Circle) {
    const double radius = std::fabs(q.x2) * picture_.width() / std::fabs(picture_.scaleWidth());
    out.key = {q.kind, px(c1),
               px(r1), static_cast<std::int64_t>(std::bit_cast<std::uint64_t>(radius)),
               0,      static_cast<std::int64_t>(color)};
    const double reach = std::min(radius, kRange) + 3;  // the pen's width and rounding
    out.covered = PixelRect{clamp(std::floor(c1 - reach)), clamp(std::floor(r1 - reach)),
                            clamp(std::ceil(c1 + reach)), clamp(std::ceil(r1 + reach))};
  } else {
    const double c2 = picture_.toPixelX(q.x2);
    const double r2 = picture_.toPixelY(q.y2);
    out.key = {q.kind, px(c1), px(r1), px(c2), px(r2), static_cast<std::int64_t>(color)};
    constexpr double kReach = 3;
    out.covered = PixelRect{
        clamp(std::floor(std::min(c1, c2) - kReach)), clamp(std::floor(std::min(r1, r2) - kReach)),
        clamp(std::ceil(std::max(c1, c2) + kReach)), clamp(std::ceil(std::max(r1, r2) + kReach))};
  }
  // A coordinate that is not a number covers nothing the painter sees, but is never equal.
  if (!std::isfinite(c1 + r1)) out.covered = PixelRect{1, 1, 0, 0};
  return out;
}

void SchemeDrawing::finishRedraw(RedrawMemo& memo, std::size_t eraseCount) {
  std::vector<Primitive> recorded;
  recorded.swap(*recording_);
  recording_ = nullptr;
  const std::size_t count = recorded.size() - eraseCount;
  std::vector<OutlinePixels> erased, drawn;
  for (std::size_t i = 0; i < recorded.size(); ++i) {
    (i < eraseCount ? erased : drawn).push_back(pixelsOf(recorded[i]));
  }
  // Only what went through touch() has been drawn since the last redraw.
  const bool known = memo.valid && eraseCount == count && memo.drawn.size() == count &&
                     picture_.revision() == memo.revision + memo.touched.size();
  // Outline i must be redrawn when it moved, changed colour, was drawn over, or lies where
  // an outline that is redrawn erases or draws.
  std::vector<bool> redraw(count, !known);
  if (known) {
    for (std::size_t i = 0; i < count; ++i) {
      auto sameShape = [](const OutlinePixels& a, const OutlinePixels& b) {
        return std::equal(a.key.begin(), a.key.end() - 1, b.key.begin());
      };
      redraw[i] = !sameShape(erased[i], drawn[i]) || drawn[i].key != memo.drawn[i].key;
      for (const PixelRect& t : memo.touched) redraw[i] = redraw[i] || t.meets(drawn[i].covered);
    }
    for (bool grew = true; grew;) {
      grew = false;
      for (std::size_t i = 0; i < count; ++i) {
        if (redraw[i]) continue;
        for (std::size_t j = 0; j < count && !redraw[i]; ++j) {
          if (!redraw[j]) continue;
          redraw[i] =
              drawn[i].covered.meets(erased[j].covered) || drawn[i].covered.meets(drawn[j].covered);
        }
        grew = grew || redraw[i];
      }
    }
  }
  memo.touched.clear();
  for (std::size_t i = 0; i < count; ++i) {
    if (redraw[i]) draw(recorded[i]);
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (redraw[i]) draw(recorded[eraseCount + i]);
  }
  const long long redrawn = std::count(redraw.begin(), redraw.end(), true);
  memo.outlinesDrawn += redrawn;
  memo.outlinesSkipped += static_cast<long long>(count) - redrawn;
  // Where a full redraw leaves the current position: the last outline's point.
  const Primitive& last = recorded.back();
  picture_.setCurrentX(last.kind == Primitive::Circle ? last.x1 : last.x2);
  picture_.setCurrentY(last.kind == Primitive::Circle ? last.y1 : last.y2);
  memo.drawn = std::move(drawn);
  memo.revision = picture_.revision();
  memo.valid = true;
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

void SchemeDrawing::redrawBeamSplitter(const SchemeParameters& p, RedrawMemo* memo) {
  std::vector<Primitive> recorded;
  if (memo) recording_ = &recorded;
  const double ML = p.ML;
  // The screen box: W/2 wide to the right of its centre's x, W/2 high about its y.
  const auto screenBox = [&](int centre, std::optional<platform::Color> color) {
    emitBox(X_[centre] / ML + p.mirrorWidth / (2 * ML), Y_[centre] / ML - p.mirrorWidth / (4 * ML),
            X_[centre] / ML, Y_[centre] / ML + p.mirrorWidth / (4 * ML), color);
  };

  for (int e = 1; e <= 4; ++e) drawQuad(corner(e, 5), kEraseColor, ML);
  emitCircle(X_[kSourceCopy] / ML, Y_[kSourceCopy] / ML, kBeamSplitterSourceRadius, kEraseColor);
  screenBox(kScreenCopy, kEraseColor);
  const std::size_t erased = recorded.size();

  const double angles[4] = {p.Alfa1, p.Alfa2, p.Alfa3, p.Alfa4};
  for (int e = 1; e <= 4; ++e) {
    placeElement(e, angles[e - 1], 1.0, p);
    drawQuad(corner(e, 1), kOutlineColor, ML);
  }
  emitCircle(X_[5] / ML, Y_[5] / ML, kBeamSplitterSourceRadius, kSourceColor);
  // Drawn in the picture's fore colour (black), as a box without a colour is.
  screenBox(6, std::nullopt);

  for (int e = 1; e <= 4; ++e) copyPoints(corner(e, 1), corner(e, 5), 4);
  copyPoints(5, kSourceCopy, 1);
  copyPoints(6, kScreenCopy, 1);
  if (memo) finishRedraw(*memo, erased);
}

void SchemeDrawing::redrawPrism(const SchemeParameters& p, const PrismOptions& options,
                                RedrawMemo* memo) {
  std::vector<Primitive> recorded;
  if (memo) recording_ = &recorded;
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
  emitCircle(X_[kSourceCopy] / ML, Y_[kSourceCopy] / ML, kPrismSourceRadius, kEraseColor);
  drawQuad(kScreenPlate + 4, kEraseColor, ML);
  const std::size_t erased = recorded.size();

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

  emitCircle(X_[5] / ML, Y_[5] / ML, kPrismSourceRadius, kSourceColor);

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
  if (memo) finishRedraw(*memo, erased);
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
