#include "experiment/model/continuous_experiment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "experiment/continuous_fixture.h"

namespace quorvel::experiment {
namespace {

using model::ContinuousParameters;
using testing_support::ContinuousRun;
using testing_support::finishedRun;
using testing_support::parametersOf;

// The step of the continuous run is dt / divisor; the sweep uses a coarse one so that the
// plain loop stays quick.
ContinuousParameters coarse(ContinuousParameters p, double divisor = 50) {
  p.refinementDivisor = divisor;
  return p;
}

struct SweepCase {
  const char* name;
  bool prism;
  std::vector<std::pair<std::string, std::string>> fields;
  std::vector<std::string> clicks;
};

std::vector<SweepCase> sweepCases() {
  return {
      {"splitter moving up", false, {}, {}},
      {"splitter moving at 30 degrees", false, {{"Text44", "30"}, {"Text41", "200"}}, {}},
      {"splitter at rest", false, {{"Text50", "0"}, {"Text29", "0"}}, {}},
      {"prism moving up", true, {}, {}},
      {"prism at rest", true, {{"Text50", "0"}, {"Text29", "0"}}, {}},
      {"prism half angle", true, {}, {"Check3"}},
      {"prism two lasers", true, {{"Text60", "0,006"}}, {"Check18"}},
  };
}

// Leaping and the plain loop of single steps: every touch and crossing on the same step and
// tick, the same frequencies, with and without full steps far from the surfaces.
TEST(ContinuousExperimentSweep, LeapsEqualSingleSteps) {
  for (const SweepCase& c : sweepCases()) {
    const auto& run = finishedRun(c.prism, c.fields, c.clicks);
    for (bool skip : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (skip ? " skip" : ""));
      ContinuousParameters p = coarse(parametersOf(run));
      p.skip = skip;
      const ContinuousRun plain(run, p, false);
      const ContinuousRun leapt(run, p, true);
      ASSERT_EQ(plain.end, model::LoopEnd::Finished);
      ASSERT_EQ(leapt.end, model::LoopEnd::Finished);
      const auto& a = plain.experiment.events();
      const auto& b = leapt.experiment.events();
      ASSERT_EQ(a.size(), b.size());
      for (std::size_t k = 0; k < a.size(); ++k) {
        EXPECT_EQ(a[k].edge, b[k].edge) << k;
        EXPECT_EQ(a[k].code, b[k].code) << k;
        EXPECT_EQ(a[k].tick, b[k].tick) << k;
        EXPECT_EQ(a[k].step, b[k].step) << k;
      }
      for (std::size_t k = 0; k <= 200; ++k) {
        const double va = plain.experiment.v()[k];
        EXPECT_NEAR(leapt.experiment.v()[k], va, 1e-9 * std::fabs(va)) << k;
      }
      EXPECT_EQ(plain.experiment.counters().leapt, 0);
      EXPECT_GT(leapt.experiment.counters().leapt, 0);
      // One single step per refresh interval and a few around every event.
      EXPECT_LT(leapt.experiment.counters().single,
                plain.experiment.counters().single / p.refreshEvery + 10.0 * a.size());
      EXPECT_EQ(plain.experiment.screenResults(), leapt.experiment.screenResults());
    }
  }
}

}  // namespace
}  // namespace quorvel::experiment

