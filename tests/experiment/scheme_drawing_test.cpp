#include "experiment/scheme_drawing.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "common/shared.h"
#include "platform/picture.h"

namespace quorvel::experiment {
namespace {

using platform::Picture;
using platform::Rgb;

constexpr Rgb kOutline{1, 0, 0};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGrey{200, 200, 200};
constexpr Rgb kGreen{0, 255, 0};

double deg(double degrees) {
  return degrees / common::RadToDeg;
}

SchemeInput beamSplitterInput() {
  return {-1, 0, 0, 1, 0.5, -0.3, 0.5, false};
}
SchemeParameters beamSplitterParameters(double ML = 0.1) {
  return {deg(90), deg(0), deg(135), deg(135), 0.8, 0.1, 0.05, ML};
}
SchemeInput prismInput() {
  return {-0.45, 0, 0.45, 0, 0.6, -0.2, 0.9, true};
}
SchemeParameters prismParameters() {
  return {deg(121.7032392), deg(58.2967608), deg(90), deg(135), 0.8, 0.1, 0.05, 0.1};
}

// A point of the outline of an element rectangle, in drawing units: `along` of the way from
// the centre to the end 10e+3 of the face, then `across` plate thicknesses to the s side.
struct Point {
  double x, y;
};
Point elementPoint(double cx, double cy, double angle, double along, double across, double s,
                   const SchemeParameters& p) {
  const double half = p.mirrorWidth / 2;
  return {(cx + along * half * std::cos(angle) - across * s * p.plateThickness * std::sin(angle)) /
              p.ML,
          (cy + along * half * std::sin(angle) + across * s * p.plateThickness * std::cos(angle)) /
              p.ML};
}

class SchemeDrawingTest : public testing::Test {
 protected:
  int column(double x) const { return static_cast<int>(std::floor(picture.toPixelX(x) + 1e-6)); }
  int row(double y) const { return static_cast<int>(std::floor(picture.toPixelY(y) + 1e-6)); }
  Rgb at(double x, double y) const { return picture.pixel(column(x), row(y)); }
  // Whether a pixel of the colour lies within one pixel of the point.
  bool near(Point p, Rgb colour) const {
    for (int dc = -1; dc <= 1; ++dc) {
      for (int dr = -1; dr <= 1; ++dr) {
        if (picture.pixel(column(p.x) + dc, row(p.y) + dr) == colour) return true;
      }
    }
    return false;
  }
  // Pixels of the colour in the rectangle from (left, top) to (right, bottom), user units.
  int count(double left, double top, double right, double bottom, Rgb colour) const {
    int n = 0;
    for (int c = column(left); c <= column(right); ++c) {
      for (int r = row(top); r <= row(bottom); ++r) n += picture.pixel(c, r) == colour;
    }
    return n;
  }
  std::vector<Rgb> snapshot() const {
    std::vector<Rgb> pixels;
    for (int r = 0; r < picture.height(); ++r) {
      for (int c = 0; c < picture.width(); ++c) pixels.push_back(picture.pixel(c, r));
    }
    return pixels;
  }
  void drawDefault(const SchemeInput& input, const SchemeParameters& p,
                   const PrismOptions& options = {}) {
    clearAndDrawScheme(picture, X, Y, input, p, options);
  }

