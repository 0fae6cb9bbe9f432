#pragma once

#include "experiment/model/experiment_state.h"
#include "experiment/model/run_context.h"

namespace quorvel::experiment::model {

// How a Doppler model ended. Only Done gives new frequencies; otherwise s.vm and s.vr keep
// the values they had before the call, and the caller goes on with its own frequencies.
enum class DopplerOutcome {
  Done,      // the result is in s.vm (and s.vr)
  Declined,  // the step prompt was answered with anything but Yes
  Stopped,   // the stop flag was raised while the model ran
  Failed,    // an arithmetic fault or a model that could never finish; its message was shown
};

// The Doppler step prompt: a Yes/No box titled "Quorvel_Dopler" showing the report text
// followed by "ПРОДОЛЖИТЬ ПОЭТАПНЫЙ РАСЧЕТ?". True only when Yes was answered.
bool DopplerStepPrompt(RunContext& context);

// The moving mirror: two crests N0 wavelengths apart (λ = raySpeed/nu) run along An into a
// mirror through the local origin at `surfaceAngle` that moves with (s.Vx, s.Vy); their
// ends turn to 2·AlfaZ − An at the mirror and run on to a resting line 25λ away in the
// direction of `orientationCode` (0 = +x, 90 = +y, 180 = −x, 270 = −y), across the
// reflected direction. Angles in radians, raySpeed in m/s, nu in Hz. The mirror test uses the
// closing speed s.V12 + s.V21 the caller computed for this reflection. The step is
// s.P0 / s.refinementDivisor.
//
// Gives s.vm = N0 / (mean time crest B met the mirror − that of crest A) and s.vr, the same
// for the resting line. Every event replaces context.report with its three-line text (and,
// without options.autoModels, asks DopplerStepPrompt); the result appends the lines "T1sr=",
// "T2sr=", "v1/v0=", "v2/v0=" (relative to s.T and s.v01). It shows the model time through
// the observer at every event and at the end; with options.modelDetails it is stepped, draws
// the model in s.detailScale every NC0 steps and hears the stop; otherwise it leaps from event
// to event (unless s.leaping is off), yielding once per leap. A fault, or a model that can
// never finish, shows "Ошибка рассчета в Dopler_Zerkalo" (title "Quorvel").
DopplerOutcome Dopler_Zerkalo(ExperimentState& s, RunContext& context, double surfaceAngle,
                              double AlfaZ, double raySpeed, double An, double nu,
                              int orientationCode);

// The moving source: a laser at the local origin moving with (s.Vx, s.Vy) sends crest A
// along s.aimAngle at speed s.c and crest B at the time N0/s.v01; a resting line N0·s.L1
// ahead, across the beam, receives them. Gives s.vm = N0 / (mean arrival time of crest B −
// that of crest A). The step is s.dt / s.refinementDivisor: the model runs when a run
// starts, before the run's own step is set. Events kod=1, 2 (crest A) and 5, 6 (crest B);
// texts, prompt, leaps, refresh and stop as for Dopler_Zerkalo; "Ошибка рассчета в
// Dopler_Lazer".
DopplerOutcome Dopler_Lazer(ExperimentState& s, RunContext& context);

struct MirrorFrequencies {
  double vm = 0;  // received at the mirror, Hz
  double vr = 0;  // of the reflected ray, Hz
};

// The closed formulas used instead of Dopler_Zerkalo with options.analyticDoppler. The crest rate
// at the mirror: vm = (V21/V12 + 1)·nu. Without options.staticAngles, s.V12 and s.V21 are first
// recomputed for the effective mirror angle AlfaZ: V12 = raySpeed·cos(An − AlfaZ + π/2),
// V21 = s.V·cos(s.AlfaV − AlfaZ − π/2); with it the caller's values are used. The reflected
// ray along n2 = 2·AlfaZ − An: vr = nu·(1 − u·n1/raySpeed)/(1 − u·n2/raySpeed), u = (s.Vx,
// s.Vy), which is vm/(1 − V21/V12) at normal incidence and, unlike that, holds at any
// incidence. Stores the result in s.vm, s.vr and returns it. Throws common::ArithmeticError
// on V12 = 0, u·n2 = raySpeed or a non-finite result.
MirrorFrequencies DopplerClosedForm(ExperimentState& s, double AlfaZ, double raySpeed, double An,
                                    double nu);

}  // namespace quorvel::experiment::model
