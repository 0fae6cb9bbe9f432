#pragma once

#include <functional>
#include <string>

#include "common/shared.h"
#include "experiment/model/experiment_state.h"
#include "experiment/model/run_context.h"
#include "experiment/picture_run_observer.h"
#include "platform/host.h"
#include "platform/picture.h"

namespace quorvel::experiment::model {

// What the window shows of a run, as the tests look at it.
struct RunHooks {
  std::function<void(const ExperimentState&)> showResults;
  std::function<void()> redrawSetup;
  std::function<void(double, double)> showScreenFrequencies;
  std::function<void(const ExperimentState&)> printReport;
  std::function<void(const std::string&)> debugLine;
};

// A run's context as the window builds it: its observer on a host and a picture (none:
// nothing drawn), the shared point table and a stop flag.
struct RunHarness {
  RunHarness(platform::Host& host, platform::Picture* picture,
             int& stop = common::shared().StopRequested)
      : observer(host, picture), context(observer, common::shared().X, common::shared().Y, stop) {}
  // The context, its observer showing through the hooks.
  RunContext& with(const RunHooks& hooks) {
    observer.onRefresh = hooks.showResults;
    observer.onRedrawSetup = hooks.redrawSetup;
    observer.onScreenFrequencies = hooks.showScreenFrequencies;
    observer.onReport = hooks.printReport;
    observer.onDebugLine = hooks.debugLine;
    return context;
  }

  PictureRunObserver observer;
  RunContext context;
};

}  // namespace quorvel::experiment::model
