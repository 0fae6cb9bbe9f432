#include "viewer/tracking/fringe_period.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <mutex>
#include <numbers>

namespace quorvel::viewer::tracking {

namespace {

// FFTW's planner keeps tables of its own that are not safe to touch from two threads at
// once; only plan creation and destruction take this lock (running a plan is safe).
std::mutex& plannerLock() {
  static std::mutex lock;
  return lock;
}

// The real-input transform of `input` (N values): N/2 + 1 complex bins.
std::vector<std::complex<double>> realSpectrum(std::vector<double>& input) {
  const int n = static_cast<int>(input.size());
  std::vector<std::complex<double>> output(static_cast<std::size_t>(n / 2 + 1));
  fftw_plan plan;
  {
    std::lock_guard<std::mutex> guard(plannerLock());
    plan = fftw_plan_dft_r2c_1d(n, input.data(), reinterpret_cast<fftw_complex*>(output.data()),
                                FFTW_ESTIMATE);
  }
  fftw_execute(plan);
  {
    std::lock_guard<std::mutex> guard(plannerLock());
    fftw_destroy_plan(plan);
  }
  return output;
}

}  // namespace

SpectralPeak spectralPeak(const std::vector<double>& profile) {
  SpectralPeak peak;
  const std::size_t n = profile.size();
  // Two periods of at least two samples each, and a bin on either side of the peak.
  if (n < 6) {
    peak.error = TrackingError::SegmentTooShort;
    return peak;
  }
  // The least-squares line a + b·(j − c) through the profile, c its middle.
  const double c = (static_cast<double>(n) - 1) / 2;
  double sum = 0, sumJ = 0, sumJJ = 0;
  for (std::size_t j = 0; j < n; ++j) {
    const double t = static_cast<double>(j) - c;
    sum += profile[j];
    sumJ += t * profile[j];
    sumJJ += t * t;
  }
  const double a = sum / static_cast<double>(n);
  const double b = sumJ / sumJJ;
  std::vector<double> windowed(n);
  double largest = 0;
  for (std::size_t j = 0; j < n; ++j) {
    const double t = static_cast<double>(j) - c;
    const double hann = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(j) /
                                             static_cast<double>(n));
    const double rest = profile[j] - a - b * t;
    largest = std::max(largest, std::fabs(rest));
    windowed[j] = rest * hann;
  }
  // What is left of an even profile is rounding: its spectrum would peak anywhere.
  if (!(largest > 1e-9 * (1 + std::fabs(a)))) {
    peak.error = TrackingError::NoClearPeak;
    return peak;
  }
  const std::vector<std::complex<double>> bins = realSpectrum(windowed);

  // The strongest bin from 2 cycles on with a neighbour on each side: what is left of a
  // curved illumination lies below; a pattern of fewer than two periods still peaks at bin 2
  // and its refined frequency tells it.
  const std::size_t last = (n - 1) / 2;
  std::size_t best = 2;
  for (std::size_t k = 3; k <= last; ++k) {
    if (std::norm(bins[k]) > std::norm(bins[best])) best = k;
  }
  const double power = std::norm(bins[best]);
  double rest = 0;
  int restCount = 0;
  for (std::size_t k = 1; k < bins.size(); ++k) {
    if (k + 2 >= best && k <= best + 2) continue;
    rest += std::norm(bins[k]);
    ++restCount;
  }
  const double meanRest = restCount > 0 ? rest / restCount : 0;
  peak.prominence =
      meanRest > 0 ? power / meanRest : (power > 0 ? std::numeric_limits<double>::infinity() : 0);
  if (!(power > 0) || peak.prominence < kMinProminence) {
    peak.error = TrackingError::NoClearPeak;
    return peak;
  }

  // For a tone δ bins above bin k the Hann window gives |X(k+1)| / |X(k)| = (1 + δ)/(2 − δ).
  const double here = std::abs(bins[best]);
  const double below = std::abs(bins[best - 1]);
  const double above = std::abs(bins[best + 1]);
  double delta;
  if (above >= below) {
    const double ratio = above / here;
    delta = (2 * ratio - 1) / (ratio + 1);
  } else {
    const double ratio = below / here;
    delta = -(2 * ratio - 1) / (ratio + 1);
  }
  peak.frequency = (static_cast<double>(best) + delta) / static_cast<double>(n);
  if (peak.frequency * (static_cast<double>(n) - 1) < 2)
    peak.error = TrackingError::SegmentTooShort;
  return peak;
}

}  // namespace quorvel::viewer::tracking
