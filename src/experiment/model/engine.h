#pragma once

#include <array>
#include <atomic>
#include <string>

#include "experiment/model/experiment_state.h"
#include "experiment/model/field_checks.h"
#include "experiment/model/michelson_theory.h"
#include "experiment/model/run_context.h"
#include "experiment/model/run_fields.h"
#include "experiment/model/run_observer.h"
#include "experiment/model/run_steps.h"

namespace quorvel::experiment::model {

// A request to stop a run, from any thread. The run hears it at its next yield and ends at
// its next refresh, as it hears the window's stop button.
class StopToken {
 public:
  void request() { requested_.store(true, std::memory_order_relaxed); }
  bool requested() const { return requested_.load(std::memory_order_relaxed); }

 private:
  std::atomic<bool> requested_{false};
};

// What a run measured on one leg of a ray (legs 10..19 of ray 1, 20..29 of ray 2).
struct LegResult {
  int leg = 0;
  bool travelled = false;  // the ray ended this leg (the arrival rows 19, 29 are not legs)
  double time = 0;         // model time at the end of the leg, s
  double path = 0;         // path length at the end of the leg, m
  double speed = 0;        // the ray's speed on the leg, m/s
  double direction = 0;    // its direction, rad
  double sent = 0;         // frequency sent along the leg, Hz
  double received = 0;     // frequency received by the surface at its end, Hz
  double periods = 0;      // wave periods on the leg
  double index = 0;        // refractive index of the leg
};

enum class RunOutcome {
  Arrived,  // both rays reached the screen
  Stopped,  // a stop was heard before they did
  Failed,   // the run could not start or a fault ended it: `message` says which
  Refused,  // a field gives no sensible run: `fieldError` says which
};

// Everything a run measured, as a value: the rays leg by leg, their totals and arrival, the
// frequencies on the screen, how the run ended, and the point table where it left the setup.
struct RunResult {
  RunOutcome outcome = RunOutcome::Refused;
  std::string message;                    // the failure's or the refusal's text
  std::optional<FieldError> fieldError;   // the refused field
  Options options;
  double c = 0;         // light speed of the run, m/s
  double v01 = 0;       // c/L1, Hz
  double v02 = 0;       // c/L2, Hz
  double V = 0;         // the setup's speed, m/s
  double AlfaV = 0;     // its direction, rad
  double aimAngle = 0;  // the laser's direction, rad
  double T = 0;         // model time at the end, s
  std::array<std::array<LegResult, 10>, 3> legs{};  // [ray][leg − 10·ray]; ray 0 unused
  double T1 = 0, T2 = 0;  // time at which each ray ended its last leg, s
  double S1 = 0, S2 = 0;  // path length then, m
  double N1 = 0, N2 = 0;  // wave periods along the path
  std::array<double, 3> arrivalX{}, arrivalY{};  // where ray 1 and 2 met the screen, m
  std::array<double, 3> arrivalDirection{};       // direction of each ray's last leg, rad
  double screenRatio1 = 0;  // frequency on the screen of ray 1 relative to v01
  double screenRatio2 = 0;  // of ray 2, relative to v01
  PointArray X{}, Y{};      // the setup's points at the end, m
  LoopCounters counters;    // steps, leaps and refreshes of the run's loop
  // The leg tables as the run left them (for the report tables and the comparison).
  LegTables tables;

  bool arrived() const { return outcome == RunOutcome::Arrived; }
};

// The start of a run whose state applyFields has made: startRun, and for the beam-splitter
// setup the comparative start. Throws common::ArithmeticError when it cannot start.
void beginRun(ExperimentState& s, RunContext& context);
// Runs the chosen setup from where it stands until both rays arrive, a stop is seen at a
// refresh or a fault ends it.
RunEnd advanceRun(ExperimentState& s, RunContext& context);

// What a run's state and point table hold, as a result.
RunResult resultOf(const ExperimentState& s, const PointArray& X, const PointArray& Y,
                   RunOutcome outcome);
// The same for a run that stands where it stands: arrived when both rays are on the screen,
// stopped when it has started and they are not, refused when it never started.
RunResult resultOf(const ExperimentState& s, const PointArray& X, const PointArray& Y);

// One run from fields and options to its result: the fields are checked (a bad one gives a
// refused result with the window's message, the typed value shown as a number), the run
// gets its own state, point table, stop flag and report text, reports to `observer`, and is
// stopped by `stop`. Runs on any thread; two runs share nothing.
RunResult runExperiment(const RunFields& fields, const Options& options, RunObserver& observer,
                        const StopToken* stop = nullptr);
RunResult runExperiment(const RunFields& fields, const Options& options);

// Michelson's comparison of a beam-splitter run: what it reads of the result.
MichelsonInput michelsonInputOf(const RunResult& result);

}  // namespace quorvel::experiment::model
