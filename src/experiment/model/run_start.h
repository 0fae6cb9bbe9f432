#pragma once

#include <string>

#include "experiment/model/experiment_state.h"
#include "experiment/model/run_context.h"

namespace quorvel::experiment::model {

// The start of a run once the window has read its fields into `s`: the stop flag cleared
// before anything yields, the moving copy and the leg tables reset, the two warnings, the refractive
// index of every leg and the plates' back faces, the light speed and the frequencies, the
// laser's aiming angle and the source's Doppler correction (printed on the picture), the
// fronts at the source and the run's progress reset. Throws common::ArithmeticError when a
// value cannot be computed (a setup as fast as light).
void startRun(ExperimentState& s, RunContext& context);

// The shown step lengths: dt·c/L1 and dt·c/(divisor·L1), cut to 9 decimals.
double stepInWavelengths(const ExperimentState& s);
double refinedStepInWavelengths(const ExperimentState& s);

}  // namespace quorvel::experiment::model
