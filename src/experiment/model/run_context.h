#pragma once

#include <functional>
#include <string>

#include "common/shared.h"
#include "platform/host.h"
#include "platform/picture.h"

namespace quorvel::experiment::model {

// What a computation may touch of the window while it runs: the host (message boxes and the
// once-per-step yield), the scheme picture, the stop flag, and the few outputs the window
// shows. The window builds it; the tests and the benchmarks build their own.
struct RunContext {
  explicit RunContext(platform::Host& host, platform::Picture* picture = nullptr,
                      int& stopRequested = common::shared().StopRequested)
      : host(host), picture(picture), stopRequested(stopRequested) {}

  platform::Host& host;
  // Picture1; null when nothing is to be drawn.
  platform::Picture* picture;
  // The program-wide stop flag (1 = stop), raised by the window's stop buttons.
  int& stopRequested;
  // Draws the scheme anew on the cleared picture (grid and setup), as "Очистить рисунок".
  std::function<void()> redrawScheme;
  // Shows a model time, s, in Text17.
  std::function<void(double)> showTime;
  // The report text buffer: leg texts and Doppler event texts are assembled here.
  std::string report;
};

}  // namespace quorvel::experiment::model
