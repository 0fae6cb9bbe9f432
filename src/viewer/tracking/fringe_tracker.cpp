#include "viewer/tracking/fringe_tracker.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "viewer/tracking/fringe_period.h"

namespace quorvel::viewer::tracking {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kTwoPi = 2 * std::numbers::pi;

}  // namespace

FringeTracker::FringeTracker(const TrackingSettings& settings)
    : settings_(settings),
      strip_(settings.point1, settings.point2, settings.stripWidth),
      frameRate_(std::isfinite(settings.frameRate) && settings.frameRate > 0 ? settings.frameRate
                                                                             : 0) {}

double FringeTracker::nextTime() const {
  const double frame = static_cast<double>(frames_.size());
  return frameRate_ > 0 ? frame / frameRate_ : frame;
}

void FringeTracker::record(FrameMeasurement measurement) {
  measurement.frame = static_cast<int>(frames_.size());
  measurement.time = nextTime();
  frames_.push_back(measurement);
}

FringeTracker::Transform FringeTracker::transform(const std::vector<double>& profile) const {
  Transform result;
  double sum = 0;
  for (double value : profile) sum += value;
  result.mean = sum / static_cast<double>(profile.size());
  double re = 0, im = 0;
  for (std::size_t j = 0; j < profile.size(); ++j) {
    const double value = profile[j] - result.mean;
    re += value * windowCos_[j];
    im -= value * windowSin_[j];
  }
  result.amplitude = 2 * std::hypot(re, im) / windowSum_;
  result.phase = -std::atan2(im, re);
  return result;
}

std::optional<TrackingError> FringeTracker::addFrame(const FrameView& frame) {
  if (!frame.readable()) {
    addUnreadableFrame();
    return std::nullopt;
  }
  if (!started()) {
    if (auto error = strip_.check(frame.width, frame.height)) return error;
    strip_.sample(frame, profile_);
    const SpectralPeak peak = spectralPeak(profile_);
    if (peak.error) return peak.error;
    const std::size_t n = profile_.size();
    const double middle = (static_cast<double>(n) - 1) / 2;
    windowCos_.resize(n);
    windowSin_.resize(n);
    windowSum_ = 0;
    for (std::size_t j = 0; j < n; ++j) {
      const double hann =
          0.5 - 0.5 * std::cos(kTwoPi * static_cast<double>(j) / (static_cast<double>(n) - 1));
      const double angle = kTwoPi * peak.frequency * (static_cast<double>(j) - middle);
      windowCos_[j] = hann * std::cos(angle);
      windowSin_[j] = hann * std::sin(angle);
      windowSum_ += hann;
    }
    const Transform first = transform(profile_);
    if (!(first.amplitude >= kMinAmplitude) || !(first.mean > 0)) return TrackingError::NoClearPeak;
    width_ = frame.width;
    height_ = frame.height;
    period_ = strip_.spacing() / peak.frequency;
    firstPhase_ = lastPhase_ = first.phase;
    firstContrast_ = first.amplitude / first.mean;
    FrameMeasurement measured;
    measured.phase = first.phase;
    measured.shift = 0;
    measured.contrast = firstContrast_;
    record(measured);
    return std::nullopt;
  }
  if (frame.width != width_ || frame.height != height_) {
    addUnreadableFrame();
    return std::nullopt;
  }
  strip_.sample(frame, profile_);
  const Transform now = transform(profile_);
  FrameMeasurement measured;
  measured.contrast = now.mean > 0 ? now.amplitude / now.mean : 0;
  if (!(measured.contrast >= kSkipContrastRatio * firstContrast_)) {
    measured.skipped = true;
    measured.phase = measured.shift = kNaN;
  } else {
    // The jump from the last measured frame, taken within half a fringe.
    lastPhase_ += std::remainder(now.phase - lastPhase_, kTwoPi);
    measured.phase = lastPhase_;
    measured.shift = (lastPhase_ - firstPhase_) / kTwoPi;
  }
  record(measured);
  return std::nullopt;
}

void FringeTracker::addUnreadableFrame() {
  FrameMeasurement measured;
  measured.skipped = true;
  measured.phase = measured.shift = measured.contrast = kNaN;
  record(measured);
}

int FringeTracker::measuredCount() const {
  return static_cast<int>(std::count_if(frames_.begin(), frames_.end(),
                                        [](const FrameMeasurement& m) { return !m.skipped; }));
}

int FringeTracker::skippedCount() const {
  return static_cast<int>(frames_.size()) - measuredCount();
}

std::optional<double> FringeTracker::speed() const {
  // Sums about the mean time, so that late frames of a long video lose no digits.
  double n = 0, meanTime = 0, meanShift = 0;
  for (const FrameMeasurement& m : frames_) {
    if (m.skipped) continue;
    ++n;
    meanTime += (m.time - meanTime) / n;
    meanShift += (m.shift - meanShift) / n;
  }
  double stt = 0, sts = 0;
  for (const FrameMeasurement& m : frames_) {
    if (m.skipped) continue;
    stt += (m.time - meanTime) * (m.time - meanTime);
    sts += (m.time - meanTime) * (m.shift - meanShift);
  }
  if (n < 2 || !(stt > 0)) return std::nullopt;
  return sts / stt;
}

double FringeTracker::peakToPeak() const {
  double low = 0, high = 0;
  bool any = false;
  for (const FrameMeasurement& m : frames_) {
    if (m.skipped) continue;
    low = any ? std::min(low, m.shift) : m.shift;
    high = any ? std::max(high, m.shift) : m.shift;
    any = true;
  }
  return high - low;
}

}  // namespace quorvel::viewer::tracking
