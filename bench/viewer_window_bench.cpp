#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "app/forms.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"
#include "platform/picture.h"
#include "viewer/form6.h"
#include "viewer/video/demo_video.h"
#include "viewer/video/ffmpeg_video_source.h"

namespace {

namespace fs = std::filesystem;
using quorvel::viewer::Form6;
using quorvel::viewer::video::DemoCodec;
using quorvel::viewer::video::DemoVideo;
using quorvel::viewer::video::FfmpegVideoSource;
using quorvel::viewer::video::RgbFrame;

// A frame read at 640 × 480 and written as a BMP file through a picture, as the viewer does.
bool writeFrame(FfmpegVideoSource& source, int n, RgbFrame& frame,
                quorvel::platform::Picture& picture, const std::string& bmp) {
  return source.readFrame(n, 640, 480, frame) &&
         picture.setPixels(frame.width, frame.height, frame.rgb.data(), 3 * frame.width) &&
         picture.save(bmp);
}

constexpr int kGroup = 100;  // frames from one key frame to the next

// The videos, written once: 300 frames of 640 × 480 in MPEG-4 with key frames kGroup apart,
// and 10 000 frames of 160 × 120 in MJPEG.
struct Videos {
  fs::path folder =
      fs::temp_directory_path() / ("quorvel-viewer-bench-" + std::to_string(getpid()));
  std::string long640 = (folder / "long640.avi").string();
  std::string tenThousand = (folder / "ten_thousand.avi").string();
  Videos() {
    fs::create_directories(folder);
    DemoVideo video;
    video.path = long640;
    video.codec = DemoCodec::Mpeg4;
    video.frames = 300;
    video.width = 640;
    video.height = 480;
    video.groupOfFrames = kGroup;
    if (!quorvel::viewer::video::writeDemoVideo(video)) std::abort();
    video.path = tenThousand;
    video.codec = DemoCodec::Mjpeg;
    video.frames = 10000;
    video.width = 160;
    video.height = 120;
    video.groupOfFrames = 1;
    if (!quorvel::viewer::video::writeDemoVideo(video)) std::abort();
  }
  ~Videos() { fs::remove_all(folder); }
};

Videos& videos() {
  static Videos made;
  return made;
}

// The viewer window with the long video open, as a user has it after "Открыть видеофайл".
struct Window {
  quorvel::platform::HeadlessHost host;
  quorvel::platform::App app{host};
  explicit Window(const std::string& path) {
    host.setProgramFolder(videos().folder);
    quorvel::app::registerForms(app.windows());
    app.windows().show("Form6");
    host.queueFile(path);
    form().click(form().Command7);
    if (!host.messages().empty()) std::abort();
  }
  ~Window() {
    for (auto* f : app.windows().openForms()) app.windows().unload(f->name());
  }
  Form6& form() { return *static_cast<Form6*>(app.windows().find("Form6")); }
  // Puts the window at frame `frame` (outside the timing).
  void goTo(int frame) {
    form().typeText(form().Text4, std::to_string(frame));
    form().click(form().Command8);
    form().click(form().Command11);
  }
};

// One step forwards at 640 × 480: decode, scale, Frame.bmp, load into Picture2, guide lines.
void BM_ForwardStep640(benchmark::State& state) {
  Window window(videos().long640);
  Form6& f = window.form();
  for (auto _ : state) {
    if (f.frameNumber() >= f.frameTotal()) {
      state.PauseTiming();
      window.goTo(0);
      state.ResumeTiming();
    }
    f.click(f.Command9);
  }
}
BENCHMARK(BM_ForwardStep640)->Unit(benchmark::kMillisecond);

// One step forwards at the largest picture of 8K video, 8192 × 4320 (the 640 × 480 video
// scaled up): scale, a Frame.bmp of 106 MB, loaded into Picture2.
void BM_ForwardStep8K(benchmark::State& state) {
  Window window(videos().long640);
  Form6& f = window.form();
  f.typeText(f.Text11, "8192");
  f.typeText(f.Text12, "4320");
  f.click(f.Command10);
  for (auto _ : state) {
    if (f.frameNumber() >= f.frameTotal()) {
      state.PauseTiming();
      window.goTo(0);
      state.ResumeTiming();
    }
    f.click(f.Command9);
  }
  if (!window.host.messages().empty() || f.Picture2.picture().width() != 8192) std::abort();
}
BENCHMARK(BM_ForwardStep8K)->Unit(benchmark::kMillisecond);

// One step backwards at 640 × 480 on the same video, from its end to its start.
void BM_BackwardStep640(benchmark::State& state) {
  Window window(videos().long640);
  Form6& f = window.form();
  f.click(f.Option2);
  const auto source = [&f] { return static_cast<FfmpegVideoSource*>(f.videoSource()); };
  const long long decodedBefore = source()->stats().decodedFrames;
  long long steps = 0;
  for (auto _ : state) {
    if (f.frameNumber() <= 1) {
      state.PauseTiming();
      window.goTo(f.frameTotal());
      state.ResumeTiming();
    }
    f.click(f.Command9);
    ++steps;
  }
  state.counters["decoded_per_step"] =
      static_cast<double>(source()->stats().decodedFrames - decodedBefore) /
      static_cast<double>(steps);
}
BENCHMARK(BM_BackwardStep640)->Unit(benchmark::kMillisecond);

// The parts of a forward step: decode and scale alone, then with the BMP file written.
void BM_SourceForwardStep640(benchmark::State& state) {
  const bool writeBmp = state.range(0) != 0;
  FfmpegVideoSource source;
  if (!source.open(videos().long640)) std::abort();
  const int count = static_cast<int>(source.frameCount());
  const std::string bmp = (videos().folder / "forward.bmp").string();
  RgbFrame frame;
  quorvel::platform::Picture picture(640, 480);
  int n = 1;
  for (auto _ : state) {
    n = n % count + 1;
    const bool ok = writeBmp ? writeFrame(source, n, frame, picture, bmp)
                             : source.readFrame(n, 640, 480, frame);
    if (!ok) std::abort();
  }
}
BENCHMARK(BM_SourceForwardStep640)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A jump to any frame of the 640 × 480 video, written as a BMP file.
void BM_RandomJump640(benchmark::State& state) {
  FfmpegVideoSource source;
  if (!source.open(videos().long640)) std::abort();
  std::mt19937 random(6);
  std::uniform_int_distribution<int> anyFrame(1, static_cast<int>(source.frameCount()));
  const std::string bmp = (videos().folder / "jump.bmp").string();
  RgbFrame frame;
  quorvel::platform::Picture picture(640, 480);
  for (auto _ : state) {
    if (!writeFrame(source, anyFrame(random), frame, picture, bmp)) std::abort();
  }
}
BENCHMARK(BM_RandomJump640)->Unit(benchmark::kMillisecond);

// Decoding one whole group of frames from its key frame, scaled to 640 × 480: what a jump
// must stay within.
void BM_DecodeOneGroup640(benchmark::State& state) {
  quorvel::viewer::video::RgbFrame frame;
  for (auto _ : state) {
    state.PauseTiming();
    FfmpegVideoSource source;
    if (!source.open(videos().long640)) std::abort();
    state.ResumeTiming();
    for (int n = kGroup + 1; n <= 2 * kGroup; ++n) {
      if (!source.readFrame(n, 640, 480, frame)) std::abort();
    }
  }
}
BENCHMARK(BM_DecodeOneGroup640)->Unit(benchmark::kMillisecond);

// Opening a video of 10 000 frames whose container counts them (AVI with its index).
void BM_Open10000Frames(benchmark::State& state) {
  for (auto _ : state) {
    FfmpegVideoSource source;
    if (!source.open(videos().tenThousand) || source.frameCount() != 10000) std::abort();
  }
}
BENCHMARK(BM_Open10000Frames)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication qt(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  videos();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
