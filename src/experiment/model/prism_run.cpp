#include "experiment/model/prism_run.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#include "common/numbers.h"
#include "experiment/model/sum_leap.h"

namespace quorvel::experiment::model {

namespace {

using common::numberText;
using common::Pi;

constexpr char kCrLf[] = "\r\n";
constexpr double kCoverThickness = 0.01;  // m, the cylinder's left cover

enum class Surface {
  LeftFace,
  RightFace,
  Additional,
  LeftMirror,
  RightMirror,
  Cover,
  Gas,
  End,
  Screen
};
enum class Event { Mirror, Cylinder, Screen };

struct Leg {
  int leg;
  int ray;
  int point;
  Surface surface;
  Event event;
  int next;
  int dopplerCode;
  // The setup points that bound the leg: its reference point lies between them (those of
  // legs 10 and 20 are stored when the beam is divided).
  int from;
  int to;
};

// In the order the legs are tested within a step. Leg 20 goes on to 21 only with the
// cylinder.
constexpr Leg kLegs[] = {
    {10, 1, 3, Surface::LeftFace, Event::Mirror, 14, 180, 0, 0},
    {11, 1, 4, Surface::Additional, Event::Mirror, 14, 0, 4, 5},
    {14, 1, 1, Surface::LeftMirror, Event::Mirror, 18, 90, 3, 1},
    {18, 1, 6, Surface::Screen, Event::Screen, 19, 270, 1, 6},
    {20, 2, 3, Surface::RightFace, Event::Mirror, 24, 0, 0, 0},
    {21, 2, 7, Surface::Cover, Event::Cylinder, 22, 0, 0, 0},
    {22, 2, 7, Surface::Gas, Event::Cylinder, 23, 0, 0, 0},
    {23, 2, 7, Surface::End, Event::Cylinder, 24, 0, 0, 0},
    {24, 2, 2, Surface::RightMirror, Event::Mirror, 28, 90, 3, 2},
    {28, 2, 6, Surface::Screen, Event::Screen, 29, 270, 2, 6},
};

int& legOf(ExperimentState& s, int ray) {
  return ray == 1 ? s.ii : s.jj;
}

void setMidpoint(RunContext& context, int index, int a, int b) {
  auto& X = context.X;
  auto& Y = context.Y;
  const auto i = static_cast<std::size_t>(index);
  X[i] = (X[static_cast<std::size_t>(a)] + X[static_cast<std::size_t>(b)]) / 2;
  Y[i] = (Y[static_cast<std::size_t>(a)] + Y[static_cast<std::size_t>(b)]) / 2;
}

// The line that ends the leg, with the side factor that makes the ray head into it.
LegSurface surfaceOf(const ExperimentState& s, const Leg& leg) {
  LegSurface surface{leg.point, Pi / 2, 1, false};
  switch (leg.surface) {
    case Surface::LeftFace:
      surface.alfa = (s.Alfa3 + Pi) / 2;
      break;
    case Surface::RightFace:
      surface.alfa = (Pi - s.Alfa3) / 2;
      break;
    case Surface::Additional:
      surface.alfa = s.Alfa4;
      break;
    case Surface::LeftMirror:
      surface.alfa = s.Alfa1;
      break;
    case Surface::RightMirror:
      surface.alfa = s.Alfa2;
      break;
    case Surface::Cover:
      surface.shift = -kCoverThickness;
      break;
    case Surface::Gas:
      break;
    case Surface::End:
      surface.shift = s.cylinderSize;
      break;
    case Surface::Screen:
      surface.alfa = 0;
      break;
  }
  const double An = s.legs.An[static_cast<std::size_t>(leg.leg)];
  surface.side = std::sin(surface.alfa - An) >= 0 ? 1 : -1;
  // The left mirror of the variant stands on the right and is met from its other side than
  // usual; the closed formulas show the closing speeds they form for it.
  surface.showAnalyticSpeeds =
      leg.surface == Surface::LeftMirror && s.options.ray1Straight && s.options.additionalMirror;
  return surface;
}

// The end of a leg through the cylinder: the ray keeps its direction and takes the next
// leg's index, in its speed or in its frequency.
void crossCylinderFace(ExperimentState& s, int leg, int next) {
  const auto k = static_cast<std::size_t>(leg);
  const auto kn = static_cast<std::size_t>(next);
  s.legs.An[kn] = s.legs.An[k];
  s.legs.v[kn] = s.legs.v[k];
  s.legs.received[k] = s.legs.v[k];
  s.AlfaZ = Pi / 2;
  if (s.options.mediumActs && !s.options.mediumOnFrequency) {
    s.raySpeed[2] = s.Vs0 / common::requireFinite(s.n[kn], "n");
  } else if (s.options.mediumActs) {
    s.legs.v[kn] = s.legs.v[k] * s.n[k] / common::requireFinite(s.n[kn], "n");
  }
  s.legs.An[2] = s.legs.An[kn];
  s.VXf[2] = s.raySpeed[2] * std::cos(s.legs.An[kn]);
  s.VYf[2] = s.raySpeed[2] * std::sin(s.legs.An[kn]);
}

void endLeg(ExperimentState& s, RunContext& context, const Leg& leg, const LegSurface& surface) {
  context.report = legText(s);
  int next = leg.next;
  if (leg.leg == 20 && s.options.cylinder) next = 21;
  switch (leg.event) {
    case Event::Mirror:
      reflect(s, context, leg.ray, leg.leg, next, surface, leg.dopplerCode, false);
      bookkeeping(s, leg.ray, leg.leg, next);
      break;
    case Event::Cylinder:
      crossCylinderFace(s, leg.leg, next);
      bookkeeping(s, leg.ray, leg.leg, next);
      break;
    case Event::Screen:
      arrive(s, context, leg.ray, leg.leg, 0, leg.dopplerCode);
      break;
  }
  if (leg.from != 0) setMidpoint(context, 100 + leg.leg, leg.from, leg.to);
  legOf(s, leg.ray) = next;
  printLegAngles(s, context, leg.ray, leg.leg, next);
}

// The undivided beam reaches the prism edge: the rays take the middles of the two halves
// of the beam (unless two lasers send them) and ray 1 its variant.
void divideBeam(ExperimentState& s, RunContext& context) {
  const auto& X = context.X;
  const auto& Y = context.Y;
  const double xf = s.Xm[10];
  const double yf = s.Ym[10];
  if (!s.options.secondLaser) {
    double d = s.beamDiameter;
    if (s.options.beamDivergence) d += 2 * (Y[3] - Y[5]) * std::tan(s.divergenceAngle);
    const double across = s.aimAngle - Pi / 2;
    s.Xf[1] = (X[3] + xf - d / 2 * std::cos(across)) / 2;
    s.Yf[1] = (Y[3] + yf - d / 2 * std::sin(across)) / 2;
    s.Xf[2] = (X[3] + xf + d / 2 * std::cos(across)) / 2;
    s.Yf[2] = (Y[3] + yf + d / 2 * std::sin(across)) / 2;
  }
  s.ii = 10;
  s.jj = 20;
  for (std::size_t k = 11; k <= 14; ++k) s.legs.V1[k] = s.c;
  s.legs.V2[21] = s.c;
  if (s.options.ray1Straight) {
    const int to = s.options.additionalMirror ? 11 : 18;
    const auto k = static_cast<std::size_t>(to);
    s.ii = to;
    s.legs.done[10] = true;
    s.legs.done[14] = !s.options.additionalMirror;
    s.legs.v[k] = s.legs.v[10];
    s.legs.An[k] = s.legs.An[10];
    s.legs.V1[k] = s.c;
  }
  setMidpoint(context, 110, 3, 5);
  setMidpoint(context, 120, 3, 5);
  if (!s.options.autoRun) {
    context.report = "X ребра призмы=  " + numberText(X[3]) + kCrLf +
                     "X центра луча=  " + numberText(xf) + kCrLf;
    const std::string text = "участок пути  1" + std::string(kCrLf) + context.report + kCrLf +
                             "ПРОДОЛЖИТЬ ПОЭТАПНОЕ ДВИЖЕНИЕ?";
    if (!context.observer.ask(text, "Quorvel")) {
      context.stopRequested = 1;
    }
  }
}

// Leg 1: the crest of the undivided beam, across its direction, against the edge's height.
// True when the beam is near the edge.
bool undividedBeam(ExperimentState& s, RunContext& context) {
  const auto& X = context.X;
  const auto& Y = context.Y;
  const double xf = s.Xm[10];
  const double yf = s.Ym[10];
  const double crest = (X[3] - xf) * std::tan(s.aimAngle - Pi / 2) + yf;
  if (crest >= Y[3]) {
    divideBeam(s, context);
    return false;
  }
  return crest + 2 * s.dt * s.c * std::sin(s.aimAngle) > Y[3];
}

// After a leg end the full step comes back only when the other ray is not near its own
// surface, near meaning within ten full steps along its axis of motion (two at the screen);
// otherwise the refined step stays until a later leg end allows the full one.
bool fullStepAfter(const ExperimentState& s, const RunContext& context, int leg) {
  const auto& X = context.X;
  const auto& Y = context.Y;
  const double tenSteps = 10 * s.dt;
  switch (leg) {
    case 10:
      return s.legs.done[20];
    case 11:
    case 14:
      return (s.jj == 24 && X[2] - s.Xf[2] > tenSteps * s.VXf[2]) || s.legs.done[24] ||
             (s.options.cylinder && !s.nearSurface[2]);
    case 20:
      return s.legs.done[10];
    case 21:
      return true;
    case 22:
    case 23:
    case 24: {
      // The left mirror of the variant with the additional mirror stands on the right.
      const double ahead = s.Xf[1] + tenSteps * s.VXf[1];
      const bool farFromMirror =
          s.options.ray1Straight && s.options.additionalMirror ? ahead < X[1] : ahead > X[1];
      return s.legs.done[14] || (s.ii == 14 && farFromMirror) ||
             (s.ii == 11 && s.Yf[1] + tenSteps * s.VYf[1] < Y[4]) || s.ii == 18;
    }
    default: {  // the screen legs 18 and 28
      const int other = leg == 18 ? 2 : 1;
      const bool onScreenLeg = other == 2 ? s.jj == 28 : s.ii == 18;
      return !(onScreenLeg && s.Yf[other] + 2 * s.dt * s.VYf[other] >= Y[6]);
    }
  }
}

bool current(const ExperimentState& s, const Leg& leg) {
  return (leg.ray == 1 ? s.ii : s.jj) == leg.leg;
}

void recordSides(ExperimentState& s, RunContext& context) {
  for (const Leg& leg : kLegs) {
    if (!current(s, leg)) continue;
    const LegSurface surface = surfaceOf(s, leg);
    closeIn(s, context, leg.ray, leg.leg, surface);
    approachOf(s, leg.ray, leg.leg, surface);
  }
}

// The points of the setup that move with it.
constexpr std::initializer_list<int> kMovingPoints = {1, 2, 3, 4, 5, 6, 7};

class PrismSteps : public SetupStepper {
 public:
  PrismSteps(ExperimentState& s, RunContext& context) : s_(s), context_(context) {}

