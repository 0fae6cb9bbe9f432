#include "experiment/model/geometry.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/numbers.h"
#include "experiment/model/leap_bound.h"
#include "experiment/model/stepping_loop.h"
#include "experiment/model/sum_leap.h"
#include "experiment/model/surface_line.h"

namespace quorvel::experiment::model {

namespace {

double quotient(double numerator, double denominator, const char* what) {
  if (denominator == 0) {
    throw common::ArithmeticError(std::string("Деление на ноль: ") + what);
  }
  return numerator / denominator;
}

void keepLine(ExperimentState& s, const SurfaceLine& line, double R0) {
  s.lineA = line.A;
  s.lineB = line.B;
  s.lineK = line.K;
  s.R0 = R0;
}

// The front's way since the approach began, from the mirror point's start to the front.
void drawFrontPath(const ExperimentState& s, RunContext& context, const ApproachPoints& p) {
  if (!context.observer.draws()) return;
  context.observer.line(s.Xm[10] / s.ML, s.Ym[10] / s.ML, p.x / s.ML, p.y / s.ML, kFrontPathColor);
}

void analyticApproach(ExperimentState& s, const ApproachPoints& p, double alfa) {
  const double dx = p.x - p.xm;
  if (dx == 0) {
    s.AlfaZ = alfa;
    return;
  }
  const double tangent = std::tan(alfa);
  const double c = s.c;
  const bool alongX = std::fabs(s.Vy) < std::fabs(s.Vx);
  const bool alongY = std::fabs(s.Vx) < std::fabs(s.Vy);
  if (!alongX && !alongY) return;  // |Vx| = |Vy|: the caller's angle stays
  double angle = 0;
  if (!s.options.secondAnalyticReflection) {
    const double h = alongX ? quotient(dx * tangent, tangent * quotient(s.Vx, c, "Vx/c") + 1, "h")
                            : quotient(dx * c * tangent, c - s.Vy, "c - Vy");
    angle = std::atan(h / dx);
  } else if (alongX) {
    const double ratio = quotient(s.Vx, c, "Vx/c");
    angle = std::atan(tangent * (alfa > common::Pi / 2 ? 1 + ratio : 1 - ratio));
  } else {
    angle = std::atan(tangent * (1 + quotient(s.Vy, c, "Vy/c")));
  }
  if (angle < 0) angle += common::Pi;
  s.AlfaZ = common::requireFinite(angle, "AlfaZ");
}

// How many full steps of the approach can be leapt from here: steps that each leave the
// front farther from the line than twice the closing distance of a full step (so the next
// step stays full and the loop goes on), with exact running sums, within the time limit and
// before the next drawing of the front's way.
double quietApproachSteps(const ExperimentState& s, double vx, double vy, const ApproachPoints& p,
                          const SurfaceLine& line, double closing, double elapsed,
                          double timeLimit) {
  const double P0 = s.dt;
  double most = std::min({sumLeapLimit(p.xm, s.Vx * P0), sumLeapLimit(p.ym, s.Vy * P0),
                          sumLeapLimit(p.x, vx * P0), sumLeapLimit(p.y, vy * P0),
                          sumLeapLimit(elapsed, P0)});
  if (s.options.drawFronts) most = std::min(most, s.NC0 - 1 - s.counters.sinceRefresh);
  // The loop fails once the time it has stepped exceeds the limit: a leap stays within it.
  const double perStep = (elapsed + P0) - elapsed;
  if (!(perStep > 0)) return 0;
  most = std::min(most, std::floor((timeLimit - elapsed) / perStep));
  while (most >= 1 && leapSum(elapsed, P0, most) > timeLimit) most -= 1;
  if (!(most >= 1)) return 0;
  // The points stand at exact multiples of their steps; K = ym − A·xm moves with the line.
  const MovingPoint front{p.x, p.y, (p.x + vx * P0) - p.x, (p.y + vy * P0) - p.y, 0};
  const double mirrorDx = (p.xm + s.Vx * P0) - p.xm;
  const double mirrorDy = (p.ym + s.Vy * P0) - p.ym;
  const double K0 = p.ym - line.A * p.xm;
  const double K0size = std::fabs(p.ym) + std::fabs(line.A * p.xm);
  const LeapBound bound(front, line, K0, mirrorDx, mirrorDy,
                        line.offsetBound(2 * closing * P0), K0size);
  return bound.quietSteps(0, most);
}

void stepwiseApproach(ExperimentState& s, RunContext& context, double vx, double vy,
                      ApproachPoints& p, double alfa) {
  s.Xm[10] = p.xm;
  s.Ym[10] = p.ym;
  SurfaceLine line = SurfaceLine::through(p.xm, p.ym, alfa);
  double R0 = line.distance(p.x, p.y);
  keepLine(s, line, R0);
  const double closing = s.V12 + s.V21;
  double threshold = closing * 1.1 * s.dt;
  if (R0 > threshold) {
    // The loop ends only on a front that closes on the line at the closing speed it is
    // given; anything else would step for ever.
    const double normalX = -std::sin(alfa);
    const double normalY = std::cos(alfa);
    const double side = normalX * (p.x - p.xm) + normalY * (p.y - p.ym);
    const double rate = normalX * (vx - s.Vx) + normalY * (vy - s.Vy);
    const double geometricClosing = side > 0 ? -rate : rate;
    if (!(closing > 0) || !(geometricClosing > 0)) {
      throw common::ArithmeticError("ApproachMirror: фронт не сходится с зеркалом");
    }
    // A closing front meets the line after R0 / closing speed; twice that and a few steps
    // more can only be reached by a loop that has passed the line and never ends.
    const double timeLimit = 2 * R0 / std::min(closing, geometricClosing) + 10 * s.dt;
    const StopWatch stop(context.stopRequested);
    double elapsed = 0;
    while (R0 > threshold) {
      if (s.leaping && !(closing * 2 * s.dt >= R0)) {
        const double n = quietApproachSteps(s, vx, vy, p, line, closing, elapsed, timeLimit);
        if (n >= 1) {
          const double P0 = s.dt;
          p.xm = leapSum(p.xm, s.Vx * P0, n);
          p.ym = leapSum(p.ym, s.Vy * P0, n);
          p.x = leapSum(p.x, vx * P0, n);
          p.y = leapSum(p.y, vy * P0, n);
          line.moveThrough(p.xm, p.ym);
          R0 = line.distance(p.x, p.y);
          if (s.options.drawFronts) s.counters.sinceRefresh += n;
          threshold = closing * P0;
          elapsed = leapSum(elapsed, P0, n);
        }
      }
      s.P0 = s.dt;
      if (closing * 2 * s.dt >= R0) s.P0 = s.dt / s.refinementDivisor;
      p.xm += s.Vx * s.P0;
      p.ym += s.Vy * s.P0;
      p.x += vx * s.P0;
      p.y += vy * s.P0;
      line.moveThrough(p.xm, p.ym);
      R0 = line.distance(p.x, p.y);
      if (s.options.drawFronts && ++s.counters.sinceRefresh >= s.NC0) {
        s.counters.sinceRefresh = 0;
        drawFrontPath(s, context, p);
      }
      if (stop.raised()) break;
      context.observer.yield();
      threshold = closing * s.P0;
      elapsed += s.P0;
      if (elapsed > timeLimit) {
        throw common::ArithmeticError("ApproachMirror: фронт прошел зеркало");
      }
    }
    keepLine(s, line, R0);
  }
  if (s.options.drawFronts) drawFrontPath(s, context, p);
  s.AlfaZ = common::FullAngle(p.x - s.Xm[10], p.y - s.Ym[10]);
}

}  // namespace

double DistanceToLine(ExperimentState& s, double x0, double y0, double x1, double y1, double alfa) {
  const SurfaceLine line = SurfaceLine::through(x1, y1, alfa);
  keepLine(s, line, line.distance(x0, y0));
  return s.R0;
}

void ApproachMirror(ExperimentState& s, RunContext& context, double vx, double vy,
                    ApproachPoints& points, double alfa) {
  if (s.options.analyticReflection) {
    analyticApproach(s, points, alfa);
  } else {
    stepwiseApproach(s, context, vx, vy, points, alfa);
  }
}

}  // namespace quorvel::experiment::model
