#pragma once

#include "experiment/model/experiment_state.h"
#include "experiment/model/run_context.h"

namespace quorvel::experiment::model {

// Distance, m, from the point (x0, y0) to the line through (x1, y1) at the angle alfa
// (radians). Leaves the line in s.lineA, s.lineB (always −1), s.lineK and the distance in
// s.R0, and returns it.
double DistanceToLine(ExperimentState& s, double x0, double y0, double x1, double y1, double alfa);

// The two points an approach moves: (x, y) a point of the light front, (xm, ym) a point of
// the mirror, metres.
struct ApproachPoints {
  double x = 0;
  double y = 0;
  double xm = 0;
  double ym = 0;
};

// The approach of a front point, moving with (vx, vy) m/s, to a mirror through the point
// (xm, ym) at the angle alfa that moves with the setup velocity; leaves the effective mirror
// angle in s.AlfaZ.
//
// Stepwise (options.analyticReflection not ticked): both points are moved in steps of dt, or of
// dt / refinementDivisor once the distance is at most twice the closing distance per full
// step, until the distance is at most the closing distance s.V12 + s.V21 per step (1.1 full
// steps on the first test); AlfaZ is the full-circle angle of the front's displacement from
// the mirror point's start, which is kept in s.Xm[10], s.Ym[10]. Changes s.P0 (the last
// step), s.R0 and the line, counts s.counters.sinceRefresh and draws the displacement in
// RGB(0, 250, 0) every NC0 steps with options.drawFronts, yields once per step and leaves early
// when a stop is raised. `points` ends where the points stand at the end.
//
// Analytic (analyticReflection ticked), with Δx = x − xm: without secondAnalyticReflection, h =
// Δx·tan(alfa) / (tan(alfa)·Vx/c + 1) when |Vy| < |Vx|, h = Δx·c·tan(alfa) / (c − Vy) when |Vx| <
// |Vy|, and AlfaZ = arctan(h/Δx); with secondAnalyticReflection, AlfaZ = arctan(tan(alfa)·(1 ∓
// Vx/c)) (− up to a quarter turn of alfa, + beyond) or arctan(tan(alfa)·(1 + Vy/c)). A negative
// result gets π added. When |Vx| = |Vy| (a setup at rest) AlfaZ keeps the value the caller left
// there; when Δx = 0 it becomes alfa. `points` is not changed.
//
// Throws common::ArithmeticError on a division by zero of the analytic formulas and when
// the stepwise approach can never close (the front does not move towards the mirror, or the
// closing speeds s.V12 + s.V21 do not let the loop end).
void ApproachMirror(ExperimentState& s, RunContext& context, double vx, double vy,
                    ApproachPoints& points, double alfa);

}  // namespace quorvel::experiment::model
