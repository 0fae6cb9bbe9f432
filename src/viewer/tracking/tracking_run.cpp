#include "viewer/tracking/tracking_run.h"

namespace quorvel::viewer::tracking {

TrackingRunEnd runTracking(FringeTracker& tracker, int frameCount, FrameSupply& frames,
                           TrackingObserver& observer, const int& stopFlag) {
  if (frameCount < 1) return {TrackingOutcome::Failed, TrackingError::TooFewFrames};
  const experiment::model::StopWatch stop(stopFlag);
  for (int k = 0; k < frameCount; ++k) {
    const std::optional<FrameView> frame = frames.frame(k);
    if (frame) {
      if (auto error = tracker.addFrame(*frame)) return {TrackingOutcome::Failed, error};
    } else {
      tracker.addUnreadableFrame();
    }
    observer.measured(tracker.measurements().back());
    observer.yield();
    if (stop.raised() && k + 1 < frameCount) return {TrackingOutcome::Stopped, std::nullopt};
  }
  if (!tracker.started()) return {TrackingOutcome::Failed, TrackingError::TooFewFrames};
  return {TrackingOutcome::Finished, std::nullopt};
}

}  // namespace quorvel::viewer::tracking
