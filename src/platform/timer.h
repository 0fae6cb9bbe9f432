#pragma once

#include <cstdint>
#include <functional>

#include "platform/control.h"

namespace quorvel::platform {

// A timer: while enabled and with an interval above 0 it ticks every interval ms.
class Timer : public Control {
 public:
  Timer(Form& form, std::string name, int intervalMs = 0, bool enabled = true);

  int interval() const { return interval_; }
  void setInterval(int ms);
  bool timerEnabled() const { return timerEnabled_; }
  void setTimerEnabled(bool enabled);
  // Grows whenever interval or enabled is set, so a scheduler restarts the countdown.
  std::uint64_t generation() const { return generation_; }
  // Unique among all timers ever made, so a scheduler never mixes up two of them.
  std::uint64_t id() const { return id_; }

  std::function<void()> onTick;

 private:
  int interval_;
  bool timerEnabled_;
  std::uint64_t generation_ = 0;
  std::uint64_t id_;
};

}  // namespace quorvel::platform
