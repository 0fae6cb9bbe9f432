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

constexpr double kReceiverDistance = 25;  // wavelengths from the mirror
constexpr double kMirrorHalfLength = 20;  // wavelengths
constexpr double kCrestAOffset = 15;      // wavelengths behind the mirror
constexpr double kCrestHalfLength = 10;   // wavelengths

struct MirrorCall {
  double surfaceAngle;
  double AlfaZ;
  double raySpeed;
  double An;
  double nu;
  int orientationCode;
};

double positive(double v, const char* what) {
  common::requireFinite(v, what);
  if (!(v > 0)) throw common::ArithmeticError(std::string(what) + " <= 0");
  return v;
}

// The receiver point, wavelengths from the mirror, by the direction of the reflected ray.
void receiverPoint(int orientationCode, double& x, double& y) {
  x = 0;
  y = 0;
  switch (orientationCode) {
    case 0:
      x = kReceiverDistance;
      break;
    case 90:
      y = kReceiverDistance;
      break;
    case 180:
      x = -kReceiverDistance;
      break;
    case 270:
      y = -kReceiverDistance;
      break;
    default:
      throw common::ArithmeticError("код направления " + std::to_string(orientationCode));
  }
}

DopplerOutcome runMirrorModel(ExperimentState& s, RunContext& context, const MirrorCall& call) {
  const double V = positive(call.raySpeed, "V");
  const double lambda = positive(V / call.nu, "λ");
  const double step = positive(s.P0 / s.refinementDivisor, "P0/K");
  const double N0 = s.N0;
  const Options& options = s.options;

  double receiverX = 0;
  double receiverY = 0;
  receiverPoint(call.orientationCode, receiverX, receiverY);
  const double reflected = 2 * call.AlfaZ - call.An;
  const SurfaceLine receiver =
      SurfaceLine::through(receiverX * lambda, receiverY * lambda, reflected + Pi / 2);
  SurfaceLine mirror = SurfaceLine::through(0, 0, call.surfaceAngle);

  // Crest ends 0, 1 of crest A and 2, 3 of crest B, N0 wavelengths behind A.
  const double inX = std::cos(call.An);
  const double inY = std::sin(call.An);
  const double alongX = std::cos(call.An - Pi / 2);
  const double alongY = std::sin(call.An - Pi / 2);
  const double half = kCrestHalfLength * lambda;
  const double inDx = V * inX * step;
  const double inDy = V * inY * step;
  const double outDx = V * std::cos(reflected) * step;
  const double outDy = V * std::sin(reflected) * step;
  MovingPoint ends[4];
  for (int crestB = 0; crestB < 2; ++crestB) {
    const double behind = -(kCrestAOffset + crestB * N0) * lambda;
    for (int side = 0; side < 2; ++side) {
      const double offset = side == 0 ? half : -half;
      ends[2 * crestB + side] = {behind * inX + offset * alongX, behind * inY + offset * alongY,
                                 inDx, inDy, 0};
    }
  }
  const double mirrorDx = s.Vx * step;
  const double mirrorDy = s.Vy * step;
  const double mirrorReach = (s.V12 + s.V21) * step;
  const double receiverReach = V * step;
  const double mirrorBound = mirror.offsetBound(mirrorReach);
  const double receiverBound = receiver.offsetBound(receiverReach);

  // A bound for crests that never meet the mirror (a crest parallel to it, a mirror that
  // runs from the light) or whose reflection never meets the receiver line (a mirror that
  // has passed the line, an orientation code against the reflected direction). An end
  // closes on the mirror line at no less than `closing`; from there its reflection runs
  // straight at the line at V. The latest event of a model that can finish therefore comes
  // before 2·(latest mirror time) + (farthest end from the line)/V; twice that is the limit.
  const double normalX = -std::sin(call.surfaceAngle);
  const double normalY = std::cos(call.surfaceAngle);
  const double rate = normalX * (V * inX - s.Vx) + normalY * (V * inY - s.Vy);
  double farthestFromMirror = 0;
  double farthestFromReceiver = 0;
  double closing = s.V12 + s.V21;
  for (const MovingPoint& end : ends) {
    const double side = normalX * end.x0 + normalY * end.y0;
    closing = std::min(closing, side > 0 ? -rate : rate);
    farthestFromMirror = std::max(farthestFromMirror, mirror.distance(end.x0, end.y0));
    farthestFromReceiver = std::max(farthestFromReceiver, receiver.distance(end.x0, end.y0));
  }
  if (!(closing > 0)) {
    throw common::ArithmeticError("Dopler_Zerkalo: гребни не сходятся с зеркалом");
  }
  const double mirrorTime = farthestFromMirror / closing;
  const double timeLimit = 2 * (2 * mirrorTime + farthestFromReceiver / V) + 10 * step;

  // The loop's body. Event kod (1..8) happened at times[kod − 1]: 1, 2 crest A at the mirror
  // (TA1, TA2); 3, 4 its reflection at the receiver line (TC1, TC2); 5..8 the same for
  // crest B (TB, TD).
  struct Body {
    ExperimentState& s;
    RunContext& context;
    const Options& options;
    const MirrorCall& call;
    MovingPoint (&ends)[4];
    SurfaceLine& mirror;
    const SurfaceLine& receiver;
    double stepLength, lambda, N0, outDx, outDy, mirrorDx, mirrorDy;
    double mirrorReach, receiverReach, mirrorBound, receiverBound;
    bool seen[8] = {};
    double times[8] = {};
    double k = 0;  // steps made; the model time is k·step
    bool finished = false;
    DopplerOutcome outcome = DopplerOutcome::Done;

    bool done() const { return finished; }
    static int endOf(int e) { return (e & 1) + ((e & 4) >> 1); }
    static bool atMirror(int e) { return (e & 2) == 0; }
    bool pending(int e) const { return !seen[e] && (atMirror(e) || seen[e - 2]); }

    double quietSteps(double most) const {
      double quiet = most;
      for (int e = 0; e < 8 && quiet >= 1; ++e) {
        if (!pending(e)) continue;
        const MovingPoint& end = ends[endOf(e)];
        const LeapBound bound = atMirror(e)
                                    ? LeapBound(end, mirror, 0, mirrorDx, mirrorDy, mirrorBound)
                                    : LeapBound(end, receiver, receiver.K, 0, 0, receiverBound);
        quiet = std::min(quiet, bound.quietSteps(k, quiet));
      }
      return quiet;
    }
    void leap(double n) { k += n; }

    void step() {
      k += 1;
      const double T = k * stepLength;
      mirror.moveThrough(mirrorDx * k, mirrorDy * k);
      // Unrolled, every event's end and line are known when it is compiled.
#pragma GCC unroll 8
      for (int kod = 1; kod <= 8; ++kod) {
        const int e = kod - 1;
        if (!pending(e)) continue;
        const int end = endOf(e);
        const double x = ends[end].x(k);
        const double y = ends[end].y(k);
        const SurfaceLine& line = atMirror(e) ? mirror : receiver;
        const double offset = line.offset(x, y);
        if (offset > (atMirror(e) ? mirrorBound : receiverBound)) continue;
        const double R0 = offset / line.norm;
        if (!((atMirror(e) ? mirrorReach : receiverReach) >= R0)) continue;
        seen[e] = true;
        times[e] = T;
        context.observer.showTime(T);
        if (atMirror(e)) ends[end].turn(k, outDx, outDy);
        const bool goOn =
            atMirror(e) ? crest::announceEvent(options, context, kod, T, crest::kMirrorReachLabel,
                                               mirrorReach / lambda, R0 / lambda)
                        : crest::announceEvent(options, context, kod, T, crest::kLightReachLabel,
                                               receiverReach / lambda, R0 / lambda);
        if (!goOn) {
          outcome = DopplerOutcome::Declined;
          finished = true;
          return;
        }
      }
      if (!(seen[2] && seen[3] && seen[6] && seen[7])) return;
      const double TA3 = (times[0] + times[1]) / 2;
      const double TB3 = (times[4] + times[5]) / 2;
      const double TC3 = (times[2] + times[3]) / 2;
      const double TD3 = (times[6] + times[7]) / 2;
      const double vm = common::requireFinite(N0 / (TB3 - TA3), "vm");
      const double vr = common::requireFinite(N0 / (TD3 - TC3), "vr");
      const double start = s.T - kCrestAOffset / call.nu;
      std::string& text = context.report;
      text += "T1sr=    " + common::numberText(start + TA3) + "\r\n";
      text += "T2sr=    " + common::numberText(start + TB3) + "\r\n";
      text += "v1/v0=    " + common::numberText(vm / s.v01) + "\r\n";
      text += "v2/v0=    " + common::numberText(vr / s.v01) + "\r\n";
      refresh();
      s.vm = vm;
      s.vr = vr;
      finished = true;
    }

    void refresh() {
      context.observer.showTime(k * stepLength);
      if (!options.modelDetails) return;
      const double endX = kMirrorHalfLength * lambda * std::cos(call.surfaceAngle);
      const double endY = kMirrorHalfLength * lambda * std::sin(call.surfaceAngle);
      const double mirrorX = mirrorDx * k;
      const double mirrorY = mirrorDy * k;
      double x[4];
      double y[4];
      for (int i = 0; i < 4; ++i) {
        x[i] = ends[i].x(k);
        y[i] = ends[i].y(k);
      }
      crest::drawModel(options, context, s.detailScale, mirrorX - endX, mirrorY - endY,
                       mirrorX + endX, mirrorY + endY, x, y, 4);
    }
  } body{s,           context,       options,     call,         ends,  mirror,   receiver,
         step,        lambda,        N0,          outDx,        outDy, mirrorDx, mirrorDy,
         mirrorReach, receiverReach, mirrorBound, receiverBound};

  return crest::runModel(body, s, context, step, timeLimit, "Dopler_Zerkalo");
}

}  // namespace

DopplerOutcome Dopler_Zerkalo(ExperimentState& s, RunContext& context, double surfaceAngle,
                              double AlfaZ, double raySpeed, double An, double nu,
                              int orientationCode) {
  try {
    return runMirrorModel(s, context, {surfaceAngle, AlfaZ, raySpeed, An, nu, orientationCode});
  } catch (const std::exception&) {
    crest::reportError(context, "Ошибка рассчета в Dopler_Zerkalo");
    return DopplerOutcome::Failed;
  }
}

}  // namespace quorvel::experiment::model
