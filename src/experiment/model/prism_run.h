#pragma once

#include "experiment/model/experiment_state.h"
#include "experiment/model/run_context.h"
#include "experiment/model/run_steps.h"

namespace quorvel::experiment::model {

// Runs the prism setup from its present state (as startRun left it: ii = 1, the undivided
// beam at the source) until both rays have arrived or a stop is seen at a refresh. The
// beam is divided at the prism edge; ray 1 goes by the left face and the left mirror (or
// straight to the screen with ray1Straight, or by the additional mirror with ray1Straight +
// additionalMirror), ray 2 by the right face, the cylinder (cylinder) and the right mirror, both to
// the horizontal screen y = Y(6). All state stays in `s`, so a second call goes on where the first
// ended. A fault shows "Ошибка решения при ii= …" and ends the run.
RunEnd runPrism(ExperimentState& s, RunContext& context);

}  // namespace quorvel::experiment::model
