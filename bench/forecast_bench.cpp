// The fringe-shift forecast of the 1887 interferometer ("Real", 11 m arms, 590 nm): one turn
// of 16 positions at 30 km/s, and 16 positions at each of 24 moments of a sidereal day with
// the Earth's velocity, on as many threads as the machine has cores.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <thread>

#include "astro/ether_wind.h"
#include "experiment/model/presets.h"
#include "forecast/model/parallel_turn.h"
#include "forecast/model/turn.h"

namespace {

using namespace quorvel;
namespace em = experiment::model;
namespace fm = forecast::model;

em::RunFields interferometer1887() {
  em::RunFields f = em::presetFields(em::SetupChoice::BeamSplitter, em::UnitChoice::Real);
  f.X1 = -11;
  f.Y2 = 11;
  f.L1 = 590;
  f.Vss = 30;
  f.Vz = 0;
  f.mediumIndex = 1;
  return f;
}

unsigned workers() {
  return std::max(2u, std::thread::hardware_concurrency());
}

// Runs the positions and returns them centred.
std::vector<fm::PositionResult> runTurn(const std::vector<fm::TurnPosition>& positions) {
  const em::RunFields fields = interferometer1887();
  const em::Options options =
      em::presetOptions(em::SetupChoice::BeamSplitter, em::UnitChoice::Real);
  fm::ParallelTurn turn(fields, options, fm::classicalArmsOf(fields, options), positions,
                        workers());
  turn.join();
  std::vector<fm::PositionResult> results;
  for (std::size_t i = 0; i < turn.size(); ++i) results.push_back(turn.result(i));
  fm::centreShifts(results);
  return results;
}

void BM_Turn1887(benchmark::State& state) {
  fm::TurnSummary summary;
  for (auto _ : state) {
    // Half a degree off the axes, so that no position meets a mirror edge on.
    const auto results = runTurn(fm::turnPositions(16, 0, 30000, -0.5));
    summary = fm::summarize(results, 0);
    benchmark::DoNotOptimize(summary);
  }
  state.counters["model_amplitude"] = summary.modelAmplitude.value_or(-1);
  state.counters["theory_amplitude"] = summary.theoryAmplitude.value_or(-1);
}
BENCHMARK(BM_Turn1887)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_SiderealDay1887(benchmark::State& state) {
  // 8 July 1887, 12:00 UT, Cleveland; the ether at rest with the Sun.
  astro::EtherWindQuery query{
      2410461.0, false, -81.6, 41.5, astro::Ephemeris::kErfa, astro::EtherFrame::kSun};
  std::vector<fm::TurnPosition> positions;
  for (int j = 0; j < 24; ++j) {
    query.jdut = 2410461.0 + j * 0.99726956633 / 24;
    const auto wind = astro::etherWind(query);
    for (const auto& p : fm::turnPositions(16, 0.5, wind->horizon.horizontalSpeed,
                                           wind->horizon.azimuth.value_or(0) * 57.29577951308232, j,
                                           wind->state.lmst)) {
      positions.push_back(p);
    }
  }
  for (auto _ : state) {
    const auto results = runTurn(positions);
    benchmark::DoNotOptimize(results);
  }
}
BENCHMARK(BM_SiderealDay1887)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
