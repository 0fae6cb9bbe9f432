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
    if (last_ == Clock::time_point{}) {
      last_ = Clock::now();
      return;
    }
    // Frames closer than a couple of milliseconds keep the pace on average: the wait comes
    // once they are that far ahead of it. A delay of the computation's own is made up for
    // only up to 20 ms, so that the frames after it do not rush.
    const auto next = last_ + period;
    if (next - Clock::now() > std::chrono::milliseconds(2)) host.waitUntil(next, interrupted);
    last_ = std::max(next, Clock::now() - std::chrono::milliseconds(20));
  }
  // The next frame starts a new pace (a new run).
  void restart() { last_ = {}; }

 private:
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace quorvel::platform
