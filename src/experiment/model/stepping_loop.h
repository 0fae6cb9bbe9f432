#pragma once

#include <algorithm>
#include <cmath>

namespace quorvel::experiment::model {

// What a long computation tells the window while it runs, and what it asks of it. The
// window implements it; a computation never sees a control, a host or a picture.
class LoopObserver {
 public:
  virtual ~LoopObserver() = default;
  // Lets the window process its pending events (the stop button among them). Called once
  // per stride of a loop, however many steps the stride leapt; the window decides by the
  // clock whether there is anything to do.
  virtual void yield() {}
};

// A stop request seen by a long loop: only a request raised while the loop runs counts, so
// that a loop entered with the flag already up (a run advanced by "Сделать NC0 шагов
// решения", or a model called before the run clears the flag) still runs to its end.
class StopWatch {
 public:
  explicit StopWatch(const int& flag) : flag_(flag), atEntry_(flag) {}
  bool raised() const { return atEntry_ == 0 && flag_ != 0; }

 private:
  const int& flag_;
  int atEntry_;
};

// How a stepping loop ended.
enum class LoopEnd {
  Finished,  // the body says it is done
  Stopped,   // the stop flag was seen
  Bounded,   // the step bound was reached without the body being done
};

// Where the loop looks at the stop flag, and which requests count.
enum class StopCheck {
  // After every stride; only a request raised while the loop runs counts (StopWatch).
  EveryStride,
  // At the refreshes only, and a flag already up at entry counts too: a run called with the
  // flag up ("Сделать NC0 шагов решения") makes the steps up to its next refresh.
  AtRefresh,
  // Never: the computation is short and must not be cut off half way.
  Never,
};

struct LoopSettings {
  double refreshEvery = 10;  // steps between refreshes (NC0); refresh() is called on the last
  double maxSteps = 1e18;    // bound on the steps of this call (the body's own limit)
  StopCheck stopCheck = StopCheck::AtRefresh;
  bool leap = true;  // false: the plain stepped loop, kept as the reference of the leaps
};

// The one stepping loop of the engine. A body supplies
//   bool done() const                     the computation has reached its end
//   double quietSteps(double most)        how many of the next steps (at most `most`) are
//                                         certain to see no event: no test fires, nothing
//                                         is launched, the step size does not change
//   void leap(double n)                   makes n quiet steps at once, leaving exactly the
//                                         state that n single steps would leave
//   void step()                           makes one step with all its tests
//   void refresh()                        the refresh of every refreshEvery steps
// The loop counts steps and refreshes, leaps only within a refresh interval (so refreshes
// fall on the steps they would fall on), checks the stop flag and the bound, and yields
// once per stride. `stepsDone` and `sinceRefresh` persist in the caller's state, so that a
// stopped loop called again goes on exactly where it stood.
struct LoopCounters {
  double stepsDone = 0;     // steps of this loop since its start
  double sinceRefresh = 0;  // steps since the last refresh
  double single = 0;        // steps made one by one
  double leapt = 0;         // steps made by leaps
  double strides = 0;       // leaps and single steps: the yields
  double refreshes = 0;
};

template <class Body>
LoopEnd runSteppingLoop(Body& body, const LoopSettings& settings, LoopCounters& counters,
                        const int& stopFlag, LoopObserver& observer) {
  const StopWatch stop(stopFlag);
  const double every = std::max(std::floor(settings.refreshEvery), 1.0);
  for (;;) {
    if (body.done()) return LoopEnd::Finished;
    if (counters.stepsDone >= settings.maxSteps) return LoopEnd::Bounded;
    if (settings.leap) {
      // The refresh step and the bound's last step are made singly.
      const double most =
          std::min(every - 1 - counters.sinceRefresh, settings.maxSteps - counters.stepsDone - 1);
      if (most >= 1) {
        const double n = std::floor(std::min(body.quietSteps(most), most));
        if (n >= 1) {
          body.leap(n);
          counters.stepsDone += n;
          counters.sinceRefresh += n;
          counters.leapt += n;
        }
      }
    }
    // Counted before the step: a step may count steps of its own on the same counter.
    counters.stepsDone += 1;
    counters.single += 1;
    counters.strides += 1;
    counters.sinceRefresh += 1;
    body.step();
    if (body.done()) return LoopEnd::Finished;
    if (counters.sinceRefresh >= every) {
      counters.sinceRefresh = 0;
      counters.refreshes += 1;
      body.refresh();
      if (settings.stopCheck == StopCheck::AtRefresh && stopFlag != 0) return LoopEnd::Stopped;
    }
    if (settings.stopCheck == StopCheck::EveryStride && stop.raised()) return LoopEnd::Stopped;
    observer.yield();
  }
}

}  // namespace quorvel::experiment::model
