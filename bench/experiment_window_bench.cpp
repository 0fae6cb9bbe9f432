#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
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

// Starts the experiment once per iteration, as a click on "Начать эксперимент": the run's
// steps, strides and refreshes, and the longest time the window went without processing
// its events (from the click to the first yield, between yields, from the last to the end).
void startEachIteration(benchmark::State& state, Window& window) {
  using Clock = std::chrono::steady_clock;
  Form4& f = window.form();
  double longestGap = 0;
  Clock::time_point last;
  window.host.onDoEvents = [&] {
    const Clock::time_point now = Clock::now();
    longestGap =
        std::max(longestGap, std::chrono::duration<double, std::milli>(now - last).count());
    last = now;
  };
  long long yields = 0;
  for (auto _ : state) {
    const long long before = window.host.doEventsCalls();
    last = Clock::now();
    f.click(f.Command7);
    longestGap = std::max(longestGap,
                          std::chrono::duration<double, std::milli>(Clock::now() - last).count());
    yields += window.host.doEventsCalls() - before;
    benchmark::DoNotOptimize(f.state().T1);
  }
  window.host.onDoEvents = nullptr;
  const auto& counters = f.state().counters;
  state.counters["yields_per_run"] =
      benchmark::Counter(static_cast<double>(yields), benchmark::Counter::kAvgIterations);
  state.counters["run_steps"] = counters.stepsDone;
  state.counters["single_steps"] = counters.single;
  state.counters["refreshes"] = counters.refreshes;
  state.counters["longest_gap_ms"] = longestGap;
  state.counters["outlines_drawn"] = static_cast<double>(f.redrawMemo().outlinesDrawn);
  state.counters["outlines_skipped"] = static_cast<double>(f.redrawMemo().outlinesSkipped);
}

// The run loop alone: without the Doppler models and without drawing.
void runLoopOnly(benchmark::State& state, Window& window) {
  Form4& f = window.form();
  f.click(f.Check11);  // "анимация" off
  f.click(f.Check1);   // "+ эффект Доплера " off
  f.click(f.Check14);  // no front circles
  f.click(f.Check15);
  f.click(f.Check9);  // no front paths
  f.typeText(f.Text10, "1000");
  startEachIteration(state, window);
}

// The whole default runs as a user starts them: Doppler models on, animation on.
void BM_DefaultPrismRun(benchmark::State& state) {
  Window window;
  window.form().click(window.form().Option8);
  startEachIteration(state, window);
}
BENCHMARK(BM_DefaultPrismRun)->Unit(benchmark::kMillisecond);

void BM_DefaultBeamSplitterRun(benchmark::State& state) {
  Window window;
  startEachIteration(state, window);
}
BENCHMARK(BM_DefaultBeamSplitterRun)->Unit(benchmark::kMillisecond);

void BM_RealPrismRun(benchmark::State& state) {
  Window window;
  window.form().click(window.form().Option8);
  window.form().click(window.form().Option7);
  startEachIteration(state, window);
}
BENCHMARK(BM_RealPrismRun)->Unit(benchmark::kMillisecond);

void BM_RealBeamSplitterRun(benchmark::State& state) {
  Window window;
  window.form().click(window.form().Option7);
  startEachIteration(state, window);
}
BENCHMARK(BM_RealBeamSplitterRun)->Unit(benchmark::kMillisecond);

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

// "Остановить" pressed at the 5th yield of a "Real" beam-splitter run: the time from the
// press to the return of the click.
void BM_StopLatency(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  Window window;
  Form4& f = window.form();
  f.click(f.Option7);
  double longest = 0;
  for (auto _ : state) {
    const long long start = window.host.doEventsCalls();
    Clock::time_point pressed{};
    window.host.onDoEvents = [&] {
      if (window.host.doEventsCalls() - start == 5) {
        pressed = Clock::now();
        f.click(f.Command2);
      }
    };
    f.click(f.Command7);
    if (pressed != Clock::time_point{}) {
      longest = std::max(longest,
                         std::chrono::duration<double, std::milli>(Clock::now() - pressed).count());
    }
  }
  window.host.onDoEvents = nullptr;
  state.counters["stop_to_return_ms"] = longest;
}
BENCHMARK(BM_StopLatency)->Unit(benchmark::kMillisecond);

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
