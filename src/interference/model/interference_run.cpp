#include "interference/model/interference_run.h"

#include <cmath>

#include "common/numbers.h"
#include "common/shared.h"

namespace quorvel::interference::model {

namespace {

constexpr double kTwoPi = 2 * common::Pi;
// The phases along the screen grow linearly with the point index; within a block they are
// carried from point to point by a rotation and taken afresh at each block's first point,
// which keeps them within 1e-13 of the point-by-point values.
constexpr int kBlock = 32;

}  // namespace

// The stepping loop's view of the run. A step is computed at T = start + count·dt; the
// count grows when the loop goes on to the next step, so a stopped or ended loop leaves T
// at the step it computed last, and going on computes that step again.
struct InterferenceRun::Body {
  InterferenceRun& run;
  InterferenceObserver& observer;
  bool advance = false;

  bool done() const {
    return run.faulted_ || (run.p_.stepLimit && run.drawn_ >= *run.p_.stepLimit);
  }
  double quietSteps(double) { return 0; }
  void leap(double) {}
  void step() {
    if (advance) ++run.stepCount_;
    advance = true;
    const double T = run.intervalStart_ + static_cast<double>(run.stepCount_) * run.p_.dt;
    if (!run.sweep(T, observer)) {
      run.faulted_ = true;
      observer.fault();
    }
  }
  void refresh() { run.report(observer); }
};

InterferenceRun::InterferenceRun(const ComputationParameters& p, const StartValues& start,
                                 double ic)
    : p_(p),
      start_(start),
      half_(250 * p.ML),
      width_(p.N * start.B),
      stopPoint_(p.stopPoint),
      search_(p.lo, p.hi, p.ML, p.N, p.threshold, p.composite),
      ic_(ic) {
  const auto n = static_cast<std::size_t>(2 * half_ + 1);
  I_.assign(n, 0.0);
  E1_.assign(n, 0.0);
  E2_.assign(n, 0.0);
}

double InterferenceRun::xOf(int i) const {
  return i * width_ / half_;
}

double InterferenceRun::windowFraction(double ic) const {
  return (p_.N * ic / half_ - p_.lo) / windowWidth();
}

double InterferenceRun::windowWidth() const {
  return static_cast<double>(p_.hi) - p_.lo;
}

bool InterferenceRun::sweep(double T, InterferenceObserver& observer) {
  T_ = T;
  const double N1 = start_.N1, N2 = start_.N2;
  const double X1e = start_.X1e, X2e = start_.X2e;
  const double Ve1 = p_.Ve1, Ve2 = p_.Ve2;
  const double w1 = p_.omega1, w2 = p_.omega2;
  const auto phase1 = [&](int i) { return kTwoPi * N1 + (T - (xOf(i) - X1e) / Ve1) * w1; };
  const auto phase2 = [&](int i) { return kTwoPi * N2 + (T - (xOf(i) - X2e) / Ve2) * w2; };
  // The change of each phase from one point to the next.
  const double d1 = -(width_ / half_) / Ve1 * w1;
  const double d2 = -(width_ / half_) / Ve2 * w2;
  const double cd1 = std::cos(d1), sd1 = std::sin(d1);
  const double cd2 = std::cos(d2), sd2 = std::sin(d2);

  const double E01 = kAmplitude * std::cos(T * p_.Omega1);
  const double E02 = kAmplitude * std::cos(T * p_.Omega2);
  const double amplitudeCross = 2 * std::sqrt(E01 * E01 * E02 * E02);
  search_.reset();
  double sumSquares = 0, sumI = 0;
  double c1 = 0, s1 = 0, c2 = 0, s2 = 0;
  bool phasesFinite = true;
  for (int i = -half_; i <= half_; ++i) {
    const auto k = static_cast<std::size_t>(i + half_);
    if ((i + half_) % kBlock == 0) {
      const double phi1 = phase1(i), phi2 = phase2(i);
      phasesFinite = phasesFinite && std::isfinite(phi1) && std::isfinite(phi2);
      c1 = std::cos(phi1);
      s1 = std::sin(phi1);
      c2 = std::cos(phi2);
      s2 = std::sin(phi2);
    }
    if (i == stopPoint_) {
      const double phi1 = phase1(i), phi2 = phase2(i);
      observer.pointPhases({phi1 / kTwoPi, phi2 / kTwoPi, (phi2 - phi1) / kTwoPi});
      stopPoint_ = 30000;
    }
    const double field1 = E01 * c1, field2 = E02 * c2;
    const double cosDifference = c1 * c2 + s1 * s2;  // cos(φ2 − φ1)
    sumSquares += field1 * field1 + field2 * field2;
    double I, e1, e2;
    if (!p_.instantaneous) {
      e1 = E01;
      e2 = E02;
      I = E01 * E01 + E02 * E02 + amplitudeCross * cosDifference;
    } else {
      e1 = field1;
      e2 = field2;
      I = p_.cosineCross ? e1 * e1 + e2 * e2 + 2 * std::sqrt(e1 * e1 * e2 * e2) * cosDifference
                         : e1 * e1 + e2 * e2 + 2 * e1 * e2;
    }
    sumI += I;
    I_[k] = I;
    E1_[k] = e1;
    E2_[k] = e2;
    search_.at(i, I, ic_, found_);
    // On to the next point: φ + d.
    const double nc1 = c1 * cd1 - s1 * sd1, ns1 = s1 * cd1 + c1 * sd1;
    const double nc2 = c2 * cd2 - s2 * sd2, ns2 = s2 * cd2 + c2 * sd2;
    c1 = nc1;
    s1 = ns1;
    c2 = nc2;
    s2 = ns2;
  }
  Ssum_ += sumSquares * p_.dt;
  Sint_ += sumI * p_.dt;
  return phasesFinite && std::isfinite(Ssum_) && std::isfinite(Sint_) &&
         std::isfinite(Sint_ / Ssum_);
}

void InterferenceRun::report(InterferenceObserver& observer) {
  ++drawn_;
  StepReport r;
  r.T = T_;
  r.drawnSteps = drawn_;
  r.energyRatio = Sint_ / Ssum_;
  const double span = windowWidth();
  const auto cut = [&](double ic) {
    return common::Fix((p_.N * ic / half_ - p_.lo) * 1e6 / span) / 1e6;
  };
  r.fringePosition = cut(ic_);
  if (found_) {
    foundCount_ += 1;
    if (foundCount_ >= 2) {
      foundSum_ += ic_;
      r.meanFringePosition = cut(foundSum_ / (foundCount_ - 1));
    }
  }
  const double graphX = T_ / p_.halfMT;
  if (graphX <= 1600) r.graphPoint = GraphPoint{graphX, windowFraction(ic_)};
  r.I = &I_;
  r.E1 = &E1_;
  r.E2 = &E2_;
  observer.refresh(r);
}

RunOutcome InterferenceRun::loop(int& stopFlag, InterferenceObserver& observer) {
  Body body{*this, observer};
  experiment::model::LoopSettings settings;
  settings.refreshEvery = 1;
  settings.leap = false;
  settings.stopCheck = experiment::model::StopCheck::AtRefresh;
  experiment::model::LoopCounters counters;
  const auto end = experiment::model::runSteppingLoop(body, settings, counters, stopFlag, observer);
  const auto slot = static_cast<std::size_t>(interval_ - 1);
  if (lastOfInterval_.size() <= slot) lastOfInterval_.resize(slot + 1);
  lastOfInterval_[slot] = I_;
  if (faulted_) return RunOutcome::Fault;
  // An interval that reached its step limit is whole even when a stop came with its last
  // step; the run ends there all the same.
  if (end == experiment::model::LoopEnd::Stopped && !body.done()) return RunOutcome::Stopped;
  return RunOutcome::Finished;
}

RunOutcome InterferenceRun::run(int& stopFlag, InterferenceObserver& observer) {
  if (p_.singleStep) stopFlag = 1;
  for (int k = 1; k <= p_.intervals; ++k) {
    interval_ = k;
    intervalStart_ = (k - 1) * p_.intervalStep;
    stepCount_ = 0;
    T_ = intervalStart_;
    drawn_ = 0;
    found_ = false;
    foundCount_ = foundSum_ = 0;
    const RunOutcome end = loop(stopFlag, observer);
    if (end != RunOutcome::Finished) return end;
    // A stop raised at the last step of an interval, after its last look at the flag, ends
    // the run before the next interval.
    if (stopFlag != 0 && k < p_.intervals) return RunOutcome::Stopped;
  }
  return RunOutcome::Finished;
}

RunOutcome InterferenceRun::continueInterval(int& stopFlag, InterferenceObserver& observer) {
  if (interval_ == 0 || faulted_) return RunOutcome::Finished;
  stopFlag = 0;
  return loop(stopFlag, observer);
}

}  // namespace quorvel::interference::model
