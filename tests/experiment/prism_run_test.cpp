#include "experiment/model/prism_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "common/shared.h"
#include "experiment/model/run_start.h"
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
  double V = 0, direction = 90;  // km/s, degrees
  double dt = 1e-7, divisor = 1e3;
  bool doppler = false, analytic = false, mirrors = false;
  bool check3 = false, check17 = false, check18 = false, check25 = false, check27 = false;
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
  ExperimentState s;
  s.options.prism = true;
  s.options.check1 = f.doppler;
  s.options.check2 = f.mirrors;
  s.options.check33 = f.analytic;
  s.options.check3 = f.check3;
  s.options.check17 = f.check17;
  s.options.check18 = f.check18;
  s.options.check25 = f.check25;
  s.options.check27 = f.check27;
  X[1] = -0.45;
  X[2] = 0.45;
  Y[5] = -0.2;
  Y[6] = 0.9;
  s.Alfa1 = 121.7032392 / RadToDeg;
  s.Alfa2 = 58.2967608 / RadToDeg;
  s.Alfa3 = Pi / 2;
  s.Alfa4 = 135 / RadToDeg;
  if (f.check3 && f.check17) {
    X[1] = 1;
    Y[1] = 0.4;
    Y[4] = 0.4;
    s.Alfa4 = 45 / RadToDeg;
    s.Alfa1 = 58.6 / RadToDeg;
  }
  s.cylinderSize = kCylinder;
  X[7] = (X[2] - kCylinder) / 3;
  s.beamDiameter = kDiameter;
  s.screenBeamDiameter = 0.02;
  s.divergenceAngle = std::atan((0.02 - kDiameter) / (2 * (Y[6] - Y[5])));
  s.dt = f.dt;
  s.refinementDivisor = f.divisor;
  s.n = {};
  s.n[0] = 1;
  s.n[23] = kGas;
  s.Vs0 = 30000;
  s.Vx = f.V * 1000 * std::cos(f.direction / RadToDeg);
  s.Vy = f.V * 1000 * std::sin(f.direction / RadToDeg);
  s.V = f.V * 1000;
  s.AlfaV = f.direction / RadToDeg;
  return s;
}

class PrismRunTest : public testing::Test {
 protected:
  PrismRunTest() { common::shared().StopRequested = 0; }
  ~PrismRunTest() override { common::shared().StopRequested = 0; }

  // The start and the whole run; a run that has not ended after far more refreshes than a
  // whole run takes is stopped, as the user would.
  bool run(const Fields& f) {
    s = windowState(f);
    startRun(s, context);
    RunHooks hooks;
    hooks.showResults = [refreshes = 0](const ExperimentState&) mutable {
      if (++refreshes > 1'000'000) common::shared().StopRequested = 1;
    };
    return runPrism(s, context, hooks);
  }
  double refinedStep() const { return s.dt / s.refinementDivisor; }

  platform::HeadlessHost host;
  platform::Picture picture{200, 200};
  RunContext context{host, &picture};
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

// Every direction of motion and every variant ends with both rays on the screen.
TEST_F(PrismRunTest, EveryDirectionAndVariantArrives) {
  std::vector<Fields> variants(7);
  variants[1].mirrors = true;
  variants[2].check3 = true;
  variants[3].check3 = variants[3].check17 = true;
  variants[4].check25 = true;
  variants[5].check18 = true;
  variants[6].check27 = variants[6].mirrors = true;
  for (std::size_t v = 0; v < variants.size(); ++v) {
    for (double direction = 0; direction < 360; direction += 45) {
      ASSERT_TRUE(run(moving(direction, variants[v]))) << v << " " << direction;
      EXPECT_EQ(s.ii, 19);
      EXPECT_EQ(s.jj, 29);
      EXPECT_TRUE(s.legs.done[18] && s.legs.done[28]);
    }
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
  f.check3 = true;
  ASSERT_TRUE(run(f));
  for (std::size_t k = 10; k < 18; ++k) EXPECT_EQ(s.legs.T1[k], 0) << k;
  EXPECT_NEAR(s.legs.T1[18], 1.1 / s.c, 2 * refinedStep());
  EXPECT_NEAR(s.arrivalX[1], -kDiameter / 4, 1e-12);
}

// The cylinder: its glass cover and its gas take the time their length and index give.
TEST_F(PrismRunTest, CylinderTimesFollowLengthAndIndex) {
  Fields f;
  f.check25 = true;
  ASSERT_TRUE(run(f));
  EXPECT_NEAR(s.legs.T2[22] - s.legs.T2[21], 0.01 * 1.5 / s.Vs0, 2 * refinedStep());
  EXPECT_NEAR(s.legs.T2[23] - s.legs.T2[22], kCylinder * kGas / s.Vs0, 2 * refinedStep());
  EXPECT_DOUBLE_EQ(s.legs.V2[23], s.Vs0 / kGas);
  EXPECT_DOUBLE_EQ(s.legs.V2[24], s.Vs0);
}

// Where the halves of the beam start: a quarter diameter beside the axis, the whole one
// with two lasers (no division); "++ Alfa4" alone changes nothing.
TEST_F(PrismRunTest, DivisionOfTheBeam) {
  const double step = 30000 * 1e-10;
  struct Case {
    bool check17, check18;
    double pathToFace;  // ray 2 from the source to the right face, m
  };
  for (const Case& c :
       {Case{false, false, 0.2 + kDiameter / 4}, Case{true, false, 0.2 + kDiameter / 4},
        Case{false, true, 0.2 + kDiameter}}) {
    Fields f;
    f.check17 = c.check17;
    f.check18 = c.check18;
    ASSERT_TRUE(run(f));
    EXPECT_NEAR(s.legs.S2[20], c.pathToFace, 2 * step);
    EXPECT_NEAR(s.legs.S1[10], c.pathToFace, 2 * step);
  }
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

}  // namespace
}  // namespace quorvel::experiment::model