  Picture picture{600, 600};
  std::array<double, 131> X{};
  std::array<double, 131> Y{};
  SchemeDrawing drawing{picture, X, Y};
};

TEST_F(SchemeDrawingTest, GridHasScaleLinesAxesAndNumbers) {
  picture.cls();
  drawing.drawGrid();
  EXPECT_DOUBLE_EQ(picture.scaleLeft(), -14);
  EXPECT_DOUBLE_EQ(picture.scaleTop(), 25);
  EXPECT_DOUBLE_EQ(picture.scaleWidth(), 30);
  EXPECT_DOUBLE_EQ(picture.scaleHeight(), -30);
  struct Case {
    double x, y;
    Rgb colour;
  };
  const Case cases[] = {
      {4, 7.3, kGrey},     {-12, 13.3, kGrey}, {7.3, 6, kGrey},     {5.3, 24, kGrey},
      {4, 6, kGrey},       {0, 7.3, kOutline}, {0, -3.7, kOutline}, {7.3, 0, kOutline},
      {-7.3, 0, kOutline}, {5, 7, kWhite},     {-13, 17, kWhite},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(at(c.x, c.y), c.colour) << c.x << ", " << c.y;
  }
  // The numbers: along the bottom under each vertical line, along the left edge above
  // each horizontal one, and nothing between them.
  for (int x = -12; x <= 14; x += 2) {
    EXPECT_GT(count(x - 0.3, -4.3, x + 0.5, -4.95, kBlack), 0) << x;
  }
  for (int y = -4; y <= 24; y += 2) {
    EXPECT_GT(count(-14, y + 0.5, -13.3, y - 0.1, kBlack), 0) << y;
  }
  EXPECT_EQ(count(-13.1, 20, -12.2, 2, kBlack), 0);
}

TEST_F(SchemeDrawingTest, BeamSplitterCornersFollowCentresAndAngles) {
  const SchemeParameters p = beamSplitterParameters();
  drawDefault(beamSplitterInput(), p);
  struct Case {
    int e;
    double angle;
    double centreX, centreY;  // drawing units
  };
  const Case cases[] = {
      {1, p.Alfa1, -10, 0}, {2, p.Alfa2, 0, 10}, {3, p.Alfa3, 0, 0}, {4, p.Alfa4, 0, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.e);
    const int k = 10 * c.e;
    EXPECT_NEAR((X[k + 1] + X[k + 3]) / 2 / p.ML, c.centreX, 1e-12);
    EXPECT_NEAR((Y[k + 1] + Y[k + 3]) / 2 / p.ML, c.centreY, 1e-12);
    const double cx = c.centreX * p.ML;
    const double cy = c.centreY * p.ML;
    EXPECT_NEAR(X[k + 1], cx - 0.4 * std::cos(c.angle), 1e-12);
    EXPECT_NEAR(Y[k + 1], cy - 0.4 * std::sin(c.angle), 1e-12);
    EXPECT_NEAR(X[k + 3], cx + 0.4 * std::cos(c.angle), 1e-12);
    EXPECT_NEAR(Y[k + 3], cy + 0.4 * std::sin(c.angle), 1e-12);
    // The plate lies on the (−sin, cos) side of the face.
    EXPECT_NEAR(X[k + 2], X[k + 1] - 0.1 * std::sin(c.angle), 1e-12);
    EXPECT_NEAR(Y[k + 2], Y[k + 1] + 0.1 * std::cos(c.angle), 1e-12);
    EXPECT_NEAR(X[k + 4], X[k + 3] - 0.1 * std::sin(c.angle), 1e-12);
    EXPECT_NEAR(Y[k + 4], Y[k + 3] + 0.1 * std::cos(c.angle), 1e-12);
    for (int j = 1; j <= 4; ++j) {
      EXPECT_EQ(X[k + 4 + j], X[k + j]);
      EXPECT_EQ(Y[k + 4 + j], Y[k + j]);
    }
    EXPECT_TRUE(near(elementPoint(cx, cy, c.angle, -0.6, 0, 1, p), kOutline));
    EXPECT_TRUE(near(elementPoint(cx, cy, c.angle, 0.6, 1, 1, p), kOutline));
    EXPECT_TRUE(near(elementPoint(cx, cy, c.angle, 1, 0.5, 1, p), kOutline));
    EXPECT_FALSE(near(elementPoint(cx, cy, c.angle, 0.6, -1, 1, p), kOutline));
  }
  EXPECT_EQ(X[55], 0);
  EXPECT_EQ(Y[55], -0.3);
  EXPECT_EQ(X[66], 0.5);
  EXPECT_EQ(Y[66], 0);
}

TEST_F(SchemeDrawingTest, BeamSplitterSourceCircleAndScreenBox) {
  drawDefault(beamSplitterInput(), beamSplitterParameters());
  // The source: a green ring of radius 0.4 about (0, −3).
  int green = 0;
  for (int c = column(-0.8); c <= column(0.8); ++c) {
    for (int r = row(-2.2); r <= row(-3.8); ++r) {
      if (picture.pixel(c, r) != kGreen) continue;
      ++green;
      const double distance = std::hypot(picture.toUserX(c + 0.5), picture.toUserY(r + 0.5) + 3);
      EXPECT_NEAR(distance, 0.4, 0.1) << c << ", " << r;
    }
  }
  EXPECT_GT(green, 30);
  EXPECT_NE(at(0.2, -3.2), kGreen);
  // The screen: a black box from x = 5 to 9 and y = −2 to 2, empty inside.
  struct Case {
    double x, y;
    Rgb colour;
  };
  const Case cases[] = {{5, 1.3, kBlack},   {9, 1.3, kBlack},   {5, -0.7, kBlack},
                        {9, -1.3, kBlack},  {7.3, -2, kBlack},  {7.3, 2, kBlack},
                        {6.3, 1.3, kWhite}, {9.3, 1.3, kWhite}, {4.7, 1.3, kWhite},
                        {7.3, 2.3, kWhite}, {7.3, -2.3, kWhite}};
  for (const Case& c : cases) EXPECT_EQ(at(c.x, c.y), c.colour) << c.x << ", " << c.y;
}

TEST_F(SchemeDrawingTest, RedrawInPlaceLeavesThePictureUnchanged) {
  struct Case {
    bool prism;
    PrismOptions options;
  };
  const Case cases[] = {{false, {}},
                        {true, {}},
                        {true, {true, false, false}},
                        {true, {false, true, false}},
                        {true, {true, true, true}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.prism << c.options.halfAngle << c.options.fourthMirror << c.options.cylinder);
    const SchemeParameters p = c.prism ? prismParameters() : beamSplitterParameters();
    drawDefault(c.prism ? prismInput() : beamSplitterInput(), p, c.options);
    const std::vector<Rgb> before = snapshot();
    for (int i = 0; i < 2; ++i) {
      c.prism ? drawing.redrawPrism(p, c.options) : drawing.redrawBeamSplitter(p);
    }
    // Every pixel stays, except where an element number was printed over an outline: the
    // outline is painted again over it.
    const std::vector<Rgb> after = snapshot();
    int repainted = 0;
    for (std::size_t i = 0; i < after.size(); ++i) {
      if (after[i] == before[i]) continue;
      EXPECT_TRUE(before[i] == kBlack && after[i] == kOutline) << i % 600 << ", " << i / 600;
      ++repainted;
    }
    EXPECT_LT(repainted, 5);
  }
}

TEST_F(SchemeDrawingTest, MovedElementsLeaveNoTrace) {
  struct Check {
    Point where;
    Rgb colour;
    bool present;
  };
  struct Case {
    const char* name;
    bool prism;
    void (*move)(std::array<double, 131>& X, std::array<double, 131>& Y, SchemeParameters& p);
    std::vector<Check> checks;
  };
  const SchemeParameters bs = beamSplitterParameters();
  const SchemeParameters pr = prismParameters();
  const Case cases[] = {
      {"beam splitter",
       false,
       [](auto& X, auto& Y, auto&) {
         X[1] = -0.6;
         Y[5] = -0.5;
         X[6] = 0.7;
         Y[2] = 1.3;
       },
       {{{-11, 1.3}, kOutline, false},
        {{-11, -2.7}, kOutline, false},
        {{-7, 1.3}, kOutline, true},
        {{-7, -2.7}, kOutline, true},
        {{2.5, 11}, kOutline, false},
        {{2.5, 14}, kOutline, true},
        {{0.4, -3}, kGreen, false},
        {{-0.4, -3}, kGreen, false},
        {{5, 1.3}, kBlack, false},
        {{9, -1.3}, kBlack, false},
        {{7, 1.3}, kBlack, true},
        {{11, -1.3}, kBlack, true}}},
      {"prism",
       true,
       [](auto& X, auto& Y, auto& p) {
         X[2] = 0.6;
         Y[6] = 1.1;
         Y[5] = -0.3;
         X[7] = 0.2;
         p.Alfa3 = deg(60);
       },
       {{elementPoint(0.45, 0, pr.Alfa2, 0.35, 0, -1, pr), kOutline, false},
        {elementPoint(0.45, 0, pr.Alfa2, -0.65, 1, -1, pr), kOutline, false},
        {elementPoint(0.6, 0, pr.Alfa2, 0.35, 0, -1, pr), kOutline, true},
        {{-1.414, 1.414}, kOutline, false},
        {{-1, 2.828}, kOutline, false},
        {{-1, 3.464}, kOutline, true},
        {{1.333, -2.7}, kOutline, false},
        {{1.833, -2.7}, kOutline, false},
        {{2.5, -2.7}, kOutline, true},
        {{1.3, 9}, kOutline, false},
        {{-3.3, 9}, kOutline, false},
        {{1.3, 11}, kOutline, true},
        {{0.5, -2}, kGreen, false},
        {{0.5, -3}, kGreen, true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SchemeParameters p = c.prism ? pr : bs;
    const PrismOptions options{false, true, true};
    drawDefault(c.prism ? prismInput() : beamSplitterInput(), p, options);
    c.move(X, Y, p);
    c.prism ? drawing.redrawPrism(p, options) : drawing.redrawBeamSplitter(p);
    for (const Check& check : c.checks) {
      EXPECT_EQ(near(check.where, check.colour), check.present)
          << check.where.x << ", " << check.where.y;
    }
  }
}

TEST_F(SchemeDrawingTest, PrismOptionsShapeTheDrawing) {
  const SchemeParameters p = prismParameters();
  const double T = p.plateThickness;
  const double R = p.cylinderSize;
  const std::vector<PrismOptions> cases = {{false, false, false},
                                           {true, false, false},
                                           {false, true, false},
                                           {false, false, true},
                                           {true, true, true}};
  for (const PrismOptions& o : cases) {
    SCOPED_TRACE(testing::Message() << o.halfAngle << o.fourthMirror << o.cylinder);
    X.fill(0);
    Y.fill(0);
    drawDefault(prismInput(), p, o);
    // The left mirror's plate flips with the fourth mirror; the right one's lies on the
    // (sin, −cos) side.
    const double s1 = o.fourthMirror ? -1 : 1;
    EXPECT_NEAR(X[12], X[11] - s1 * T * std::sin(p.Alfa1), 1e-12);
    EXPECT_NEAR(Y[12], Y[11] + s1 * T * std::cos(p.Alfa1), 1e-12);
    EXPECT_NEAR(X[14], X[13] - s1 * T * std::sin(p.Alfa1), 1e-12);
    EXPECT_NEAR(Y[14], Y[13] + s1 * T * std::cos(p.Alfa1), 1e-12);
    EXPECT_NEAR(X[22], X[21] + T * std::sin(p.Alfa2), 1e-12);
    EXPECT_NEAR(Y[24], Y[23] - T * std::cos(p.Alfa2), 1e-12);
    EXPECT_NEAR((X[11] + X[13]) / 2, -0.45, 1e-12);
    EXPECT_TRUE(near(elementPoint(-0.45, 0, p.Alfa1, 0.35, 1, s1, p), kOutline));
    EXPECT_FALSE(near(elementPoint(-0.45, 0, p.Alfa1, 0.35, 1, -s1, p), kOutline));
    // The prism: apex at the origin, base corners W/2 along the faces at ±Alfa3/2.
    const double base = 0.4 * std::sqrt(0.5);
    EXPECT_NEAR(X[31], o.halfAngle ? 0 : -base, 1e-12);
    EXPECT_NEAR(Y[31], base, 1e-12);
    EXPECT_NEAR(X[32], base, 1e-12);
    EXPECT_NEAR(Y[32], base, 1e-12);
    EXPECT_EQ(near({-1.414, 1.414}, kOutline), !o.halfAngle);
    EXPECT_TRUE(near({1.414, 1.414}, kOutline));
    // The fourth mirror and its number only with Check17.
    if (o.fourthMirror) {
      EXPECT_NEAR(X[41], 0.4 * std::sqrt(0.5), 1e-12);
      EXPECT_NEAR(Y[41], 0.6 - 0.4 * std::sqrt(0.5), 1e-12);
      EXPECT_NEAR(X[42], X[41] - T * std::sin(p.Alfa4), 1e-12);
    } else {
      for (int k = 41; k <= 48; ++k) EXPECT_EQ(X[k], 0) << k;
    }
    EXPECT_EQ(near(elementPoint(0, 0.6, p.Alfa4, 0.35, 0, 1, p), kOutline), o.fourthMirror);
    EXPECT_EQ(count(0, 7, 0.6, 6.35, kBlack) > 0, o.fourthMirror);
    // The cylinder: R along x from X(7) = (X(2) − R)/3, 8·T high.
    const double x7 = (0.45 - R) / 3;
    if (o.cylinder) {
      EXPECT_NEAR(X[71], x7, 1e-12);
      EXPECT_NEAR(X[72], x7, 1e-12);
      EXPECT_NEAR(X[73], x7 + R, 1e-12);
      EXPECT_NEAR(X[74], x7 + R, 1e-12);
      EXPECT_NEAR(Y[71], 4 * T, 1e-12);
      EXPECT_NEAR(Y[74], -4 * T, 1e-12);
    }
    EXPECT_EQ(near({x7 / p.ML, -2.7}, kOutline), o.cylinder);
    EXPECT_EQ(near({(x7 + R) / p.ML, -2.7}, kOutline), o.cylinder);
    // The screen plate W wide and T thick on Y(6) = 0.9.
    EXPECT_NEAR(X[61], -0.4, 1e-12);
    EXPECT_NEAR(X[64], 0.4, 1e-12);
    EXPECT_NEAR(Y[63], 0.9, 1e-12);
    EXPECT_NEAR(Y[62], 1.0, 1e-12);
    EXPECT_TRUE(near({1.3, 9}, kOutline));
    EXPECT_TRUE(near({1.3, 10}, kOutline));
    // The copies used by the next erase.
    EXPECT_EQ(X[33], X[3]);
    EXPECT_EQ(X[34], X[31]);
    EXPECT_EQ(Y[35], Y[32]);
    EXPECT_EQ(Y[55], -0.2);
    for (int k = 1; k <= 4; ++k) {
      for (int base4 : {10, 20, 40, 60, 70}) {
        EXPECT_EQ(X[base4 + k + 4], X[base4 + k]) << base4 + k;
        EXPECT_EQ(Y[base4 + k + 4], Y[base4 + k]) << base4 + k;
      }
    }
  }
}

TEST_F(SchemeDrawingTest, UntickedFourthMirrorAndCylinderStayUntilCleared) {
  const SchemeParameters p = prismParameters();
  drawDefault(prismInput(), p, {false, true, true});
  const Point mirror = elementPoint(0, 0.6, p.Alfa4, 0.35, 0, 1, p);
  const Point cylinder{X[71] / p.ML, -2.7};
  ASSERT_TRUE(near(mirror, kOutline));
  ASSERT_TRUE(near(cylinder, kOutline));
  Y[5] = -0.25;
  drawing.redrawPrism(p, {});
  EXPECT_TRUE(near(mirror, kOutline));
  EXPECT_TRUE(near(cylinder, kOutline));
  drawDefault(prismInput(), p, {});
  EXPECT_FALSE(near(mirror, kOutline));
  EXPECT_FALSE(near(cylinder, kOutline));
}

TEST_F(SchemeDrawingTest, LegendTextsAreTheProgramsOwn) {
  const std::string beamSplitter =
      std::string(
          " 1- левое зеркало   2- вехнее зеркало  3- полупрозрачное зеркало   "
          "4- прозрачная пластина ") +
      "\r\n" + "  5- источник света   6- объектив трубы или экран" + "\r\n" + "\r\n";
  const std::string prism =
      std::string(
          " 1- левое зеркало   2- правое зеркало  3- зеркальная призма  4- зеркало  "
          "5- источник света  ") +
      "\r\n" + "  6- объектив трубы или экран  " + "\r\n" + "\r\n";
  const std::string headerStart = "       углы наклона движущихся поверхностей";
  const std::string headerEnd = "углы под которыми движутся лучи";
  EXPECT_EQ(kBeamSplitterLegend, beamSplitter);
  EXPECT_EQ(kPrismLegend, prism);
  EXPECT_EQ(kBeamSplitterAngleHeader, headerStart + std::string(32, ' ') + headerEnd);
  EXPECT_EQ(kPrismAngleHeader, headerStart + std::string(33, ' ') + headerEnd);
}

TEST_F(SchemeDrawingTest, LegendAndNumbersArePrinted) {
  struct Case {
    bool prism;
    double ML;
    std::vector<Point> numbers;  // top left of the numbers 1, 2, ...
  };
  const Case cases[] = {
      {false, 0.1, {{-11, 0}, {0, 11}, {0, 1}, {0, 6}, {-1.5, -2.5}, {6, 0}}},
      {false, 0.2, {{-6, 0}, {0, 6}, {0, 1}, {0, 3.5}, {-1.5, -1}, {3.5, 0}}},
      {true, 0.1, {{-5.5, 0}, {4.5, 0}, {0, 1}, {0, 7}, {-1.5, -1.5}, {0.5, 10}}},
  };
  std::vector<Rgb> legendRows[2];
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.prism << " " << c.ML);
    SchemeParameters p = c.prism ? prismParameters() : beamSplitterParameters(c.ML);
    drawDefault(c.prism ? prismInput() : beamSplitterInput(), p, {false, c.prism, false});
    for (std::size_t i = 0; i < c.numbers.size(); ++i) {
      const Point n = c.numbers[i];
      EXPECT_GT(count(n.x, n.y, n.x + 0.5, n.y - 0.6, kBlack), 0) << i + 1;
      EXPECT_EQ(count(n.x - 0.7, n.y + 0.8, n.x - 0.1, n.y + 0.2, kBlack), 0) << i + 1;
    }
    // Two legend lines from (−12, 24.9), the header from (−12, 22.9) after its blanks.
    EXPECT_GT(count(-12, 24.9, 2, 24.3, kBlack), 100);
    EXPECT_GT(count(-12, 24.3, -2, 23.7, kBlack), 50);
    EXPECT_GT(count(-10, 22.9, 4, 22.3, kBlack), 100);
    EXPECT_EQ(count(-13, 23.6, 14, 23.0, kBlack), 0);
    EXPECT_EQ(count(-13.1, 24.9, -12.1, 22.3, kBlack), 0);
    std::vector<Rgb> rows;
    for (int r = row(24.9); r <= row(22.3); ++r) {
      for (int col = 0; col < picture.width(); ++col) rows.push_back(picture.pixel(col, r));
    }
    std::vector<Rgb>& seen = legendRows[c.prism ? 1 : 0];
    if (seen.empty()) {
      seen = rows;
    } else {
      EXPECT_TRUE(rows == seen) << "the legend does not follow ML";
    }
  }
  EXPECT_FALSE(legendRows[0] == legendRows[1]);
}

}  // namespace
}  // namespace quorvel::experiment
