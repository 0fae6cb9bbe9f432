#pragma once

#include "experiment/model/experiment_state.h"
#include "experiment/model/run_context.h"
#include "experiment/model/run_steps.h"

namespace quorvel::experiment::model {

// The beam-splitter setup before its first step: the comparative start of both arms at the
// splitter when options.comparative is ticked.
void prepareBeamSplitterRun(ExperimentState& s, const RunContext& context);

// Runs the beam-splitter setup from its present state until both rays have arrived or a
// stop is seen at a refresh (every NC0 steps). All state stays in `s`, so a second call
// goes on where the first ended; a finished run ends again at once. A fault shows
// "Ошибка решения при ii= … и jj= … AlfaZ=  …" and ends the run.
RunEnd runBeamSplitter(ExperimentState& s, RunContext& context);

}  // namespace quorvel::experiment::model
