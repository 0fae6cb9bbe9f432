// The continuous wave-front experiment after a finished stepped run: the model alone (no
// window drawing), leaping and as the plain loop of single steps, at the "Test" and the
// "Real" fields of both setups; and the longest stretch between two yields (how soon
// "Остановить" is seen).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "app/forms.h"
#include "common/shared.h"
#include "experiment/form4.h"
#include "experiment/model/continuous_experiment.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"

namespace {

using quorvel::experiment::Form4;
namespace model = quorvel::experiment::model;

// The pictures print text, which needs the offscreen platform's application.
void ensureQt() {
  static int argc = 1;
  static char name[] = "continuous_bench";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QGuiApplication> app;
  if (!app) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
}

struct FinishedRun {
  model::ContinuousParameters parameters;
  model::LegTables legs;
  std::array<double, 131> X{}, Y{};
};

// A stepped run of the setup with the given units (Doppler models and animation off), the
// way the window hands it to the continuous experiment.
const FinishedRun& finishedRun(bool prism, bool real) {
  static std::map<int, FinishedRun> runs;
  const int key = (prism ? 2 : 0) + (real ? 1 : 0);
  if (auto found = runs.find(key); found != runs.end()) return found->second;
  ensureQt();
  quorvel::platform::HeadlessHost host;
  quorvel::platform::App app(host);
  quorvel::app::registerForms(app.windows());
  app.windows().show("Form1");
  app.windows().show("Form4");
  auto& f = *static_cast<Form4*>(app.windows().find("Form4"));
  f.click(prism ? static_cast<quorvel::platform::Control&>(f.Option8) : f.Option1);
  if (real) f.click(f.Option7);
  f.click(f.Check1);
  f.click(f.Check11);
  f.click(f.Command7);
  const model::ExperimentState& s = f.state();
  FinishedRun run;
  run.legs = s.legs;
  run.X = quorvel::common::shared().X;
  run.Y = quorvel::common::shared().Y;
  const double backX = run.X[3] - s.Xm[3];
  const double backY = run.Y[3] - s.Ym[3];
  for (std::size_t k = 0; k <= 20; ++k) {
    if (k == 10) continue;
    run.X[k] = s.Xm[k];
    run.Y[k] = s.Ym[k];
  }
  for (std::size_t k : {30u, 40u}) {
    run.X[k] -= backX;
    run.Y[k] -= backY;
  }
  model::ContinuousParameters& p = run.parameters;
  p = model::continuousParametersOf(s);
  p.prism = prism;
  p.realUnits = real;
  for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
  return runs.emplace(key, run).first->second;
}

// Measures the longest time between two yields: a stop is seen at the next one.
class YieldClock : public model::ContinuousObserver {
 public:
  void yield() override {
    const auto now = std::chrono::steady_clock::now();
    longest = std::max(longest, std::chrono::duration<double, std::milli>(now - last).count());
    last = now;
  }
  std::chrono::steady_clock::time_point last = std::chrono::steady_clock::now();
  double longest = 0;
};

void runContinuous(benchmark::State& state, bool prism, bool real, bool leap) {
  const FinishedRun& run = finishedRun(prism, real);
  double steps = 0;
  double single = 0;
  double longest = 0;
  double screenRatio = 0;
  for (auto _ : state) {
    auto X = run.X;
    auto Y = run.Y;
    model::ContinuousExperiment experiment(run.parameters, run.legs, X, Y);
    model::LoopSettings settings = experiment.defaultSettings();
    settings.leap = leap;
    YieldClock clock;
    const int stop = 0;
    experiment.run(settings, stop, clock);
    steps = experiment.fullSteps() + experiment.refinedSteps();
    single = experiment.counters().single;
    longest = std::max(longest, clock.longest);
    screenRatio = experiment.screenFrequency(1);
  }
  state.counters["steps"] = steps;
  state.counters["single_steps"] = single;
  state.counters["longest_ms_between_yields"] = longest;
  state.counters["v18_over_v01"] = screenRatio;
}

void BM_ContinuousBeamSplitterTest(benchmark::State& state) {
  runContinuous(state, false, false, true);
}
BENCHMARK(BM_ContinuousBeamSplitterTest)->Unit(benchmark::kMillisecond);

void BM_ContinuousPrismTest(benchmark::State& state) {
  runContinuous(state, true, false, true);
}
BENCHMARK(BM_ContinuousPrismTest)->Unit(benchmark::kMillisecond);

void BM_ContinuousBeamSplitterReal(benchmark::State& state) {
  runContinuous(state, false, true, true);
}
BENCHMARK(BM_ContinuousBeamSplitterReal)->Unit(benchmark::kMillisecond);

void BM_ContinuousPrismReal(benchmark::State& state) {
  runContinuous(state, true, true, true);
}
BENCHMARK(BM_ContinuousPrismReal)->Unit(benchmark::kMillisecond);

// The reference: every step one by one.
void BM_ContinuousBeamSplitterTestPlain(benchmark::State& state) {
  runContinuous(state, false, false, false);
}
BENCHMARK(BM_ContinuousBeamSplitterTestPlain)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
