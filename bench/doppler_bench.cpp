// One call of the moving-mirror Doppler model as a run makes it at a leg end: the run's step
// is already refined (P0 = dt/K), so the model steps by dt/K/K.
#include <benchmark/benchmark.h>

#include <cmath>
#include <optional>
#include <string>

#include "common/numbers.h"
#include "common/shared.h"
#include "experiment/model/doppler.h"
#include "platform/host.h"

namespace {

using quorvel::common::Pi;
using quorvel::common::RadToDeg;
using quorvel::experiment::model::Dopler_Zerkalo;
using quorvel::experiment::model::DopplerOutcome;
using quorvel::experiment::model::ExperimentState;
using quorvel::experiment::model::RunContext;

// A host whose yield costs what a yield with nothing to do costs: a counted call.
class BenchHost : public quorvel::platform::Host {
 public:
  bool messageBox(std::string_view, quorvel::platform::Buttons, std::string_view) override {
    return true;
  }
  std::optional<std::string> openFileDialog(const quorvel::platform::FileDialogRequest&) override {
    return std::nullopt;
  }
  int doEvents() override {
    ++yields;
    return 1;
  }
  long long yields = 0;
};

struct Fields {
  double Vs0;      // m/s
  double Vss, Vz;  // m/s, both at 90 degrees
  double L1;       // m
  double dt;       // s
  int NC0;
};

// The beam-splitter setup's left mirror (Alfa1 = 90 degrees) reflecting ray 1, which runs
// along −x, back to +x (orientation code 0), the setup moving along +y; the medium's index
// 1,0003 acts on the light speed.
ExperimentState state(const Fields& f) {
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
  s.Vx = (f.Vss + f.Vz) * std::cos(Pi / 2);
  s.Vy = (f.Vss + f.Vz) * std::sin(Pi / 2);
  s.V = std::hypot(s.Vx, s.Vy);
  s.AlfaV = quorvel::common::FullAngle(s.Vx, s.Vy);
  s.Alfa1 = 90 / RadToDeg;
  s.V12 = s.c * std::cos(Pi - s.Alfa1 - Pi / 2);
  s.V21 = s.V * std::cos(s.AlfaV - s.Alfa1 + Pi / 2);
  return s;
}

void mirrorModelCall(benchmark::State& bench, const Fields& fields) {
  ExperimentState s = state(fields);
  BenchHost host;
  int stop = 0;
  RunContext context(host, nullptr, stop);
  double shown = 0;
  context.showTime = [&shown](double T) { shown = T; };
  long long steps = 0;
  for (auto _ : bench) {
    const long long before = host.yields;
    const DopplerOutcome outcome = Dopler_Zerkalo(s, context, s.Alfa1, s.Alfa1, s.c, Pi, s.v01, 0);
    if (outcome != DopplerOutcome::Done) {
      bench.SkipWithError("the model gave no result");
      break;
    }
    steps += host.yields - before + 1;  // a yield after every step but the last
  }
  bench.counters["steps_per_call"] =
      benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kAvgIterations);
  bench.counters["steps_per_second"] =
      benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
  bench.counters["vr_over_v01"] = s.vr / s.v01;
  bench.counters["model_time_s"] = shown;
}

// "Test": light at 30 km/s, the setup at 3 + 0,3 km/s, L1 = 0,0065 m, dt = 1E-7 s, NC0 = 10.
void BM_DoplerZerkaloTestFields(benchmark::State& bench) {
  mirrorModelCall(bench, {30e3, 3e3, 0.3e3, 0.0065, 1e-7, 10});
}
// "Real": light at 300000 km/s, the setup at 300 + 30 km/s, L1 = 650 nm, dt = 1E-15 s,
// NC0 = 10000.
void BM_DoplerZerkaloRealFields(benchmark::State& bench) {
  mirrorModelCall(bench, {300000e3, 300e3, 30e3, 650e-9, 1e-15, 10000});
}

BENCHMARK(BM_DoplerZerkaloTestFields)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DoplerZerkaloRealFields)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
