#pragma once

#include <optional>
#include <vector>

#include "viewer/tracking/tracking_error.h"

namespace quorvel::viewer::tracking {

// The strongest spatial frequency of a profile.
struct SpectralPeak {
  std::optional<TrackingError> error;  // NoClearPeak, SegmentTooShort; none when found
  double frequency = 0;                // cycles per sample
  double prominence = 0;               // the peak's power over the mean power of the rest
};

// The peak of the profile's spectrum: the profile less its least-squares line (so that a
// slope of the illumination does not pass for a long fringe), windowed by a periodic Hann
// window, transformed by FFTW; the strongest bin from two cycles on is refined between its
// neighbours by the ratio of their magnitudes, which for a Hann window puts a pure tone at
// its exact frequency. No clear peak when the profile is a straight line (an even grey) or the
// peak's power is under kMinProminence times the mean power of the bins beyond its own lobe; too
// short when the profile holds fewer than two periods of it.
SpectralPeak spectralPeak(const std::vector<double>& profile);

inline constexpr double kMinProminence = 20;

}  // namespace quorvel::viewer::tracking
