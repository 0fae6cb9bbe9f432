#pragma once

#include <string>

namespace quorvel::viewer::tracking {

// Why the fringes cannot be tracked.
enum class TrackingError {
  NoSegment,            // points 1 and 2 coincide (or are not numbers)
  BadStripWidth,        // not an odd whole number 1 … 201
  SegmentOutsideFrame,  // the segment, with the strip around it, leaves the frame
  SegmentTooShort,      // fewer than two fringe periods along the segment
  NoClearPeak,          // the profile's spectrum has no clear peak (no fringes seen)
  TooFewFrames,         // no frame read, or under two measured frames for a speed
};

// The message a window shows for the error, in Russian.
std::string trackingErrorText(TrackingError error);

}  // namespace quorvel::viewer::tracking