namespace quorvel::experiment {
namespace {

using model::ContinuousParameters;
using testing_support::ContinuousRun;
using testing_support::finishedRun;
using testing_support::parametersOf;

// The tick at which the second front (of the laser with frequency v0) leaves: the first
// whole continuous step at or after N0/v0.
double launchTick(const ContinuousParameters& p, double v0) {
  const double step = p.dt / p.refinementDivisor;
  double m = std::ceil(p.N0 / v0 / step);
  while ((m - 1) * step >= p.N0 / v0) m -= 1;
  while (m * step < p.N0 / v0) m += 1;
  return m;
}

// A surface moving with the apparatus sees the fronts N0 source periods apart, as the source
// sent them: the second front leaves one step before its launch step.
double coMovingFrequency(const ContinuousParameters& p, double v0) {
  return p.N0 / ((launchTick(p, v0) - 1) * (p.dt / p.refinementDivisor));
}

TEST(ContinuousExperimentPhysics, SurfacesMovingWithTheApparatusReceiveTheSourceFrequency) {
  struct Case {
    const char* name;
    bool prism;
    std::vector<std::pair<std::string, std::string>> fields;
    std::vector<int> legs;
  };
  const std::vector<int> splitterLegs = {10, 11, 13, 14, 15, 16, 18, 20,
                                         22, 23, 24, 25, 26, 27, 28};
  const Case cases[] = {
      {"splitter moving up", false, {}, splitterLegs},
      {"splitter moving at 30 degrees", false, {{"Text44", "30"}, {"Text41", "200"}}, splitterLegs},
      {"prism moving up", true, {}, {10, 14, 18, 20, 24, 28}},
      {"prism moving at 120 degrees",
       true,
       {{"Text44", "120"}, {"Text41", "120"}},
       {10, 14, 18, 20, 24, 28}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto& run = finishedRun(c.prism, c.fields);
    const ContinuousParameters p = parametersOf(run);
    const ContinuousRun r(run, p);
    ASSERT_EQ(r.end, model::LoopEnd::Finished);
    const double expected = coMovingFrequency(p, p.v01);
    // The launch rounding of the "Test" fields: 7,7e-6 above the source's own frequency.
    EXPECT_NEAR(expected / p.v01 - 1, 7.7e-6, 0.05e-6);
    for (int k : c.legs) {
      EXPECT_NEAR(r.experiment.v()[static_cast<std::size_t>(k)] / expected, 1, 1e-9) << k;
    }
    if (!c.prism) {
      EXPECT_EQ(r.experiment.v()[21], 0);  // no time is kept at leg 21
      EXPECT_EQ(r.experiment.v()[12], 0);
    }
    EXPECT_DOUBLE_EQ(r.experiment.screenFrequency(1), r.experiment.v()[18] / p.v01);
    EXPECT_DOUBLE_EQ(r.experiment.screenFrequency(2), r.experiment.v()[28] / p.v01);
  }
}

// Lines at rest in the medium across the start legs see the moving source's Doppler shift.
TEST(ContinuousExperimentPhysics, PrismCrossingLinesAtRestSeeTheMovingSource) {
  for (const char* angle : {"90", "60"}) {
    SCOPED_TRACE(angle);
    const auto& run = finishedRun(true, {{"Text44", angle}, {"Text41", angle}});
    const ContinuousParameters p = parametersOf(run);
    const ContinuousRun r(run, p);
    ASSERT_EQ(r.end, model::LoopEnd::Finished);
    const double aim = run.state.legs.An[10];
    const double u = p.V * std::cos(p.AlfaV - aim);
    const double expected = coMovingFrequency(p, p.v01) / (1 - u / p.c);
    // One step of resolution in the time between the fronts.
    const double resolution = 2 / (launchTick(p, p.v01) - 1);
    EXPECT_NEAR(r.experiment.v()[110] / expected, 1, resolution);
    EXPECT_NEAR(r.experiment.v()[120] / expected, 1, resolution);
    EXPECT_GT(r.experiment.v()[110] / p.v01 - 1, 0.05);  // a shift far above the resolution
    // Legs the rays do not take have no crossing times, and no frequency.
    EXPECT_EQ(r.experiment.v()[111], 0);
    EXPECT_EQ(r.experiment.v()[11], 0);
  }
}

TEST(ContinuousExperimentPhysics, ScreenPointsAtRestAndInTheScreenFrame) {
  {
    const auto& run = finishedRun(false, {{"Text50", "0"}, {"Text29", "0"}});
    const ContinuousParameters p = parametersOf(run);
    const ContinuousRun r(run, p);
    const auto screen = r.experiment.screenResults();
    const double lightStep = p.c * p.dt / p.refinementDivisor;
    EXPECT_NEAR(screen[0], screen[1], lightStep);
    EXPECT_NEAR(screen[2], screen[3], lightStep);
  }
  {
    const auto& run = finishedRun(true, {{"Text50", "0"}, {"Text29", "0"}});
    const ContinuousParameters p = parametersOf(run);
    const ContinuousRun r(run, p);
    const auto screen = r.experiment.screenResults();
    const double lightStep = p.c * p.dt / p.refinementDivisor;
    EXPECT_NEAR(screen[0], -screen[1], lightStep);
    EXPECT_NEAR(screen[2], -screen[3], lightStep);
    const auto& edges = r.experiment.edges();
    EXPECT_NEAR(edges[0].screenX, -edges[3].screenX, lightStep);
    EXPECT_NEAR(edges[1].screenX, -edges[2].screenX, lightStep);
    EXPECT_NEAR(edges[0].screenY, edges[3].screenY, lightStep);
  }
  // Moving: in the screen's frame both fronts of a ray land on the same point; without the
  // correction the second lands where the screen has carried it.
  for (bool prism : {false, true}) {
    SCOPED_TRACE(prism ? "prism" : "splitter");
    const auto& run = finishedRun(prism, {{"Text44", "45"}, {"Text41", "45"}});
    ContinuousParameters p = parametersOf(run);
    const double resolution = (p.c + p.V) * p.dt / p.refinementDivisor;
    const ContinuousRun framed(run, p);
    const auto inFrame = framed.experiment.screenResults();
    EXPECT_NEAR(inFrame[0], inFrame[2], resolution);
    EXPECT_NEAR(inFrame[1], inFrame[3], resolution);
    p.inScreenFrame = false;
    const ContinuousRun raw(run, p);
    const auto asFound = raw.experiment.screenResults();
    const double carried = (prism ? p.Vx : p.Vy) * p.N0 / p.v01;
    EXPECT_NEAR(asFound[2] - asFound[0], carried, 2 * resolution);
  }
}

// Full steps far from every surface: the same times as fine steps throughout, with far
// fewer steps.
TEST(ContinuousExperimentSkip, FullStepsKeepEveryTimeAndSaveSteps) {
  const auto& run = finishedRun(true);
  ContinuousParameters p = parametersOf(run);
  p.skip = false;
  const ContinuousRun fine(run, p);
  p.skip = true;
  const ContinuousRun skipping(run, p);
  ASSERT_EQ(skipping.end, model::LoopEnd::Finished);
  const auto& a = fine.experiment.events();
  const auto& b = skipping.experiment.events();
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t k = 0; k < a.size(); ++k) {
    EXPECT_EQ(a[k].code, b[k].code);
    EXPECT_NEAR(b[k].T, a[k].T, 1e-14 * a[k].T);
  }
  for (std::size_t k = 0; k <= 200; ++k) {
    const double v = fine.experiment.v()[k];
    EXPECT_NEAR(skipping.experiment.v()[k], v, 1e-9 * v) << k;
  }
  EXPECT_EQ(fine.experiment.fullSteps(), 0);
  EXPECT_GT(skipping.experiment.fullSteps(), 0);
  const double fineSteps = fine.experiment.refinedSteps();
  const double skipSteps = skipping.experiment.fullSteps() + skipping.experiment.refinedSteps();
  EXPECT_LT(skipSteps, 0.6 * fineSteps);
  // Without the prism the option does nothing.
  const auto& splitter = finishedRun(false);
  ContinuousParameters q = parametersOf(splitter);
  q.skip = true;
  EXPECT_EQ(ContinuousRun(splitter, q).experiment.fullSteps(), 0);
}

TEST(ContinuousExperimentStart, VariantsStartOnTheLegsOfTheSteppedRun) {
  struct Case {
    const char* name;
    std::vector<std::string> clicks;
    std::vector<std::pair<std::string, std::string>> fields;
    int firstRay1Leg;
  };
  const Case cases[] = {
      {"default", {}, {}, 10},
      {"half angle", {"Check3"}, {}, 18},
      {"fourth mirror alone", {"Check17"}, {}, 10},
      {"half angle and fourth mirror", {"Check3", "Check17", "Option8"}, {}, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto& run = finishedRun(true, c.fields, c.clicks);
    ASSERT_EQ(run.state.ii, 19);
    const ContinuousRun r(run, parametersOf(run));
    ASSERT_EQ(r.end, model::LoopEnd::Finished);
    for (int edge = 0; edge < 2; ++edge) {
      int first = 0;
      for (const auto& e : r.experiment.events()) {
        if (e.edge == edge && e.code < 3000) {
          first = e.code;
          break;
        }
      }
      EXPECT_EQ(first, 1000 + 100 * (edge + 1) + c.firstRay1Leg);
    }
    for (const auto& edge : r.experiment.edges()) EXPECT_EQ(edge.state % 10, 9);
  }
}

// Two lasers: the second front of each laser leaves N0 of its own periods after the first.
TEST(ContinuousExperimentStart, TwoLasersLaunchEachAfterItsOwnPeriods) {
  const auto& run = finishedRun(true, {{"Text60", "0,006"}}, {"Check18"});
  const ContinuousParameters p = parametersOf(run);
  ASSERT_TRUE(p.twoLasers);
  ASSERT_GT(std::fabs(p.v02 / p.v01 - 1), 0.05);
  const ContinuousRun r(run, p);
  EXPECT_NEAR(r.experiment.v()[18] / coMovingFrequency(p, p.v01), 1, 1e-9);
  EXPECT_NEAR(r.experiment.v()[28] / coMovingFrequency(p, p.v02), 1, 1e-9);
}

// The run keeps its state when stopped and goes on to the results of a run left alone; a
// finished run called again finishes again with the same results (the screen points in the
// screen frame are copies, not moved twice).
TEST(ContinuousExperimentLifecycle, StopContinueAndFinishAgain) {
  class StopAfter : public model::ContinuousObserver {
   public:
    StopAfter(int& flag, int yields) : flag_(flag), left_(yields) {}
    void yield() override {
      if (--left_ == 0) flag_ = 1;
    }
    void print(const model::PlacedText&) override { ++printed; }
    int printed = 0;

   private:
    int& flag_;
    int left_;
  };
  const auto& run = finishedRun(false, {{"Text44", "45"}, {"Text41", "45"}});
  const ContinuousParameters p = parametersOf(run);
  const ContinuousRun alone(run, p);
  auto X = run.X;
  auto Y = run.Y;
  model::ContinuousExperiment e(p, run.state.legs, X, Y);
  int stop = 0;
  int stops = 0;
  model::LoopEnd end = model::LoopEnd::Stopped;
  while (end == model::LoopEnd::Stopped) {
    StopAfter observer(stop, 500);
    stop = 0;
    end = e.run(e.defaultSettings(), stop, observer);
    if (end == model::LoopEnd::Stopped) {
      ++stops;
      EXPECT_EQ(observer.printed, 0);
    }
  }
  ASSERT_EQ(end, model::LoopEnd::Finished);
  EXPECT_GT(stops, 2);
  ASSERT_EQ(e.events().size(), alone.experiment.events().size());
  for (std::size_t k = 0; k < e.events().size(); ++k) {
    EXPECT_EQ(e.events()[k].tick, alone.experiment.events()[k].tick);
  }
  EXPECT_EQ(e.screenResults(), alone.experiment.screenResults());
  EXPECT_EQ(X[5], alone.X[5]);  // the setup stands where the run left it
  const auto first = e.screenResults();
  StopAfter again(stop, -1);
  stop = 0;
  EXPECT_EQ(e.run(e.defaultSettings(), stop, again), model::LoopEnd::Finished);
  EXPECT_EQ(e.screenResults(), first);
  EXPECT_EQ(again.printed, static_cast<int>(e.resultTexts().size()));
}

TEST(ContinuousExperimentInput, RefusesWhatNeverEnds) {
  const auto& run = finishedRun(true);
  const ContinuousParameters base = parametersOf(run);
  const std::string wrong = "Введите правильно данные";
  struct Case {
    const char* name;
    void (*change)(ContinuousParameters&);
    std::string message;
  };
  const Case cases[] = {
      {"zero step", [](ContinuousParameters& p) { p.dt = 0; }, wrong},
      {"negative step", [](ContinuousParameters& p) { p.dt = -1e-7; }, wrong},
      {"zero divisor", [](ContinuousParameters& p) { p.refinementDivisor = 0; }, wrong},
      {"no periods", [](ContinuousParameters& p) { p.N0 = 0; }, wrong},
      {"negative periods", [](ContinuousParameters& p) { p.N0 = -10; }, wrong},
      {"launch within one step",
       [](ContinuousParameters& p) { p.N0 = p.v01 * p.dt / p.refinementDivisor; }, wrong},
      {"second laser within one step",
       [](ContinuousParameters& p) {
         p.twoLasers = true;
         p.v02 = p.N0 / (p.dt / p.refinementDivisor);
       },
       wrong},
      {"cone", [](ContinuousParameters& p) { p.divergence = true; },
       "     Этот эксперимент выполняется  \r\nтолько без учета конусности луча\r\n"},
      {"cylinder", [](ContinuousParameters& p) { p.cylinder = true; },
       "Сплошной эксперимент выполняется  \r\n     только без цилиндра\r\n"},
  };
  EXPECT_FALSE(model::continuousRefusal(base).has_value());
  for (const Case& c : cases) {
    ContinuousParameters p = base;
    c.change(p);
    const auto refusal = model::continuousRefusal(p);
    ASSERT_TRUE(refusal.has_value()) << c.name;
    EXPECT_EQ(*refusal, c.message) << c.name;
  }
  ContinuousParameters splitter = base;
  splitter.prism = false;
  splitter.cylinder = true;  // the beam-splitter setup has no cylinder to refuse
  EXPECT_FALSE(model::continuousRefusal(splitter).has_value());
}

TEST(ContinuousExperimentTexts, TablesAtTheirPlaces) {
  model::LegTables legs;
  legs.v[10] = 2;
  legs.received[10] = 3;
  legs.v[20] = 4;
  legs.received[20] = 5;
  const auto stepped = model::steppedFrequencyTexts(legs, 2, 4);
  ASSERT_EQ(stepped.size(), 10u);
  EXPECT_EQ(stepped[0].text,
            " частота луча на этом участке пути и принятая поверхностью в конце этого участка "
            "пути");
  EXPECT_EQ(stepped[0].x, -12);
  EXPECT_EQ(stepped[0].y, 24.5);
  EXPECT_EQ(stepped[1].text,
            "v(10)/v01=   1,000000000    1,500000000                         v(20)/v02=   "
            "1,000000000    1,250000000");
  EXPECT_DOUBLE_EQ(stepped[1].y, 23.5);
  EXPECT_DOUBLE_EQ(stepped[9].y, 31.5 - 4.0 * 18 / 5);

  const auto& run = finishedRun(false);
  ContinuousParameters p = parametersOf(run);
  const ContinuousRun r(run, p);
  const auto texts = r.experiment.resultTexts();
  ASSERT_EQ(texts.size(), 22u);
  EXPECT_EQ(texts[0].text,
            "среднее время касания обоими краями фронта волны поверхностей в конце этих участков "
            "пути ");
  EXPECT_EQ(texts[1].text, "увеличенное в 1000  раз");
  EXPECT_EQ(texts[1].x, -2.5);
  const auto& Tn1 = r.experiment.Tn1();
  EXPECT_EQ(texts[3].text.substr(0, 21), "i=   10    Tn1=   0,0");
  EXPECT_NE(texts[3].text.find("Tn1=   " + common::formatNumber(1000 * Tn1[10], "0.000000000")),
            std::string::npos);
  EXPECT_DOUBLE_EQ(texts[3].y, 11.5 - 8);
  EXPECT_EQ(texts[12].text,
            "частота света после прохождения i-х путей, т.е. принятая поверхностью зеркала "
            "(стекла или экрана)");
  EXPECT_EQ(texts[13].text.substr(0, 25), "i=   0    v(10)/v0=   1,0");
  EXPECT_NE(texts[21].text.find("v(28)/v0=   "), std::string::npos);
  p.realUnits = true;
  EXPECT_EQ(ContinuousRun(run, p).experiment.resultTexts()[1].text, "увеличенное в 1000000  раз");
}

}  // namespace
}  // namespace quorvel::experiment

namespace quorvel::experiment {
namespace {

using model::ContinuousParameters;
using testing_support::ContinuousRun;
using testing_support::finishedRun;
using testing_support::parametersOf;

// At the "Real" fields (two billion steps): full steps change no time, the lines at rest see
// the moving source's shift and the mirror and the screen the source's own frequency.
TEST(ContinuousExperimentReal, PrismAtRealSpeeds) {
  const auto& run = finishedRun(true, {}, {"Option7"});
  ASSERT_EQ(run.state.ii, 19);
  ContinuousParameters p = parametersOf(run);
  ASSERT_EQ(p.dt, 1e-15);
  p.skip = true;
  const ContinuousRun skipping(run, p);
  p.skip = false;
  const ContinuousRun fine(run, p);
  ASSERT_EQ(skipping.end, model::LoopEnd::Finished);
  ASSERT_EQ(fine.end, model::LoopEnd::Finished);
  for (int k : {10, 14, 18, 20, 24, 28, 110, 114, 118, 120, 124, 128}) {
    const double v = fine.experiment.v()[static_cast<std::size_t>(k)];
    EXPECT_NEAR(skipping.experiment.v()[static_cast<std::size_t>(k)] / v, 1, 1e-9) << k;
  }
  EXPECT_LT(skipping.experiment.fullSteps() + skipping.experiment.refinedSteps(),
            0.5 * fine.experiment.refinedSteps());
  const double step = p.dt / p.refinementDivisor;
  double launch = std::ceil(p.N0 / p.v01 / step);
  while ((launch - 1) * step >= p.N0 / p.v01) launch -= 1;
  while (launch * step < p.N0 / p.v01) launch += 1;
  const double own = p.N0 / ((launch - 1) * step);
  for (int k : {10, 14, 18, 20, 24, 28}) {
    EXPECT_NEAR(fine.experiment.v()[static_cast<std::size_t>(k)] / own, 1, 1e-9) << k;
  }
  const double u = p.V * std::cos(p.AlfaV - run.state.legs.An[10]);
  EXPECT_NEAR(fine.experiment.v()[110] / (own / (1 - u / p.c)), 1, 2 / (launch - 1));
  EXPECT_NEAR(fine.experiment.v()[110] / p.v01 - 1, u / p.c, 3 / (launch - 1));
}

}  // namespace
}  // namespace quorvel::experiment
