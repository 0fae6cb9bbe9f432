#pragma once

#include <limits>
#include <string>
#include <string_view>

#include "common/numbers.h"
#include "experiment/model/doppler.h"
#include "experiment/model/experiment_state.h"
#include "experiment/model/leap_bound.h"
#include "experiment/model/run_context.h"
#include "experiment/model/stepping_loop.h"

// Pieces the two crest models share; called at events and refreshes only, never per step.
namespace quorvel::experiment::model::crest {

inline constexpr std::string_view kMirrorReachLabel = "(V12+V21)*P0/L1=  ";
inline constexpr std::string_view kLightReachLabel = "Vs*P0/L1=  ";

// Puts the text of event `kod` into the report buffer: "kod=k     T=  " T, the reach label
// and reach/λ, "R0/L1=" with 8 + 2·(k − 1) blanks (8 for kod=1 up to 22 for kod=8) and R0/λ,
// each line ended by CR LF. Without options.autoModels the step prompt follows; false when it
// was not answered Yes.
bool announceEvent(const Options& options, RunContext& context, int kod, double T,
                   std::string_view reachLabel, double reachOverLambda, double R0OverLambda);

// The refresh drawing in the detail scale (metres per drawing unit): unless
// options.modelTrajectories, the picture is cleared and the scheme redrawn; the surface segment
// (x1, y1)–(x2, y2); the crests, each the segment between two consecutive ends, in RGB(0, 0, 250)
// unless options.modelTrajectories; a circle of radius 0.05 at every end.
void drawModel(const Options& options, RunContext& context, double scale, double x1, double y1,
               double x2, double y2, const double* x, const double* y, int ends);

// The model's error box, title "Quorvel", OK.
void reportError(RunContext& context, std::string_view text);

// Runs a crest model's body on the stepping loop: leaping to its events unless s.leaping is
// off, refreshed every NC0 steps only when its detail drawing is shown, and bounded by the first
// step whose time exceeds timeLimit, which ends it as a model that cannot finish. A bound beyond
// 2^52 steps cannot be counted.
template <class Body>
DopplerOutcome runModel(Body& body, ExperimentState& s, RunContext& context, double step,
                        double timeLimit, const std::string& name) {
  const double bound = firstStepBeyond(timeLimit, step);
  if (!std::isfinite(bound)) throw common::ArithmeticError(name + ": модель не может закончиться");
  LoopSettings settings;
  settings.refreshEvery = s.options.modelDetails ? s.NC0 : std::numeric_limits<double>::infinity();
  settings.maxSteps = bound;
  // A leaping model ends within microseconds and is never stopped half way, so its
  // frequency is never lost: the run hears the stop at its next refresh. A model stepped for
  // its detail drawing, which takes long, hears it at every step.
  settings.stopCheck =
      s.leaping && !s.options.modelDetails ? StopCheck::Never : StopCheck::EveryStride;
  settings.leap = s.leaping;
  LoopCounters counters;
  switch (runSteppingLoop(body, settings, counters, context.stopRequested, context.observer)) {
    case LoopEnd::Finished:
      return body.outcome;
    case LoopEnd::Stopped:
      return DopplerOutcome::Stopped;
    case LoopEnd::Bounded:
      break;
  }
  throw common::ArithmeticError(name + ": модель не может закончиться");
}

}  // namespace quorvel::experiment::model::crest
