#pragma once

#include <array>
#include <string>

#include "experiment/model/run_observer.h"

namespace quorvel::experiment::model {

// The setup's point table, m: the window's, moved by the run.
using PointArray = std::array<double, 131>;

// What a computation is given besides its state: the observer it reports to, the point
// table it moves, the stop flag (1 = stop) raised by the window's stop buttons, and the
// report text buffer, in which leg texts and Doppler event texts are assembled.
struct RunContext {
  RunContext(RunObserver& observer, PointArray& X, PointArray& Y, int& stopRequested)
      : observer(observer), X(X), Y(Y), stopRequested(stopRequested) {}

  RunObserver& observer;
  PointArray& X;
  PointArray& Y;
  int& stopRequested;
  std::string report;
};

}  // namespace quorvel::experiment::model
