#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "common/shared.h"
#include "interference/model/interference_run.h"
#include "interference/model/screen_frame.h"
#include "interference/model/start_values.h"

namespace quorvel::interference::model {
namespace {

constexpr double kDeg = common::RadToDeg;

// The window's initial rays, already in the screen frame: A1e = 85°, A2e = 95°, speed Vs =
// 1 m/s, v01 = v02 = 1 MHz, N10 = N20 = 10.
ComputationParameters defaults() {
  ComputationParameters p;
  p.A1e = 85 / kDeg;
  p.A2e = 95 / kDeg;
  p.Ve1 = phaseSpeedAlongScreen(1, p.A1e);
  p.Ve2 = phaseSpeedAlongScreen(1, p.A2e);
  p.omega1 = p.omega2 = 2 * common::Pi * 1e6;
  p.N10 = p.N20 = 10;
  return p;
}

struct Started {
  StartValues start;
  StartError error = StartError::None;
};

Started prepare(const ComputationParameters& p) {
  Started s;
  s.error = checkSettings(p);
  if (s.error == StartError::None) s.error = computeWidths(p, s.start);
  if (s.error == StartError::None) computePhases(p, s.start);
  return s;
}

// Everything the loop reports, kept for the checks.
struct Recorder : InterferenceObserver {
  std::vector<StepReport> steps;
  std::vector<double> Sints, Ssums;
  std::vector<PointPhases> phases;
  int faults = 0;
  int yields = 0;
  const InterferenceRun* run = nullptr;
  std::function<void()> onRefresh;
  std::function<void()> onYield;
  void yield() override {
    ++yields;
    if (onYield) onYield();
  }
  void pointPhases(const PointPhases& p) override { phases.push_back(p); }
  void refresh(const StepReport& r) override {
    steps.push_back(r);
    if (run) Sints.push_back(run->Sint());
    if (run) Ssums.push_back(run->Ssum());
    if (onRefresh) onRefresh();
  }
  void fault() override { ++faults; }
};

// Centres (x, m) of the bright maxima of a sweep: local maxima of I above 250.
std::vector<double> maxima(const InterferenceRun& run) {
  std::vector<double> xs;
  const auto& I = run.I();
  const int half = (run.points() - 1) / 2;
  for (int k = 1; k + 1 < run.points(); ++k) {
    if (I[k] > 250 && I[k] >= I[k - 1] && I[k] > I[k + 1]) xs.push_back(run.xOf(k - half));
  }
  return xs;
}

TEST(ScreenFrame, TransformOfTheWindowsRaysAndItsPerpendicularRule) {
  // Resting screen: angles and speeds stay; the phase runs at V / cos A along the screen.
  for (double degrees : {85.0, 95.0, 30.0, 250.0}) {
    const ScreenRay e = toScreenFrame({degrees / kDeg, 1, 0.25, 10}, 0, 0);
    EXPECT_NEAR(e.Ae * kDeg, degrees, 1e-9);
    EXPECT_NEAR(e.Vr, 1, 1e-15);
    EXPECT_NEAR(e.Ve, 1 / std::cos(degrees / kDeg), 1e-9);
    EXPECT_EQ(e.Xe, 0.25);
  }
  EXPECT_LT(toScreenFrame({95 / kDeg, 1, 0, 0}, 0, 0).Ve, 0);
  // Perpendicular: 10^12 times its speed.
  EXPECT_EQ(toScreenFrame({common::Pi / 2, 2, 0, 0}, 0, 0).Ve, 2e12);
  // A screen moving with the ray's x speed sees the ray go straight up.
  const double A = 60 / kDeg, V = 3;
  const ScreenRay up = toScreenFrame({A, V, 1, 2}, V * std::cos(A), 0);
  EXPECT_NEAR(up.Ae, common::Pi / 2, 1e-15);
  EXPECT_NEAR(up.Vr, V * std::sin(A), 1e-12);
  EXPECT_NEAR(up.Xe, 1 - V * std::cos(A) * 2, 1e-15);
  EXPECT_NEAR(up.Ve / up.Vr, 1e12, 1);
  // Rays 10^-6 rad from perpendicular keep their true slope.
  const ScreenRay near = toScreenFrame({90.00003 / kDeg, 1, 0, 0}, 0, 0);
  EXPECT_NEAR(near.Ve, 1 / std::cos(90.00003 / kDeg), 1e-3 / std::fabs(std::cos(90.00003 / kDeg)));
  EXPECT_LT(std::fabs(near.Ve), 1e7);
  // The screen's motion enters the angle: VY against the ray tilts it.
  const ScreenRay tilted = toScreenFrame({common::Pi / 2, 1, 0, 0}, 0.5, 0);
  EXPECT_NEAR(tilted.Ae, common::Pi - std::atan2(1, 0.5), 1e-12);
}

TEST(StartValues, DefaultWidthsSettingsChecksAndUndefinedWidths) {
  ComputationParameters p = defaults();
  Started s = prepare(p);
  ASSERT_EQ(s.error, StartError::None);
  EXPECT_NEAR(s.start.L0, 1e-6, 1e-18);
  EXPECT_NEAR(s.start.A1p * kDeg, -5, 1e-9);
  EXPECT_NEAR(s.start.A2p * kDeg, 5, 1e-9);
  EXPECT_NEAR(s.start.B, 1e-6 / (2 * std::sin(5 / kDeg)), 1e-15);
  EXPECT_NEAR(s.start.B, 5.737e-6, 0.5e-9);
  EXPECT_NEAR(*s.start.BAngle, 5.730e-6, 0.5e-9);
  EXPECT_NEAR(*s.start.BAngle, 1e-6 / (10 / kDeg), 1e-15);
  EXPECT_NEAR(*s.start.BVeDifference, s.start.L1 * s.start.L2 / (s.start.L1 - s.start.L2), 1e-18);

  struct Case {
    int N, ML, lo, hi;
    StartError settings, width;
  };
  const Case cases[] = {
      {0, 1, 0, 1, StartError::NoFringes, StartError::None},
      {-1, 1, 0, 1, StartError::NoFringes, StartError::None},
      {2, 0, 0, 1, StartError::BadData, StartError::None},
      {2, 1, 1, 1, StartError::BadData, StartError::None},
      {2, 65, 0, 1, StartError::None, StartError::None},
      {2, 66, 0, 1, StartError::None, StartError::TooWide},
  };
  for (const Case& c : cases) {
    p.N = c.N;
    p.ML = c.ML;
    p.lo = c.lo;
    p.hi = c.hi;
    EXPECT_EQ(checkSettings(p), c.settings) << c.N << " " << c.ML << " " << c.lo << " " << c.hi;
    EXPECT_EQ(checkPictureWidth(p), c.width) << c.ML;
  }

  // Parallel rays: no computed width; the measured one makes the start possible.
  ComputationParameters parallel = defaults();
  parallel.A2e = parallel.A1e;
  parallel.Ve2 = parallel.Ve1;
  EXPECT_EQ(prepare(parallel).error, StartError::BadStart);
  parallel.measuredB = 10e-6;
  Started measured = prepare(parallel);
  ASSERT_EQ(measured.error, StartError::None);
  EXPECT_FALSE(measured.start.BAp);
  EXPECT_FALSE(measured.start.BAngle);
  EXPECT_FALSE(measured.start.BVeDifference);
  EXPECT_EQ(measured.start.B, 10e-6);
  parallel.measuredB = 0.0;
  EXPECT_EQ(prepare(parallel).error, StartError::BadStart);
  // A ray of frequency 0 has no wavelength.
  ComputationParameters still = defaults();
  still.nu1 = 0;
  EXPECT_EQ(prepare(still).error, StartError::BadStart);
}

TEST(StartValues, InitialPhasesOfEveryRule) {
  ComputationParameters p = defaults();
  p.N10 = 3;
  p.N20 = 5;
  p.N1typed = 7;
  p.N2typed = 11;
  p.v01 = 2e6;
  p.v02 = 3e6;
  p.T1 = 1e-6;
  p.T2 = 2e-6;
  p.dT = 1e-6;
  struct Case {
    PhaseRule rule;
    double N1, N2;
  };
  const Case cases[] = {
      {PhaseRule::Given, 3, 5},
      {PhaseRule::FromFields, 7, 11},
      {PhaseRule::ShiftedFirst, 3 + 2, 5},
      {PhaseRule::DelayOnly, 2, 0},
      // Ray 2 counts its own periods: v02·T2.
      {PhaseRule::FromArrivalTimes, 3 - 2 + 2, 5 - 6},
  };
  for (const Case& c : cases) {
    p.phases = c.rule;
    Started s = prepare(p);
    EXPECT_NEAR(s.start.N1, c.N1, 1e-12) << static_cast<int>(c.rule);
    EXPECT_NEAR(s.start.N2, c.N2, 1e-12) << static_cast<int>(c.rule);
  }
  p.X1e = 2e-6;
  p.X2e = -1e-6;
  Started s = prepare(p);
  EXPECT_NEAR(s.start.dN1, 2e-6 * p.nu1 / p.Ve1, 1e-15);
  EXPECT_NEAR(s.start.dN2, -1e-6 * p.nu2 / p.Ve2, 1e-15);
  p.centresAtZero = true;
  s = prepare(p);
  EXPECT_EQ(s.start.X1e, 0);
  EXPECT_EQ(s.start.dN2, 0);
}

// The sums and brightness of a sweep against the point-by-point formulas.
TEST(InterferenceRun, SweepAgreesWithThePointByPointSums) {
  struct Case {
    bool instantaneous, cosineCross;
    double Omega1, Omega2, N20, X1e, nu2;
  };
  const Case cases[] = {
      {false, false, 0, 0, 10, 0, 1e6},
      {false, false, 2e3, 5e3, 10.3, 1e-6, 1.01e6},
      {true, false, 0, 0, 10.25, 0, 1e6},
      {true, true, 1e3, 0, 10.4, -2e-6, 1.02e6},
  };
  for (const Case& c : cases) {
    ComputationParameters p = defaults();
    p.instantaneous = c.instantaneous;
    p.cosineCross = c.cosineCross;
    p.Omega1 = c.Omega1;
    p.Omega2 = c.Omega2;
    p.N20 = c.N20;
    p.X1e = c.X1e;
    p.omega2 = 2 * common::Pi * c.nu2;
    p.ML = 3;
    Started s = prepare(p);
    ASSERT_EQ(s.error, StartError::None);
    InterferenceRun run(p, s.start);
    Recorder r;
    const double T = 3.7e-7;
    ASSERT_TRUE(run.sweep(T, r));
    double Ssum = 0, Sint = 0, worst = 0;
    for (int i = -750; i <= 750; ++i) {
      const double x = i * p.N * s.start.B / 750;
      const double phi1 = 2 * common::Pi * s.start.N1 + (T - (x - s.start.X1e) / p.Ve1) * p.omega1;
      const double phi2 = 2 * common::Pi * s.start.N2 + (T - (x - s.start.X2e) / p.Ve2) * p.omega2;
      const double E01 = 7.985 * std::cos(T * p.Omega1), E02 = 7.985 * std::cos(T * p.Omega2);
      Ssum += (std::pow(E01 * std::cos(phi1), 2) + std::pow(E02 * std::cos(phi2), 2)) * p.dt;
      double I;
      if (!c.instantaneous) {
        I = E01 * E01 + E02 * E02 + 2 * std::sqrt(E01 * E01 * E02 * E02) * std::cos(phi2 - phi1);
      } else {
        const double E1 = E01 * std::cos(phi1), E2 = E02 * std::cos(phi2);
        I = c.cosineCross
                ? E1 * E1 + E2 * E2 + 2 * std::sqrt(E1 * E1 * E2 * E2) * std::cos(phi2 - phi1)
                : E1 * E1 + E2 * E2 + 2 * E1 * E2;
      }
      Sint += p.dt * I;
      worst = std::max(worst, std::fabs(I - run.I()[static_cast<std::size_t>(i + 750)]));
    }
    EXPECT_NEAR(run.Ssum() / Ssum, 1, 1e-9);
    EXPECT_NEAR(run.Sint() / Sint, 1, 1e-9);
    EXPECT_LT(worst, 1e-8);
  }
}

TEST(InterferenceRun, EqualRaysGiveStandingFringesOfTheClosedFormWidth) {
  ComputationParameters p = defaults();
  p.stepLimit = 5;
  p.intervals = 1;
  Started s = prepare(p);
  InterferenceRun run(p, s.start);
  Recorder r;
  int stop = 0;
  ASSERT_EQ(run.run(stop, r), RunOutcome::Finished);
  ASSERT_EQ(r.steps.size(), 5u);
  // Equal phases at the centre: the brightest I of two rays.
  EXPECT_NEAR(run.I()[250], 4 * 7.985 * 7.985, 1e-9);
  EXPECT_NEAR(4 * 7.985 * 7.985, 255.04, 0.001);
  const std::vector<double> xs = maxima(run);
  ASSERT_GE(xs.size(), 3u);
  const double theta = 10 / kDeg;  // angle between the rays
  const double closed = 1e-6 / (2 * std::sin(theta / 2));
  for (std::size_t k = 1; k < xs.size(); ++k) {
    EXPECT_NEAR(xs[k] - xs[k - 1], closed, 1.5 * s.start.B * p.N / 250);
  }
  // They stand still: the same position at every step.
  for (const StepReport& step : r.steps) EXPECT_EQ(step.fringePosition, r.steps[0].fringePosition);
  // The part of the centre fringe inside the window 0 … 1 B is found.
  EXPECT_TRUE(run.found());
}

TEST(InterferenceRun, NearlyPerpendicularRaysKeepTheirFringePeriod) {
  // Rays 90,00003° and 90,00009°: the period is λ / (2 sin(θ/2)) ≈ 0,9549 m.
  ComputationParameters p = defaults();
  p.A1e = 90.00003 / kDeg;
  p.A2e = 90.00009 / kDeg;
  p.Ve1 = phaseSpeedAlongScreen(1, p.A1e);
  p.Ve2 = phaseSpeedAlongScreen(1, p.A2e);
  p.N = 3;
  Started s = prepare(p);
  ASSERT_EQ(s.error, StartError::None);
  const double closed = 1e-6 / (2 * std::sin((0.00006 / kDeg) / 2));
  EXPECT_NEAR(closed, 0.9549, 1e-4);
  EXPECT_NEAR(s.start.B, closed, 1e-4);
  InterferenceRun run(p, s.start);
  Recorder r;
  ASSERT_TRUE(run.sweep(0, r));
  const std::vector<double> xs = maxima(run);
  ASSERT_GE(xs.size(), 3u);
  for (std::size_t k = 1; k < xs.size(); ++k) {
    EXPECT_NEAR(xs[k] - xs[k - 1], closed, 2 * s.start.B * p.N / 250);
  }
}

TEST(InterferenceRun, DifferentFrequenciesMoveTheFringesAtTheClosedFormSpeed) {
  ComputationParameters p = defaults();
  const double nu1 = 1e6, nu2 = 1.01e6;
  p.nu2 = nu2;
  p.omega2 = 2 * common::Pi * nu2;
  p.dt = 1e-6;
  p.halfMT = 5e-5;
  p.stepLimit = 60;
  p.intervals = 1;
  p.threshold = 250;
  Started s = prepare(p);
  InterferenceRun run(p, s.start);
  Recorder r;
  int stop = 0;
  ASSERT_EQ(run.run(stop, r), RunOutcome::Finished);
  const double speed = (nu2 - nu1) / (nu2 / p.Ve2 - nu1 / p.Ve1);
  // Two graph points as a user would click them, 30 steps apart, while the fringe stays
  // inside the window: (Yk − Yn)·W·B / (Tk − Tn).
  const StepReport& a = r.steps[10];
  const StepReport& b = r.steps[40];
  ASSERT_TRUE(a.graphPoint && b.graphPoint);
  const double W = p.hi - p.lo;
  const double measured = (b.graphPoint->y - a.graphPoint->y) * W * s.start.B /
                          ((b.graphPoint->x - a.graphPoint->x) * p.halfMT);
  const double resolution = s.start.B * p.N / 250 / (30 * p.dt);
  EXPECT_NEAR(measured, speed, resolution);
  EXPECT_GT(std::fabs(speed), 3 * resolution);
}

TEST(InterferenceRun, SearchWindowSingleStepAndFaults) {
  // A window of two fringe widths finds nothing without composite fringes: the centre
  // found before stays.
  ComputationParameters p = defaults();
  p.hi = 2;
  p.stepLimit = 2;
  Started s = prepare(p);
  {
    InterferenceRun run(p, s.start, 42);
    Recorder r;
    int stop = 0;
    run.run(stop, r);
    EXPECT_FALSE(run.found());
    EXPECT_EQ(run.ic(), 42);
    EXPECT_NEAR(r.steps.back().fringePosition, std::trunc((2 * 42.0 / 250) * 1e6 / 2) / 1e6, 1e-12);
  }
  // Composite fringes average every run in the window.
  p.composite = true;
  {
    InterferenceRun run(p, s.start, 42);
    Recorder r;
    int stop = 0;
    run.run(stop, r);
    EXPECT_TRUE(run.found());
    EXPECT_NE(run.ic(), 42);
    ASSERT_TRUE(r.steps.back().meanFringePosition);
  }
  // One step, with the phases at point 0.
  ComputationParameters one = defaults();
  one.singleStep = true;
  one.N20 = 10.25;
  one.stopPoint = 0;
  s = prepare(one);
  InterferenceRun run(one, s.start);
  Recorder r;
  int stop = 0;
  EXPECT_EQ(run.run(stop, r), RunOutcome::Stopped);
  EXPECT_EQ(r.steps.size(), 1u);
  ASSERT_EQ(r.phases.size(), 1u);
  EXPECT_NEAR(r.phases[0].N1, 10, 1e-12);
  EXPECT_NEAR(r.phases[0].N2, 10.25, 1e-12);
  EXPECT_NEAR(r.phases[0].difference, 0.25, 1e-12);
  // A phase speed of 0 cannot be computed.
  ComputationParameters broken = defaults();
  broken.Ve1 = 0;
  broken.measuredB = 1e-6;
  s = prepare(broken);
  InterferenceRun bad(broken, s.start);
  Recorder f;
  EXPECT_EQ(bad.run(stop, f), RunOutcome::Fault);
  EXPECT_EQ(f.faults, 1);
  EXPECT_TRUE(f.steps.empty());
}

TEST(InterferenceRun, StoppedAndContinuedMatchesOneLeftAlone) {
  ComputationParameters p = defaults();
  p.nu2 = 1.01e6;
  p.omega2 = 2 * common::Pi * p.nu2;
  p.dt = 1e-8;
  p.stepLimit = 12;
  p.intervals = 2;
  p.intervalStep = 1e-6;
  p.threshold = 250;
  Started s = prepare(p);

  InterferenceRun alone(p, s.start);
  Recorder a;
  a.run = &alone;
  int stop = 0;
  ASSERT_EQ(alone.run(stop, a), RunOutcome::Finished);

  InterferenceRun stopped(p, s.start);
  Recorder b;
  b.run = &stopped;
  b.onRefresh = [&] {
    if (b.steps.size() == 5) stop = 1;
  };
  ASSERT_EQ(stopped.run(stop, b), RunOutcome::Stopped);
  EXPECT_EQ(stopped.stepsDrawn(), 5);
  const double Tstopped = stopped.T();
  EXPECT_EQ(Tstopped, 4 * p.dt);
  b.onRefresh = nullptr;
  ASSERT_EQ(stopped.continueInterval(stop, b), RunOutcome::Finished);
  // The continuation computed the step it stood at again, and that step counts as drawn.
  ASSERT_EQ(b.steps.size(), 12u);
  EXPECT_EQ(b.steps[5].T, Tstopped);
  const double repeated = b.Sints[5] - b.Sints[4];
  std::vector<double> graph;
  for (std::size_t k = 0; k < b.steps.size(); ++k) {
    if (k != 5) graph.push_back(b.steps[k].graphPoint->y);
  }
  ASSERT_EQ(a.steps.size(), 24u);
  for (std::size_t k = 0; k < 11; ++k) EXPECT_EQ(graph[k], a.steps[k].graphPoint->y) << k;
  EXPECT_NEAR(stopped.Sint() - repeated, a.Sints[10], 1e-12 * a.Sints[10]);
  const double repeatedSquares = b.Ssums[5] - b.Ssums[4];
  EXPECT_NEAR(stopped.Ssum() - repeatedSquares, a.Ssums[10], 1e-12 * a.Ssums[10]);
  // A continuation runs only the present interval.
  EXPECT_EQ(stopped.interval(), 1);
  EXPECT_EQ(stopped.lastIntensities().size(), 1u);
  EXPECT_EQ(alone.lastIntensities().size(), 2u);
  EXPECT_EQ(alone.lastIntensities()[1], alone.I());
}

// A stop raised at any yield of a run ends it: with the step after that yield, or, raised
// with an interval's last step, before the next interval. With and without a step limit,
// M = 1 and 2 included (each interval begins without lowering the flag).
TEST(InterferenceRun, AStopAtAnyYieldEndsTheRun) {
  constexpr int K = 3;
  const std::optional<long long> limits[] = {1, 2, 3, std::nullopt};
  for (const std::optional<long long>& M : limits) {
    const int yieldsOfRun = M ? K * static_cast<int>(*M) : 7;
    for (int at = 1; at <= yieldsOfRun; ++at) {
      ComputationParameters p = defaults();
      p.intervals = K;
      p.intervalStep = 1e-6;
      p.stepLimit = M;
      Started s = prepare(p);
      InterferenceRun run(p, s.start);
      Recorder r;
      int stop = 0;
      r.onYield = [&] {
        if (r.yields == at) stop = 1;
      };
      const std::string what =
          "M " + (M ? std::to_string(*M) : "none") + ", at " + std::to_string(at);
      const bool lastOfInterval = M && at % *M == 0;
      const int steps = lastOfInterval ? at : at + 1;
      // A run whose last step came with the stop is whole.
      const bool whole = M && steps == K * *M;
      EXPECT_EQ(run.run(stop, r), whole ? RunOutcome::Finished : RunOutcome::Stopped) << what;
      EXPECT_EQ(static_cast<int>(r.steps.size()), steps) << what;
      EXPECT_EQ(run.interval(), M ? (at - 1) / static_cast<int>(*M) + 1 : 1) << what;
    }
  }
}

TEST(InterferenceRun, TimeIsTheIntervalStartPlusTheStepsMade) {
  // The "Real" step 1E-17 beside an interval start of 1E-2 s: added step by step it would
  // come out 4 % off.
  ComputationParameters p = defaults();
  p.dt = 1e-17;
  p.intervalStep = 1e-2;
  p.intervals = 2;
  p.stepLimit = 2001;
  p.ML = 1;
  Started s = prepare(p);
  InterferenceRun run(p, s.start);
  Recorder r;
  int stop = 0;
  run.run(stop, r);
  EXPECT_EQ(run.T(), 1e-2 + 2000 * 1e-17);
  EXPECT_NEAR((run.T() - 1e-2) / 2e-14, 1, 1e-3);
  EXPECT_EQ(r.steps[1000].T, 1000 * 1e-17);
}

}  // namespace
}  // namespace quorvel::interference::model
