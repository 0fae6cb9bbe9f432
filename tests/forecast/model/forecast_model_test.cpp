#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "common/shared.h"
#include "experiment/model/engine.h"
#include "experiment/model/presets.h"
#include "forecast/model/classical_curve.h"
#include "forecast/model/model_shift.h"
#include "forecast/model/parallel_turn.h"
#include "forecast/model/turn.h"

namespace quorvel::forecast::model {
namespace {

namespace em = experiment::model;

// The beam-splitter "Real" setup with 1 m arms, 590 nm, no medium and no Vz.
em::RunFields testFields() {
  em::RunFields f = em::presetFields(em::SetupChoice::BeamSplitter, em::UnitChoice::Real);
  f.X1 = -1;
  f.Y2 = 1;
  f.L1 = 590;
  f.Vz = 0;
  f.mediumIndex = 1;
  return f;
}
em::Options testOptions() {
  return em::presetOptions(em::SetupChoice::BeamSplitter, em::UnitChoice::Real);
}

// Runs every position of a list on two threads and returns the results by index.
std::vector<PositionResult> runAll(const em::RunFields& fields, const em::Options& options,
                                   const std::vector<TurnPosition>& positions) {
  ParallelTurn turn(fields, options, classicalArmsOf(fields, options), positions, 2);
  turn.join();
  std::vector<PositionResult> results;
  for (std::size_t i = 0; i < turn.size(); ++i) results.push_back(turn.result(i));
  return results;
}

TEST(ClassicalCurve, MatchesItsClosedFormOverATurn) {
  struct Case {
    double L1, L2, Vs, wavelength, speed;
  };
  // 11 m arms, 590 nm, 30 km/s; unequal arms; a fast setup; a setup at rest.
  const Case cases[] = {{11, 11, 299792458, 590e-9, 30000},
                        {1, 1.3, 30000, 0.0065, 3000},
                        {2, 2, 30000, 0.0065, 15000},
                        {1, 1.3, 30000, 0.0065, 0}};
  for (const Case& c : cases) {
    const ClassicalArms arms{c.L1, c.L2, c.Vs, c.Vs / c.wavelength};
    const double beta2 = c.speed * c.speed / (c.Vs * c.Vs);
    // Along x the arm 1 delay is the longest, across it the shortest: the peak-to-peak value
    // of v01·(T1 − T2) is the difference of the two.
    const double g = 1 / (1 - beta2);
    const double along = 2 / c.Vs * (c.L1 - c.L2 * std::sqrt(1 - beta2)) * g;
    const double across = 2 / c.Vs * (c.L1 * std::sqrt(1 - beta2) - c.L2) * g;
    const double peakToPeak = arms.v01 * (along - across);
    double lo = 1e300, hi = -1e300;
    for (int k = 0; k < 360; ++k) {
      const double phi = k / common::RadToDeg;
      const double d = *classicalDelay(arms, c.speed, phi);
      lo = std::min(lo, d);
      hi = std::max(hi, d);
      // Period of 180°.
      EXPECT_NEAR(d, *classicalDelay(arms, c.speed, phi + common::Pi),
                  1e-14 * arms.v01 * 2 * (c.L1 + c.L2) / c.Vs);
    }
    // v01·T1 and v01·T2 are large numbers whose difference is taken: rounding of their size.
    const double rounding = 1e-14 * arms.v01 * 2 * (c.L1 + c.L2) / c.Vs;
    EXPECT_NEAR(hi - lo, peakToPeak, rounding) << c.L1 << " " << c.speed;
    if (c.speed == 0) {
      EXPECT_EQ(hi, lo);
    }
  }
  // The 1887 interferometer: 0,373 of a fringe peak to peak, L·v²/(λ·c²) = 0,187 each way.
  const ClassicalArms arms1887{11, 11, 299792458, 299792458 / 590e-9};
  const double ptp =
      *classicalDelay(arms1887, 30000, 0) - *classicalDelay(arms1887, 30000, 1.5707963267948966);
  EXPECT_NEAR(ptp, 0.373, 0.0005);
  EXPECT_FALSE(classicalDelay(arms1887, 299792458, 0));
}

TEST(ClassicalCurve, ReadsTheArmsOfTheFieldsAndHasNoneForThePrism) {
  em::RunFields f = em::presetFields(em::SetupChoice::BeamSplitter, em::UnitChoice::Real);
  f.X1 = -11;
  f.Y2 = 11.5;
  f.L1 = 590;
  const auto arms =
      classicalArmsOf(f, em::presetOptions(em::SetupChoice::BeamSplitter, em::UnitChoice::Real));
  ASSERT_TRUE(arms);
  EXPECT_EQ(arms->L1, 11);
  EXPECT_EQ(arms->L2, 11.5);
  EXPECT_DOUBLE_EQ(arms->Vs, 3e8 / f.mediumIndex);
  EXPECT_DOUBLE_EQ(arms->v01, arms->Vs / 590e-9);
  EXPECT_FALSE(classicalArmsOf(em::presetFields(em::SetupChoice::Prism, em::UnitChoice::Test),
                               em::presetOptions(em::SetupChoice::Prism, em::UnitChoice::Test)));
}

TEST(Turn, PositionsTurnTheSetupAgainstTheVelocity) {
  const auto turn = turnPositions(4, 30, 5000, 300, 2, 7.5);
  ASSERT_EQ(turn.size(), 4u);
  const double thetas[] = {30, 120, 210, 300};
  const double alfas[] = {90, 180, 270, 0};
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(turn[k].theta, thetas[k]);
    EXPECT_EQ(turn[k].alfaV, alfas[k]);
    EXPECT_EQ(turn[k].speed, 5000);
    EXPECT_EQ(turn[k].moment, 2);
    EXPECT_EQ(turn[k].siderealHour, 7.5);
  }
  const em::RunFields f = positionFields(testFields(), turn[1]);
  EXPECT_EQ(f.Vss, 5);
  EXPECT_EQ(f.AlfaVss, 180);
  EXPECT_EQ(f.Vz, 0);
  EXPECT_EQ(f.X1, testFields().X1);
}

// Every position in parallel is the single run of the experiment window with that Alfa(Vss),
// Vss = v_h and Vz = 0, bit for bit, and its shift follows from its arrival by the formula.
TEST(Turn, EveryPositionIsTheSingleRunAndItsShiftFollowsFromTheArrival) {
  const em::RunFields fields = testFields();
  const em::Options options = testOptions();
  // Half a degree off the axes, as the positions were tried by hand.
  const auto positions = turnPositions(8, 0, 30000, -0.5);
  auto results = runAll(fields, options, positions);
  centreShifts(results);
  double meanDelay = 0;
  for (const PositionResult& r : results) meanDelay += *r.modelDelay / 8;
  for (std::size_t k = 0; k < 8; ++k) {
    em::RunFields single = fields;
    single.Vss = 30;
    single.Vz = 0;
    single.AlfaVss = 45.0 * static_cast<double>(k) + 0.5;
    const em::RunResult run = em::runExperiment(single, options);
    const PositionResult& r = results[k];
    ASSERT_TRUE(run.arrived() && r.arrived()) << run.message;
    EXPECT_EQ(r.T1, run.T1);
    EXPECT_EQ(r.T2, run.T2);
    EXPECT_EQ(r.N1, run.N1);
    EXPECT_EQ(r.N2, run.N2);
    EXPECT_EQ(r.wholePath, run.v01 * (run.T1 - run.T2));
    // Ray 2's front reaches the point where ray 1 arrived, which has moved on with the setup.
    const double A2 = run.arrivalDirection[2];
    const double c2 = run.legs[2][8].speed;
    const double Vx = 30000 * std::cos(single.AlfaVss / common::RadToDeg);
    const double Vy = 30000 * std::sin(single.AlfaVss / common::RadToDeg);
    const double t2 = *r.t2;
    const double frontX = run.arrivalX[2] + c2 * (t2 - run.T2) * std::cos(A2);
    const double frontY = run.arrivalY[2] + c2 * (t2 - run.T2) * std::sin(A2);
    const double pointX = run.arrivalX[1] + Vx * (t2 - run.T1);
    const double pointY = run.arrivalY[1] + Vy * (t2 - run.T1);
    EXPECT_NEAR((pointX - frontX) * std::cos(A2) + (pointY - frontY) * std::sin(A2), 0, 1e-15);
    EXPECT_EQ(*r.modelDelay, run.v01 * (run.T1 - t2));
    EXPECT_NEAR(*r.modelShift, *r.modelDelay - meanDelay, 1e-12);
    EXPECT_TRUE(r.theoryShift);
  }
  // The values tried by hand at 0,5°, 45,5°, 90,5°, 135,5°: the quantity of the whole path
  // draws a curve turned by 45°, the one at ray 1's point follows the classical curve.
  const double wholePath[] = {0.0325, 0.0686, 0.0325, 0.0020};
  const double atPoint[] = {0.0323, 0.0312, -0.0035, 0.0022};
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_NEAR(results[k].wholePath, wholePath[k], 0.00005) << k;
    EXPECT_NEAR(*results[k].modelDelay, atPoint[k], 0.00005) << k;
  }
  // Opposite positions see the same motion along the arms: equal shifts within the run's
  // resolution (a step of light travel, v01·dt).
  const double resolution = results[0].v01 * fields.dt;
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_NEAR(*results[k].modelShift, *results[k + 4].modelShift, resolution) << k;
  }
}

