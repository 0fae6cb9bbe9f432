#include "experiment/model/prism_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "common/shared.h"
#include "experiment/model/path_report.h"
#include "experiment/model/presets.h"
#include "experiment/model/run_fields.h"
#include "experiment/model/run_start.h"
#include "experiment/run_harness.h"
#include "platform/headless/headless_host.h"
#include "platform/picture.h"

namespace quorvel::experiment::model {
namespace {

using common::Pi;
using common::RadToDeg;

constexpr double kDiameter = 0.002;  // beam diameter, m
constexpr double kCylinder = 0.05;   // R, m
constexpr double kGas = 1.000304;    // the cylinder's filling

struct Fields {
  double V = 0, direction = 90;    // km/s, degrees
  double Vz = 0, directionZ = 90;  // the second component of the motion
  double dt = 1e-7, divisor = 1e3;
  bool doppler = false, analytic = false, mirrors = false;
  bool ray1Straight = false, additionalMirror = false, secondLaser = false, cylinder = false,
       beamDivergence = false;
  bool pauses = false;       // " Auto" unticked: a message box at every leg end
  double n0 = 1;             // the medium's index
  bool onFrequency = false;  // the medium acts on the frequency ("частоту"), not the speed
};

Fields moving(double degrees, Fields f = {}) {
  f.V = 3.3;
  f.direction = degrees;
  return f;
}

// The window's prism setup in "Test" units, as "Начать эксперимент" reads it.
ExperimentState windowState(const Fields& f) {
  auto& X = common::shared().X;
  auto& Y = common::shared().Y;
  X = {};
  Y = {};
  Options o;
  o.prism = true;
  o.dopplerModels = f.doppler;
  o.movingMirrors = f.mirrors;
  o.analyticDoppler = f.analytic;
  o.ray1Straight = f.ray1Straight;
  o.additionalMirror = f.additionalMirror;
  o.secondLaser = f.secondLaser;
  o.cylinder = f.cylinder;
  o.beamDivergence = f.beamDivergence;
  o.autoRun = !f.pauses;
  o.mediumOnFrequency = f.onFrequency;
  // The window's prism geometry (the variant's with the additional mirror), Y4 at 0.
  RunFields w = presetFields(SetupChoice::Prism, UnitChoice::Test);
  applyPreset(setupPreset(SetupChoice::Prism, f.ray1Straight && f.additionalMirror), w);
  if (!(f.ray1Straight && f.additionalMirror)) w.Y4 = 0;
  w.cylinderSize = kCylinder;
  w.beamDiameter = kDiameter * 1000;
  w.dt = f.dt;
  w.refinementDivisor = f.divisor;
  w.mediumIndex = f.n0;
  w.cylinderIndex = kGas;
  w.Vss = f.V;
  w.AlfaVss = f.direction;
  w.Vz = f.Vz;
  w.AlfaVz = f.directionZ;
  ExperimentState s;
  applyFields(w, o, s, X, Y);
  return s;
}

class PrismRunTest : public testing::Test {
 protected:
  PrismRunTest() { common::shared().StopRequested = 0; }
  ~PrismRunTest() override { common::shared().StopRequested = 0; }

  // The start and the whole run; a run that has not ended after far more refreshes than a
  // whole run takes is stopped, as the user would.
  bool run(const Fields& f, RunHooks hooks = {}) {
    s = windowState(f);
    startRun(s, context);
    hooks.showResults = [refreshes = 0](const ExperimentState&) mutable {
      if (++refreshes > 1'000'000) common::shared().StopRequested = 1;
    };
    return runPrism(s, contextHarness.with(hooks)) == RunEnd::Arrived;
  }
  double refinedStep() const { return s.dt / s.refinementDivisor; }

