#pragma once

#include <optional>
#include <vector>

#include "viewer/tracking/frame_view.h"
#include "viewer/tracking/strip_profile.h"
#include "viewer/tracking/tracking_error.h"

namespace quorvel::viewer::tracking {

// What is tracked: the segment from point 1 to point 2 (pixels of the frame), the strip
// width across it (odd, 1 … 201 pixels) and the frame rate that turns frame numbers into
// times (frames per second; 0 when the video has none: times are then frame numbers).
struct TrackingSettings {
  PixelPoint point1;
  PixelPoint point2;
  int stripWidth = 9;
  double frameRate = 0;
};

// One frame as measured.
struct FrameMeasurement {
  int frame = 0;         // 0, 1, 2, … in the order the frames came
  double time = 0;       // s (frame / frame rate), or the frame number without a rate
  double phase = 0;      // rad, unwrapped; grows as the fringes move from point 1 to point 2
  double shift = 0;      // fringes, (phase − first phase) / 2π
  double contrast = 0;   // fringe amplitude over the mean brightness along the segment
  bool skipped = false;  // not measured: phase and shift are NaN (contrast too when unreadable)
};

// Follows the fringe pattern along a segment frame by frame. Frames are fed one at a time
// and the results can be read at any moment, so a run stopped half way keeps what it
// measured.
//
// The first frame fixes the fringe period (the peak of its profile's spectrum, see
// spectralPeak). In every frame the profile less its mean is multiplied by a symmetric Hann
// window and transformed at that one frequency about the segment's middle: the transform's
// argument, negated, is the phase, twice its magnitude over the window's sum the fringe
// amplitude. With the window symmetric about the middle, a pattern moved by d pixels changes
// the phase by exactly 2π·d/period whatever small error the period has. The phase is
// unwrapped from the last measured frame (a jump is taken to be under half a fringe). A
// frame whose contrast is below a fifth of the first frame's, that cannot be read or that
// has another size than the first is skipped: marked, and not unwrapped through.
class FringeTracker {
 public:
  explicit FringeTracker(const TrackingSettings& settings);

  // Measures the next frame. Errors come only from the first frame read (the segment, the
  // strip, the spectrum): nothing is recorded then and the tracking cannot go on. A frame
  // without pixels counts as unreadable.
  std::optional<TrackingError> addFrame(const FrameView& frame);
  // The next frame could not be read: it is recorded as skipped.
  void addUnreadableFrame();

  const TrackingSettings& settings() const { return settings_; }
  // True once the first frame has fixed the period.
  bool started() const { return period_ > 0; }
  const std::vector<FrameMeasurement>& measurements() const { return frames_; }
  // Fringe period along the segment in pixels (0 before the first frame).
  double periodPx() const { return period_; }
  double firstContrast() const { return firstContrast_; }
  int measuredCount() const;
  int skippedCount() const;

  // The slope of the least-squares line through the measured shifts against time: fringes
  // per second with a frame rate, per frame without. None (TooFewFrames) before two frames
  // at different times are measured.
  std::optional<double> speed() const;
  bool speedPerSecond() const { return frameRate_ > 0; }
  // Largest minus smallest measured shift, fringes (0 before any).
  double peakToPeak() const;

  // A frame's amplitude must reach this many grey levels for its fringes to be seen.
  static constexpr double kMinAmplitude = 0.1;
  // A frame whose contrast falls below this part of the first frame's is skipped.
  static constexpr double kSkipContrastRatio = 0.2;

 private:
  struct Transform {
    double amplitude = 0;
    double mean = 0;
    double phase = 0;  // wrapped to (−π, π]
  };
  Transform transform(const std::vector<double>& profile) const;
  void record(FrameMeasurement measurement);
  double nextTime() const;

  TrackingSettings settings_;
  StripProfile strip_;
  double frameRate_ = 0;
  int width_ = 0, height_ = 0;  // of the first frame
  double period_ = 0;
  double firstPhase_ = 0;
  double lastPhase_ = 0;  // unwrapped, of the last measured frame
  double firstContrast_ = 0;
  std::vector<double> windowCos_, windowSin_;  // Hann window × cos, sin of the tracked frequency
  double windowSum_ = 0;
  std::vector<double> profile_;
  std::vector<FrameMeasurement> frames_;
};

}  // namespace quorvel::viewer::tracking
