// The apparatus velocity of one moment: the approximate elements against the precise
// ephemeris (one ERFA position and velocity of the Earth with the place's rotation), and the
// whole ether wind in the local horizon that the main window and the forecast ask for.
#include <benchmark/benchmark.h>

#include "astro/apparatus_state.h"
#include "astro/ether_wind.h"

namespace {

using namespace quorvel::astro;

// 2026-12-08 12:00 UT; each iteration moves on by 0,1 h, as the motion's default step.
constexpr double kStart = 2461383.0;
constexpr double kStep = 0.1 / 24.0;

void BM_ElementsState(benchmark::State& state) {
  double jd = kStart;
  for (auto _ : state) {
    benchmark::DoNotOptimize(computeApparatusState(jd, 44.5, 48.7, false));
    jd += kStep;
  }
}
BENCHMARK(BM_ElementsState);

void BM_PreciseState(benchmark::State& state) {
  double jd = kStart;
  for (auto _ : state) {
    benchmark::DoNotOptimize(computePreciseApparatusState(jd, 44.5, 48.7, false));
    jd += kStep;
  }
}
BENCHMARK(BM_PreciseState);

void BM_EtherWind(benchmark::State& state) {
  const auto ephemeris = state.range(0) ? Ephemeris::kErfa : Ephemeris::kElements;
  const auto frame = state.range(1) ? EtherFrame::kCmb : EtherFrame::kSun;
  double jd = kStart;
  for (auto _ : state) {
    benchmark::DoNotOptimize(etherWind({jd, false, 44.5, 48.7, ephemeris, frame}));
    jd += kStep;
  }
}
BENCHMARK(BM_EtherWind)->Args({0, 0})->Args({1, 0})->Args({1, 1});

}  // namespace
