#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "app/forms.h"
#include "interference/form3.h"
#include "interference/model/interference_run.h"
#include "interference/model/screen_frame.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"

namespace {

using quorvel::interference::Form3;
namespace model = quorvel::interference::model;

// Pictures print their labels only with a GUI application: one offscreen, made once.
void ensureGui() {
  static int argc = 1;
  static char name[] = "interference_bench";
  static char* argv[] = {name, nullptr};
  // Kept to the end of the process: destroyed among the exit handlers it would outlive
  // Qt's own and crash there.
  static QGuiApplication* gui = nullptr;
  if (!gui) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    gui = new QGuiApplication(argc, argv);
  }
}

// The interference window with its rays transformed and "+ закончить расчет через" ticked.
struct Window {
  quorvel::platform::HeadlessHost host;
  quorvel::platform::App app{host};
  explicit Window(int ML) {
    ensureGui();
    quorvel::app::registerForms(app.windows());
    app.windows().show("Form1");
    app.windows().show("Form3");
    Form3& f = form();
    f.click(f.Command3);
    f.click(f.Check8);
    f.click(f.Check6);
    f.typeText(f.Text41, std::to_string(ML));
  }
  ~Window() {
    for (auto* f : app.windows().openForms()) app.windows().unload(f->name());
  }
  Form3& form() { return *static_cast<Form3*>(app.windows().find("Form3")); }
};

// "2 - Начать расчет" with the window's own settings: 2 intervals of 20 000 steps over
// 500·ML + 1 points, with the pictures, the fields and the graph drawn.
void BM_Computation(benchmark::State& state) {
  Window window(static_cast<int>(state.range(0)));
  Form3& f = window.form();
  for (auto _ : state) {
    f.click(f.Command1);
    benchmark::DoNotOptimize(f.run()->Sint());
  }
  state.counters["points_per_s"] =
      benchmark::Counter(2.0 * 20000 * f.run()->points() * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  state.counters["yields"] = static_cast<double>(window.host.doEventsCalls());
}
BENCHMARK(BM_Computation)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Computation)->Arg(65)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// "Остановить" pressed at each of the first 40 yields of "2 - Начать расчет": the longest
// time from the press to the return of the click. Settings: 0 the window's own (without
// "+ закончить расчет через": until stopped), 1 with it ticked and M = 2 over 10^9
// intervals, 2 and 3 the same with the widest pictures (ML = 65) and the most fringe marks
// (N = 10000), the graph drawn.
void BM_StopLatency(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  const bool wide = state.range(0) >= 2;
  const bool ticked = state.range(0) % 2 == 1;
  Window window(wide ? 65 : 1);
  Form3& f = window.form();
  if (!ticked) f.click(f.Check8);
  f.typeText(f.Text51, "2");
  f.typeText(f.Text46, "1000000000");
  if (wide) f.typeText(f.Text69, "10000");
  double longest = 0, sum = 0;
  long long stops = 0;
  for (auto _ : state) {
    for (long long at = 1; at <= 40; ++at) {
      const long long start = window.host.doEventsCalls();
      Clock::time_point pressed{};
      window.host.onDoEvents = [&] {
        if (window.host.doEventsCalls() - start == at) {
          pressed = Clock::now();
          f.click(f.Command2);
        }
      };
      f.click(f.Command1);
      if (pressed != Clock::time_point{}) {
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - pressed).count();
        longest = std::max(longest, ms);
        sum += ms;
        ++stops;
      }
    }
  }
  window.host.onDoEvents = nullptr;
  state.counters["stop_to_return_ms"] = longest;
  state.counters["mean_ms"] = stops > 0 ? sum / static_cast<double>(stops) : 0;
}
BENCHMARK(BM_StopLatency)->DenseRange(0, 3)->Iterations(3)->Unit(benchmark::kMillisecond);

// One sweep of the screen by the model alone.
void BM_Sweep(benchmark::State& state) {
  model::ComputationParameters p;
  p.A1e = 85 / 57.2957795130823;
  p.A2e = 95 / 57.2957795130823;
  p.Ve1 = model::phaseSpeedAlongScreen(1, p.A1e);
  p.Ve2 = model::phaseSpeedAlongScreen(1, p.A2e);
  p.omega1 = p.omega2 = 2 * 3.14159265358979 * 1e6;
  p.ML = static_cast<int>(state.range(0));
  model::StartValues s;
  model::computeWidths(p, s);
  model::computePhases(p, s);
  model::InterferenceRun run(p, s);
  model::InterferenceObserver observer;
  double T = 0;
  for (auto _ : state) {
    run.sweep(T, observer);
    T += 1e-9;
  }
  state.counters["points_per_s"] = benchmark::Counter(
      static_cast<double>(run.points()) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Sweep)->Arg(1)->Arg(65);

}  // namespace
