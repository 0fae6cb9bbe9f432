// The crest models and whole runs of the engine, leaping and stepped (the reference the leaps
// are tested against), measured in the same run; the engine alone, no window.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/numbers.h"
#include "experiment/model/engine.h"
#include "experiment/model/doppler.h"
#include "experiment/model/presets.h"
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

// A whole run through the engine's one call: a preset of the window's, Doppler on or off.
void wholeRun(benchmark::State& bench, SetupChoice setup, UnitChoice units, bool doppler,
              bool leaping = true) {
  const RunFields f = presetFields(setup, units);
  Options o = presetOptions(setup, units);
  o.dopplerModels = doppler;
  RunResult result;
  CountingObserver observer;
  for (auto _ : bench) {
    observer = CountingObserver{};
    if (leaping) {
      result = runExperiment(f, o, observer);
    } else {
      ExperimentState s;
      PointArray X{}, Y{};
      int stop = 0;
      RunContext context(observer, X, Y, stop);
      applyFields(f, o, s, X, Y);
      s.leaping = false;
      beginRun(s, context);
      result = resultOf(s, X, Y, advanceRun(s, context) == RunEnd::Arrived ? RunOutcome::Arrived
                                                                          : RunOutcome::Failed);
    }
    if (!result.arrived()) {
      bench.SkipWithError("the run did not arrive");
      break;
    }
  }
  bench.counters["run_steps"] = result.counters.stepsDone;
  bench.counters["single_steps"] = result.counters.single;
  bench.counters["yields"] = static_cast<double>(observer.yields);
  bench.counters["refreshes"] = static_cast<double>(observer.refreshes);
}

constexpr SetupChoice kBeam = SetupChoice::BeamSplitter;
constexpr SetupChoice kPrism = SetupChoice::Prism;
constexpr UnitChoice kTestUnits = UnitChoice::Test;
constexpr UnitChoice kRealUnits = UnitChoice::Real;

// The eight default configurations: both setups × "Test"/"Real" × Doppler on/off.
BENCHMARK_CAPTURE(wholeRun, BeamSplitterTest, kBeam, kTestUnits, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeRun, BeamSplitterReal, kBeam, kRealUnits, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeRun, PrismTest, kPrism, kTestUnits, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeRun, PrismReal, kPrism, kRealUnits, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeRun, BeamSplitterTestNoDoppler, kBeam, kTestUnits, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeRun, BeamSplitterRealNoDoppler, kBeam, kRealUnits, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeRun, PrismTestNoDoppler, kPrism, kTestUnits, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeRun, PrismRealNoDoppler, kPrism, kRealUnits, false)
    ->Unit(benchmark::kMillisecond);
// The stepped reference.
BENCHMARK_CAPTURE(wholeRun, PrismTestStepped, kPrism, kTestUnits, true, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(wholeRun, BeamSplitterTestStepped, kBeam, kTestUnits, true, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The grid where no preset goes: both setups × "Test"/"Real" × the velocity every 15° (Vz =
// 0, so 0°, 90°, 180° and 270° lie exactly along an axis) × arms of 1, 3 and 11 m (the whole
// setup scaled; 11 m is the historical interferometer's).
std::vector<std::pair<RunFields, Options>> grid() {
  std::vector<std::pair<RunFields, Options>> runs;
  for (SetupChoice setup : {kBeam, kPrism}) {
    for (UnitChoice units : {kTestUnits, kRealUnits}) {
      for (double arm : {1.0, 3.0, 11.0}) {
        for (int direction = 0; direction < 360; direction += 15) {
          RunFields f = presetFields(setup, units);
          for (double RunFields::*length :
               {&RunFields::X1, &RunFields::X2, &RunFields::Y2, &RunFields::screen}) {
            f.*length *= arm;
          }
          f.AlfaVss = direction;
          f.Vz = 0;
          runs.emplace_back(f, presetOptions(setup, units));
        }
      }
    }
  }
  return runs;
}

// Each run of the grid timed on its own: the slowest and the median run.
void BM_Grid(benchmark::State& bench) {
  const auto runs = grid();
  std::vector<double> seconds(runs.size());
  int failed = 0;
  for (auto _ : bench) {
    for (std::size_t i = 0; i < runs.size(); ++i) {
      const auto start = std::chrono::steady_clock::now();
      const RunResult r = runExperiment(runs[i].first, runs[i].second);
      seconds[i] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      failed += !r.arrived();
    }
  }
  std::vector<double> sorted = seconds;
  std::sort(sorted.begin(), sorted.end());
  bench.counters["runs"] = static_cast<double>(runs.size());
  bench.counters["not_arrived"] = failed;
  bench.counters["max_ms"] = sorted.back() * 1e3;
  bench.counters["median_ms"] = sorted[sorted.size() / 2] * 1e3;
  bench.counters["runs_per_s"] = benchmark::Counter(static_cast<double>(runs.size()),
                                                    benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Grid)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same grid shared by two threads (each takes every other run).
void BM_GridTwoThreads(benchmark::State& bench) {
  const auto runs = grid();
  for (auto _ : bench) {
    auto half = [&](std::size_t first) {
      for (std::size_t i = first; i < runs.size(); i += 2) {
        benchmark::DoNotOptimize(runExperiment(runs[i].first, runs[i].second));
      }
    };
    std::thread other(half, 1);
    half(0);
    other.join();
  }
  bench.counters["runs_per_s"] = benchmark::Counter(static_cast<double>(runs.size()),
                                                    benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_GridTwoThreads)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
