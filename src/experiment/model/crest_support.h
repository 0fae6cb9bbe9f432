#pragma once

#include <string_view>

#include "experiment/model/experiment_state.h"
#include "experiment/model/run_context.h"

// Pieces the two crest models share; called at events and refreshes only, never per step.
namespace quorvel::experiment::model::crest {

inline constexpr std::string_view kMirrorReachLabel = "(V12+V21)*P0/L1=  ";
inline constexpr std::string_view kLightReachLabel = "Vs*P0/L1=  ";

// Puts the text of event `kod` into the report buffer: "kod=k     T=  " T, the reach label
// and reach/λ, "R0/L1=" with 8 + 2·(k − 1) blanks (8 for kod=1 up to 22 for kod=8) and R0/λ,
// each line ended by CR LF. Without options.check19 the step prompt follows; false when it
// was not answered Yes.
bool announceEvent(const Options& options, RunContext& context, int kod, double T,
                   std::string_view reachLabel, double reachOverLambda, double R0OverLambda);

// The refresh drawing in the detail scale (metres per drawing unit): unless options.check20,
// the picture is cleared and the scheme redrawn; the surface segment (x1, y1)–(x2, y2); the
// crests, each the segment between two consecutive ends, in RGB(0, 0, 250) unless
// options.check20; a circle of radius 0.05 at every end.
void drawModel(const Options& options, RunContext& context, double scale, double x1, double y1,
               double x2, double y2, const double* x, const double* y, int ends);

// The model's error box, title "Quorvel", OK.
void reportError(RunContext& context, std::string_view text);

}  // namespace quorvel::experiment::model::crest