  void step() override {
    ExperimentState& s = s_;
    RunContext& context = context_;
    recordSides(s, context);
    addStep(s, context, kMovingPoints);
    const bool refined = s.P0 < s.dt;
    if (s.options.debugFile && refined) context.observer.debugLine(debugLineText(s));
    // Both rays share the step. A refined step stays until a leg end gives the full step back
    // (fullStepAfter), and in any case while either ray is near its surface.
    bool keepRefined = refined;
    bool near = false;
    if (s.ii == 1) {
      s.Xm[10] += s.c * std::cos(s.aimAngle) * s.P0;
      s.Ym[10] += s.c * std::sin(s.aimAngle) * s.P0;
      near = undividedBeam(s, context);
      if (s.ii != 1) keepRefined = false;
    }
    for (const Leg& leg : kLegs) {
      if (!current(s, leg)) continue;
      const LegSurface surface = surfaceOf(s, leg);
      const bool nearing = testLeg(s, context, leg.ray, leg.leg, surface, [&] {
        endLeg(s, context, leg, surface);
        keepRefined = !fullStepAfter(s, context, leg.leg);
      });
      s.nearSurface[static_cast<std::size_t>(leg.ray)] = nearing;
      near = nearing || near;
    }
    s.P0 = near || keepRefined ? s.dt / s.refinementDivisor : s.dt;
  }

