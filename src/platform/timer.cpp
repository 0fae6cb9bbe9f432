#include "platform/timer.h"

namespace quorvel::platform {

namespace {
std::uint64_t nextId() {
  static std::uint64_t last = 0;
  return ++last;
}
}  // namespace

Timer::Timer(Form& form, std::string name, int intervalMs, bool enabled)
    : Control(form, std::move(name), ControlKind::Timer),
      interval_(intervalMs < 0 ? 0 : intervalMs),
      timerEnabled_(enabled),
      id_(nextId()) {}

void Timer::setInterval(int ms) {
  interval_ = ms < 0 ? 0 : ms;
  ++generation_;
  changed();
}

void Timer::setTimerEnabled(bool enabled) {
  timerEnabled_ = enabled;
  ++generation_;
  changed();
}

}  // namespace quorvel::platform
