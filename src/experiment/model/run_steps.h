#pragma once

#include <functional>
#include <initializer_list>
#include <string>

#include "common/numbers.h"
#include "experiment/model/experiment_state.h"
#include "experiment/model/run_context.h"

namespace quorvel::experiment::model {

// The steps of a setup run: one step with every test, and the fast-forward of the steps
// in which no leg can end and the step stays full.
class SetupStepper {
 public:
  virtual ~SetupStepper() = default;
  virtual void step() = 0;
  // How many of the next steps (at most `most`) are full steps certain to end no leg and
  // to refine no step; 0 when the next step must be made singly.
  virtual double quietSteps(double most) = 0;
  // Makes n such steps at once, leaving the state n single steps leave, to the last bit.
  virtual void leap(double n) = 0;
};

// The surface that ends a leg: a line through a moving point at an angle, and the side
// factor s that makes the ray head into it.
struct LegSurface {
  int point = 0;        // index in the shared point table
  double alfa = 0;      // rad
  int side = 1;         // s of the closing speeds
  bool screen = false;  // the vertical screen line x = X(6)
  double shift = 0;     // the line passes this far (m, along x) beside the point
  // The closing speeds of the closed Doppler formulas are added to the leg's report text
  // (the prism's left mirror in the variant with the additional mirror).
  bool showAnalyticSpeeds = false;
};

// Ray r's closing speeds towards its leg's surface, into s.V12 and s.V21, and the distance
// into s.R0 (and the line). Returns whether the ray is near: 2·(V12 + V21)·dt ≥ R0.
bool closeIn(ExperimentState& s, const RunContext& context, int ray, int leg,
             const LegSurface& surface);

// How many steps of the present length s.P0 (at most `most`) ray r's present leg can be
// leapt: steps after each of which its test finds what it finds now, whatever the rounding.
// A front farther than the near distance 2·(V12 + V21)·dt stays farther; in refined steps a
// front within it stays within it and farther than one refined step's closing distance, so
// its leg does not end. 0 when the next step must be made singly; `near` (if given) tells
// which of the two it found. Changes nothing.
double quietLegSteps(const ExperimentState& s, const RunContext& context, int ray, int leg,
                     const LegSurface& surface, double most, bool* near = nullptr);

// The running sums a full step adds to, leapt n full steps at once: the model time, the
// setup's points, both fronts and their paths. sumsLeapLimit is the most that can be leapt
// exactly (see sum_leap.h); `points` lists the moving points of the setup.
double sumsLeapLimit(const ExperimentState& s, const RunContext& context,
                     std::initializer_list<int> points);
void leapSums(ExperimentState& s, RunContext& context, std::initializer_list<int> points, double n);
// One step's additions to the same sums, as a single step makes them.
void addStep(ExperimentState& s, RunContext& context, std::initializer_list<int> points);

enum class Approach { Closing, Passed, Never };

// Whether ray r still closes on its leg's surface, has just passed it within one step, or
// can never reach it (moving away from it from the start, or so slowly that a thousand
// million full steps would not do). Follows closeIn, whose line it reads.
Approach approachOf(ExperimentState& s, int ray, int leg, const LegSurface& surface);

// The leg ends when (V12 + V21)·(dt / divisor) ≥ R0 (the closing distance of one refined
// step).
bool legEnds(const ExperimentState& s);

// The offset point of a front for an approach: half a mirror width beside the front, along
// the direction `offsetAngle`; when that point has already passed the surface, the point on
// the other side is taken and `flipped` is set (the angle found is then less π).
struct OffsetPoint {
  double x = 0;
  double y = 0;
  bool flipped = false;
};
OffsetPoint offsetPoint(const ExperimentState& s, int ray, double offsetAngle, double xm, double ym,
                        double alfa);

// Refraction of ray r at a face of angle `faceAngle` (the moving face's effective angle with
// options.movingRefraction) from leg `leg` into leg `next`; sets An(next), the ray's speed and
// velocity, and adds the angle lines to the report text.
void refract(ExperimentState& s, RunContext& context, int ray, int leg, int next,
             const LegSurface& surface, bool secondRayLabel);

// Reflection of ray r at a mirror (or the coating) from leg `leg` into `next`, with the
// Doppler model of the given orientation code; `coating` chooses the offset point rule.
void reflect(ExperimentState& s, RunContext& context, int ray, int leg, int next,
             const LegSurface& surface, int orientationCode, bool coating);

// Arrival of ray r at the screen at the end of leg `leg` (18 or 28): the screen's angle and
// the Doppler orientation code (the vertical screen: π/2 and 180).
void arrive(ExperimentState& s, RunContext& context, int ray, int leg,
            double screenAngle = common::Pi / 2, int orientationCode = 180);

// The bookkeeping of every leg end: periods, times, paths, speeds, the done flag.
void bookkeeping(ExperimentState& s, int ray, int leg, int next);

// The two "Alfa.." lines of a leg end on the scheme picture.
void printLegAngles(ExperimentState& s, RunContext& context, int ray, int leg, int next);

// The frequency table of the end of a run.
void printFrequencyTable(const ExperimentState& s, RunContext& context);

// The refresh of every NC0 steps: result fields, animation, front circles.
void refresh(ExperimentState& s, RunContext& context);

// The step-by-step pause after a leg: false when the user wants to stop.
bool pauseAfterLeg(ExperimentState& s, RunContext& context, int leg);

// The test of ray r's present leg within a step, the same for both setups: a ray that can
// never reach its surface is a fault; a leg ends when its surface is within one refined
// step (or the front has just crossed it), through `endLeg`, followed by the step-by-step
// pause. Returns true when the ray is near its surface but not there yet, so that the
// step stays refined.
template <class EndLeg>
bool testLeg(ExperimentState& s, RunContext& context, int ray, int leg, const LegSurface& surface,
             EndLeg&& endLeg) {
  const bool close = closeIn(s, context, ray, leg, surface);
  const Approach approach = approachOf(s, ray, leg, surface);
  if (approach == Approach::Never) {
    // A ray that does not close on its surface would fly on forever.
    throw common::ArithmeticError("луч не может достичь поверхности участка " +
                                  std::to_string(leg));
  }
  // A front that has jumped past its surface in one step ends its leg there.
  if (approach != Approach::Passed && !close) return false;
  if (approach != Approach::Passed && !legEnds(s)) return true;
  s.P0 = s.dt / s.refinementDivisor;
  endLeg();
  if (!s.options.autoRun && !pauseAfterLeg(s, context, leg)) context.stopRequested = 1;
  return false;
}

// How a call of a setup run ended.
enum class RunEnd {
  Arrived,  // both rays are on the screen
  Stopped,  // the stop flag was seen at a refresh; a further call goes on
  Failed,   // a fault ended the run; its message was shown
};

// The loop of a setup run: `step` until both rays have arrived (ii = 19, jj = 29) or a stop
// is seen at a refresh (every NC0 steps); the frequency text and the screen frequencies
// when both have arrived. A fault shows solutionErrorText and ends the run. A run that has
// ended, on the screen or on a fault, gets its report (options.report) after the loop.
RunEnd runSteps(ExperimentState& s, RunContext& context, SetupStepper& stepper);

// The first lines of a leg's report text: V12, V21, (V12+V21)*P0 and R0.
std::string legText(const ExperimentState& s);

// One line of the debug file: ii, jj, T and both fronts in the list form of text output.
std::string debugLineText(const ExperimentState& s);

// The line "Ошибка решения при ii= … и jj= … AlfaZ=  …".
std::string solutionErrorText(const ExperimentState& s);

}  // namespace quorvel::experiment::model
