#pragma once

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/forms.h"
#include "common/shared.h"
#include "experiment/form4.h"
#include "experiment/model/continuous_experiment.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"

namespace quorvel::experiment::testing_support {

// What a finished stepped run leaves for the continuous experiment.
struct FinishedRun {
  model::ExperimentState state;
  std::array<double, 131> X{}, Y{};  // the point table at the run's start, reference points kept
};

// A window with the experiment window open, for the runs and the button tests.
struct ExperimentWindow {
  platform::HeadlessHost host;
  platform::App app{host};
  ExperimentWindow() {
    common::shared().StopRequested = 0;
    app::registerForms(app.windows());
    app.windows().show("Form1");
    app.windows().show("Form4");
  }
  ~ExperimentWindow() {
    for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
    common::shared().StopRequested = 0;
  }
  Form4& form() { return *static_cast<Form4*>(app.windows().find("Form4")); }
};

// One stepped run per setting, made once for the whole test program: the setup, then the
// fields and check boxes to change (the Doppler models are off, so a run takes a moment).
inline const FinishedRun& finishedRun(
    bool prism, const std::vector<std::pair<std::string, std::string>>& fields = {},
    const std::vector<std::string>& clicks = {}) {
  static std::map<std::string, FinishedRun> runs;
  std::string key = prism ? "prism" : "splitter";
  for (const auto& [name, text] : fields) key += "|" + name + "=" + text;
  for (const auto& name : clicks) key += "|" + name;
  if (auto found = runs.find(key); found != runs.end()) return found->second;
  ExperimentWindow window;
  Form4& f = window.form();
  f.click(prism ? static_cast<platform::Control&>(f.Option8) : f.Option1);
  f.click(f.Check1);   // "+ эффект Доплера " off
  f.click(f.Check11);  // no animation
  for (const auto& name : clicks) f.click(*f.find(name));
  for (const auto& [name, text] : fields)
    f.typeText(*static_cast<platform::TextBox*>(f.find(name)), text);
  f.click(f.Command7);
  FinishedRun run;
  run.state = f.state();
  run.X = common::shared().X;
  run.Y = common::shared().Y;
  const double backX = run.X[3] - run.state.Xm[3];
  const double backY = run.Y[3] - run.state.Ym[3];
  for (std::size_t k = 0; k <= 20; ++k) {
    if (k == 10) continue;
    run.X[k] = run.state.Xm[k];
    run.Y[k] = run.state.Ym[k];
  }
  for (std::size_t k : {30u, 40u}) {
    run.X[k] -= backX;
    run.Y[k] -= backY;
  }
  return runs.emplace(key, run).first->second;
}

// The continuous experiment's parameters of a finished run, as the window fills them.
inline model::ContinuousParameters parametersOf(const FinishedRun& run) {
  return model::continuousParametersOf(run.state);
}

// A continuous run to its end without a window.
struct ContinuousRun {
  std::array<double, 131> X{}, Y{};
  model::ContinuousExperiment experiment;
  model::LoopEnd end;
  ContinuousRun(const FinishedRun& run, const model::ContinuousParameters& p, bool leap = true)
      : X(run.X), Y(run.Y), experiment(p, run.state.legs, X, Y), end(go(leap)) {}

 private:
  model::LoopEnd go(bool leap) {
    model::ContinuousObserver observer;
    model::LoopSettings settings = experiment.defaultSettings();
    settings.leap = leap;
    const int stop = 0;
    return experiment.run(settings, stop, observer);
  }
};

}  // namespace quorvel::experiment::testing_support
