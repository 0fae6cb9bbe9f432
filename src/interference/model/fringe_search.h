#pragma once

namespace quorvel::interference::model {

// Finds the centre of a bright fringe while the screen is swept point by point, inside
// the window lo < x/B < hi (lo, hi in fringe widths; the screen's 500·ML + 1 points cover
// 2N widths). A run of points brighter than the threshold is a fringe; its centre is the
// mean of the indices of its first and last point.
//
// Plain fringes are looked for only in a window narrower than 1,5 fringe widths, and only
// the first run inside it counts. Composite fringes average the centres of all the runs
// completed inside the window.
class FringeSearch {
 public:
  FringeSearch(int lo, int hi, int ML, int N, double threshold, bool composite)
      : low_(static_cast<double>(lo) * 250.0 * ML / N),
        high_(static_cast<double>(hi) * 250.0 * ML / N),
        threshold_(threshold),
        composite_(composite),
        enabled_(composite || static_cast<double>(hi) - lo < 1.5) {}

  // Starts a new sweep of the screen.
  void reset() {
    state_ = 0;
    start_ = 0;
    runSum_ = 0;
    runCount_ = 0;
  }

  // Point i of brightness I; sets ic (a point index) and found when a centre is known.
  void at(int i, double I, double& ic, bool& found) {
    if (!enabled_ || !(low_ < i && i < high_)) return;
    if (I > threshold_ && state_ == 0) {
      start_ = i;
      state_ = 1;
    } else if (I < threshold_ && state_ == 1) {
      const double centre = (start_ + (i - 1)) / 2.0;
      if (composite_) {
        runSum_ += centre;
        runCount_ += 1;
        state_ = 0;
      } else {
        state_ = 2;
        ic = centre;
        found = true;
      }
    }
    if (composite_ && runCount_ > 0.1) {
      ic = runSum_ / runCount_;
      found = true;
    }
  }

 private:
  double low_, high_, threshold_;
  bool composite_;
  bool enabled_;
  int state_ = 0;
  double start_ = 0;
  double runSum_ = 0;
  double runCount_ = 0;
};

}  // namespace quorvel::interference::model