TEST(Turn, AtRestBothShiftsAreZero) {
  auto results = runAll(testFields(), testOptions(), turnPositions(3, 0, 0, 0));
  centreShifts(results);
  for (const PositionResult& r : results) {
    ASSERT_TRUE(r.arrived()) << r.message;
    EXPECT_EQ(*r.modelShift, 0);
    EXPECT_EQ(*r.theoryShift, 0);
  }
  const TurnSummary summary = summarize(results, 0);
  EXPECT_EQ(summary.modelAmplitude, 0);
  EXPECT_EQ(summary.theoryAmplitude, 0);
}

TEST(Turn, AStoppedTurnKeepsThePositionsItFinished) {
  const auto positions = turnPositions(6, 0, 30000, 0);
  ParallelTurn turn(testFields(), testOptions(), std::nullopt, positions, 1);
  std::vector<std::size_t> kept;
  while (kept.empty()) {
    turn.waitForProgress(std::chrono::milliseconds(50));
    kept = turn.takeFinished();
  }
  turn.stop();
  turn.join();
  for (std::size_t i : turn.takeFinished()) kept.push_back(i);
  EXPECT_TRUE(turn.finished());
  ASSERT_LT(kept.size(), positions.size());
  for (std::size_t i : kept) {
    EXPECT_TRUE(turn.result(i).arrived());
    EXPECT_TRUE(turn.result(i).modelDelay);
  }
}

TEST(Turn, AFailedPositionKeepsItsTextAndNoShift) {
  em::RunFields f = testFields();
  f.dt = 0;
  const PositionResult r =
      runPosition(f, testOptions(), std::nullopt, turnPositions(1, 0, 30000, 0)[0]);
  EXPECT_FALSE(r.arrived());
  EXPECT_FALSE(r.message.empty());
  EXPECT_FALSE(r.modelDelay);
  std::vector<PositionResult> rows{r};
  centreShifts(rows);
  EXPECT_FALSE(rows[0].modelShift);
  EXPECT_FALSE(summarize(rows, 0).modelAmplitude);
}

}  // namespace
}  // namespace quorvel::forecast::model
