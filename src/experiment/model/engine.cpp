#include "experiment/model/engine.h"

#include <exception>

#include "common/numbers.h"
#include "experiment/model/beam_splitter_run.h"
#include "experiment/model/prism_run.h"
#include "experiment/model/run_start.h"

namespace quorvel::experiment::model {

namespace {

// The caller's observer, with the stop token heard at every yield and the last message
// kept for the result.
class RunOwnObserver : public RunObserver {
 public:
  RunOwnObserver(RunObserver& inner, const StopToken* stop, int& flag)
      : inner_(inner), stop_(stop), flag_(flag) {}

  std::string lastMessage;

  void yield() override {
    inner_.yield();
    if (stop_ && stop_->requested()) flag_ = 1;
  }
  void refresh(const ExperimentState& s) override { inner_.refresh(s); }
  void redrawSetup() override { inner_.redrawSetup(); }
  bool ask(std::string_view text, std::string_view title) override {
    return inner_.ask(text, title);
  }
  void tell(std::string_view text, std::string_view title) override {
    lastMessage = text;
    inner_.tell(text, title);
  }
  void showTime(double T) override { inner_.showTime(T); }
  bool draws() const override { return inner_.draws(); }
  void print(double x, double y, const std::string& text) override { inner_.print(x, y, text); }
  void printNext(const std::string& text) override { inner_.printNext(text); }
  void line(double x1, double y1, double x2, double y2, std::optional<DrawColor> color) override {
    inner_.line(x1, y1, x2, y2, color);
  }
  void circle(double x, double y, double radius, std::optional<DrawColor> color) override {
    inner_.circle(x, y, radius, color);
  }
  void clearAndRedrawScheme() override { inner_.clearAndRedrawScheme(); }
  void showScreenFrequencies(double first, double second) override {
    inner_.showScreenFrequencies(first, second);
  }
  void printReport(const ExperimentState& s) override { inner_.printReport(s); }
  void debugLine(const std::string& line) override { inner_.debugLine(line); }

 private:
  RunObserver& inner_;
  const StopToken* stop_;
  int& flag_;
};

}  // namespace

void beginRun(ExperimentState& s, RunContext& context) {
  startRun(s, context);
  if (!s.options.prism) prepareBeamSplitterRun(s, context);
}

RunEnd advanceRun(ExperimentState& s, RunContext& context) {
  return s.options.prism ? runPrism(s, context) : runBeamSplitter(s, context);
}

RunResult resultOf(const ExperimentState& s, const PointArray& X, const PointArray& Y,
                   RunOutcome outcome) {
  RunResult r;
  r.outcome = outcome;
  r.options = s.options;
  r.c = s.started ? s.c : 0.0;
  r.v01 = s.v01;
  r.v02 = s.v02;
  r.V = s.V;
  r.AlfaV = s.AlfaV;
  r.aimAngle = s.aimAngle;
  r.T = s.T;
  for (int ray = 1; ray <= 2; ++ray) {
    const auto& times = ray == 1 ? s.legs.T1 : s.legs.T2;
    const auto& paths = ray == 1 ? s.legs.S1 : s.legs.S2;
    const auto& speeds = ray == 1 ? s.legs.V1 : s.legs.V2;
    for (int i = 0; i < 10; ++i) {
      const auto k = static_cast<std::size_t>(10 * ray + i);
      LegResult& leg = r.legs[static_cast<std::size_t>(ray)][static_cast<std::size_t>(i)];
      leg.leg = 10 * ray + i;
      leg.travelled = s.legs.done[k];
      leg.time = times[k];
      leg.path = paths[k];
      leg.speed = speeds[k];
      leg.direction = s.legs.An[k];
      leg.sent = s.legs.v[k];
      leg.received = s.legs.received[k];
      leg.periods = s.legs.Nv[k];
      leg.index = s.legs.P21[k];
    }
  }
  r.T1 = s.T1;
  r.T2 = s.T2;
  r.S1 = s.S1;
  r.S2 = s.S2;
  r.N1 = s.N1;
  r.N2 = s.N2;
  r.arrivalX = s.arrivalX;
  r.arrivalY = s.arrivalY;
  r.arrivalDirection = {0, s.legs.An[18], s.legs.An[28]};
  if (outcome == RunOutcome::Arrived) {
    r.screenRatio1 = s.legs.v[19] / s.v01;
    r.screenRatio2 = s.legs.v[29] / s.v01;
  }
  r.X = X;
  r.Y = Y;
  r.counters = s.counters;
  r.tables = s.legs;
  return r;
}

RunResult resultOf(const ExperimentState& s, const PointArray& X, const PointArray& Y) {
  const RunOutcome outcome = !s.started                   ? RunOutcome::Refused
                             : s.ii == 19 && s.jj == 29 ? RunOutcome::Arrived
                                                        : RunOutcome::Stopped;
  return resultOf(s, X, Y, outcome);
}

RunResult runExperiment(const RunFields& fields, const Options& options, RunObserver& observer,
                        const StopToken* stop) {
  if (auto error = checkFields(fields, options)) {
    RunResult refused;
    refused.options = options;
    refused.message = fieldErrorText(*error, common::numberText(fields.*error->field));
    refused.fieldError = std::move(error);
    return refused;
  }
  ExperimentState s;
  PointArray X{}, Y{};
  int flag = 0;
  RunOwnObserver own(observer, stop, flag);
  RunContext context(own, X, Y, flag);
  applyFields(fields, options, s, X, Y);
  try {
    beginRun(s, context);
  } catch (const std::exception& e) {
    RunResult failed = resultOf(s, X, Y, RunOutcome::Failed);
    failed.message = std::string("Эксперимент не начат: ") + e.what();
    return failed;
  }
  const RunEnd end = advanceRun(s, context);
  RunResult result = resultOf(s, X, Y,
                              end == RunEnd::Arrived   ? RunOutcome::Arrived
                              : end == RunEnd::Stopped ? RunOutcome::Stopped
                                                       : RunOutcome::Failed);
  if (end == RunEnd::Failed) result.message = own.lastMessage;
  return result;
}

RunResult runExperiment(const RunFields& fields, const Options& options) {
  RunObserver quiet;
  return runExperiment(fields, options, quiet);
}

MichelsonInput michelsonInputOf(const RunResult& result) {
  MichelsonInput input;
  input.X1 = result.X[1];
  input.X3 = result.X[3];
  input.Y2 = result.Y[2];
  input.Y3 = result.Y[3];
  input.V = result.V;
  input.Vs = result.c;
  input.v01 = result.v01;
  input.T1 = result.tables.T1;
  input.T2 = result.tables.T2;
  input.comparative = result.options.comparative;
  return input;
}

}  // namespace quorvel::experiment::model
