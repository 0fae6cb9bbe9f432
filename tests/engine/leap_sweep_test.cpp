// Leaping must make exactly the choices of plain stepping: the same events on the same steps,
// the same frequencies and texts, the same refreshes, to the last bit.

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "common/shared.h"
#include "experiment/model/beam_splitter_run.h"
#include "experiment/model/doppler.h"
#include "experiment/model/prism_run.h"
#include "experiment/model/run_fields.h"
#include "experiment/model/presets.h"
#include "experiment/model/run_start.h"
#include "engine/engine_support.h"

namespace quorvel::experiment::model {
namespace {

using common::Pi;

double deg(double degrees) {
  return degrees / common::RadToDeg;
}

// What a crest model call leaves behind.
struct CrestResult {
  DopplerOutcome outcome{};
  double vm = 0, vr = 0;
  std::string report;
  std::vector<std::string> shown;
  std::vector<double> times;
  long long yields = 0;
};

void expectSame(const CrestResult& stepped, const CrestResult& leapt) {
  EXPECT_EQ(leapt.outcome, stepped.outcome);
  EXPECT_EQ(leapt.vm, stepped.vm);
  EXPECT_EQ(leapt.vr, stepped.vr);
  EXPECT_EQ(leapt.report, stepped.report);
  EXPECT_EQ(leapt.shown, stepped.shown);
  EXPECT_EQ(leapt.times, stepped.times);  // the model time at every event
}

struct Units {
  const char* name;
  double c, L, dt;
};
constexpr Units kTest{"Test", 30000, 0.0065, 1e-7};
constexpr Units kReal{"Real", 3e8, 650e-9, 1e-15};

// A model's state: the run's step is dt, the models step by dt/K; the setup moves with β·c
// in the direction `motion`; the closing speeds are those the runs form for a ray along An
// and a surface at alfa.
ExperimentState crestState(const Units& u, double K, double beta, double motion, double An,
                           double alfa, double N0) {
  ExperimentState s;
  s.c = s.Vs0 = u.c;
  s.L1 = s.L2 = u.L;
  s.v01 = s.v02 = u.c / u.L;
  s.dt = s.P0 = u.dt;
  s.refinementDivisor = K;
  s.N0 = N0;
  s.T = 1e-3;
  s.Vx = beta * u.c * std::cos(motion);
  s.Vy = beta * u.c * std::sin(motion);
  s.V = std::hypot(s.Vx, s.Vy);
  s.AlfaV = common::FullAngle(s.Vx, s.Vy);
  s.aimAngle = Pi / 2 - common::ArcSin(s.V * std::cos(s.AlfaV) / s.c);
  for (double side : {1.0, -1.0}) {
    s.V12 = s.c * std::cos(An - alfa + side * Pi / 2);
    s.V21 = s.V * std::cos(s.AlfaV - alfa - side * Pi / 2);
    if (s.V12 > 0) break;
  }
  return s;
}

template <class Call>
CrestResult runCrest(ExperimentState s, bool leaping, std::deque<bool> answers, Call&& call) {
  s.leaping = leaping;
  RecordingObserver observer;
  observer.answers = std::move(answers);
  int stop = 0;
  RunContext context(observer, common::shared().X, common::shared().Y, stop);
  CrestResult r;
  r.outcome = call(s, context);
  r.vm = s.vm;
  r.vr = s.vr;
  r.report = context.report;
  r.shown = observer.shown;
  r.times = observer.times;
  r.yields = observer.yields;
  return r;
}

// Mirrors at normal and oblique incidence, met by light that a moving mirror meets head on,
// from behind and across its own line; every orientation code; crests 1, 2.5 and 10
// periods apart; both units at two step divisors; prompts declined; crests parallel to
// their mirror (a model that cannot finish).
TEST(LeapSweepTest, CrestModelsLeapToTheStepsTheStepsFind) {
  struct Geometry {
    int code;
    double An, alfa, tilt;  // degrees, degrees, rad
  };
  const Geometry geometries[] = {{0, 180, 90, 0},      {90, 270, 0, 0},    {180, 0, 90, 0},
                                 {270, 90, 0, 0},      {0, 90, 45, 0.02},  {90, 0, 45, -0.02},
                                 {180, 90, 135, 0.01}, {270, 0, 135, 0.02}};
  const double motions[][2] = {{0, 0}, {0.1, 0}, {0.1, 90}, {0.19, 200}, {0.05, 300}};
  int calls = 0, leapsFewer = 0;
  for (const Units& u : {kTest, kReal}) {
    for (double K : {10.0, 100.0}) {
      for (const Geometry& g : geometries) {
        for (const auto& m : motions) {
          for (double N0 : {1.0, 2.5, 10.0}) {
            SCOPED_TRACE(testing::Message()
                         << u.name << " K=" << K << " code " << g.code << " An " << g.An << " β "
                         << m[0] << "@" << m[1] << " N0 " << N0);
            const ExperimentState s = crestState(u, K, m[0], deg(m[1]), deg(g.An), deg(g.alfa), N0);
            auto mirror = [&](ExperimentState& st, RunContext& context) {
              return Dopler_Zerkalo(st, context, deg(g.alfa), deg(g.alfa) + g.tilt, st.c, deg(g.An),
                                    st.v01 * (1 + m[0] / 3), g.code);
            };
            const CrestResult stepped = runCrest(s, false, {}, mirror);
            const CrestResult leapt = runCrest(s, true, {}, mirror);
            expectSame(stepped, leapt);
            ++calls;
            if (leapt.yields * 100 < stepped.yields) ++leapsFewer;
          }
        }
        // The step prompts: the third answered No.
        ExperimentState prompted = crestState(u, K, 0.1, 0, deg(g.An), deg(g.alfa), 10);
        prompted.options.autoModels = false;
        auto declined = [&](ExperimentState& st, RunContext& context) {
          return Dopler_Zerkalo(st, context, deg(g.alfa), deg(g.alfa), st.c, deg(g.An), st.v01,
                                g.code);
        };
        expectSame(runCrest(prompted, false, {true, true, false}, declined),
                   runCrest(prompted, true, {true, true, false}, declined));
      }
      // Crests parallel to the mirror never reach it: both end on the same bound.
      const ExperimentState parallel = crestState(u, K, 0, 0, 0, 0, 10);
      auto never = [&](ExperimentState& st, RunContext& context) {
        return Dopler_Zerkalo(st, context, 0, 0, st.c, 0, st.v01, 90);
      };
      const CrestResult a = runCrest(parallel, false, {}, never);
      expectSame(a, runCrest(parallel, true, {}, never));
      EXPECT_EQ(a.outcome, DopplerOutcome::Failed);
      // The source, every motion, crest B sent on its own step.
      for (const auto& m : motions) {
        for (double N0 : {1.0, 2.5, 10.0}) {
          SCOPED_TRACE(testing::Message()
                       << u.name << " source β " << m[0] << "@" << m[1] << " N0 " << N0);
          const ExperimentState s = crestState(u, K, m[0], deg(m[1]), 0, 0, N0);
          auto source = [](ExperimentState& st, RunContext& context) {
            return Dopler_Lazer(st, context);
          };
          const CrestResult stepped = runCrest(s, false, {}, source);
          expectSame(stepped, runCrest(s, true, {}, source));
          EXPECT_EQ(stepped.outcome, DopplerOutcome::Done);
        }
      }
    }
  }
  // Leaping is what makes the models fast: all but a few calls need a hundredth of the
  // yields.
  EXPECT_EQ(calls, 480);
  EXPECT_GE(leapsFewer, calls * 9 / 10);
}

// A whole run of either setup: the same leg tables, points, refreshes and messages, for
// "Test" and "Real" units, with and without the Doppler models, at the window's geometry
// with a small step divisor that keeps the stepped reference short; then the setup moving
// exactly along ±x and ±y (a velocity component exactly zero; the mirrors of both setups lie
// along and across the axes) or near y, and a setup at rest.
TEST(LeapSweepTest, WholeRunsLeapToTheSameState) {
  struct Case {
    bool doppler = true;
    std::optional<double> along;  // the whole velocity along this direction, degrees
    bool atRest = false;
  };
  std::vector<Case> cases = {{true, std::nullopt, false}, {false, std::nullopt, false}};
  // 75° and 105°: the prism's refined step stays for hundreds of full steps' way after
  // ray 1's mirror, while ray 2 is still short of its own.
  for (double along : {0.0, 90.0, 180.0, 270.0, 75.0, 105.0}) cases.push_back({true, along, false});
  cases.push_back({true, std::nullopt, true});
  for (bool prism : {false, true}) {
    for (bool real : {false, true}) {
      for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (prism ? "prism" : "beam splitter") << (real ? " Real" : " Test")
                     << (c.doppler ? " Doppler" : "") << " along " << c.along.value_or(-1)
                     << (c.atRest ? " at rest" : ""));
        const SetupChoice setup = prism ? SetupChoice::Prism : SetupChoice::BeamSplitter;
        const UnitChoice units = real ? UnitChoice::Real : UnitChoice::Test;
        RunFields f = presetFields(setup, units);
        Options o = presetOptions(setup, units);
        o.dopplerModels = c.doppler;
        if (real) {
          f.dt = 1e-13;
          f.refinementDivisor = 100;
        } else {
          f.refinementDivisor = 10;
        }
        f.NC0 = 100;
        if (c.along) {
          f.AlfaVss = *c.along;
          f.Vz = 0;
        }
        if (c.atRest) f.Vss = f.Vz = 0;
        struct Outcome {
          RunEnd end;
          ExperimentState s;
          PointArray X, Y;
          std::vector<std::string> shown;
          long long yields;
        };
        auto run = [&](bool leaping) {
          Outcome out{};
          RecordingObserver observer;
          int stop = 0;
          PointArray X{}, Y{};
          RunContext context(observer, X, Y, stop);
          applyFields(f, o, out.s, X, Y);
          out.s.leaping = leaping;
          startRun(out.s, context);
          if (!prism) prepareBeamSplitterRun(out.s, context);
          out.end = prism ? runPrism(out.s, context) : runBeamSplitter(out.s, context);
          out.X = X;
          out.Y = Y;
          out.shown = observer.shown;
          out.yields = observer.yields;
          return out;
        };
        const Outcome stepped = run(false);
        const Outcome leapt = run(true);
        ASSERT_EQ(stepped.end, RunEnd::Arrived) << testing::PrintToString(stepped.shown);
        EXPECT_EQ(leapt.end, stepped.end);
        EXPECT_EQ(leapt.shown, stepped.shown);  // every refresh at the same step
        EXPECT_EQ(leapt.X, stepped.X);
        EXPECT_EQ(leapt.Y, stepped.Y);
        const ExperimentState& a = stepped.s;
        const ExperimentState& b = leapt.s;
        EXPECT_EQ(b.T, a.T);
        EXPECT_EQ(b.legs.An, a.legs.An);
        EXPECT_EQ(b.legs.v, a.legs.v);
        EXPECT_EQ(b.legs.received, a.legs.received);
        EXPECT_EQ(b.legs.T1, a.legs.T1);
        EXPECT_EQ(b.legs.T2, a.legs.T2);
        EXPECT_EQ(b.legs.S1, a.legs.S1);
        EXPECT_EQ(b.legs.S2, a.legs.S2);
        EXPECT_EQ(b.legs.V1, a.legs.V1);
        EXPECT_EQ(b.legs.V2, a.legs.V2);
        EXPECT_EQ(b.legs.Nv, a.legs.Nv);
        EXPECT_EQ(b.Xf, a.Xf);
        EXPECT_EQ(b.Yf, a.Yf);
        EXPECT_EQ(b.path, a.path);
        EXPECT_EQ(b.arrivalX, a.arrivalX);
        EXPECT_EQ(b.arrivalY, a.arrivalY);
        EXPECT_EQ(b.N1, a.N1);
        EXPECT_EQ(b.N2, a.N2);
        EXPECT_EQ(b.counters.stepsDone, a.counters.stepsDone);
        // No configuration falls back to single steps: the run and its mirror approaches
        // leap, so a leaping run yields far less often than the stepped one.
        // ("Test" runs are a thousand steps, mostly near a surface.)
        EXPECT_LT(leapt.yields * (real ? 10 : 1), stepped.yields);
        if (real) {
          EXPECT_LT(leapt.s.counters.single * 4, leapt.s.counters.stepsDone)
              << leapt.s.counters.single << " of " << leapt.s.counters.stepsDone;
        }
      }
    }
  }
}

}  // namespace
}  // namespace quorvel::experiment::model
