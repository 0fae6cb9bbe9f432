#include "viewer/tracking/fringe_tracker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "fringe_frames.h"
#include "viewer/tracking/tracking_run.h"

namespace quorvel::viewer::tracking {
namespace {

// The frames of a generated video, made on demand.
class GeneratedFrames : public FrameSupply {
 public:
  GeneratedFrames(FringeFrame frame, std::function<double(int)> shift)
      : frame_(frame), shift_(std::move(shift)) {}
  std::optional<FrameView> frame(int k) override {
    if (unreadable_ == k) return std::nullopt;
    FringeFrame made = frame_;
    if (dim_ == k) made.visibility = 0.1;
    pixels_ = made.make(shift_(k), random_);
    return made.view(pixels_);
  }
  int unreadable_ = -1;  // this frame cannot be read
  int dim_ = -1;         // this frame's fringes have a tenth of their contrast

 private:
  FringeFrame frame_;
  std::function<double(int)> shift_;
  std::mt19937 random_{20261208};
  std::vector<std::uint8_t> pixels_;
};

// Stops the run, as the stop button would, when frame `at` has been measured.
class StoppingObserver : public TrackingObserver {
 public:
  StoppingObserver(int& flag, int at) : flag_(flag), at_(at) {}
  void measured(const FrameMeasurement& m) override {
    seen.push_back(m.frame);
    if (m.frame == at_) flag_ = 1;
  }
  std::vector<int> seen;

