#include "experiment/model/run_steps.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "common/numbers.h"
#include "experiment/model/doppler.h"
#include "experiment/model/geometry.h"
#include "experiment/model/sum_leap.h"
#include "experiment/model/surface_line.h"

namespace quorvel::experiment::model {

namespace {

using common::numberText;
using common::Pi;
using common::RadToDeg;

constexpr char kCrLf[] = "\r\n";

double& rayTime(ExperimentState& s, int ray) {
  return ray == 1 ? s.T1 : s.T2;
}
double& rayPath(ExperimentState& s, int ray) {
  return ray == 1 ? s.S1 : s.S2;
}
double& rayPeriods(ExperimentState& s, int ray) {
  return ray == 1 ? s.N1 : s.N2;
}
std::array<double, 31>& timeTable(ExperimentState& s, int ray) {
  return ray == 1 ? s.legs.T1 : s.legs.T2;
}
std::array<double, 31>& pathTable(ExperimentState& s, int ray) {
  return ray == 1 ? s.legs.S1 : s.legs.S2;
}
std::array<double, 31>& speedTable(ExperimentState& s, int ray) {
  return ray == 1 ? s.legs.V1 : s.legs.V2;
}

// Turns ray r's front velocity to its leg's direction at its present speed.
void turnFront(ExperimentState& s, int ray, int leg) {
  s.legs.An[static_cast<std::size_t>(ray)] = s.legs.An[static_cast<std::size_t>(leg)];
  s.VXf[ray] = s.raySpeed[ray] * std::cos(s.legs.An[static_cast<std::size_t>(leg)]);
  s.VYf[ray] = s.raySpeed[ray] * std::sin(s.legs.An[static_cast<std::size_t>(leg)]);
}

// The effective angle of a moving surface through the front of ray r: the approach of an
// offset point beside the front, whose displacement runs along the moving surface.
// `lessPi`: the angle found runs the other way round (a mirror met from its back side).
double effectiveAngle(ExperimentState& s, RunContext& context, int ray, double offsetAngle,
                      double alfa, bool lessPi = false) {
  const OffsetPoint offset = offsetPoint(s, ray, offsetAngle, s.Xf[ray], s.Yf[ray], alfa);
  s.Xf[3] = offset.x;
  s.Yf[3] = offset.y;
  ApproachPoints points{offset.x, offset.y, s.Xf[ray], s.Yf[ray]};
  s.AlfaZ = alfa;
  ApproachMirror(s, context, s.VXf[ray], s.VYf[ray], points, alfa);
  return offset.flipped != lessPi ? s.AlfaZ - Pi : s.AlfaZ;
}

// The medium acts on the light's speed ("скорость"); with "частоту" it acts on the
// frequency only, and the light keeps the entered speed on every leg.
bool mediumOnSpeed(const ExperimentState& s) {
  return s.options.mediumActs && !s.options.mediumOnFrequency;
}

std::string angleLine(int leg, double angle) {
  return "Alfa" + std::to_string(leg) + "=   " +
         common::formatNumber(angle * RadToDeg, "000.000000");
}

// The closed Doppler formulas at a surface of effective angle AlfaZ (the prism setup's
// "++ аналитически"); with `showSpeeds` and without staticAngles the closing speeds they used are
// added to the report.
void closedFormDoppler(ExperimentState& s, RunContext& context, int ray, int leg, int next,
                       double AlfaZ, bool showSpeeds = false) {
  const auto k = static_cast<std::size_t>(leg);
  const MirrorFrequencies f =
      DopplerClosedForm(s, AlfaZ, s.raySpeed[ray], s.legs.An[k], s.legs.v[k]);
  s.legs.received[k] = f.vm;
  s.legs.v[static_cast<std::size_t>(next)] = f.vr;
  if (s.options.staticAngles || !showSpeeds) return;
  const double alfa12 = s.legs.An[k] - AlfaZ + Pi / 2;
  const double alfa21 = s.AlfaV - AlfaZ - Pi / 2;
  context.report += "AlfaZ для аналитического расчета=  " + numberText(AlfaZ * RadToDeg) + kCrLf +
                    "V12=  " + numberText(s.V12) + kCrLf + "V21=  " + numberText(s.V21) + kCrLf +
                    "Alfa12=  " + numberText(alfa12 * RadToDeg) + kCrLf +
                    "Alfa21=  " + numberText(alfa21 * RadToDeg) + kCrLf +
                    "cos(Alfa12)=  " + numberText(std::cos(alfa12)) + kCrLf +
                    "cos(Alfa21)=  " + numberText(std::cos(alfa21)) + kCrLf;
}

}  // namespace

bool closeIn(ExperimentState& s, const RunContext& context, int ray, int leg,
             const LegSurface& surface) {
  const auto& X = context.X;
  const auto& Y = context.Y;
  const double V = s.raySpeed[ray];
  const double An = s.legs.An[static_cast<std::size_t>(leg)];
  if (surface.screen) {
    s.R0 = X[6] - s.Xf[ray];
    s.V12 = V * std::cos(An);
    s.V21 = s.V * std::cos(s.AlfaV - Pi);
  } else {
    const auto p = static_cast<std::size_t>(surface.point);
    DistanceToLine(s, s.Xf[ray], s.Yf[ray], X[p] + surface.shift, Y[p], surface.alfa);
    s.V12 = V * std::cos(An - surface.alfa + surface.side * Pi / 2);
    s.V21 = s.V * std::cos(s.AlfaV - surface.alfa - surface.side * Pi / 2);
  }
  return 2 * (s.V12 + s.V21) * s.dt >= s.R0;
}

double quietLegSteps(const ExperimentState& s, const RunContext& context, int ray, int leg,
                     const LegSurface& surface, double most, bool* near) {
  if (near) *near = false;
  const auto& X = context.X;
  const auto& Y = context.Y;
  const double V = s.raySpeed[ray];
  const double An = s.legs.An[static_cast<std::size_t>(leg)];
  double R0 = 0;
  double V12 = 0;
  double V21 = 0;
  double side = 0;  // the signed offset whose magnitude is R0·norm
  double rate = 0;  // its rate of change, per second
  double norm = 1;
  double size = 0;  // magnitude of the coordinates the distance is computed from
  if (surface.screen) {
    R0 = X[6] - s.Xf[ray];
    side = R0;
    rate = -(s.VXf[ray] - s.Vx);
    V12 = V * std::cos(An);
    V21 = s.V * std::cos(s.AlfaV - Pi);
    size = std::fabs(X[6]) + std::fabs(s.Xf[ray]);
  } else {
    const auto p = static_cast<std::size_t>(surface.point);
    const SurfaceLine line = SurfaceLine::through(X[p] + surface.shift, Y[p], surface.alfa);
    R0 = line.distance(s.Xf[ray], s.Yf[ray]);
    side = line.A * s.Xf[ray] + line.B * s.Yf[ray] + line.K;
    rate = line.A * (s.VXf[ray] - s.Vx) + line.B * (s.VYf[ray] - s.Vy);
    norm = line.norm;
    V12 = V * std::cos(An - surface.alfa + surface.side * Pi / 2);
    V21 = s.V * std::cos(s.AlfaV - surface.alfa - surface.side * Pi / 2);
    size = std::fabs(X[p]) + std::fabs(surface.shift) + std::fabs(Y[p]) + std::fabs(s.Xf[ray]) +
           std::fabs(s.Yf[ray]);
  }
  const double closing = V12 + V21;
  // Closing on the surface at a known speed; anything else is decided by single steps.
  const double gain = side > 0 ? -rate / norm : (side < 0 ? rate / norm : 0.0);
  if (!(closing > 0) || !(gain > 0) || !std::isfinite(R0) || !std::isfinite(size)) return 0;
  // The loop's distances come from sums rounded at every step: far more than their drift
  // is kept in hand, and a millionth of the ways themselves.
  const double stepLength = s.P0;
  const double slack = 1e-9 * (size + s.raySpeed[ray] * stepLength * most) + 1e-300;
  const double nearDistance = 2 * closing * s.dt;
  double keepBeyond = 0;
  if (R0 > nearDistance * (1 + 1e-6) + slack) {
    // Far: the leap leaves it farther than the near distance, so it stays far.
    keepBeyond = nearDistance * (1 + 1e-6);
  } else if (R0 < nearDistance * (1 - 1e-6) - slack && stepLength < s.dt) {
    // Near, in refined steps: it stays near as it closes, and the leap leaves it farther
    // than one refined step's closing distance, where its leg would end.
    keepBeyond = closing * (s.dt / s.refinementDivisor) * (1 + 1e-6);
    if (near) *near = true;
  } else {
    return 0;
  }
  const double perStep = gain * stepLength * (1 + 1e-6);
  const double steps = std::floor((R0 - keepBeyond - slack) / perStep) - 1;
  if (!(steps >= 1)) return 0;
  return std::min(steps, most);
}

double sumsLeapLimit(const ExperimentState& s, const RunContext& context,
                     std::initializer_list<int> points) {
  const double P0 = s.P0;
  double limit = sumLeapLimit(s.T, P0);
  for (int k : points) {
    const auto i = static_cast<std::size_t>(k);
    limit = std::min(
        {limit, sumLeapLimit(context.X[i], s.Vx * P0), sumLeapLimit(context.Y[i], s.Vy * P0)});
  }
  for (int ray = 1; ray <= 2; ++ray) {
    limit = std::min({limit, sumLeapLimit(s.Xf[ray], s.VXf[ray] * P0),
                      sumLeapLimit(s.Yf[ray], s.VYf[ray] * P0),
                      sumLeapLimit(s.path[ray], s.raySpeed[ray] * P0)});
  }
  return limit;
}

void leapSums(ExperimentState& s, RunContext& context, std::initializer_list<int> points,
              double n) {
  const double P0 = s.P0;
  s.T = leapSum(s.T, P0, n);
  for (int k : points) {
    const auto i = static_cast<std::size_t>(k);
    context.X[i] = leapSum(context.X[i], s.Vx * P0, n);
    context.Y[i] = leapSum(context.Y[i], s.Vy * P0, n);
  }
  for (int ray = 1; ray <= 2; ++ray) {
    s.Xf[ray] = leapSum(s.Xf[ray], s.VXf[ray] * P0, n);
    s.Yf[ray] = leapSum(s.Yf[ray], s.VYf[ray] * P0, n);
    s.path[ray] = leapSum(s.path[ray], s.raySpeed[ray] * P0, n);
  }
}

void addStep(ExperimentState& s, RunContext& context, std::initializer_list<int> points) {
  s.T += s.P0;
  for (int k : points) {
    context.X[static_cast<std::size_t>(k)] += s.Vx * s.P0;
    context.Y[static_cast<std::size_t>(k)] += s.Vy * s.P0;
  }
  for (int ray = 1; ray <= 2; ++ray) {
    s.Xf[ray] += s.VXf[ray] * s.P0;
    s.Yf[ray] += s.VYf[ray] * s.P0;
    s.path[ray] += s.raySpeed[ray] * s.P0;
  }
}

Approach approachOf(ExperimentState& s, int ray, int leg, const LegSurface& surface) {
  constexpr double kMostSteps = 1e9;
  const double closing = s.V12 + s.V21;
  double side = 0;  // which side of the surface the front is on (the sign matters)
  double rate = 0;  // how fast that changes
  if (surface.screen) {
    side = s.R0;
    rate = -(s.VXf[ray] - s.Vx);
  } else {
    side = s.lineA * s.Xf[ray] + s.lineB * s.Yf[ray] + s.lineK;
    rate = s.lineA * (s.VXf[ray] - s.Vx) + s.lineB * (s.VYf[ray] - s.Vy);
  }
  const int sign = side > 0 ? 1 : (side < 0 ? -1 : 0);
  int& last = s.lastSide[static_cast<std::size_t>(ray)];
  const bool sameLeg = s.lastSideLeg[static_cast<std::size_t>(ray)] == leg;
  s.lastSideLeg[static_cast<std::size_t>(ray)] = leg;
  const int before = sameLeg ? last : 0;
  last = sign;
  if (before != 0 && sign != 0 && sign != before) return Approach::Passed;
  const bool movingAway = side * rate > 0 || !(closing > 0);
  if (movingAway || s.R0 > kMostSteps * closing * s.dt) return Approach::Never;
  return Approach::Closing;
}

bool legEnds(const ExperimentState& s) {
  return (s.V12 + s.V21) * (s.dt / s.refinementDivisor) >= s.R0;
}

OffsetPoint offsetPoint(const ExperimentState& s, int ray, double offsetAngle, double xm, double ym,
                        double alfa) {
  const double half = s.mirrorWidth / 2;
  OffsetPoint point{s.Xf[ray] + half * std::cos(offsetAngle),
                    s.Yf[ray] + half * std::sin(offsetAngle), false};
  // Whether the point, moving with the front relative to the moving surface, still has the
  // surface ahead of it; a point already past it could never meet it.
  const double nx = -std::sin(alfa);
  const double ny = std::cos(alfa);
  const double relative = nx * (s.VXf[ray] - s.Vx) + ny * (s.VYf[ray] - s.Vy);
  const double gap = nx * (xm - point.x) + ny * (ym - point.y);
  if (relative != 0 && gap / relative < 0) {
    point.x = s.Xf[ray] - half * std::cos(offsetAngle);
    point.y = s.Yf[ray] - half * std::sin(offsetAngle);
    point.flipped = true;
  }
  return point;
}

void refract(ExperimentState& s, RunContext& context, int ray, int leg, int next,
             const LegSurface& surface, bool secondRayLabel) {
  const auto k = static_cast<std::size_t>(leg);
  const auto kn = static_cast<std::size_t>(next);
  double AlfaZ = surface.alfa;
  if (s.options.movingRefraction) {
    // The angle found runs along the face to the ray's left unless the offset point was
    // flipped; a face met from its other side (s = −1) needs the direction to the right.
    AlfaZ = effectiveAngle(s, context, ray, s.legs.An[k] + Pi / 2, surface.alfa, surface.side < 0);
  }
  s.AlfaZ = AlfaZ;
  // The side factor turns the face for the legs that meet it from its other side.
  const double incidence = s.legs.An[k] - AlfaZ + surface.side * Pi / 2;
  const double refraction =
      common::ArcSin(std::sin(incidence) * s.n[k] / common::requireFinite(s.n[kn], "n"));
  s.legs.An[kn] = AlfaZ - surface.side * Pi / 2 + refraction;
  s.legs.v[kn] = s.legs.v[k];
  s.legs.received[k] = s.legs.v[k];
  if (mediumOnSpeed(s)) s.raySpeed[ray] = s.Vs0 / s.n[kn];
  turnFront(s, ray, next);
  context.report += "угол падения луча          " + numberText(incidence * RadToDeg) + kCrLf;
  context.report += (secondRayLabel ? "угол преломления луча  " : "угол преломления луча ") +
                    numberText(refraction * RadToDeg) + kCrLf;
}

void reflect(ExperimentState& s, RunContext& context, int ray, int leg, int next,
             const LegSurface& surface, int orientationCode, bool coating) {
  const auto k = static_cast<std::size_t>(leg);
  const auto kn = static_cast<std::size_t>(next);
  double AlfaZ = surface.alfa;
  if (s.options.movingMirrors && s.options.prism) {
    // The offset point is taken on the side of the front that has not met the surface yet;
    // of the two directions of the line found, the one nearer the surface's own is kept.
    const double found = effectiveAngle(s, context, ray, s.legs.An[k] + Pi / 2, surface.alfa);
    AlfaZ = surface.alfa + std::remainder(found - surface.alfa, Pi);
  } else if (s.options.movingMirrors) {
    if (coating) {
      AlfaZ = effectiveAngle(s, context, ray, s.legs.An[k] + Pi / 2, surface.alfa);
    } else {
      const double sigma = s.legs.An[k] - surface.alfa > Pi / 2 ? -1.0 : 1.0;
      const double offsetAngle = s.legs.An[k] - Pi / 2 + (sigma < 0 ? Pi : 0.0);
      AlfaZ = effectiveAngle(s, context, ray, offsetAngle, surface.alfa, sigma < 0);
    }
  }
  s.AlfaZ = AlfaZ;
  s.legs.An[kn] = 2 * AlfaZ - s.legs.An[k];
  s.legs.v[kn] = s.legs.v[k];
  s.legs.received[k] = s.legs.v[k];
  if (s.options.dopplerModels && s.options.prism && s.options.analyticDoppler) {
    closedFormDoppler(s, context, ray, leg, next, AlfaZ, surface.showAnalyticSpeeds);
  } else if (s.options.dopplerModels) {
    const DopplerOutcome outcome = Dopler_Zerkalo(s, context, surface.alfa, AlfaZ, s.raySpeed[ray],
                                                  s.legs.An[k], s.legs.v[k], orientationCode);
    if (outcome == DopplerOutcome::Done) {
      s.legs.v[kn] = s.vr;
      s.legs.received[k] = s.vm;
    }
    s.AlfaZ = AlfaZ;
  }
  if (mediumOnSpeed(s)) s.raySpeed[ray] = s.Vs0 / s.n[kn];
  turnFront(s, ray, next);
}

void arrive(ExperimentState& s, RunContext& context, int ray, int leg, double screenAngle,
            int orientationCode) {
  const auto k = static_cast<std::size_t>(leg);
  const auto kn = k + 1;
  s.legs.v[kn] = s.legs.v[k];
  s.legs.received[k] = s.legs.v[k];
  s.AlfaZ = screenAngle;
  if (s.options.dopplerModels && s.options.prism && s.options.analyticDoppler) {
    closedFormDoppler(s, context, ray, leg, leg + 1, screenAngle);
    s.legs.v[kn] = s.legs.v[k];
  } else if (s.options.dopplerModels) {
    const DopplerOutcome outcome =
        Dopler_Zerkalo(s, context, screenAngle, screenAngle, s.raySpeed[ray], s.legs.An[k],
                       s.legs.v[k], orientationCode);
    if (outcome == DopplerOutcome::Done) s.legs.received[k] = s.vm;
    s.AlfaZ = screenAngle;
  }
  s.n[kn] = s.n[k];
  s.legs.P21[kn] = s.n[k];
  s.legs.An[kn] = s.legs.An[k];
  bookkeeping(s, ray, leg, leg + 1);
  // The last row of the report shows the whole way: twice the arrival time and path.
  timeTable(s, ray)[kn] = 2 * rayTime(s, ray);
  pathTable(s, ray)[kn] = 2 * rayPath(s, ray);
  s.legs.Nv[kn] = rayPeriods(s, ray);
  s.arrivalX[ray] = s.Xf[ray];
  s.arrivalY[ray] = s.Yf[ray];
}

void bookkeeping(ExperimentState& s, int ray, int leg, int next) {
  const auto k = static_cast<std::size_t>(leg);
  const auto kn = static_cast<std::size_t>(next);
  const double periods = (s.T - rayTime(s, ray)) * s.legs.v[k];
  s.legs.Nv[k] = periods;
  rayPeriods(s, ray) += periods;
  rayTime(s, ray) = s.T;
  rayPath(s, ray) = s.path[ray];
  timeTable(s, ray)[k] = s.T;
  pathTable(s, ray)[k] = s.path[ray];
  // Legs the ray skips end where this one ends: the report shows them with no duration.
  for (std::size_t skipped = k + 1; skipped < kn; ++skipped) {
    timeTable(s, ray)[skipped] = s.T;
    pathTable(s, ray)[skipped] = s.path[ray];
  }
  speedTable(s, ray)[kn] = s.raySpeed[ray];
  s.legs.v[static_cast<std::size_t>(ray)] = s.legs.v[kn];
  s.legs.done[k] = true;
}

void printLegAngles(ExperimentState& s, RunContext& context, int ray, int leg, int next) {
  RunObserver& picture = context.observer;
  if (!picture.draws()) return;
  const double row = ray == 1 ? 32 : 42;
  picture.print(ray == 1 ? -12.5 : -6.5, row - leg, angleLine(leg, s.AlfaZ));
  picture.print(ray == 1 ? 4 : 10, row - next,
                angleLine(next, s.legs.An[static_cast<std::size_t>(next)]));
}

void printFrequencyTable(const ExperimentState& s, RunContext& context) {
  RunObserver& picture = context.observer;
  if (!picture.draws()) return;
  picture.print(-12, 13,
                " частота луча на этом участке пути и принятая поверхностью в конце этого участка "
                "пути");
  auto ratio = [](double value, double base) {
    return common::formatNumber(value / base, "0.000000000");
  };
  for (int k = 10; k <= 18; ++k) {
    const auto k1 = static_cast<std::size_t>(k);
    const auto k2 = k1 + 10;
    picture.print(-12, 20 - 4.0 * k / 5,
                  "v(" + std::to_string(k) + ")/v01=   " + ratio(s.legs.v[k1], s.v01) + "    " +
                      ratio(s.legs.received[k1], s.v01) + "                         v(" +
                      std::to_string(k + 10) + ")/v02=   " + ratio(s.legs.v[k2], s.v02) + "    " +
                      ratio(s.legs.received[k2], s.v02));
  }
}

void refresh(ExperimentState& s, RunContext& context) {
  RunObserver& observer = context.observer;
  observer.refresh(s);
  if (s.options.animation) observer.redrawSetup();
  if (!observer.draws()) return;
  if (s.options.markRay1) {
    observer.circle(s.Xf[1] / s.ML, s.Yf[1] / s.ML, 0.03, kRay1Color);
  }
  if (s.options.markRay2) {
    observer.circle(s.Xf[2] / s.ML, s.Yf[2] / s.ML, 0.03, kRay2Color);
  }
}

bool pauseAfterLeg(ExperimentState& s, RunContext& context, int leg) {
  (void)s;
  const std::string text = "пройден участок пути  " + std::to_string(leg) + kCrLf + context.report +
                           kCrLf + "ПРОДОЛЖИТЬ ПОЭТАПНОЕ ДВИЖЕНИЕ?";
  return context.observer.ask(text, "Quorvel");
}

RunEnd runSteps(ExperimentState& s, RunContext& context, SetupStepper& stepper) {
  struct Body {
    ExperimentState& s;
    RunContext& context;
    SetupStepper& stepper;
    bool done() const { return s.ii == 19 && s.jj == 29; }
    double quietSteps(double most) { return stepper.quietSteps(most); }
    void leap(double n) { stepper.leap(n); }
    void step() { stepper.step(); }
    void refresh() { model::refresh(s, context); }
  } body{s, context, stepper};
  LoopSettings settings;
  settings.refreshEvery = s.NC0;
  settings.stopCheck = StopCheck::AtRefresh;
  settings.leap = s.leaping;
  RunObserver& observer = context.observer;
  LoopEnd end = LoopEnd::Stopped;
  try {
    end = runSteppingLoop(body, settings, s.counters, context.stopRequested, observer);
    if (end == LoopEnd::Finished) {
      // The last refresh at once, then the frequencies over the final drawing.
      s.counters.sinceRefresh = 0;
      refresh(s, context);
      context.stopRequested = 1;
      if (s.options.frequencyText) printFrequencyTable(s, context);
      observer.showScreenFrequencies(s.legs.v[19] / s.v01, s.legs.v[29] / s.v01);
    }
  } catch (const std::exception&) {
    observer.tell(solutionErrorText(s), "Quorvel");
    if (s.options.report) observer.printReport(s);
    return RunEnd::Failed;
  }
  if (end != LoopEnd::Finished) return RunEnd::Stopped;
  if (s.options.report) observer.printReport(s);
  return RunEnd::Arrived;
}

std::string legText(const ExperimentState& s) {
  return "V12=  " + numberText(s.V12) + kCrLf + "V21=  " + numberText(s.V21) + kCrLf +
         "(V12+V21)*P0=  " + numberText((s.V12 + s.V21) * s.P0) + kCrLf +
         "R0=    " + numberText(s.R0) + kCrLf;
}

std::string debugLineText(const ExperimentState& s) {
  // A blank before non-negative numbers, as list output writes them.
  const auto value = [](double v) { return (v >= 0 ? " " : "") + numberText(v) + " "; };
  return " " + std::to_string(s.ii) + "  " + std::to_string(s.jj) + " " + value(s.T) +
         value(s.Xf[1]) + value(s.Yf[1]) + value(s.Xf[2]) + value(s.Yf[2]);
}

std::string solutionErrorText(const ExperimentState& s) {
  return "Ошибка решения при ii= " + std::to_string(s.ii) + "  и jj= " + std::to_string(s.jj) +
         "  AlfaZ=  " + numberText(s.AlfaZ * RadToDeg);
}

}  // namespace quorvel::experiment::model
