#pragma once

#include <optional>
#include <string>
#include <vector>

#include "experiment/model/stepping_loop.h"
#include "interference/model/fringe_search.h"
#include "interference/model/start_values.h"

namespace quorvel::interference::model {

// The amplitude of each ray's field: two equal rays in phase give (2·7,985)² ≈ 255,04,
// the brightest green of a picture.
inline constexpr double kAmplitude = 7.985;

// The phases, in periods, at the point chosen to be watched, shown once per start.
struct PointPhases {
  double N1 = 0;
  double N2 = 0;
  double difference = 0;  // N2 − N1
};

// A point of the time graph: x in graph units (T / (MT/2)), y the fringe position as a
// fraction of the search window.
struct GraphPoint {
  double x = 0;
  double y = 0;
};

// What one computed step leaves for the window to show.
struct StepReport {
  double T = 0;
  long long drawnSteps = 0;
  double energyRatio = 0;                    // S_int / S_sum
  double fringePosition = 0;                 // last centre, fraction of the window, 6 decimals cut
  std::optional<double> meanFringePosition;  // mean of the centres found, likewise
  std::optional<GraphPoint> graphPoint;      // none beyond the graph's 1600 units
  // Along the screen, points −250·ML … +250·ML: the summed brightness and the two fields.
  const std::vector<double>* I = nullptr;
  const std::vector<double>* E1 = nullptr;
  const std::vector<double>* E2 = nullptr;
};

// What the time loop tells the window.
class InterferenceObserver : public experiment::model::LoopObserver {
 public:
  // The phases at the watched point, the first time the sweep passes it.
  virtual void pointPhases(const PointPhases&) {}
  // After every step.
  virtual void refresh(const StepReport&) {}
  // The step could not be computed (a result that is not finite); the run has ended.
  virtual void fault() {}
};

enum class RunOutcome { Finished, Stopped, Fault };

// The interference computation: the field of both rays at 500·ML + 1 points of the screen,
// step by step in time, interval after interval.
class InterferenceRun {
 public:
  // `ic` is the fringe centre kept from before (a point index); a start does not reset it.
  InterferenceRun(const ComputationParameters& p, const StartValues& start, double ic = 0);

  // Runs the intervals k = 1 … K. The caller lowers the stop flag when the computation is
  // asked for, before anything yields (`singleStep` raises it, so that one step is made);
  // a stop raised at any yield after that ends the run, at the step after it or, raised at
  // an interval's last step, before the next interval. Nothing here lowers the flag.
  RunOutcome run(int& stopFlag, InterferenceObserver& observer);
  // Goes on with the present interval from where it stood, the step it stood at first.
  RunOutcome continueInterval(int& stopFlag, InterferenceObserver& observer);

  // Computes the step at time T (exposed for the checks of the sums).
  bool sweep(double T, InterferenceObserver& observer);

  const ComputationParameters& parameters() const { return p_; }
  const StartValues& start() const { return start_; }
  int interval() const { return interval_; }
  double T() const { return T_; }
  long long stepsDrawn() const { return drawn_; }
  double Sint() const { return Sint_; }
  double Ssum() const { return Ssum_; }
  bool found() const { return found_; }
  double ic() const { return ic_; }
  int points() const { return static_cast<int>(I_.size()); }
  const std::vector<double>& I() const { return I_; }
  const std::vector<double>& E1() const { return E1_; }
  const std::vector<double>& E2() const { return E2_; }
  // The brightness of the last step of each interval run so far.
  const std::vector<std::vector<double>>& lastIntensities() const { return lastOfInterval_; }
  // x (m) of point i, i = −250·ML … +250·ML.
  double xOf(int i) const;
  // The fringe position of a centre index as a fraction of the search window.
  double windowFraction(double ic) const;
  // hi − lo, in fringe widths.
  double windowWidth() const;

 private:
  struct Body;
  friend struct Body;
  RunOutcome loop(int& stopFlag, InterferenceObserver& observer);
  void report(InterferenceObserver& observer);

  ComputationParameters p_;
  StartValues start_;
  int half_;       // 250·ML
  double width_;   // N·B: the screen shows −width_ … +width_
  int stopPoint_;  // i*, spent once shown
  FringeSearch search_;
  int interval_ = 0;
  double intervalStart_ = 0;
  long long stepCount_ = 0;  // steps since the interval's start: T = start + count·dt
  double T_ = 0;
  long long drawn_ = 0;
  double Sint_ = 0, Ssum_ = 0;
  bool found_ = false;
  double foundCount_ = 0, foundSum_ = 0;
  double ic_ = 0;
  bool faulted_ = false;
  std::vector<double> I_, E1_, E2_;
  std::vector<std::vector<double>> lastOfInterval_;
};

}  // namespace quorvel::interference::model
