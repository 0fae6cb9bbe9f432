#include "experiment/model/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "common/numbers.h"
#include "experiment/run_harness.h"
#include "platform/headless/headless_host.h"
#include "platform/picture.h"

namespace quorvel::experiment::model {
namespace {

using common::Pi;

double deg(double degrees) {
  return degrees / common::RadToDeg;
}
// The angle between two line directions, half turns ignored.
double lineAngleDifference(double a, double b) {
  return std::fabs(std::sin(a - b));
}

// "Test" units (light at 30 km/s, dt = 1E-7 s refined by 1E3), the setup moving with (Vx, Vy)
// and the closing speeds as the runs form them for a front along An and a surface at alfa.
ExperimentState testState(double Vx, double Vy, double An, double alfa) {
  ExperimentState s;
  s.c = 30000;
  s.dt = 1e-7;
  s.refinementDivisor = 1e3;
  s.Vx = Vx;
  s.Vy = Vy;
  s.V = std::hypot(Vx, Vy);
  s.AlfaV = common::FullAngle(Vx, Vy);
  for (double side : {1.0, -1.0}) {
    s.V12 = s.c * std::cos(An - alfa + side * Pi / 2);
    s.V21 = s.V * std::cos(s.AlfaV - alfa - side * Pi / 2);
    if (s.V12 > 0) break;
  }
  return s;
}

class GeometryTest : public testing::Test {
 protected:
  platform::HeadlessHost host;
  int stop = 0;
  RunHarness contextHarness{host, nullptr, stop};
  RunContext& context = contextHarness.context;
};

TEST_F(GeometryTest, DistanceToLineMatchesHandComputedDistances) {
  struct Case {
    double x0, y0, x1, y1, alfa, expected;
  };
  const std::vector<Case> cases = {
      {2, 3, 0, 1, deg(45), 0},
      {0, 1, 0, 0, 0, 1},
      {3, -2.5, -7, 1.5, Pi, 4},
      {1, 0, 0, 0, deg(45), std::sqrt(0.5)},
      {0, 2, 0, 0, deg(30), std::sqrt(3.0)},
      {4, -7, 1, 5, Pi / 2, 3},  // near-vertical: tan of the program's π/2 ≈ 6E14
      {-2, 0, 1, 5, 3 * Pi / 2, 3},
      {0, 0, 1, 0, deg(90.000001), std::sin(deg(90.000001))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x0 << ", " << c.y0 << " at " << c.alfa);
    ExperimentState s;
    EXPECT_NEAR(DistanceToLine(s, c.x0, c.y0, c.x1, c.y1, c.alfa), c.expected, 1e-12);
    EXPECT_EQ(s.lineA, std::tan(c.alfa));
    EXPECT_EQ(s.lineB, -1);
    EXPECT_EQ(s.lineK, c.y1 - std::tan(c.alfa) * c.x1);
  }
}

// A front has touched the mirror at F; the point half a mirror width beside it on the front
// runs on until it meets the moving mirror line, where a straight line and a moving line
// cross. The effective angle is the direction from F to there: the mirror's own at rest.
TEST_F(GeometryTest, ApproachMirrorStepwiseMeetsTheMirrorWhereTheyCross) {
  struct Case {
    double alfaDeg, AnDeg, Vx, Vy;
  };
  const std::vector<Case> cases = {
      {121.7032392, 180, 0, 0},    {135, 90, 0, 0},          {45, 0, 0, 0},
      {121.7032392, 180, 0, 3300}, {58.2967608, 0, 0, 3300}, {135, 90, 3000, 0},
      {135, 90, -2000, -2500},     {90, 150, 3000, 0},       {90, 200, -3000, 1000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.alfaDeg << " deg, An " << c.AnDeg << ", V = (" << c.Vx
                                    << ", " << c.Vy << ")");
    const double alfa = deg(c.alfaDeg), An = deg(c.AnDeg);
    ExperimentState s = testState(c.Vx, c.Vy, An, alfa);
    const double fx = -0.45, fy = 0.05;
    // The point beside F on the side the light comes from.
    const double nx = -std::sin(alfa), ny = std::cos(alfa);
    const double side = nx * std::cos(An + Pi / 2) + ny * std::sin(An + Pi / 2);
    const double sign = side * (nx * std::cos(An) + ny * std::sin(An)) > 0 ? -0.4 : 0.4;
    const double px = fx + sign * std::cos(An + Pi / 2), py = fy + sign * std::sin(An + Pi / 2);
    const double vx = s.c * std::cos(An), vy = s.c * std::sin(An);
    ApproachPoints p{px, py, fx, fy};
    ApproachMirror(s, context, vx, vy, p, alfa);

    const double t = -(nx * (px - fx) + ny * (py - fy)) / (nx * (vx - c.Vx) + ny * (vy - c.Vy));
    const double ex = px + vx * t - fx, ey = py + vy * t - fy;
    // The front stops short of the crossing by less than one refined step of its way.
    const double resolution = s.c * s.dt / s.refinementDivisor / std::hypot(ex, ey);
    EXPECT_LE(lineAngleDifference(s.AlfaZ, common::FullAngle(ex, ey)), resolution);
    EXPECT_LT(std::fabs(s.AlfaZ - common::FullAngle(ex, ey)), Pi / 2);
    if (c.Vx == 0 && c.Vy == 0) {
      EXPECT_LE(lineAngleDifference(s.AlfaZ, alfa), resolution);
    }
    EXPECT_EQ(s.Xm[10], fx);
    EXPECT_EQ(s.Ym[10], fy);
    EXPECT_EQ(s.P0, s.dt / s.refinementDivisor);
    EXPECT_LE(s.R0, (s.V12 + s.V21) * s.P0);
  }
}

TEST_F(GeometryTest, ApproachMirrorAnalyticDirections) {
  struct Case {
    const char* name;
    bool secondAnalyticReflection;
    double alfaDeg, Vx, Vy, dx, c, expectedDeg;  // c = 0 or Vy: a division by zero
  };
  // The setup's angle before the call is 77 degrees; expected angles worked out by hand.
  const std::vector<Case> cases = {
      {"Kestr along x: atan(1/1.1)", false, 45, 3000, 0, 0.4, 30000, 42.273689},
      {"Kestr along y: atan(1/0.9)", false, 45, 0, 3000, 0.4, 30000, 48.012788},
      {"Kestr, negative: atan(-1/0.9) + 180", false, 135, 3000, 0, 0.4, 30000, 131.987212},
      {"Kestr, the sign of dx drops out", false, 45, 3000, 0, -0.4, 30000, 42.273689},
      {"Hedrick up to a quarter turn: atan(0.9)", true, 45, 3000, 0, 0.4, 30000, 41.987212},
      {"Hedrick beyond: atan(-1.1) + 180", true, 135, 3000, 0, 0.4, 30000, 132.273689},
      {"Hedrick along y: atan(1.1)", true, 45, 0, 3000, 0.4, 30000, 47.726311},
      {"at rest the angle stays", false, 45, 0, 0, 0.4, 30000, 77},
      {"at rest the angle stays (Hedrick)", true, 45, 0, 0, 0.4, 30000, 77},
      {"|Vx| = |Vy| keeps the angle", false, 45, 2000, -2000, 0.4, 30000, 77},
      {"dx = 0 takes the mirror's own angle", false, 58.2967608, 3000, 0, 0, 30000, 58.2967608},
      {"c = Vy", false, 45, 0, 30000, 0.4, 30000, NAN},
      {"c = 0", true, 45, 3000, 0, 0.4, 0, NAN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExperimentState s = testState(c.Vx, c.Vy, Pi / 2, deg(c.alfaDeg));
    s.options.analyticReflection = true;
    s.options.secondAnalyticReflection = c.secondAnalyticReflection;
    s.c = c.c;
    s.AlfaZ = deg(77);
    ApproachPoints p{c.dx, 0.3, 0, 0.3};
    if (std::isnan(c.expectedDeg)) {
      EXPECT_THROW(ApproachMirror(s, context, 0, 1, p, deg(c.alfaDeg)), common::ArithmeticError);
      continue;
    }
    ApproachMirror(s, context, 0, s.c, p, deg(c.alfaDeg));
    EXPECT_NEAR(s.AlfaZ * common::RadToDeg, c.expectedDeg, 1e-6);
    EXPECT_EQ(p.x, c.dx);  // the analytic mode moves nothing
  }
}

// "++ Кестр" is the crossing of a front going straight up with a mirror moving along one
// axis: the stepwise approach finds the same line.
TEST_F(GeometryTest, ApproachMirrorAnalyticAgreesWithStepwiseForAnUpwardFront) {
  for (double alfaDeg : {45.0, 58.2967608, 121.7032392, 135.0}) {
    for (auto [Vx, Vy] :
         std::vector<std::pair<double, double>>{{3000, 0}, {-3000, 0}, {0, 3000}, {0, -3000}}) {
      SCOPED_TRACE(testing::Message() << alfaDeg << " deg, V = (" << Vx << ", " << Vy << ")");
      const double alfa = deg(alfaDeg);
      const double dx = std::tan(alfa) > 0 ? 0.4 : -0.4;  // the side the front meets
      ExperimentState stepwise = testState(Vx, Vy, Pi / 2, alfa);
      ExperimentState analytic = stepwise;
      analytic.options.analyticReflection = true;
      ApproachPoints p{dx, 0, 0, 0}, q{dx, 0, 0, 0};
      ApproachMirror(stepwise, context, 0, stepwise.c, p, alfa);
      ApproachMirror(analytic, context, 0, analytic.c, q, alfa);
      EXPECT_LE(lineAngleDifference(stepwise.AlfaZ, analytic.AlfaZ), 3e-6 / 0.4);
    }
  }
}

TEST_F(GeometryTest, ApproachMirrorThatCanNeverCloseIsAnArithmeticError) {
  // A front running along the mirror.
  ExperimentState s = testState(0, 0, deg(45), deg(45));
  ApproachPoints along{0.4, 0, 0, 0};
  EXPECT_THROW(
      ApproachMirror(s, context, s.c * std::cos(deg(45)), s.c * std::sin(deg(45)), along, deg(45)),
      common::ArithmeticError);
  // A front closing at c with a closing speed of c/10 given: half a full step off the grid it
  // is never within 2·(c/10)·dt of the mirror, takes no refined step and runs through it.
  s = testState(0, 0, Pi / 2, 0);
  s.V12 /= 10;
  ApproachPoints through{0, -(0.399 + 0.0015), 0, 0};
  EXPECT_THROW(ApproachMirror(s, context, 0, s.c, through, 0), common::ArithmeticError);
  EXPECT_GT(host.doEventsCalls(), 134);
  EXPECT_LT(host.doEventsCalls(), 5000);
}

TEST_F(GeometryTest, ApproachMirrorStopsOnlyOnAStopRaisedWhileItRuns) {
  for (int atEntry : {0, 1}) {
    SCOPED_TRACE(atEntry);
    platform::HeadlessHost localHost;
    int flag = atEntry;
    RunHarness localHarness{localHost, nullptr, flag};
    RunContext& local = localHarness.context;
    localHost.onDoEvents = [&] {
      if (localHost.doEventsCalls() == 5) flag = 1;
    };
    ExperimentState s = testState(0, 0, Pi / 2, 0);
    ApproachPoints p{0.4, -0.4, 0, 0};
    ApproachMirror(s, local, 0, s.c, p, 0);
    if (atEntry == 1) {  // a run advanced by NC0 steps: the approach still ends
      EXPECT_LE(lineAngleDifference(s.AlfaZ, 0), 1e-5);
    } else {
      EXPECT_EQ(localHost.doEventsCalls(), 5);
      EXPECT_NEAR(p.y, -0.4 + 6 * s.c * s.dt, 1e-12);
      EXPECT_EQ(s.AlfaZ, common::FullAngle(p.x, p.y));
    }
  }
}

TEST_F(GeometryTest, ApproachMirrorDrawsTheFrontsWayOnlyWithFronts) {
  for (bool fronts : {true, false}) {
    platform::Picture picture(200, 200);
    picture.scale(-10, 10, 10, -10);
    RunHarness drawingHarness{host, &picture, stop};
    RunContext& drawing = drawingHarness.context;
    ExperimentState s = testState(0, 0, Pi / 2, 0);
    s.options.drawFronts = fronts;
    ApproachPoints p{0.4, -0.4, 0, 0};  // segments from (0, 0) to (4, −4)…(4, 0) in units
    ApproachMirror(s, drawing, 0, s.c, p, 0);
    int green = 0;
    for (int column = 0; column < picture.width(); ++column) {
      for (int row = 0; row < picture.height(); ++row) {
        green += picture.pixel(column, row) == platform::Rgb{0, 250, 0};
      }
    }
    EXPECT_EQ(green > 100, fronts);
    EXPECT_EQ(green == 0, !fronts);
  }
}

}  // namespace
}  // namespace quorvel::experiment::model
