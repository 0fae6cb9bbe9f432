#pragma once

#include <optional>
#include <vector>

#include "viewer/tracking/frame_view.h"
#include "viewer/tracking/tracking_error.h"

namespace quorvel::viewer::tracking {

// A point of a frame in pixels (x to the right, y down, pixel centres at whole numbers).
struct PixelPoint {
  double x = 0;
  double y = 0;
};

// The brightness profile along the segment from point 1 to point 2, averaged across a strip
// of `stripWidth` lines parallel to it, one pixel apart. Samples are about one pixel apart
// (floor(length) + 1 of them, the first at point 1, the last at point 2); each is the mean
// over the strip of the luma (0,299 R + 0,587 G + 0,114 B) read bilinearly between the four
// nearest pixel centres.
class StripProfile {
 public:
  static constexpr int kMaxStripWidth = 201;

  StripProfile(PixelPoint p1, PixelPoint p2, int stripWidth);

  // The first problem of the segment and the strip in a frame of this size; none when every
  // sample of the strip lies within the frame's pixel centres.
  std::optional<TrackingError> check(int frameWidth, int frameHeight) const;

  double length() const { return length_; }
  int samples() const { return samples_; }
  double spacing() const { return spacing_; }  // pixels between two samples
  int stripWidth() const { return stripWidth_; }

  // Fills `profile` with samples() values. The frame must have the size check() accepted.
  void sample(const FrameView& frame, std::vector<double>& profile) const;

 private:
  PixelPoint p1_;
  PixelPoint p2_;
  int stripWidth_;
  double length_ = 0;
  int samples_ = 0;
  double spacing_ = 0;
  double ux_ = 0, uy_ = 0;  // unit vector from point 1 to point 2
};

}  // namespace quorvel::viewer::tracking
