#include <algorithm>
#include <cmath>
#include <exception>
#include <string>

#include "common/numbers.h"
#include "experiment/model/crest_support.h"
#include "experiment/model/doppler.h"
#include "experiment/model/leap_bound.h"
#include "experiment/model/moving_point.h"
#include "experiment/model/surface_line.h"

namespace quorvel::experiment::model {

namespace {

using common::Pi;

constexpr double kHalfLength = 20;  // wavelengths, of the crests and the resting line

double positive(double v, const char* what) {
  common::requireFinite(v, what);
  if (!(v > 0)) throw common::ArithmeticError(std::string(what) + " <= 0");
  return v;
}

DopplerOutcome runSourceModel(ExperimentState& s, RunContext& context) {
  const double lambda = positive(s.L1, "L1");
  const double Vs = positive(s.c, "Vs");
  const double v01 = positive(s.v01, "v01");
  // The run's step is not set yet when the source model runs: it starts from dt.
  const double step = positive(s.dt / s.refinementDivisor, "dt/K");
  const double N0 = s.N0;
  const double alfa = s.aimAngle;
  const Options& options = s.options;

  const double beamX = std::cos(alfa);
  const double beamY = std::sin(alfa);
  const double alongX = std::cos(alfa - Pi / 2);
  const double alongY = std::sin(alfa - Pi / 2);
  const double half = kHalfLength * lambda;
  const double lineX = N0 * lambda * beamX;
  const double lineY = N0 * lambda * beamY;
  const SurfaceLine receiver = SurfaceLine::through(lineX, lineY, alfa + Pi / 2);

  // Ends 0, 1 of crest A (sent at once) and 2, 3 of crest B (sent at N0/v01).
  const double dx = Vs * beamX * step;
  const double dy = Vs * beamY * step;
  MovingPoint ends[4] = {{half * alongX, half * alongY, dx, dy, 0},
                         {-half * alongX, -half * alongY, dx, dy, 0}};
  const double sourceDx = s.Vx * step;
  const double sourceDy = s.Vy * step;
  const double emission = N0 / v01;
  const double reach = Vs * step;
  const double reachBound = receiver.offsetBound(reach);

  // Crest A reaches the line at N0·λ/Vs; crest B, sent from a source that has moved by at
  // most V·(emission + step), no later than that distance more at Vs. A source that has
  // outrun the line never gets crest B there: twice the latest time is the limit.
  const double latest =
      emission + step + (N0 * lambda + std::hypot(s.Vx, s.Vy) * (emission + step)) / Vs;
  const double timeLimit = 2 * std::max(latest, N0 * lambda / Vs) + 10 * step;

  // The loop's body. Event kod = 1, 2, 5, 6 happened at times[kod − 1]: TA1, TA2, TB1, TB2.
  struct Body {
    ExperimentState& s;
    RunContext& context;
    const Options& options;
    MovingPoint (&ends)[4];
    const SurfaceLine& receiver;
    double stepLength, lambda, N0, dx, dy, sourceDx, sourceDy, half, alongX, alongY, lineX, lineY;
    double reach, reachBound, emission, emissionStep;
    bool seen[6] = {};
    double times[6] = {};
    bool emitted = false;
    int sent = 2;  // crest ends on their way
    double k = 0;  // steps made; the model time is k·step
    bool finished = false;
    DopplerOutcome outcome = DopplerOutcome::Done;

    bool done() const { return finished; }
    static int endOf(int kod) { return kod < 5 ? kod - 1 : kod - 3; }

    double quietSteps(double most) const {
      // Crest B is sent on the step it is due, singly.
      double quiet = emitted ? most : std::min(most, emissionStep - k - 1);
      for (int kod : {1, 2, 5, 6}) {
        if (quiet < 1) break;
        const int end = endOf(kod);
        if (seen[kod - 1] || end >= sent) continue;
        const LeapBound bound(ends[end], receiver, receiver.K, 0, 0, reachBound);
        quiet = std::min(quiet, bound.quietSteps(k, quiet));
      }
      return std::max(quiet, 0.0);
    }
    void leap(double n) { k += n; }

    void step() {
      k += 1;
      const double T = k * stepLength;
      if (!emitted && T >= emission) {
        emitted = true;
        sent = 4;
        const double sourceX = sourceDx * k;
        const double sourceY = sourceDy * k;
        ends[2] = {sourceX + half * alongX, sourceY + half * alongY, dx, dy, k};
        ends[3] = {sourceX - half * alongX, sourceY - half * alongY, dx, dy, k};
      }
#pragma GCC unroll 4
      for (int kod : {1, 2, 5, 6}) {
        const int end = endOf(kod);
        if (seen[kod - 1] || end >= sent) continue;
        const double offset = receiver.offset(ends[end].x(k), ends[end].y(k));
        if (offset > reachBound) continue;
        const double R0 = offset / receiver.norm;
        if (!(reach >= R0)) continue;
        seen[kod - 1] = true;
        times[kod - 1] = T;
        context.observer.showTime(T);
        if (!crest::announceEvent(options, context, kod, T, crest::kLightReachLabel, reach / lambda,
                                  R0 / lambda)) {
          outcome = DopplerOutcome::Declined;
          finished = true;
          return;
        }
      }
      if (!(seen[0] && seen[1] && seen[4] && seen[5])) return;
      const double TA3 = (times[0] + times[1]) / 2;
      const double TB3 = (times[4] + times[5]) / 2;
      const double vm = common::requireFinite(N0 / (TB3 - TA3), "vm");
      refresh();
      s.vm = vm;
      finished = true;
    }

    void refresh() {
      context.observer.showTime(k * stepLength);
      if (!options.modelDetails) return;
      const double endX = half * alongX;
      const double endY = half * alongY;
      double x[4];
      double y[4];
      for (int i = 0; i < sent; ++i) {
        x[i] = ends[i].x(k);
        y[i] = ends[i].y(k);
      }
      crest::drawModel(options, context, s.detailScale, lineX - endX, lineY - endY, lineX + endX,
                       lineY + endY, x, y, sent);
    }
  } body{s,      context, options, ends,     receiver,   step,     lambda,
         N0,     dx,      dy,      sourceDx, sourceDy,   half,     alongX,
         alongY, lineX,   lineY,   reach,    reachBound, emission, firstStepAtTime(emission, step)};

  return crest::runModel(body, s, context, step, timeLimit, "Dopler_Lazer");
}

}  // namespace

DopplerOutcome Dopler_Lazer(ExperimentState& s, RunContext& context) {
  try {
    return runSourceModel(s, context);
  } catch (const std::exception&) {
    crest::reportError(context, "Ошибка рассчета в Dopler_Lazer");
    return DopplerOutcome::Failed;
  }
}

}  // namespace quorvel::experiment::model
