#pragma once

#include <optional>

#include "experiment/model/stepping_loop.h"
#include "viewer/tracking/fringe_tracker.h"

namespace quorvel::viewer::tracking {

// Where the frames of a run come from (the viewer's video, a test's generator).
class FrameSupply {
 public:
  virtual ~FrameSupply() = default;
  // Frame k of the run (0 is the first): its pixels, valid until the next call, or nothing
  // when the frame cannot be read (it is then skipped).
  virtual std::optional<FrameView> frame(int k) = 0;
};

// What a run tells the window: a yield after every frame (the stop button among the events
// it lets through) and each frame as measured.
class TrackingObserver : public experiment::model::LoopObserver {
 public:
  virtual void measured(const FrameMeasurement&) {}
};

enum class TrackingOutcome { Finished, Stopped, Failed };

struct TrackingRunEnd {
  TrackingOutcome outcome = TrackingOutcome::Finished;
  std::optional<TrackingError> error;  // with Failed
};

// Feeds frames 0 … frameCount − 1 to the tracker, one per step. A stop request raised while
// it runs (stopFlag ≠ 0, as the stop button sets it) ends it after the frame in hand, and
// the tracker keeps what was measured. Fails with the first frame's error, or with
// TooFewFrames when there is no frame or none could be read.
TrackingRunEnd runTracking(FringeTracker& tracker, int frameCount, FrameSupply& frames,
                           TrackingObserver& observer, const int& stopFlag);

}  // namespace quorvel::viewer::tracking
