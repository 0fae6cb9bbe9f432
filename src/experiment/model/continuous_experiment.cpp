#include "experiment/model/continuous_experiment.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/numbers.h"

namespace quorvel::experiment::model {

namespace {

using common::formatNumber;
using common::Pi;

constexpr char kCrLf[] = "\r\n";
constexpr char kRatio[] = "0.000000000";
constexpr double kNever = std::numeric_limits<double>::infinity();
// Rounding allowance of the closed forms: a relative error far above the few roundings of
// a test's expressions, so that a window of ticks always contains every tick at which the
// test, evaluated step by step, can fire.
constexpr double kRelativeSlack = 1e-12;
constexpr double kMarginTicks = 2;

std::size_t at(int k) {
  return static_cast<std::size_t>(k);
}

int frontOf(int i) {
  return i / 4;  // 0 first front, 1 second
}
int rayOf(int i) {
  return (i % 4) / 2;  // 0 ray 1, 1 ray 2
}
int edgeOf(int i) {
  return i % 2;  // 0 edge 1, 1 edge 2
}
int stateCode(int i, int legCode) {
  return (frontOf(i) + 1) * 1000 + (edgeOf(i) + 1) * 100 + legCode;
}

// The ticks t ≥ 0 at which f0 + f1·t lies within [low, high] (either may be infinite),
// widened by a margin; nothing when there are none.
struct TickRange {
  double lo = kNever;
  double hi = kNever;
};

TickRange solveRange(double f0, double f1, double low, double high) {
  TickRange r;
  double tLo = 0;
  double tHi = kNever;
  if (f1 == 0 || !std::isfinite(f1)) {
    if (f0 < low || f0 > high) return r;
  } else {
    double a = (low - f0) / f1;
    double b = (high - f0) / f1;
    if (a > b) std::swap(a, b);
    tLo = std::max(0.0, a);
    tHi = b;
    if (std::isnan(tLo) || std::isnan(tHi) || tHi < 0) return r;
  }
  r.lo = std::max(0.0, std::floor(tLo) - kMarginTicks);
  r.hi = std::isfinite(tHi) ? std::ceil(tHi) + kMarginTicks : kNever;
  return r;
}

}  // namespace

std::optional<std::string> continuousRefusal(const ContinuousParameters& p) {
  if (p.divergence) {
    return std::string("     Этот эксперимент выполняется  ") + kCrLf +
           "только без учета конусности луча" + kCrLf;
  }
  if (p.prism && p.cylinder) {
    return std::string("Сплошной эксперимент выполняется  ") + kCrLf + "     только без цилиндра" +
           kCrLf;
  }
  const double step = p.dt / p.refinementDivisor;
  const bool stepOk = p.dt > 0 && p.refinementDivisor > 0 && step > 0 && std::isfinite(step);
  const bool launchOk = stepOk && p.N0 > 0 && std::isfinite(p.N0) && p.v01 > 0 &&
                        p.N0 / p.v01 > step && std::isfinite(p.N0 / p.v01) &&
                        (!(p.prism && p.twoLasers) ||
                         (p.v02 > 0 && p.N0 / p.v02 > step && std::isfinite(p.N0 / p.v02)));
  const bool speedsOk = std::isfinite(p.c) && p.c > 0 && std::isfinite(p.Vx) &&
                        std::isfinite(p.Vy) && std::isfinite(p.beamDiameter);
  if (!stepOk || !launchOk || !speedsOk || p.refreshEvery < 1) {
    return std::string("Введите правильно данные");
  }
  return std::nullopt;
}

std::vector<PlacedText> steppedFrequencyTexts(const LegTables& legs, double v01, double v02) {
  std::vector<PlacedText> texts;
  texts.push_back({-12, 24.5,
                   " частота луча на этом участке пути и принятая поверхностью в конце этого "
                   "участка пути"});
  for (int i = 10; i <= 18; ++i) {
    const std::string text =
        "v(" + std::to_string(i) + ")/v01=   " + formatNumber(legs.v[at(i)] / v01, kRatio) +
        "    " + formatNumber(legs.received[at(i)] / v01, kRatio) + "                         v(" +
        std::to_string(i + 10) + ")/v02=   " + formatNumber(legs.v[at(i + 10)] / v02, kRatio) +
        "    " + formatNumber(legs.received[at(i + 10)] / v02, kRatio);
    texts.push_back({-12, 31.5 - 4.0 * i / 5, text});
  }
  return texts;
}

double continuousStepInWavelengths(const ContinuousParameters& p, bool refined) {
  const double step = refined ? p.dt / p.refinementDivisor : p.dt;
  return common::truncateDecimals(step * p.Vs0 / p.L1, 9);
}

ContinuousExperiment::ContinuousExperiment(const ContinuousParameters& p, const LegTables& legs,
                                           std::array<double, 131>& X, std::array<double, 131>& Y)
    : p_(p), legs_(legs), X_(X), Y_(Y), X0_(X), Y0_(Y) {
  step_ = p.dt / p.refinementDivisor;
  sdx_ = p.Vx * step_;
  sdy_ = p.Vy * step_;
  // A full step is a whole number of ticks, so that the ticks of the events stay on the
  // grid of the continuous step.
  fullTicks_ = p.refinementDivisor >= 2 ? std::floor(p.refinementDivisor) : 1;
  Tn1_.assign(4301, 0);
  Tn2_.assign(4301, 0);
  Tk1_.assign(4301, 0);
  Tk2_.assign(4301, 0);

  const double aim = legs_.An[10];
  auto motion = [&](int leg) {
    LegPlan plan;
    const bool start = leg == 10 || (p.prism && (leg == 11 || leg == 20));
    const bool ray1 = leg < 20;
    plan.speed = start ? p.c : (ray1 ? legs_.V1[at(leg)] : legs_.V2[at(leg)]);
    plan.direction = start ? aim : legs_.An[at(leg)];
    return plan;
  };
  auto line = [&](LegPlan& plan, int point, double alfa, double side) {
    plan.kind = 1;
    plan.point = point;
    plan.A = std::tan(alfa);
    plan.norm = std::sqrt(plan.A * plan.A + 1);
    const double V12 = plan.speed * std::cos(plan.direction - alfa + side * Pi / 2);
    const double V21 = p.V * std::cos(p.AlfaV - alfa - side * Pi / 2);
    plan.threshold = (V12 + V21) * step_;
  };
  for (int leg : {19, 29}) plan_[at(leg)] = motion(leg);
  if (!p.prism) {
    struct Row {
      int leg, point;
      double alfa, side;
      int next;
    };
    const Row rows[] = {
        {10, 30, p.Alfa3, 1, 11}, {11, 3, p.Alfa3, 1, 13},   {13, 30, p.Alfa3, -1, 14},
        {14, 1, p.Alfa1, -1, 15}, {15, 30, p.Alfa3, 1, 16},  {16, 3, p.Alfa3, 1, 18},
        {22, 40, p.Alfa4, 1, 23}, {23, 4, p.Alfa4, 1, 24},   {24, 2, p.Alfa2, -1, 25},
        {25, 4, p.Alfa4, -1, 26}, {26, 40, p.Alfa4, -1, 27}, {27, 3, p.Alfa3, -1, 28}};
    for (const Row& row : rows) {
      LegPlan plan = motion(row.leg);
      line(plan, row.point, row.alfa, row.side);
      plan.next = row.next;
      plan_[at(row.leg)] = plan;
    }
    for (int leg : {18, 28}) {
      LegPlan plan = motion(leg);
      plan.kind = 2;
      plan.point = 6;
      plan.threshold =
          (plan.speed * std::cos(plan.direction) + p.V * std::cos(p.AlfaV - Pi)) * step_;
      plan.next = leg + 1;
      plan_[at(leg)] = plan;
    }
  } else {
    struct Row {
      int leg, point;
      double alfa;
      int next;
    };
    const Row rows[] = {{10, 3, (p.Alfa3 + Pi) / 2, 14},
                        {11, 4, p.Alfa4, 14},
                        {14, 1, p.Alfa1, 18},
                        {20, 3, (Pi - p.Alfa3) / 2, 24},
                        {24, 2, p.Alfa2, 28}};
    for (const Row& row : rows) {
      LegPlan plan = motion(row.leg);
      // The side of the surface the edge meets: the one that makes it close in.
      const double side = std::sin(row.alfa - plan.direction) >= 0 ? 1 : -1;
      line(plan, row.point, row.alfa, side);
      plan.next = row.next;
      plan_[at(row.leg)] = plan;
    }
    for (int leg : {18, 28}) {
      LegPlan plan = motion(leg);
      plan.kind = 3;
      plan.point = 6;
      // Both along y: the edge's way up and the screen's own motion up.
      plan.threshold =
          (plan.speed * std::cos(plan.direction - Pi / 2) + p.V * std::cos(p.AlfaV + Pi / 2)) *
          step_;
      plan.next = leg + 1;
      plan_[at(leg)] = plan;
    }
    for (int leg : {10, 11, 14, 18, 20, 24, 28}) {
      LegPlan& plan = plan_[at(leg)];
      plan.crossing = true;
      plan.crossX = X[at(100 + leg)];
      plan.crossY = Y[at(100 + leg)];
      plan.crossA = std::tan(plan.direction + Pi / 2);
      plan.crossNorm = std::sqrt(plan.crossA * plan.crossA + 1);
      plan.crossThreshold = plan.speed * step_;
    }
  }

  auto firstTickAtOrAfter = [&](double t) {
    double m = std::max(1.0, std::ceil(t / step_));
    while (m > 1 && (m - 1) * step_ >= t) m -= 1;
    while (m * step_ < t) m += 1;
    return m;
  };
  launchTick_[0] = firstTickAtOrAfter(p.N0 / p.v01);
  if (p.prism) {
    launchTick_[1] = firstTickAtOrAfter(p.N0 / (p.twoLasers ? p.v02 : p.v01));
  } else {
    launched_[1] = true;  // ray 2 rides with ray 1 up to the splitter
  }
  placeFront(0, 0, 0);
  placeFront(0, 1, 0);
  replan();
}

bool ContinuousExperiment::frontLaunched(int front) const {
  return front == 1 || (launched_[0] && launched_[1]);
}

std::vector<double>& ContinuousExperiment::table(int front, int ray) {
  if (front == 0) return ray == 0 ? Tn1_ : Tn2_;
  return ray == 0 ? Tk1_ : Tk2_;
}

void ContinuousExperiment::placeFront(int front, int ray, double sourceTick) {
  const double across = legs_.An[10] - Pi / 2;
  for (int edge = 0; edge < 2; ++edge) {
    const int i = front * 4 + ray * 2 + edge;
    double offset = 0;  // along θ0 − π/2, in beam diameters
    if (!p_.prism) {
      offset = edge == 0 ? -0.5 : 0.5;
    } else if (p_.twoLasers) {
      offset = ray == 0 ? (edge == 0 ? -1.5 : -0.5) : (edge == 0 ? 0.5 : 1.5);
    } else {
      offset = ray == 0 ? (edge == 0 ? -0.5 : 0) : (edge == 0 ? 0 : 0.5);
    }
    ContinuousEdge& e = edges_[at(i)];
    e = ContinuousEdge{};
    e.moving = true;
    e.m0 = sourceTick;
    e.x0 = pointX(5, sourceTick) + offset * p_.beamDiameter * std::cos(across);
    e.y0 = pointY(5, sourceTick) + offset * p_.beamDiameter * std::sin(across);
    int leg = ray == 0 ? 10 : 20;
    if (p_.prism && ray == 0 && p_.halfPrism) leg = p_.fourthMirror ? 11 : 18;
    if (!p_.prism && ray == 1) {
      // Ray 2 moves with ray 1 up to the splitter, without a leg of its own.
      const LegPlan& start = plan_[10];
      e.speed = start.speed;
      e.dx = start.speed * std::cos(start.direction) * step_;
      e.dy = start.speed * std::sin(start.direction) * step_;
      continue;
    }
    enterLeg(i, leg, sourceTick);
  }
}

void ContinuousExperiment::enterLeg(int i, int leg, double m) {
  ContinuousEdge& e = edges_[at(i)];
  const LegPlan& plan = plan_[at(leg)];
  e.x0 = e.x(m);
  e.y0 = e.y(m);
  e.m0 = m;
  e.speed = plan.speed;
  e.dx = plan.speed * std::cos(plan.direction) * step_;
  e.dy = plan.speed * std::sin(plan.direction) * step_;
  e.state = stateCode(i, leg);
  e.crossed = false;
}

bool ContinuousExperiment::touches(int i, double m) const {
  const ContinuousEdge& e = edges_[at(i)];
  const LegPlan& plan = plan_[at(e.state % 100)];
  const double x = e.x(m);
  const double y = e.y(m);
  switch (plan.kind) {
    case 1: {
      const double px = pointX(plan.point, m);
      const double py = pointY(plan.point, m);
      const double distance = std::fabs(plan.A * x - y + (py - plan.A * px)) / plan.norm;
      return plan.threshold >= distance;
    }
    case 2:
      return plan.threshold >= pointX(6, m) - x;
    case 3:
      return plan.threshold >= pointY(6, m) - y;
    default:
      return false;
  }
}

bool ContinuousExperiment::crosses(int i, double m) const {
  const ContinuousEdge& e = edges_[at(i)];
  const LegPlan& plan = plan_[at(e.state % 100)];
  const double distance =
      std::fabs(plan.crossA * e.x(m) - e.y(m) + (plan.crossY - plan.crossA * plan.crossX)) /
      plan.crossNorm;
  return plan.crossThreshold >= distance;
}

ContinuousExperiment::Window ContinuousExperiment::touchWindow(int i, double from) const {
  const ContinuousEdge& e = edges_[at(i)];
  const LegPlan& plan = plan_[at(e.state % 100)];
  const double x = e.x(from);
  const double y = e.y(from);
  TickRange r;
  if (plan.kind == 1) {
    const double px = pointX(plan.point, from);
    const double py = pointY(plan.point, from);
    const double g0 = plan.A * (x - px) - (y - py);
    const double g1 = plan.A * (e.dx - sdx_) - (e.dy - sdy_);
    const double reach = std::fabs(plan.threshold) * plan.norm;
    auto slack = [&](double t) {
      const double dt = std::isfinite(t) ? t : 0;
      const double magnitude =
          std::fabs(plan.A) * (std::fabs(x + e.dx * dt) + std::fabs(px + sdx_ * dt)) +
          std::fabs(y + e.dy * dt) + std::fabs(py + sdy_ * dt);
      return kRelativeSlack * magnitude + 1e-9 * reach;
    };
    double margin = slack(0);
    r = solveRange(g0, g1, -reach - margin, reach + margin);
    if (std::isfinite(r.lo)) {
      margin = std::max(margin, slack(r.lo - from));
      r = solveRange(g0, g1, -reach - margin, reach + margin);
    }
  } else if (plan.kind == 2 || plan.kind == 3) {
    const bool alongX = plan.kind == 2;
    const double h0 = alongX ? pointX(6, from) - x : pointY(6, from) - y;
    const double h1 = alongX ? sdx_ - e.dx : sdy_ - e.dy;
    const double margin =
        kRelativeSlack * (std::fabs(alongX ? x : y) + std::fabs(alongX ? X0_[6] : Y0_[6]) + 1) +
        1e-9 * std::fabs(plan.threshold);
    r = solveRange(h0, h1, -kNever, plan.threshold + margin);
    if (std::isfinite(r.lo)) {
      // The magnitude at the touch may exceed that at the start of the window.
      const double t = r.lo;
      const double far = kRelativeSlack * (std::fabs(alongX ? x + e.dx * t : y + e.dy * t) + 1);
      r = solveRange(h0, h1, -kNever, plan.threshold + margin + far);
    }
  }
  if (!std::isfinite(r.lo)) return {kNever, kNever};
  return {from + r.lo, std::isfinite(r.hi) ? from + r.hi : kNever};
}

ContinuousExperiment::Window ContinuousExperiment::crossWindow(int i, double from) const {
  const ContinuousEdge& e = edges_[at(i)];
  const LegPlan& plan = plan_[at(e.state % 100)];
  const double x = e.x(from);
  const double y = e.y(from);
  const double g0 = plan.crossA * (x - plan.crossX) - (y - plan.crossY);
  const double g1 = plan.crossA * e.dx - e.dy;
  const double reach = std::fabs(plan.crossThreshold) * plan.crossNorm;
  const double magnitude = std::fabs(plan.crossA) * (std::fabs(x) + std::fabs(plan.crossX)) +
                           std::fabs(y) + std::fabs(plan.crossY);
  double margin = kRelativeSlack * magnitude + 1e-9 * reach;
  TickRange r = solveRange(g0, g1, -reach - margin, reach + margin);
  if (std::isfinite(r.lo)) {
    const double t = r.lo;
    margin += kRelativeSlack * (std::fabs(plan.crossA) * std::fabs(e.dx * t) + std::fabs(e.dy * t));
    r = solveRange(g0, g1, -reach - margin, reach + margin);
  }
  if (!std::isfinite(r.lo)) return {kNever, kNever};
  return {from + r.lo, std::isfinite(r.hi) ? from + r.hi : kNever};
}

void ContinuousExperiment::replan() {
  const double from = m_ + 1;
  for (int i = 0; i < 8; ++i) {
    const ContinuousEdge& e = edges_[at(i)];
    touch_[at(i)] = {kNever, kNever};
    cross_[at(i)] = {kNever, kNever};
    if (!e.moving || e.state == 0 || e.atScreen) continue;
    touch_[at(i)] = touchWindow(i, from);
    if (plan_[at(e.state % 100)].crossing && !e.crossed) cross_[at(i)] = crossWindow(i, from);
  }
  computeSkipIntervals();
}

double ContinuousExperiment::nextFire(double m) const {
  double first = kNever;
  for (const auto* windows : {&touch_, &cross_}) {
    for (const Window& w : *windows) {
      if (!std::isfinite(w.lo) || w.hi < m + 1) continue;
      first = std::min(first, std::max(w.lo, m + 1));
    }
  }
  return first;
}

// Full steps are taken only far from every event (the sound form of the rule "far from the
// mirrors, the reference points and the screen"): both fronts launched, no test of any edge
// able to fire within two full steps, and one of the two position conditions a, b holding.
// The conditions are linear in the tick between events; their tick intervals are fixed at
// every event, so the single steps and the leaps decide alike.
void ContinuousExperiment::computeSkipIntervals() {
  for (auto& interval : skipIntervals_) interval = {1, 0};  // empty
  if (!p_.prism || !p_.skip || fullTicks_ < 2 || !launched_[0] || !launched_[1]) return;
  const double from = m_ + 1;
  const double D = p_.beamDiameter;
  for (int condition = 0; condition < 2; ++condition) {
    double lo = from;
    double hi = kNever;
    for (int i = 0; i < 8 && lo <= hi; ++i) {
      const ContinuousEdge& e = edges_[at(i)];
      const bool second = frontOf(i) == 1;
      const int ray = rayOf(i);
      const double y = e.y(from);
      const double reference = Y_[at(ray == 0 ? 118 : 128)];
      double f0 = 0;  // the condition is f0 + f1·(m − from) ≥ 0
      double f1 = 0;
      if (condition == 0) {
        if (second) {
          const int mirror = ray == 0 ? 1 : 2;
          f0 = y - pointY(mirror, from) - 2 * D;
          f1 = e.dy - sdy_;
        } else {
          f0 = reference - D - y;
          f1 = -e.dy;
        }
      } else if (second) {
        f0 = y - reference - D;
        f1 = e.dy;
      } else {
        f0 = pointY(6, from) - D - y;
        f1 = sdy_ - e.dy;
      }
      if (f1 == 0) {
        if (f0 <= 0) hi = lo - 1;
        continue;
      }
      const double bound = from - f0 / f1;
      // One tick inside the exact bound on either side.
      if (f1 > 0) {
        lo = std::max(lo, std::ceil(bound) + 1);
      } else {
        hi = std::min(hi, std::floor(bound) - 1);
      }
    }
    if (lo <= hi) skipIntervals_[at(condition)] = {lo, hi};
  }
}

bool ContinuousExperiment::fullAllowed(double m) const {
  if (!p_.prism || !p_.skip || fullTicks_ < 2 || !launched_[0] || !launched_[1]) return false;
  bool inside = false;
  for (const auto& interval : skipIntervals_) {
    if (interval[0] <= m && m <= interval[1]) inside = true;
  }
  return inside && m + 2 * fullTicks_ < nextFire(m);
}

double ContinuousExperiment::nextSkipEntry(double m) const {
  double entry = kNever;
  for (const auto& interval : skipIntervals_) {
    if (interval[0] <= interval[1] && interval[0] > m) entry = std::min(entry, interval[0]);
  }
  return entry;
}

double ContinuousExperiment::quietSteps(double most) const {
  if (done()) return 0;
  const double m = m_;
  const double first = nextFire(m);
  if (fullAllowed(m)) {
    double hi = -kNever;
    for (const auto& interval : skipIntervals_) {
      if (interval[0] <= m && m <= interval[1]) hi = std::max(hi, interval[1]);
    }
    const double lastStart = std::min(hi, first - 2 * fullTicks_ - 1);
    const double n = std::floor((lastStart - m) / fullTicks_) + 1;
    return std::clamp(n, 0.0, most);
  }
  double limit = first - 1 - m;
  for (int g = 0; g < 2; ++g) {
    if (!launched_[at(g)]) limit = std::min(limit, launchTick_[at(g)] - 1 - m);
  }
  if (p_.prism && p_.skip && fullTicks_ >= 2 && launched_[0] && launched_[1] &&
      m + 2 * fullTicks_ < first) {
    limit = std::min(limit, nextSkipEntry(m) - m);
  }
  return std::clamp(limit, 0.0, most);
}

void ContinuousExperiment::leap(double n) {
  if (n <= 0) return;
  if (fullAllowed(m_)) {
    m_ += n * fullTicks_;
    fullSteps_ += n;
  } else {
    m_ += n;
    fineSteps_ += n;
  }
  steps_ += n;
}

void ContinuousExperiment::record(int i, int code, double m) {
  const double T = m * step_;
  const int ray = code % 100 >= 20 ? 1 : 0;
  table(frontOf(i), ray)[at(code)] = T;
  events_.push_back({i, code, T, steps_, m});
}

void ContinuousExperiment::step() {
  const bool full = fullAllowed(m_);
  m_ += full ? fullTicks_ : 1;
  steps_ += 1;
  (full ? fullSteps_ : fineSteps_) += 1;
  const double T = m_ * step_;
  bool event = false;
  // The second front leaves from where the source stood before this step moved it.
  // Edges placed in this step have no window yet: their tests are made whatever it says.
  std::array<bool, 8> placed{};
  if (!launched_[0] && T >= p_.N0 / p_.v01) {
    launched_[0] = true;
    placeFront(1, 0, m_ - 1);
    if (!p_.prism) placeFront(1, 1, m_ - 1);
    for (int i : {4, 5, 6, 7}) placed[at(i)] = true;
    event = true;
  }
  if (!launched_[1] && T >= p_.N0 / (p_.twoLasers ? p_.v02 : p_.v01)) {
    launched_[1] = true;
    placeFront(1, 1, m_ - 1);
    for (int i : {6, 7}) placed[at(i)] = true;
    event = true;
  }
  // Leaping, a test is skipped outside the ticks at which it can fire; the plain loop makes
  // every test, as the reference the leaps are compared with.
  auto mayFire = [&](const Window& w, int i) {
    return !filterTests_ || placed[at(i)] || (w.lo <= m_ && m_ <= w.hi);
  };
  for (int i = 0; i < 8; ++i) {
    ContinuousEdge& e = edges_[at(i)];
    if (!e.moving || e.state == 0 || e.atScreen) continue;
    const int leg = e.state % 100;
    if (plan_[at(leg)].crossing && !e.crossed && mayFire(cross_[at(i)], i) && crosses(i, m_)) {
      record(i, e.state + 2000, m_);
      e.crossed = true;
      event = true;
    }
    if (!mayFire(touch_[at(i)], i) || !touches(i, m_)) continue;
    event = true;
    record(i, e.state, m_);
    const int next = plan_[at(leg)].next;
    if (!p_.prism && (leg == 10 || leg == 11)) {
      // Ray 2 parts from ray 1 at the splitter coating: it takes the direction of leg 11
      // with ray 1 and then its own leg 22.
      ContinuousEdge& rider = edges_[at(i + 2)];
      if (leg == 10) {
        table(frontOf(i), 1)[at(e.state + 10)] = T;
        enterLeg(i, next, m_);
        rider.x0 = e.x0;
        rider.y0 = e.y0;
        rider.m0 = e.m0;
        rider.dx = e.dx;
        rider.dy = e.dy;
        rider.speed = e.speed;
        continue;
      }
      rider.x0 = e.x(m_);
      rider.y0 = e.y(m_);
      rider.m0 = m_;
      rider.dx = 0;
      rider.dy = 0;
      enterLeg(i + 2, 22, m_);
      placed[at(i + 2)] = true;
    }
    if (next == 19 || next == 29) {
      e.screenX = e.x(m_);
      e.screenY = e.y(m_);
      e.screenT = T;
      enterLeg(i, next, m_);  // on with the speed and direction of the arrival leg
      e.atScreen = true;
    } else {
      enterLeg(i, next, m_);
    }
  }
  if (event) {
    replan();
    finished_ = std::all_of(edges_.begin(), edges_.end(),
                            [](const ContinuousEdge& e) { return e.atScreen; });
  }
}

void ContinuousExperiment::syncPoints() {
  static constexpr int kBeamSplitterPoints[] = {1, 2, 3, 4, 5, 6, 30, 40};
  static constexpr int kPrismPoints[] = {1, 2, 3, 4, 5, 6, 7};
  auto move = [&](int k) {
    X_[at(k)] = pointX(k, m_);
    Y_[at(k)] = pointY(k, m_);
  };
  if (p_.prism) {
    for (int k : kPrismPoints) move(k);
  } else {
    for (int k : kBeamSplitterPoints) move(k);
  }
}

void ContinuousExperiment::refresh() {
  syncPoints();
  if (observer_) observer_->refresh(*this);
}

LoopSettings ContinuousExperiment::defaultSettings() const {
  LoopSettings settings;
  settings.refreshEvery = p_.refreshEvery;
  settings.stopCheck = StopCheck::EveryStride;
  // Every edge reaches the screen within a few times the stepped run's time after the second
  // front leaves; a geometry that never closes ends here.
  const double arrival = std::max(legs_.T1[19], legs_.T2[29]) / 2;
  settings.maxSteps = 4 * arrival / step_ + 4 * std::max(launchTick_[0], launchTick_[1]) + 1e6;
  return settings;
}

LoopEnd ContinuousExperiment::run(const LoopSettings& settings, const int& stopFlag,
                                  ContinuousObserver& observer) {
  observer_ = &observer;
  filterTests_ = settings.leap;
  LoopEnd end = LoopEnd::Finished;
  if (!done()) end = runSteppingLoop(*this, settings, counters_, stopFlag, observer);
  if (end == LoopEnd::Bounded) failed_ = true;
  syncPoints();
  if (failed_) {
    observer_ = nullptr;
    observer.fault("Ошибка решения");
    return LoopEnd::Bounded;
  }
  if (finished_) {
    finish();
    observer.refresh(*this);
    for (const PlacedText& text : resultTexts()) observer.print(text);
  } else {
    observer.refresh(*this);
  }
  observer_ = nullptr;
  return end;
}

void ContinuousExperiment::finish() {
  auto mean = [](const std::vector<double>& t, int a, int b) {
    const double ta = t[at(a)];
    const double tb = t[at(b)];
    return ta != 0 && tb != 0 ? (ta + tb) / 2 : 0.0;
  };
  for (int i = 0; i <= 8; ++i) {
    Tn1_[at(10 + i)] = mean(Tn1_, 1110 + i, 1210 + i);
    Tn2_[at(20 + i)] = mean(Tn2_, 1120 + i, 1220 + i);
    Tk1_[at(10 + i)] = mean(Tk1_, 2110 + i, 2210 + i);
    Tk2_[at(20 + i)] = mean(Tk2_, 2120 + i, 2220 + i);
    if (p_.prism) {
      Tn1_[at(110 + i)] = mean(Tn1_, 3110 + i, 3210 + i);
      Tn2_[at(120 + i)] = mean(Tn2_, 3120 + i, 3220 + i);
      Tk1_[at(110 + i)] = mean(Tk1_, 4110 + i, 4210 + i);
      Tk2_[at(120 + i)] = mean(Tk2_, 4120 + i, 4220 + i);
    }
  }
  auto frequency = [&](double first, double second) {
    return first != 0 && second != 0 && second != first ? p_.N0 / (second - first) : 0.0;
  };
  v_.fill(0);
  for (int k = 10; k <= 18; ++k) {
    v_[at(k)] = frequency(Tn1_[at(k)], Tk1_[at(k)]);
    v_[at(k + 10)] = frequency(Tn2_[at(k + 10)], Tk2_[at(k + 10)]);
    if (p_.prism) {
      v_[at(k + 100)] = frequency(Tn1_[at(k + 100)], Tk1_[at(k + 100)]);
      v_[at(k + 110)] = frequency(Tn2_[at(k + 110)], Tk2_[at(k + 110)]);
    }
  }
}

double ContinuousExperiment::correctedX(int i) const {
  const ContinuousEdge& e = edges_[at(i)];
  return p_.inScreenFrame ? e.screenX - p_.Vx * e.screenT : e.screenX;
}

double ContinuousExperiment::correctedY(int i) const {
  const ContinuousEdge& e = edges_[at(i)];
  return p_.inScreenFrame ? e.screenY - p_.Vy * e.screenT : e.screenY;
}

std::array<double, 4> ContinuousExperiment::screenResults() const {
  auto coordinate = [&](int i) { return p_.prism ? correctedX(i) : correctedY(i); };
  auto mean = [&](int first) { return (coordinate(first) + coordinate(first + 1)) / 2; };
  return {mean(0), mean(2), mean(4), mean(6)};
}

double ContinuousExperiment::screenFrequency(int ray) const {
  return v_[ray == 1 ? 18 : 28] / p_.v01;
}

std::vector<PlacedText> ContinuousExperiment::resultTexts() const {
  std::vector<PlacedText> texts;
  const double M = p_.realUnits ? 1e6 : 1000;
  auto ratio = [](double v) { return formatNumber(v, kRatio); };
  texts.push_back({-12.5, 6.5,
                   p_.prism ? "среднее время касания обоими концами фронта волны поверхностей в "
                              "конце этих участков пути "
                            : "среднее время касания обоими краями фронта волны поверхностей в "
                              "конце этих участков пути "});
  texts.push_back({-2.5, 5.8, "увеличенное в " + common::numberText(M) + "  раз"});
  texts.push_back(
      {-12, 5.1,
       p_.prism ? "                 1-ый фронт волны                                            "
                  "               2-ой фронт волны"
                : "            1-ый фронт волн двух лучей                                       "
                  "                 2-ой фронт волн двух лучей"});
  for (int i = 10; i <= 18; ++i) {
    texts.push_back({-12, 11.5 - 4.0 * i / 5,
                     "i=   " + std::to_string(i) + "    Tn1=   " + ratio(M * Tn1_[at(i)]) +
                         "   Tn2=   " + ratio(M * Tn2_[at(i + 10)]) + "              Tk1=   " +
                         ratio(M * Tk1_[at(i)]) + "   Tk2=   " + ratio(M * Tk2_[at(i + 10)])});
  }
  if (p_.prism) {
    texts.push_back({-12.5, 16,
                     " частота луча на этом участке пути и принятая поверхностью в конце этого "
                     "участка пути"});
    for (int i = 10; i <= 18; ++i) {
      texts.push_back({-12, 23 - 4.0 * i / 5,
                       "v(" + std::to_string(i) + ")/v01=   " + ratio(v_[at(100 + i)] / p_.v01) +
                           "    " + ratio(v_[at(i)] / p_.v01) + "                         v(" +
                           std::to_string(i + 10) + ")/v02=   " + ratio(v_[at(110 + i)] / p_.v02) +
                           "    " + ratio(v_[at(i + 10)] / p_.v02)});
    }
  } else {
    texts.push_back({-12.5, 16,
                     "частота света после прохождения i-х путей, т.е. принятая поверхностью "
                     "зеркала (стекла или экрана)"});
    for (int i = 10; i <= 18; ++i) {
      texts.push_back({-12, 23 - 4.0 * i / 5,
                       "i=   " + std::to_string(i - 10) + "    v(" + std::to_string(i) +
                           ")/v0=   " + ratio(v_[at(i)] / p_.v01) + "                         v(" +
                           std::to_string(i + 10) + ")/v0=   " + ratio(v_[at(i + 10)] / p_.v01)});
    }
  }
  return texts;
}

ContinuousParameters continuousParametersOf(const ExperimentState& s) {
  ContinuousParameters p;
  p.prism = s.options.prism;
  p.beamDiameter = s.beamDiameter;
  p.dt = s.dt;
  p.refinementDivisor = s.refinementDivisor;
  p.refreshEvery = s.NC0;
  p.N0 = s.N0;
  p.Vs0 = s.Vs0;
  p.L1 = s.L1;
  p.c = s.c;
  p.v01 = s.v01;
  p.v02 = s.v02;
  p.Vx = s.Vx;
  p.Vy = s.Vy;
  p.V = s.V;
  p.AlfaV = s.AlfaV;
  p.Alfa1 = s.Alfa1;
  p.Alfa2 = s.Alfa2;
  p.Alfa3 = s.Alfa3;
  p.Alfa4 = s.Alfa4;
  p.twoLasers = s.options.secondLaser;
  p.halfPrism = s.options.ray1Straight;
  p.fourthMirror = s.options.additionalMirror;
  return p;
}

}  // namespace quorvel::experiment::model