  // Full steps while every ray is far from its surface. Refined steps stay refined until a
  // leg ends, so they are leapt while no leg can end and every ray stays as near or far as
  // it is (the debug file, which has a line for every refined step, is written singly).
  double quietSteps(double most) override {
    const ExperimentState& s = s_;
    const bool full = s.P0 == s.dt;
    if (!full) return refinedQuietSteps(most);
    double quiet = std::min(most, sumsLeapLimit(s, context_, kMovingPoints));
    if (s.ii == 1) {
      quiet = std::min({quiet, sumLeapLimit(s.Xm[10], beamDx(s)), sumLeapLimit(s.Ym[10], beamDy(s)),
                        quietBeamSteps(s, context_, quiet)});
    }
    for (const Leg& leg : kLegs) {
      if (!current(s, leg) || quiet < 1) continue;
      quiet =
          std::min(quiet, quietLegSteps(s, context_, leg.ray, leg.leg, surfaceOf(s, leg), quiet));
    }
    // A leapt step leaves every ray far from its surface.
    if (quiet >= 1 && (s.nearSurface[1] || s.nearSurface[2])) return 0;
    return quiet;
  }

  double refinedQuietSteps(double most) {
    const ExperimentState& s = s_;
    if (s.ii == 1 || s.options.debugFile || !(s.P0 == s.dt / s.refinementDivisor)) return 0;
    double quiet = std::min(most, sumsLeapLimit(s, context_, kMovingPoints));
    for (const Leg& leg : kLegs) {
      if (!current(s, leg) || quiet < 1) continue;
      bool near = false;
      quiet = std::min(
          quiet, quietLegSteps(s, context_, leg.ray, leg.leg, surfaceOf(s, leg), quiet, &near));
      if (near != s.nearSurface[static_cast<std::size_t>(leg.ray)]) return 0;
    }
    return quiet;
  }