 private:
  int& flag_;
  int at_;
};

TrackingSettings alongX(int stripWidth = 9, double frameRate = 25) {
  return {{30, 80}, {370, 80}, stripWidth, frameRate};
}

// Generated fringes with a known shift per frame, measured along a segment of 340 pixels
// (about 14 periods) across the middle of a 400 × 160 frame.
TEST(FringeTracker, MeasuredShiftFollowsTheGeneratedOne) {
  struct Case {
    const char* name;
    FringeFrame frame;
    int frames;
    std::function<double(int)> shift;  // fringes, moving from point 1 toward point 2
    double rmsBound;
  };
  const auto drift = [](int k) { return 0.013 * k; };
  const auto sinusoid = [](int k) { return 0.05 * std::sin(2 * std::numbers::pi * k / 16); };
  const Case cases[] = {
      {"linear drift 0,013 fringe per frame", {}, 40, drift, 0.005},
      {"sinusoid of 0,05 fringe over 16 frames", {}, 16, sinusoid, 0.005},
      {"green fringes at 20° to the segment", {.angleDeg = 20, .green = true}, 40, drift, 0.005},
      {"noise of 5 grey levels", {.noise = 5}, 40, drift, 0.005},
      {"backwards, with noise, at −20°",
       {.angleDeg = -20, .noise = 5},
       30,
       [](int k) { return -0.021 * k; },
       0.005},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GeneratedFrames frames(c.frame, c.shift);
    FringeTracker tracker(alongX());
    TrackingObserver observer;
    const int stop = 0;
    const TrackingRunEnd end = runTracking(tracker, c.frames, frames, observer, stop);
    ASSERT_EQ(end.outcome, TrackingOutcome::Finished);
    const auto& measured = tracker.measurements();
    ASSERT_EQ(static_cast<int>(measured.size()), c.frames);
    double sumSquares = 0, low = 0, high = 0;
    for (const FrameMeasurement& m : measured) {
      ASSERT_FALSE(m.skipped) << "frame " << m.frame;
      const double truth = c.shift(m.frame) - c.shift(0);
      sumSquares += (m.shift - truth) * (m.shift - truth);
      low = std::min(low, truth);
      high = std::max(high, truth);
      EXPECT_DOUBLE_EQ(m.time, m.frame / 25.0);
    }
    const double rms = std::sqrt(sumSquares / c.frames);
    EXPECT_LT(rms, c.rmsBound);
    RecordProperty(std::string("rms ") + c.name, std::to_string(rms));
    std::printf("[ accuracy ] %s: RMS %.5f fringe\n", c.name, rms);
    // The period along the segment: the fringes' own, stretched by the angle.
    const double along = 23.7 / std::cos(c.frame.angleDeg * std::numbers::pi / 180);
    EXPECT_NEAR(tracker.periodPx(), along, 0.003 * along);
    EXPECT_NEAR(tracker.peakToPeak(), high - low, 0.01);
    EXPECT_NEAR(tracker.firstContrast(), 90.0 / 128, 0.03);
  }
}

TEST(FringeTracker, SpeedIsTheLeastSquaresSlope) {
  GeneratedFrames frames({}, [](int k) { return 0.013 * k; });
  const int stop = 0;
  TrackingObserver observer;
  FringeTracker perSecond(alongX(9, 25));
  ASSERT_EQ(runTracking(perSecond, 20, frames, observer, stop).outcome, TrackingOutcome::Finished);
  ASSERT_TRUE(perSecond.speed());
  EXPECT_TRUE(perSecond.speedPerSecond());
  EXPECT_NEAR(*perSecond.speed(), 0.013 * 25, 0.005);

  FringeTracker perFrame(alongX(9, 0));
  ASSERT_EQ(runTracking(perFrame, 20, frames, observer, stop).outcome, TrackingOutcome::Finished);
  EXPECT_FALSE(perFrame.speedPerSecond());
  EXPECT_DOUBLE_EQ(perFrame.measurements().back().time, 19);
  ASSERT_TRUE(perFrame.speed());
  EXPECT_NEAR(*perFrame.speed(), 0.013, 0.0002);

  // One picture: period and phase, but no speed.
  FringeTracker photo(alongX());
  ASSERT_EQ(runTracking(photo, 1, frames, observer, stop).outcome, TrackingOutcome::Finished);
  EXPECT_GT(photo.periodPx(), 0);
  EXPECT_FALSE(photo.speed());
  EXPECT_EQ(photo.peakToPeak(), 0);
}

// 0,2 fringe per frame adds up to more than two fringes; a dim frame and an unreadable one
// are skipped (no phase, no shift) and the frames after them unwrap from the last measured.
TEST(FringeTracker, UnwrapsAcrossFringesAndSkipsLowContrastAndUnreadableFrames) {
  GeneratedFrames frames({.noise = 2}, [](int k) { return 0.2 * k; });
  frames.dim_ = 5;
  frames.unreadable_ = 8;
  FringeTracker tracker(alongX());
  TrackingObserver observer;
  const int stop = 0;
  ASSERT_EQ(runTracking(tracker, 12, frames, observer, stop).outcome, TrackingOutcome::Finished);
  const auto& m = tracker.measurements();
  ASSERT_EQ(m.size(), 12u);
  for (const FrameMeasurement& f : m) {
    SCOPED_TRACE(f.frame);
    if (f.frame == 5 || f.frame == 8) {
      EXPECT_TRUE(f.skipped);
      EXPECT_TRUE(std::isnan(f.shift));
      EXPECT_TRUE(std::isnan(f.phase));
      EXPECT_EQ(std::isnan(f.contrast), f.frame == 8);
      if (f.frame == 5) {
        EXPECT_LT(f.contrast, 0.2 * tracker.firstContrast());
      }
    } else {
      EXPECT_FALSE(f.skipped);
      EXPECT_NEAR(f.shift, 0.2 * f.frame, 0.01);
      EXPECT_NEAR(f.phase - m[0].phase, 2 * std::numbers::pi * f.shift, 1e-9);
    }
  }
  EXPECT_EQ(tracker.skippedCount(), 2);
  EXPECT_EQ(tracker.measuredCount(), 10);
}

TEST(FringeTracker, StopKeepsTheFramesMeasured) {
  GeneratedFrames frames({}, [](int k) { return 0.013 * k; });
  FringeTracker tracker(alongX());
  int stop = 0;
  StoppingObserver observer(stop, 6);
  const TrackingRunEnd end = runTracking(tracker, 40, frames, observer, stop);
  EXPECT_EQ(end.outcome, TrackingOutcome::Stopped);
  ASSERT_EQ(tracker.measurements().size(), 7u);
  EXPECT_EQ(observer.seen, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_NEAR(tracker.measurements().back().shift, 0.078, 0.005);
}

// Every way the tracking can be refused, with nothing measured.
TEST(FringeTracker, RefusesWhatCannotBeTracked) {
  struct Case {
    const char* name;
    TrackingSettings settings;
    FringeFrame frame;
    int frames;
    TrackingError error;
  };
  const FringeFrame uniform{.visibility = 0};
  const Case cases[] = {
      {"no segment", {{50, 50}, {50, 50}, 9, 25}, {}, 5, TrackingError::NoSegment},
      {"unset points", {{NAN, 0}, {0, 0}, 9, 25}, {}, 5, TrackingError::NoSegment},
      {"even strip", alongX(8), {}, 5, TrackingError::BadStripWidth},
      {"strip of 0", alongX(0), {}, 5, TrackingError::BadStripWidth},
      {"strip of 203", alongX(203), {}, 5, TrackingError::BadStripWidth},
      {"strip beyond the frame's top", alongX(201), {}, 5, TrackingError::SegmentOutsideFrame},
      {"point 2 beyond the right edge",
       {{30, 80}, {400, 80}, 9, 25},
       {},
       5,
       TrackingError::SegmentOutsideFrame},
      {"point 2 a million pixels away",
       {{30, 80}, {1e6, 80}, 9, 25},
       {},
       5,
       TrackingError::SegmentOutsideFrame},
      {"one and a half periods",
       {{30, 80}, {65.5, 80}, 9, 25},
       {},
       5,
       TrackingError::SegmentTooShort},
      {"uniform grey", alongX(), uniform, 5, TrackingError::NoClearPeak},
      {"noise without fringes",
       alongX(),
       {.noise = 5, .visibility = 0},
       5,
       TrackingError::NoClearPeak},
      {"no frames", alongX(), {}, 0, TrackingError::TooFewFrames},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GeneratedFrames frames(c.frame, [](int k) { return 0.01 * k; });
    FringeTracker tracker(c.settings);
    TrackingObserver observer;
    const int stop = 0;
    const TrackingRunEnd end = runTracking(tracker, c.frames, frames, observer, stop);
    EXPECT_EQ(end.outcome, TrackingOutcome::Failed);
    EXPECT_EQ(end.error, c.error);
    EXPECT_TRUE(tracker.measurements().empty());
    EXPECT_FALSE(tracker.started());
    EXPECT_FALSE(trackingErrorText(c.error).empty());
  }
  // Every frame unreadable: nothing to measure.
  GeneratedFrames frames({}, [](int) { return 0.0; });
  frames.unreadable_ = 0;
  FringeTracker tracker(alongX());
  TrackingObserver observer;
  const int stop = 0;
  EXPECT_EQ(runTracking(tracker, 1, frames, observer, stop).error, TrackingError::TooFewFrames);
}

}  // namespace
}  // namespace quorvel::viewer::tracking
