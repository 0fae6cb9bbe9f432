#include "platform/headless/headless_host.h"

#include <limits>

#include "common/shared.h"
#include "platform/form.h"
#include "platform/timer.h"
#include "platform/window_manager.h"

namespace quorvel::platform {

bool HeadlessHost::messageBox(std::string_view text, Buttons buttons, std::string_view title) {
  MessageRecord record{std::string(text), std::string(title), buttons, false};
  if (buttons == Buttons::YesNo) {
    record.yes = true;
    if (!answers_.empty()) {
      record.yes = answers_.front();
      answers_.pop_front();
    }
  }
  messages_.push_back(record);
  if (onMessage) onMessage(record);
  return record.yes;
}

std::optional<std::string> HeadlessHost::openFileDialog(const FileDialogRequest& request) {
  fileDialogs_.push_back(request);
  if (files_.empty()) return std::nullopt;
  std::string path = std::move(files_.front());
  files_.pop_front();
  return path;
}

std::optional<std::string> HeadlessHost::saveFileDialog(const FileDialogRequest& request) {
  return openFileDialog(request);
}

int HeadlessHost::doEvents() {
  ++doEventsCalls_;
  if (stopAfter_ >= 0) {
    if (stopAfter_ <= 1) {
      common::shared().StopRequested = 1;
      stopAfter_ = -1;
    } else {
      --stopAfter_;
    }
  }
  if (budgetStop_ >= 0 && doEventsCalls_ >= budgetStop_) common::shared().StopRequested = 1;
  if (budgetGiveUp_ >= 0 && doEventsCalls_ >= budgetGiveUp_) {
    yieldCapReached_ = true;
    throw YieldCapReached{};
  }
  if (onDoEvents) onDoEvents();
  return openWindowCount();
}

void HeadlessHost::setYieldBudget(long long stopAt, long long giveUpAt) {
  budgetStop_ = stopAt < 0 ? -1 : doEventsCalls_ + stopAt;
  budgetGiveUp_ = giveUpAt < 0 ? -1 : doEventsCalls_ + giveUpAt;
}

LocalTime HeadlessHost::localTime() const {
  return fixedTime_ ? *fixedTime_ : Host::localTime();
}

bool HeadlessHost::wait(WindowManager& windows, long long ms) {
  const long long end = clockMs_ + (ms > 0 ? ms : 0);
  for (long long ticks = 0;; ++ticks) {
    if (ticks >= kMostTicks) return false;
    // Timers of the windows open now; a timer set anew starts its countdown afresh.
    std::map<std::uint64_t, Schedule> current;
    Timer* next = nullptr;
    Form* nextForm = nullptr;
    long long nextDue = std::numeric_limits<long long>::max();
    for (Form* form : windows.openForms()) {
      for (Control* control : form->controls()) {
        if (control->kind() != ControlKind::Timer) continue;
        auto* timer = static_cast<Timer*>(control);
        Schedule schedule;
        auto known = schedules_.find(timer->id());
        if (known != schedules_.end() && known->second.generation == timer->generation()) {
          schedule = known->second;
        } else {
          schedule = {timer->generation(), clockMs_ + timer->interval()};
        }
        current[timer->id()] = schedule;
        if (timer->timerEnabled() && timer->interval() > 0 && schedule.due <= end &&
            schedule.due < nextDue) {
          next = timer;
          nextForm = form;
          nextDue = schedule.due;
        }
      }
    }
    schedules_ = std::move(current);
    if (!next) break;
    clockMs_ = nextDue;
    schedules_[next->id()].due = nextDue + next->interval();
    // The tick may unload the form and its timer: the next pass sees only what is open.
    nextForm->tick(*next);
  }
  clockMs_ = end;
  return true;
}

}  // namespace quorvel::platform
