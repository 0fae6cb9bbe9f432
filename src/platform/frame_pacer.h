#pragma once

#include <algorithm>
#include <chrono>
#include <functional>

#include "platform/host.h"

namespace quorvel::platform {

// Paces an animation: at most `perSecond` frames a second of the clock, the window live
// between them; 0 (or less) draws as fast as the computation goes. The wait is the host's,
// so a host without a screen never waits.
class FramePacer {
 public:
  void frame(Host& host, int perSecond, const std::function<bool()>& interrupted) {
    using Clock = std::chrono::steady_clock;
    if (perSecond <= 0) {
      last_ = {};
      return;
    }
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(1.0 / perSecond));
    if (last_ != Clock::time_point{}) {
      const auto next = last_ + period;
      if (Clock::now() < next) host.waitUntil(next, interrupted);
      // A frame late by less than a period keeps the pace; a longer delay is not made up.
      last_ = std::max(next, Clock::now() - period);
    } else {
      last_ = Clock::now();
    }
  }
  // The next frame starts a new pace (a new run).
  void restart() { last_ = {}; }

 private:
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace quorvel::platform
