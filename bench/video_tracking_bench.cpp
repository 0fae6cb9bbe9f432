// Fringe tracking of a 640 × 480 MJPEG video as the viewer does it: every frame decoded and
// scaled to RGB, with and without the tracking along a segment of 560 pixels (strip 9).
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>

#include "viewer/tracking/fringe_tracker.h"
#include "viewer/video/demo_video.h"
#include "viewer/video/ffmpeg_video_source.h"

namespace {

using namespace quorvel::viewer;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFrames = 100;

// A fringe video drifting 0,013 fringe a frame, written once.
const std::string& fringeVideo() {
  static const std::string path = [] {
    const auto file = std::filesystem::temp_directory_path() / "quorvel_tracking_bench.avi";
    video::DemoVideo demo;
    demo.path = file.string();
    demo.codec = video::DemoCodec::Mjpeg;
    demo.frames = kFrames;
    demo.width = kWidth;
    demo.height = kHeight;
    demo.grey = [](int k, int x, int y) {
      const double angle = 10 * std::numbers::pi / 180;
      return static_cast<int>(std::lround(
          128 + 90 * std::cos(2 * std::numbers::pi *
                              ((x * std::cos(angle) + y * std::sin(angle)) / 23.7 - 0.013 * k))));
    };
    video::writeDemoVideo(demo);
    return demo.path;
  }();
  return path;
}

tracking::FrameView view(const video::RgbFrame& frame) {
  return {frame.width, frame.height, frame.rgb.data(), frame.width * 3};
}

// One pass over the whole video from its opening (so every frame is decoded, none comes from
// the source's kept frames); state.range(0): 0 decodes only, 1 also tracks. Time per frame is
// the time of an iteration over kFrames.
void BM_VideoPass(benchmark::State& state) {
  const bool track = state.range(0) != 0;
  const std::string& path = fringeVideo();
  video::RgbFrame frame;
  for (auto _ : state) {
    video::FfmpegVideoSource source;
    if (!source.open(path)) {
      state.SkipWithError("the video does not open");
      return;
    }
    tracking::FringeTracker tracker({{40, 240}, {600, 240}, 9, 25});
    for (int k = 1; k <= kFrames; ++k) {
      if (!source.readFrame(k, kWidth, kHeight, frame)) {
        state.SkipWithError("a frame does not decode");
        return;
      }
      if (track) benchmark::DoNotOptimize(tracker.addFrame(view(frame)));
    }
  }
  state.SetItemsProcessed(state.iterations() * kFrames);
  state.SetLabel(track ? "100 frames, decode + track" : "100 frames, decode");
}
BENCHMARK(BM_VideoPass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
