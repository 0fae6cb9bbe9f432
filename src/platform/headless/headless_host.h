#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/host.h"

namespace quorvel::platform {

class Timer;

// One message box as it was shown and answered.
struct MessageRecord {
  std::string text;
  std::string title;
  Buttons buttons = Buttons::Ok;
  bool yes = false;  // the answer (Yes/No boxes only)
};

// The host without a screen (quorvel-cli and the tests). Message boxes are recorded and
// answered from a queue (Yes when it is empty); file dialogs return queued paths (cancel
// when the queue is empty); timers tick only inside wait(), on a virtual clock.
class HeadlessHost : public Host {
 public:
  bool messageBox(std::string_view text, Buttons buttons, std::string_view title) override;
  std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
  // Save dialogs take their paths from the same queue as the open dialogs.
  std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
  int doEvents() override;
  LocalTime localTime() const override;

  void queueAnswer(bool yes) { answers_.push_back(yes); }
  void queueFile(std::string path) { files_.push_back(std::move(path)); }
  // A fixed clock for tests; without it the computer's clock is read.
  void setLocalTime(LocalTime time) { fixedTime_ = time; }

  const std::vector<MessageRecord>& messages() const { return messages_; }
  const std::vector<FileDialogRequest>& fileDialogs() const { return fileDialogs_; }
  long long doEventsCalls() const { return doEventsCalls_; }
  // Called with every message box as it appears (the CLI prints it).
  std::function<void(const MessageRecord&)> onMessage;
  // Called on every doEvents, for tests that act while a long loop runs.
  std::function<void()> onDoEvents;

  // Acts as the user's stop button would (StopRequested = 1) in the `yields`-th event yield
  // from now (the first one for 0 or 1), so that a loop that runs until stopped ends.
  void stopAfter(long long yields) { stopAfter_ = yields; }

  // Bounds what runs next by its event yields, never by the clock, as a watchful user
  // would: from the `stopAt`-th yield from now on, every yield raises StopRequested as the
  // stop button does; a loop still running at the `giveUpAt`-th yield has not heard it, so
  // the host notes that (yieldCapReached) and unwinds the loop by throwing
  // YieldCapReached from doEvents. −1 for either: no such bound.
  struct YieldCapReached {};
  void setYieldBudget(long long stopAt, long long giveUpAt);
  bool yieldCapReached() const { return yieldCapReached_; }

  // Runs the timers of the open windows for `ms` milliseconds of virtual time. At most
  // kMostTicks ticks are run; false when the wait ended early for that reason.
  static constexpr long long kMostTicks = 100000;
  bool wait(WindowManager& windows, long long ms);

 private:
  struct Schedule {
    std::uint64_t generation = 0;
    long long due = 0;
  };
  std::deque<bool> answers_;
  std::deque<std::string> files_;
  std::vector<MessageRecord> messages_;
  std::vector<FileDialogRequest> fileDialogs_;
  std::optional<LocalTime> fixedTime_;
  long long doEventsCalls_ = 0;
  long long stopAfter_ = -1;     // yields until the stop request; −1: none
  long long budgetStop_ = -1;    // doEventsCalls_ from which every yield raises the stop
  long long budgetGiveUp_ = -1;  // doEventsCalls_ at which the loop is unwound
  bool yieldCapReached_ = false;
  long long clockMs_ = 0;
  std::map<std::uint64_t, Schedule> schedules_;  // by timer id
};

}  // namespace quorvel::platform