  platform::HeadlessHost host;
  platform::Picture picture{200, 200};
  RunHarness contextHarness{host, &picture};
  RunContext& context = contextHarness.context;
  ExperimentState s;
};

// At rest the two halves of the beam are mirror images of each other about the prism's
// edge: same times, same paths, arrival points at mirrored x, no frequency change.
TEST_F(PrismRunTest, AtRestTheRaysAreMirrorImages) {
  for (bool mirrors : {false, true}) {
    Fields f;
    f.mirrors = mirrors;
    ASSERT_TRUE(run(f)) << mirrors;
    const double step = s.c * refinedStep();
    EXPECT_NEAR(s.T1, s.T2, 2 * refinedStep());
    EXPECT_NEAR(s.S1, s.S2, 2 * step);
    EXPECT_NEAR(s.arrivalX[1], -s.arrivalX[2], 4 * step);
    EXPECT_NEAR(s.arrivalY[1], s.arrivalY[2], 4 * step);
    // The stepwise approach of a moving mirror finds its angle to a few 1E-4 degrees.
    const double angle = mirrors ? 3e-4 : 1e-9;
    EXPECT_NEAR(s.legs.An[14] * RadToDeg, 180, angle);
    EXPECT_NEAR(s.legs.An[24] * RadToDeg, 0, angle);
    for (int k : {10, 14, 18, 19, 20, 24, 28, 29}) {
      EXPECT_DOUBLE_EQ(s.legs.v[static_cast<std::size_t>(k)], s.v01) << k;
    }
    // The reference points between the bounding setup points.
    const auto& X = common::shared().X;
    const auto& Y = common::shared().Y;
    EXPECT_DOUBLE_EQ(Y[110], -0.1);
    EXPECT_DOUBLE_EQ(Y[120], -0.1);
    EXPECT_DOUBLE_EQ(X[114], -0.225);
    EXPECT_DOUBLE_EQ(X[124], 0.225);
    EXPECT_DOUBLE_EQ(Y[118], 0.45);
    EXPECT_DOUBLE_EQ(X[128], 0.225);
  }
}

// Moving along x, each reference point lies midway between the setup points that bound its
// leg, where they stood when the leg ended (the setup has moved by Vx·T by then); those of
// the undivided beam, 110 and 120, are the same point, stored at the division.
TEST_F(PrismRunTest, ReferencePointsWhereTheBoundingPointsStoodAtTheLegsEnd) {
  const auto& X = common::shared().X;
  const auto& Y = common::shared().Y;
  constexpr double kSum = 1e-12;  // the points and the time are sums of many steps
  ASSERT_TRUE(run(moving(0)));
  EXPECT_EQ(X[110], X[120]);
  EXPECT_EQ(Y[110], Y[120]);
  EXPECT_NEAR(Y[110], -0.1, kSum);
  EXPECT_GT(X[110], s.Vx * 0.19 / s.c);
  EXPECT_LT(X[110], s.Vx * s.legs.T1[10]);
  EXPECT_NEAR(X[114], -0.225 + s.Vx * s.legs.T1[14], kSum);
  EXPECT_NEAR(X[124], 0.225 + s.Vx * s.legs.T2[24], kSum);
  EXPECT_NEAR(X[118], -0.225 + s.Vx * s.legs.T1[18], kSum);
  EXPECT_NEAR(X[128], 0.225 + s.Vx * s.legs.T2[28], kSum);
  EXPECT_NEAR(Y[114], 0, kSum);
  EXPECT_NEAR(Y[128], 0.45, kSum);

  // The variant with the additional mirror: 111 between it and the laser, 114 between the
  // prism and the left mirror standing on the right.
  Fields f = moving(0);
  f.ray1Straight = f.additionalMirror = true;
  ASSERT_TRUE(run(f));
  EXPECT_NEAR(X[111], s.Vx * s.legs.T1[11], kSum);
  EXPECT_NEAR(Y[111], 0.1, kSum);
  EXPECT_NEAR(X[114], 0.5 + s.Vx * s.legs.T1[14], kSum);
  EXPECT_NEAR(Y[118], 0.65, kSum);

  // Straight to the screen, leg 18's point is still the one between mirror 1 and the screen.
  f = moving(0);
  f.ray1Straight = true;
  ASSERT_TRUE(run(f));
  EXPECT_NEAR(X[118], -0.225 + s.Vx * s.legs.T1[18], kSum);
  EXPECT_NEAR(Y[118], 0.45, kSum);
}

// Step by step (" Auto" unticked), the division of the beam at the edge asks first, with the
// edge's x and the beam's; "No" stops the run at its next refresh, the beam divided.
TEST_F(PrismRunTest, DivisionOfTheBeamAsksStepByStep) {
  Fields f = moving(0);
  f.pauses = true;
  host.queueAnswer(false);
  EXPECT_FALSE(run(f));
  ASSERT_EQ(host.messages().size(), 1u);
  const std::string text = host.messages()[0].text;
  EXPECT_EQ(host.messages()[0].title, "Quorvel");
  const std::string head = "участок пути  1\r\nX ребра призмы=  ";
  const std::string middle = "\r\nX центра луча=  ";
  const std::string tail = "\r\n\r\nПРОДОЛЖИТЬ ПОЭТАПНОЕ ДВИЖЕНИЕ?";
  ASSERT_EQ(text.rfind(head, 0), 0u) << text;
  const auto at = text.find(middle);
  ASSERT_NE(at, std::string::npos);
  ASSERT_EQ(text.substr(text.size() - tail.size()), tail);
  const auto edge = common::parseNumber(text.substr(head.size(), at - head.size()));
  const auto beam = common::parseNumber(
      text.substr(at + middle.size(), text.size() - tail.size() - at - middle.size()));
  ASSERT_TRUE(edge && beam) << text;
  // The laser aimed against the drift keeps the beam on the moving edge.
  EXPECT_NEAR(*edge, s.Vx * 0.2 / s.c, 2 * s.Vx * s.dt);
  EXPECT_NEAR(*beam, *edge, 1e-12);
  EXPECT_EQ(s.ii, 10);
  EXPECT_EQ(s.jj, 20);
}

// Every direction of motion and every variant ends with both rays on the screen.
TEST_F(PrismRunTest, EveryDirectionAndVariantArrives) {
  std::vector<Fields> variants(10);
  variants[1].mirrors = true;
  variants[2].ray1Straight = true;
  variants[3].ray1Straight = variants[3].additionalMirror = true;
  variants[4].cylinder = true;
  variants[5].secondLaser = true;
  variants[6].beamDivergence = variants[6].mirrors = true;
  variants[7].ray1Straight = variants[7].additionalMirror = variants[7].mirrors = true;
  variants[8].cylinder = variants[8].mirrors = true;
  variants[9].secondLaser = variants[9].ray1Straight = variants[9].mirrors = true;
  for (std::size_t v = 0; v < variants.size(); ++v) {
    for (double direction = 0; direction < 360; direction += 45) {
      ASSERT_TRUE(run(moving(direction, variants[v]))) << v << " " << direction;
      EXPECT_EQ(s.ii, 19);
      EXPECT_EQ(s.jj, 29);
      EXPECT_TRUE(s.legs.done[18] && s.legs.done[28]);
    }
  }
  // Two motions in which a ray used to jump a full step past its mirror: the window's
  // second component of 0.3 km/s up with the first at 91°, and, in the variant with the
  // additional mirror, both components at 135°.
  Fields oblique;
  oblique.V = 3;
  oblique.direction = 91;
  oblique.Vz = 0.3;
  Fields variant = oblique;
  variant.direction = variant.directionZ = 135;
  variant.ray1Straight = variant.additionalMirror = true;
  for (const Fields& f : {oblique, variant}) {
    ASSERT_TRUE(run(f)) << f.direction;
    EXPECT_TRUE(s.legs.done[18] && s.legs.done[28]);
  }
}

// The leg tables of the variants: the legs a ray skips end where the leg before them ends.
TEST_F(PrismRunTest, SkippedLegsHaveNoDuration) {
  Fields f;
  ASSERT_TRUE(run(f));
  for (std::size_t k : {21u, 22u, 23u}) EXPECT_EQ(s.legs.T2[k], s.legs.T2[20]) << k;
  for (std::size_t k : {11u, 12u, 13u}) EXPECT_EQ(s.legs.T1[k], s.legs.T1[10]) << k;
  EXPECT_GT(s.legs.T2[24], s.legs.T2[20]);

  // Ray 1 straight to the screen: nothing but legs 18 and 19.
  f.ray1Straight = true;
  ASSERT_TRUE(run(f));
  for (std::size_t k = 10; k < 18; ++k) EXPECT_EQ(s.legs.T1[k], 0) << k;
  EXPECT_NEAR(s.legs.T1[18], 1.1 / s.c, 2 * refinedStep());
  EXPECT_NEAR(s.arrivalX[1], -kDiameter / 4, 1e-12);
}

// The cylinder: its glass cover and its gas take the time their length and index give.
TEST_F(PrismRunTest, CylinderTimesFollowLengthAndIndex) {
  Fields f;
  f.cylinder = true;
  ASSERT_TRUE(run(f));
  EXPECT_NEAR(s.legs.T2[22] - s.legs.T2[21], 0.01 * 1.5 / s.Vs0, 2 * refinedStep());
  EXPECT_NEAR(s.legs.T2[23] - s.legs.T2[22], kCylinder * kGas / s.Vs0, 2 * refinedStep());
  EXPECT_DOUBLE_EQ(s.legs.V2[23], s.Vs0 / kGas);
  EXPECT_DOUBLE_EQ(s.legs.V2[24], s.Vs0);

  // With the medium acting on the frequency ("частоту") the light keeps the entered speed on
  // every leg, in air, glass and gas alike, and its frequency goes as 1/n: the laser's
  // v01/n(0) in air, v01/1,5 in the glass, v01/n(23) in the gas.
  f.n0 = 1.0003;
  f.onFrequency = true;
  ASSERT_TRUE(run(f));
  EXPECT_EQ(s.c, s.Vs0);
  for (std::size_t k : {14u, 18u, 19u}) EXPECT_EQ(s.legs.V1[k], s.Vs0) << k;
  for (std::size_t k : {21u, 22u, 23u, 24u, 28u, 29u}) EXPECT_EQ(s.legs.V2[k], s.Vs0) << k;
  EXPECT_NEAR(s.legs.T2[22] - s.legs.T2[21], 0.01 / s.Vs0, 2 * refinedStep());
  EXPECT_NEAR(s.legs.T2[23] - s.legs.T2[22], kCylinder / s.Vs0, 2 * refinedStep());
  EXPECT_DOUBLE_EQ(s.legs.v[20], s.v01 / 1.0003);
  EXPECT_DOUBLE_EQ(s.legs.v[22], s.v01 / 1.5);
  EXPECT_DOUBLE_EQ(s.legs.v[23], s.v01 / kGas);
  EXPECT_DOUBLE_EQ(s.legs.v[24], s.v01 / 1.0003);
  EXPECT_DOUBLE_EQ(s.legs.v[29], s.v01 / 1.0003);
}

// Where the halves of the beam start: a quarter diameter beside the axis, the whole one
// with two lasers (no division); "++ Alfa4" alone changes nothing.
TEST_F(PrismRunTest, DivisionOfTheBeam) {
  const double step = 30000 * 1e-10;
  struct Case {
    bool additionalMirror, secondLaser;
    double pathToFace;  // ray 2 from the source to the right face, m
  };
  for (const Case& c :
       {Case{false, false, 0.2 + kDiameter / 4}, Case{true, false, 0.2 + kDiameter / 4},
        Case{false, true, 0.2 + kDiameter}}) {
    Fields f;
    f.additionalMirror = c.additionalMirror;
    f.secondLaser = c.secondLaser;
    ASSERT_TRUE(run(f));
    EXPECT_NEAR(s.legs.S2[20], c.pathToFace, 2 * step);
    EXPECT_NEAR(s.legs.S1[10], c.pathToFace, 2 * step);
  }
  // The beam widening towards its diameter on the screen ("+его диаметр на экране"): at the
  // edge, 0.2 m from the laser, it is d' = d + 0.4·tan θ wide, and its halves leave at
  // aim ± θ, each a quarter of d' beside the axis, for the face that runs at 45° through
  // the edge.
  Fields f;
  f.beamDivergence = true;
  ASSERT_TRUE(run(f));
  const double theta = std::atan((0.02 - kDiameter) / (2 * 1.1));
  EXPECT_DOUBLE_EQ(s.divergenceAngle, theta);
  const double quarter = (kDiameter + 0.4 * std::tan(theta)) / 4;
  const double toFace = quarter / (std::cos(theta) - std::sin(theta));
  EXPECT_NEAR(s.legs.S1[10], 0.2 + toFace, 2 * step);
  EXPECT_NEAR(s.legs.S2[20], 0.2 + toFace, 2 * step);
  EXPECT_NEAR(s.legs.An[10] * RadToDeg, 90 + theta * RadToDeg, 1e-12);
  EXPECT_NEAR(s.legs.An[20] * RadToDeg, 90 - theta * RadToDeg, 1e-12);
}

// With the Doppler models (dt = 1E-9 s, K = 10: each frequency good to about 1E-4): at rest
// every frequency is the laser's own. Moving across the axis of the prism, the two rays
// exchange their roles: what ray 1 meets moving to +x, ray 2 meets moving to −x.
TEST_F(PrismRunTest, DopplerFrequenciesAtRestAndMirroredMotion) {
  constexpr double kResolution = 1.2e-4;
  Fields f;
  f.doppler = true;
  f.dt = 1e-9;
  f.divisor = 10;
  ASSERT_TRUE(run(f));
  for (std::size_t k : {14u, 18u, 19u, 24u, 28u, 29u}) {
    EXPECT_NEAR(s.legs.v[k] / s.v01, 1, kResolution) << k;
  }
  EXPECT_NEAR(s.legs.received[18] / s.v01, 1, kResolution);
  EXPECT_NEAR(s.legs.received[28] / s.v01, 1, kResolution);

  ASSERT_TRUE(run(moving(0, f)));
  const double ray1 = s.legs.received[18] / s.v01;
  const double ray2 = s.legs.received[28] / s.v01;
  ASSERT_TRUE(run(moving(180, f)));
  EXPECT_NEAR(s.legs.received[28] / s.v01, ray1, kResolution);
  EXPECT_NEAR(s.legs.received[18] / s.v01, ray2, kResolution);
}

// Both rays share the step. When ray 1 has reached its mirror while ray 2 is still within
// ten full steps of its own, the refined step stays until ray 2 is there too, although it
// is not yet near enough for its own approach to refine the step; then the full step comes
// back at once. Moving along x at 0.5 km/s, ray 2 is 0.015 m (five full steps) behind.
TEST_F(PrismRunTest, RefinedStepStaysUntilTheOtherRayHasReachedItsMirror) {
  std::vector<double> refinedAt;
  RunHooks hooks;
  hooks.debugLine = [&](const std::string&) { refinedAt.push_back(s.T); };
  auto runWithDebug = [&](const Fields& fields) {
    s = windowState(fields);
    s.options.debugFile = true;
    startRun(s, context);
    refinedAt.clear();
    return runPrism(s, contextHarness.with(hooks)) == RunEnd::Arrived;
  };
  auto refinedBetween = [&](double from, double to) {
    return std::count_if(refinedAt.begin(), refinedAt.end(),
                         [&](double T) { return T > from && T <= to; });
  };
  Fields f = moving(0);
  f.V = 0.5;
  ASSERT_TRUE(runWithDebug(f));
  const double first = s.legs.T1[14];
  const double second = s.legs.T2[24];
  EXPECT_NEAR(second - first, 0.45 * 2 * 500 / (s.c * s.c - 500 * 500), 4 * s.dt);
  EXPECT_NEAR(static_cast<double>(refinedBetween(first, second)), (second - first) / refinedStep(),
              2);
  EXPECT_EQ(refinedBetween(second, second + 20 * s.dt), 0);

  // Ray 1 straight to the screen arrives long before ray 2: the full step comes back.
  f = Fields{};
  f.ray1Straight = true;
  ASSERT_TRUE(runWithDebug(f));
  EXPECT_EQ(refinedBetween(s.legs.T1[18], s.legs.T1[18] + 20 * s.dt), 0);
  EXPECT_GT(refinedBetween(s.legs.T1[18] - 2 * s.dt, s.legs.T1[18]), 1000);
}

// At the end of a run the last refresh comes first (with "анимация" the setup is drawn
// anew) and the frequency table after it, so that the drawing cannot cover the table; its
// title stands at y = 13 and its lines from y = 12 down.
TEST_F(PrismRunTest, FrequencyTableIsPrintedAfterTheLastRedraw) {
  platform::Picture scheme(700, 700);
  scheme.scale(-13, 25, 17, -5);
  RunHarness drawnHarness{host, &scheme};
  RunContext& drawn = drawnHarness.context;
  Fields f;
  s = windowState(f);
  s.options.frequencyText = true;
  s.options.animation = true;
  startRun(s, drawn);
  int redraws = 0;
  RunHooks hooks;
  hooks.redrawSetup = [&] {
    ++redraws;
    scheme.cls();
  };
  ASSERT_EQ(runPrism(s, drawnHarness.with(hooks)), RunEnd::Arrived);
  EXPECT_GT(redraws, 0);
  // A text printed at y stands in the line below it.
  auto inkAround = [&scheme](double y) {
    int ink = 0;
    const int top = static_cast<int>(scheme.toPixelY(y));
    for (int row = top; row < top + 10; ++row) {
      for (int column = 0; column < scheme.width(); ++column) {
        ink += scheme.pixel(column, row) != platform::Rgb{255, 255, 255};
      }
    }
    return ink;
  };
  EXPECT_GT(inkAround(13), 50);   // the title
  EXPECT_GT(inkAround(12), 50);   // v(10)/v01
  EXPECT_GT(inkAround(5.6), 50);  // v(18)/v01
  EXPECT_EQ(inkAround(20), 0);    // what was printed before the last redraw is gone
}

// What a receiver moving with the setup meets: the laser moving with u sends
// v01/(1 − u·n/c) along n, a moving mirror turns ν into ν·(1 − u·n1/c)/(1 − u·n2/c), and the
// receiver meets ν·(1 − u·n/c) on every leg, which is the laser's own frequency along the
// whole way, with the models (the moving mirrors' own angles found, as the window has it)
// and with the closed formulas alike. The frequency "received" at the horizontal screen is
// the rate at which the crests cross the moving screen line, ν·(1 − uy/(c·sin An)); it is
// the laser's own only at rest or for motion along the ray.
TEST_F(PrismRunTest, MovingReceiverMeetsTheLaserFrequencyOnEveryLeg) {
  constexpr double kChainResolution = 1.2e-4;  // the source model and two mirror models
  constexpr double kMirrorResolution = 1e-5;
  for (bool analytic : {false, true}) {
    for (double direction : {0.0, 90.0, 180.0, 270.0, 30.0, 200.0}) {
      SCOPED_TRACE(testing::Message() << (analytic ? "closed formulas" : "models")
                                      << ", motion towards " << direction << " deg");
      Fields f = moving(direction);
      f.doppler = true;
      f.analytic = analytic;
      f.mirrors = true;
      f.dt = 1e-9;
      f.divisor = 10;
      std::vector<double> shown;
      RunHooks hooks;
      hooks.showScreenFrequencies = [&](double first, double second) { shown = {first, second}; };
      ASSERT_TRUE(run(f, hooks));
      EXPECT_TRUE(host.messages().empty());
      // Text71 and Text72: the frequencies of the rays that reached the screen.
      EXPECT_EQ(shown, (std::vector<double>{s.legs.v[19] / s.v01, s.legs.v[29] / s.v01}));
      const double tolerance = analytic ? 1e-12 : kChainResolution;
      double largestShift = 0;
      for (int k : {10, 14, 18, 20, 24, 28}) {
        const auto kk = static_cast<std::size_t>(k);
        const double un = s.Vx * std::cos(s.legs.An[kk]) + s.Vy * std::sin(s.legs.An[kk]);
        EXPECT_NEAR(s.legs.v[kk] * (1 - un / s.c) / s.v01, 1, tolerance) << "leg " << k;
        largestShift = std::max(largestShift, std::fabs(s.legs.v[kk] / s.v01 - 1));
      }
      EXPECT_GT(largestShift, 0.05);
      for (int k : {18, 28}) {
        const auto kk = static_cast<std::size_t>(k);
        const double crossing = s.legs.v[kk] * (1 - s.Vy / (s.c * std::sin(s.legs.An[kk])));
        EXPECT_NEAR(s.legs.received[kk] / crossing, 1, analytic ? 1e-12 : kMirrorResolution)
            << "leg " << k;
        EXPECT_EQ(s.legs.v[kk + 1], s.legs.v[kk]);
      }
    }
  }
}

// "++ аналитически" in the variant with the additional mirror: the left mirror stands on the
// right and is met from its other side; the step-by-step text of that leg shows the closing
// speeds the closed formulas formed for it, both positive, and no other leg's text does.
TEST_F(PrismRunTest, ClosedFormulasShowTheirSpeedsAtTheVariantsLeftMirror) {
  Fields f = moving(90);
  f.doppler = true;
  f.analytic = true;
  f.ray1Straight = true;
  f.additionalMirror = true;
  f.pauses = true;
  ASSERT_TRUE(run(f));
  std::string leg14;
  int withSpeeds = 0;
  for (const auto& message : host.messages()) {
    if (message.text.find("AlfaZ для аналитического расчета=  ") == std::string::npos) continue;
    ++withSpeeds;
    leg14 = message.text;
  }
  ASSERT_EQ(withSpeeds, 1);
  EXPECT_EQ(leg14.rfind("пройден участок пути  14\r\n", 0), 0u);
  const double AlfaZ = s.Alfa1;  // the mirror's own angle: "+ движение зеркал" is unticked
  const double alfa12 = s.legs.An[14] - AlfaZ + Pi / 2;
  const double alfa21 = s.AlfaV - AlfaZ - Pi / 2;
  const double V12 = s.c * std::cos(alfa12);
  const double V21 = s.V * std::cos(alfa21);
  EXPECT_GT(V12, 0);
  EXPECT_GT(V21, 0);
  using common::numberText;
  EXPECT_NE(leg14.find("AlfaZ для аналитического расчета=  " + numberText(AlfaZ * RadToDeg) +
                       "\r\nV12=  " + numberText(V12) + "\r\nV21=  " + numberText(V21) +
                       "\r\nAlfa12=  " + numberText(alfa12 * RadToDeg) +
                       "\r\nAlfa21=  " + numberText(alfa21 * RadToDeg) +
                       "\r\ncos(Alfa12)=  " + numberText(std::cos(alfa12)) +
                       "\r\ncos(Alfa21)=  " + numberText(std::cos(alfa21)) + "\r\n"),
            std::string::npos)
      << leg14;
  // The mirror moving up towards the ray raises the frequency it receives.
  EXPECT_NEAR(s.legs.received[14], s.legs.v[14] * (1 + V21 / V12), 1e-9 * s.v01);
}

std::vector<std::string> printedRows(const ExperimentState& s, bool real) {
  PathReportInput in = reportInputOf(s);
  in.real = real;
  std::vector<std::string> rows;
  for (int i = 0; i <= 9; ++i) {
    if (reportPrintsRow(ReportSetup::Prism, i, in)) rows.push_back(reportRow(i, in));
  }
  return rows;
}

// The report of a known run (at rest, no Doppler models), every row it prints, without and
// with the cylinder: 0.2005 m from the laser to a face, 0.45 m to a mirror, 1.0059 m at
// 63.4° to the screen; the cylinder's 0.01 m of glass and 0.05 m of gas are 0.1672 μs
// longer than as much air. Without the cylinder legs 21 to 23 are left out and leg 11 shows
// no time; times in "Real" are in microseconds.
TEST_F(PrismRunTest, ReportOfAKnownRun) {
  Fields f;
  ASSERT_TRUE(run(f));
  const std::vector<std::string> test = {
      "0       0,000006683300        0,000006683300        000,200499       000,200499        1"
      ",000000000       1,000000000        30000,0000000       30000,0000000        1,0000000  "
      "     1,0000000        090,000000       090,000000        30,846000       30,846000",
      "1       0,000000000000        0,000000000000        000,000000       000,000000        0"
      ",000000000       0,000000000        30000,0000000       30000,0000000        1,0000000  "
      "     1,0000000        000,000000       000,000000        0,000000       0,000000",
      "4       0,000014993500        0,000014993500        000,449804       000,449804        1"
      ",000000000       1,000000000        30000,0000000       30000,0000000        1,0000000  "
      "     1,0000000        180,000000       000,000000        69,200769       69,200769",
      "8       0,000033530700        0,000033530700        001,005920       001,005920        1"
      ",000000000       1,000000000        30000,0000000       30000,0000000        1,0000000  "
      "     1,0000000        063,406478       116,593522        154,757076       154,757076",
      "9       0,000055207500        0,000055207500        001,656224       001,656224        1"
      ",000000000       1,000000000        30000,0000000       30000,0000000        1,0000000  "
      "     1,0000000        063,406478       116,593522        254,803846       254,803846",
  };
  EXPECT_EQ(printedRows(s, false), test);
  const std::vector<std::string> real = {
      "0       6,683300000000        6,683300000000        000,200499       000,200499        1"
      ",000000000       1,000000000        000,0300000       000,0300000        1,0000000      "
      " 1,0000000        090,000000       090,000000        30,846000       30,846000",
      "1       0,000000000000        0,000000000000        000,000000       000,000000        0"
      ",000000000       0,000000000        000,0300000       000,0300000        1,0000000      "
      " 1,0000000        000,000000       000,000000        0,000000       0,000000",
      "4       14,993500000000        14,993500000000        000,449804       000,449804       "
      " 1,000000000       1,000000000        000,0300000       000,0300000        1,0000000    "
      "   1,0000000        180,000000       000,000000        69,200769       69,200769",
      "8       33,530700000000        33,530700000000        001,005920       001,005920       "
      " 1,000000000       1,000000000        000,0300000       000,0300000        1,0000000    "
      "   1,0000000        063,406478       116,593522        154,757076       154,757076",
      "9       55,207500000001        55,207500000001        001,656224       001,656224       "
      " 1,000000000       1,000000000        000,0300000       000,0300000        1,0000000    "
      "   1,0000000        063,406478       116,593522        254,803846       254,803846",
  };
  EXPECT_EQ(printedRows(s, true), real);

  f.cylinder = true;
  ASSERT_TRUE(run(f));
  const std::vector<std::string> cylinder = {
      "0       0,000006683300        0,000006683300        000,200499       000,200499        1"
      ",000000000       1,000000000        30000,0000000       30000,0000000        1,0000000  "
      "     1,0000000        090,000000       090,000000        30,846000       30,846000",
      "1       0,000000000000        0,000004094400        000,000000       000,122831        0"
      ",000000000       1,000000000        30000,0000000       30000,0000000        1,0000000  "
      "     1,0000000        000,000000       000,000000        0,000000       18,897230",
      "2       0,000000000000        0,000000500000        000,000000       000,010000        0"
      ",000000000       1,000000000        30000,0000000       20000,0000000        0,0000000  "
      "     1,5000000        000,000000       000,000000        0,000000       2,307692",
      "3       0,000000000000        0,000001667200        000,000000       000,050000        0"
      ",000000000       1,000000000        30000,0000000       29990,8827710        0,0000000  "
      "     1,0003040        000,000000       000,000000        0,000000       7,694769",
      "4       0,000014993500        0,000008899100        000,449804       000,266972        1"
      ",000000000       1,000000000        30000,0000000       30000,0000000        1,0000000  "
      "     1,0000000        180,000000       000,000000        69,200769       41,072769",
      "8       0,000033530700        0,000033530700        001,005920       001,005920        1"
      ",000000000       1,000000000        30000,0000000       30000,0000000        1,0000000  "
      "     1,0000000        063,406478       116,593522        154,757076       154,757076",
      "9       0,000055207500        0,000055374700        001,656224       001,656225        1"
      ",000000000       1,000000000        30000,0000000       30000,0000000        1,0000000  "
      "     1,0000000        063,406478       116,593522        254,803846       255,575538",
  };
  EXPECT_EQ(printedRows(s, false), cylinder);
}

}  // namespace
}  // namespace quorvel::experiment::model