  void leap(double n) override {
    leapSums(s_, context_, kMovingPoints, n);
    if (s_.ii == 1) {
      s_.Xm[10] = leapSum(s_.Xm[10], beamDx(s_), n);
      s_.Ym[10] = leapSum(s_.Ym[10], beamDy(s_), n);
    }
  }

 private:
  // The step of the undivided beam's front, as step() adds it.
  static double beamDx(const ExperimentState& s) { return s.c * std::cos(s.aimAngle) * s.P0; }
  static double beamDy(const ExperimentState& s) { return s.c * std::sin(s.aimAngle) * s.P0; }

  // Full steps after each of which the undivided beam's crest stays below the edge's near
  // height (undividedBeam), with a millionth of the ways in hand for rounding.
  static double quietBeamSteps(const ExperimentState& s, const RunContext& context, double most) {
    const auto& X = context.X;
    const auto& Y = context.Y;
    const double slope = std::tan(s.aimAngle - Pi / 2);
    const double crest = (X[3] - s.Xm[10]) * slope + s.Ym[10];
    const double nearHeight = Y[3] - 2 * s.dt * s.c * std::sin(s.aimAngle);
    // How fast the crest rises towards the edge, m/s.
    const double rise =
        (s.Vx - s.c * std::cos(s.aimAngle)) * slope + s.c * std::sin(s.aimAngle) - s.Vy;
    const double size = (std::fabs(X[3]) + std::fabs(s.Xm[10])) * (1 + std::fabs(slope)) +
                        std::fabs(s.Ym[10]) + std::fabs(Y[3]) + s.c * s.dt * most;
    const double gap = nearHeight - crest - 1e-9 * size;
    if (!(rise > 0) || !(gap > 0) || !std::isfinite(gap)) return 0;
    const double steps = std::floor(gap / (rise * s.dt * (1 + 1e-6))) - 1;
    return steps >= 1 ? std::min(steps, most) : 0;
  }

  ExperimentState& s_;
  RunContext& context_;
};

}  // namespace

RunEnd runPrism(ExperimentState& s, RunContext& context) {
  PrismSteps steps(s, context);
  return runSteps(s, context, steps);
}

}  // namespace quorvel::experiment::model
