// Fringe tracking of a 640 × 480 video frame: the profile along a segment of 560 pixels,
// averaged across a strip of 9 (the default) or 201 (the widest) pixels, and its phase; and
// the first frame, which also finds the period through FFTW.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "viewer/tracking/fringe_tracker.h"

namespace {

using namespace quorvel::viewer::tracking;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Grey fringes of 23,7 pixels at 10° to the x axis, moved by `shift` fringes.
std::vector<std::uint8_t> fringeFrame(double shift) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
  const double angle = 10 * std::numbers::pi / 180;
  for (int row = 0; row < kHeight; ++row) {
    for (int column = 0; column < kWidth; ++column) {
      const double phase = 2 * std::numbers::pi *
                           ((column * std::cos(angle) + row * std::sin(angle)) / 23.7 - shift);
      const auto level = static_cast<std::uint8_t>(std::lround(128 + 90 * std::cos(phase)));
      std::uint8_t* p = &rgb[(static_cast<std::size_t>(row) * kWidth + column) * 3];
      p[0] = p[1] = p[2] = level;
    }
  }
  return rgb;
}

FrameView view(const std::vector<std::uint8_t>& rgb) {
  return {kWidth, kHeight, rgb.data(), kWidth * 3};
}

TrackingSettings settings(int strip) {
  return {{40, 240}, {600, 240}, strip, 25};
}

void BM_TrackFrame(benchmark::State& state) {
  std::vector<std::vector<std::uint8_t>> frames;
  for (int k = 0; k < 16; ++k) frames.push_back(fringeFrame(0.013 * k));
  FringeTracker tracker(settings(static_cast<int>(state.range(0))));
  if (tracker.addFrame(view(frames[0]))) {
    state.SkipWithError("the first frame was refused");
    return;
  }
  std::size_t k = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tracker.addFrame(view(frames[k])));
    k = (k + 1) % frames.size();
  }
  benchmark::DoNotOptimize(tracker.measurements().back().shift);
}
BENCHMARK(BM_TrackFrame)->Arg(9)->Arg(201)->Unit(benchmark::kMicrosecond);

void BM_FirstFrameWithSpectrum(benchmark::State& state) {
  const std::vector<std::uint8_t> frame = fringeFrame(0);
  for (auto _ : state) {
    FringeTracker tracker(settings(9));
    benchmark::DoNotOptimize(tracker.addFrame(view(frame)));
  }
}
BENCHMARK(BM_FirstFrameWithSpectrum)->Unit(benchmark::kMicrosecond);

}  // namespace
