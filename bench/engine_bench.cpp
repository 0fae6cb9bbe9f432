// The crest models and whole runs of the engine, leaping and stepped (the reference the leaps
// are tested against), measured in the same run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "common/numbers.h"
#include "experiment/model/beam_splitter_run.h"
#include "experiment/model/doppler.h"
#include "experiment/model/prism_run.h"
#include "experiment/model/run_fields.h"
#include "experiment/model/run_start.h"

namespace {

using quorvel::common::Pi;
using quorvel::common::RadToDeg;
using namespace quorvel::experiment::model;

// An observer whose yield costs what a yield with nothing to do costs: a counted call.
class CountingObserver : public RunObserver {
 public:
  void yield() override { ++yields; }
  void refresh(const ExperimentState&) override { ++refreshes; }
  void showTime(double T) override { shown = T; }
  long long yields = 0;
  long long refreshes = 0;
  double shown = 0;
};

struct Fields {
  double Vs0;     // m/s
  double Vx, Vy;  // m/s
  double L1;      // m
  double dt;      // s
  int NC0;
};

// The beam-splitter setup's left mirror (Alfa1 = 90 degrees) reflecting ray 1, which runs
// along −x, back to +x (orientation code 0); the medium's index 1,0003 acts on the light
// speed. The run's step is already refined (P0 = dt/K), so the model steps by dt/K².
ExperimentState mirrorState(const Fields& f) {
  ExperimentState s;
  s.Vs0 = f.Vs0;
  s.c = f.Vs0 / 1.0003;
  s.L1 = f.L1;
  s.v01 = s.c / s.L1;
  s.dt = f.dt;
  s.refinementDivisor = 1e3;
  s.P0 = s.dt / s.refinementDivisor;
  s.NC0 = f.NC0;
  s.N0 = 10;
  s.Vx = f.Vx;
  s.Vy = f.Vy;
  s.V = std::hypot(s.Vx, s.Vy);
  s.AlfaV = quorvel::common::FullAngle(s.Vx, s.Vy);
  s.Alfa1 = 90 / RadToDeg;
  s.V12 = s.c * std::cos(Pi - s.Alfa1 - Pi / 2);
  s.V21 = s.V * std::cos(s.AlfaV - s.Alfa1 + Pi / 2);
  return s;
}

void mirrorModelCall(benchmark::State& bench, const Fields& fields, bool leaping) {
  ExperimentState s = mirrorState(fields);
  s.leaping = leaping;
  CountingObserver observer;
  int stop = 0;
  PointArray X{}, Y{};
  RunContext context(observer, X, Y, stop);
  for (auto _ : bench) {
    const DopplerOutcome outcome = Dopler_Zerkalo(s, context, s.Alfa1, s.Alfa1, s.c, Pi, s.v01, 0);
    if (outcome != DopplerOutcome::Done) {
      bench.SkipWithError("the model gave no result");
      break;
    }
  }
  // The model's steps, from the time of its last event; the yields are its strides.
  bench.counters["model_steps"] = std::round(observer.shown / (s.P0 / s.refinementDivisor));
  bench.counters["yields_per_call"] =
      benchmark::Counter(static_cast<double>(observer.yields), benchmark::Counter::kAvgIterations);
  bench.counters["vr_over_v01"] = s.vr / s.v01;
}

// "Test": light at 30 km/s, the setup at 3 + 0,3 km/s along y, L1 = 0,0065 m, dt = 1E-7 s.
constexpr Fields kTest{30e3, 0, 3.3e3, 0.0065, 1e-7, 10};
// The same, the setup moving along x: the mirror moves across its own line (V21 ≠ 0).
constexpr Fields kTestAcross{30e3, 3.3e3, 0, 0.0065, 1e-7, 10};
// "Real": light at 300000 km/s, the setup at 330 km/s, L1 = 650 nm, dt = 1E-15 s.
constexpr Fields kReal{300000e3, 0, 330e3, 650e-9, 1e-15, 10000};

void BM_MirrorModelTest(benchmark::State& b) {
  mirrorModelCall(b, kTest, true);
}
void BM_MirrorModelTestAcross(benchmark::State& b) {
  mirrorModelCall(b, kTestAcross, true);
}
void BM_MirrorModelReal(benchmark::State& b) {
  mirrorModelCall(b, kReal, true);
}
void BM_MirrorModelTestStepped(benchmark::State& b) {
  mirrorModelCall(b, kTest, false);
}
BENCHMARK(BM_MirrorModelTest)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MirrorModelTestAcross)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MirrorModelReal)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MirrorModelTestStepped)->Unit(benchmark::kMillisecond)->Iterations(1);

// A whole run without a window: the window's fields of the setup and units, Doppler on.
void wholeRun(benchmark::State& bench, bool prism, bool real, bool leaping) {
  RunFields f;
  Options o;
  o.prism = prism;
  o.realUnits = real;
  if (prism) {
    f.X1 = -0.45, f.X2 = 0.45, f.Y2 = 0, f.screen = 0.9, f.Y5 = -0.2;
    f.Alfa1 = 121.7032392, f.Alfa2 = 58.2967608, f.Alfa3 = 90;
  } else {
    f.Alfa1 = 90, f.Alfa2 = 0, f.Y4 = 0.5;
  }
  if (real) {
    f.L1 = f.L2 = 650;
    f.Vs0 = 300000, f.Vss = 300, f.Vz = 30;
    f.mirrorWidth = 0.2, f.plateThickness = 10;
    f.dt = 1e-15, f.NC0 = 10000;
  }
  CountingObserver observer;
  ExperimentState s;
  for (auto _ : bench) {
    observer = CountingObserver{};
    int stop = 0;
    PointArray X{}, Y{};
    RunContext context(observer, X, Y, stop);
    s = ExperimentState{};
    applyFields(f, o, s, X, Y);
    s.leaping = leaping;
    startRun(s, context);
    if (!prism) prepareBeamSplitterRun(s, context);
    const RunEnd end = prism ? runPrism(s, context) : runBeamSplitter(s, context);
    if (end != RunEnd::Arrived) {
      bench.SkipWithError("the run did not arrive");
      break;
    }
  }
  bench.counters["run_steps"] = s.counters.stepsDone;
  bench.counters["single_steps"] = s.counters.single;
  bench.counters["yields"] = static_cast<double>(observer.yields);
  bench.counters["refreshes"] = static_cast<double>(observer.refreshes);
}

void BM_PrismRunTest(benchmark::State& b) {
  wholeRun(b, true, false, true);
}
void BM_BeamSplitterRunTest(benchmark::State& b) {
  wholeRun(b, false, false, true);
}
void BM_PrismRunReal(benchmark::State& b) {
  wholeRun(b, true, true, true);
}
void BM_BeamSplitterRunReal(benchmark::State& b) {
  wholeRun(b, false, true, true);
}
void BM_PrismRunTestStepped(benchmark::State& b) {
  wholeRun(b, true, false, false);
}
void BM_BeamSplitterRunTestStepped(benchmark::State& b) {
  wholeRun(b, false, false, false);
}
BENCHMARK(BM_PrismRunTest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BeamSplitterRunTest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrismRunReal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BeamSplitterRunReal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrismRunTestStepped)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_BeamSplitterRunTestStepped)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
