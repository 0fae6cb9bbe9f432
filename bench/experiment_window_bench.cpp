#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>

#include "app/forms.h"
#include "common/shared.h"
#include "experiment/form4.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"

namespace {

using quorvel::experiment::Form4;

// The experiment window with the beam-splitter setup, as a user starts it.
struct Window {
  quorvel::platform::HeadlessHost host;
  quorvel::platform::App app{host};
  Window() {
    quorvel::app::registerForms(app.windows());
    app.windows().show("Form1");
    app.windows().show("Form4");
    form().click(form().Option1);
  }
  ~Window() {
    for (auto* f : app.windows().openForms()) app.windows().unload(f->name());
  }
  Form4& form() { return *static_cast<Form4*>(app.windows().find("Form4")); }
};

// Starts the experiment once per iteration; the yields of all the runs.
long long startEachIteration(benchmark::State& state, Window& window) {
  Form4& f = window.form();
  long long yields = 0;
  for (auto _ : state) {
    const long long before = window.host.doEventsCalls();
    f.click(f.Command7);
    yields += window.host.doEventsCalls() - before;
    benchmark::DoNotOptimize(f.state().T1);
  }
  return yields;
}

void countYields(benchmark::State& state, long long yields) {
  state.counters["yields_per_run"] =
      benchmark::Counter(static_cast<double>(yields), benchmark::Counter::kAvgIterations);
}

// The run loop alone: without the Doppler models and without drawing, every yield is one
// solution step of the run.
void runLoopOnly(benchmark::State& state, Window& window) {
  Form4& f = window.form();
  f.click(f.Check11);  // "анимация" off
  f.click(f.Check1);   // "+ эффект Доплера " off
  f.click(f.Check14);  // no front circles
  f.click(f.Check15);
  f.click(f.Check9);   // no front paths
  f.typeText(f.Text10, "1000");
  const long long steps = startEachIteration(state, window);
  state.counters["steps_per_second"] =
      benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
  state.counters["steps_per_run"] =
      benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kAvgIterations);
}

// The whole default run: "Test", beam-splitter, Doppler models on, animation off.
void BM_DefaultBeamSplitterRun(benchmark::State& state) {
  Window window;
  window.form().click(window.form().Check11);  // "анимация" off
  countYields(state, startEachIteration(state, window));
}
BENCHMARK(BM_DefaultBeamSplitterRun)->Unit(benchmark::kMillisecond)->Iterations(3);

// The whole default run as the window opens: "Test", the prism setup, Doppler models on,
// animation on.
void BM_DefaultPrismRun(benchmark::State& state) {
  Window window;
  window.form().click(window.form().Option8);
  countYields(state, startEachIteration(state, window));
}
BENCHMARK(BM_DefaultPrismRun)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RunLoopSteps(benchmark::State& state) {
  Window window;
  runLoopOnly(state, window);
}
BENCHMARK(BM_RunLoopSteps)->Unit(benchmark::kMillisecond);

void BM_PrismRunLoopSteps(benchmark::State& state) {
  Window window;
  window.form().click(window.form().Option8);
  runLoopOnly(state, window);
}
BENCHMARK(BM_PrismRunLoopSteps)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication qt(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
