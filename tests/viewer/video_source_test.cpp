#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <vector>

#include "platform/picture.h"
#include "video_test_support.h"

namespace quorvel::viewer::video {
namespace {

using testing_support::shownNumber;
using testing_support::TempFolder;
using testing_support::writeVideo;

struct VideoCase {
  const char* name;
  DemoCodec codec;
  const char* file;
  int frames;
  int group;
};

void PrintTo(const VideoCase& c, std::ostream* out) {
  *out << c.name;
}

// Intra-only frames, long groups without reordering, and long groups with reordered frames
// in three containers (AVI keeps only the order of decoding, as cameras write it).
const VideoCase kCases[] = {
    {"mjpeg_avi", DemoCodec::Mjpeg, "v.avi", 120, 1},
    {"mpeg4_avi", DemoCodec::Mpeg4, "v.avi", 150, 60},
    {"h264_mp4", DemoCodec::H264, "v.mp4", 120, 50},
    {"h264_mkv", DemoCodec::H264, "v.mkv", 100, 100},
    {"h264_avi", DemoCodec::H264, "v.avi", 120, 50},
};

class VideoSourceTest : public testing::TestWithParam<VideoCase> {
 protected:
  void SetUp() override {
    if (!encoderAvailable(GetParam().codec)) GTEST_SKIP() << "no encoder for " << GetParam().name;
    path = folder.file(GetParam().file);
    writeVideo(path, GetParam().codec, GetParam().frames, GetParam().group);
    ASSERT_TRUE(source.open(path));
  }
  int show(int frame) {
    RgbFrame out;
    if (!source.readFrame(frame, 160, 120, out)) return -2;
    return shownNumber(out);
  }
  TempFolder folder{"source"};
  std::string path;
  FfmpegVideoSource source;
};

// Frame N is frame N: the exact count, frame 0 as frame 1, random jumps both ways, steps
// forwards that decode one frame without a seek, and steps backwards through whole groups
// that cost about one decoded frame each.
TEST_P(VideoSourceTest, EveryFrameNumberShowsThatFrame) {
  const int count = GetParam().frames;
  EXPECT_EQ(source.frameCount(), count);
  EXPECT_EQ(show(0), 1);
  EXPECT_EQ(show(1), 1);
  EXPECT_EQ(show(count), count);
  EXPECT_EQ(show(count + 1), -2);
  EXPECT_EQ(show(-1), -2);

  std::mt19937 random(14);
  std::uniform_int_distribution<int> anyFrame(1, count);
  for (int jump = 0; jump < 40; ++jump) {
    const int frame = anyFrame(random);
    ASSERT_EQ(show(frame), frame) << "jump " << jump;
  }

  // Forwards from a fresh position in the middle of a group.
  FfmpegVideoSource fresh;
  ASSERT_TRUE(fresh.open(path));
  RgbFrame out;
  ASSERT_TRUE(fresh.readFrame(count / 2, 160, 120, out));
  for (int frame = count / 2 + 1; frame <= count; ++frame) {
    const DecodeStats before = fresh.stats();
    ASSERT_TRUE(fresh.readFrame(frame, 160, 120, out));
    ASSERT_EQ(shownNumber(out), frame);
    EXPECT_EQ(fresh.stats().seeks, before.seeks) << frame;
    EXPECT_LE(fresh.stats().decodedFrames, before.decodedFrames + 1) << frame;
  }

  // Backwards over the whole video, on a source that has decoded only the last frame.
  FfmpegVideoSource backwards;
  ASSERT_TRUE(backwards.open(path));
  ASSERT_TRUE(backwards.readFrame(count, 160, 120, out));
  const DecodeStats start = backwards.stats();
  for (int frame = count - 1; frame >= 1; --frame) {
    ASSERT_TRUE(backwards.readFrame(frame, 160, 120, out));
    ASSERT_EQ(shownNumber(out), frame);
  }
  const long long decoded = backwards.stats().decodedFrames - start.decodedFrames;
  EXPECT_LE(decoded, 2 * count) << "backward steps decode about one frame each";
  EXPECT_LE(backwards.stats().cachedBytes, FfmpegVideoSource::kCacheBytes);
}

// A frame comes at the asked size and shows the frame; sizes out of range and frames beyond
// the ends give nothing.
TEST_P(VideoSourceTest, ReadsFramesAtTheAskedSize) {
  RgbFrame frame;
  ASSERT_TRUE(source.readFrame(7, 320, 200, frame));
  EXPECT_EQ(frame.width, 320);
  EXPECT_EQ(frame.height, 200);
  ASSERT_EQ(frame.rgb.size(), 320u * 200 * 3);
  EXPECT_EQ(shownNumber(frame), 7);

  const int count = GetParam().frames;
  const struct {
    int frame;
    int width, height;
  } refused[] = {{1, 0, 120},    {1, 160, 0},           {1, -5, 120},  {1, 8193, 120},
                 {1, 160, 8193}, {count + 1, 160, 120}, {-1, 160, 120}};
  for (const auto& bad : refused) {
    EXPECT_FALSE(source.readFrame(bad.frame, bad.width, bad.height, frame))
        << bad.frame << " " << bad.width << "x" << bad.height;
  }
}

INSTANTIATE_TEST_SUITE_P(Codecs, VideoSourceTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A minimal WAV file: a real media file without any video stream.
void writeWav(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  const auto put32 = [&out](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  const auto put16 = [&out](std::uint16_t v) {
    out.put(static_cast<char>(v & 0xFF));
    out.put(static_cast<char>(v >> 8));
  };
  const std::uint32_t samples = 8000;
  out << "RIFF";
  put32(36 + samples * 2);
  out << "WAVEfmt ";
  put32(16);
  put16(1);
  put16(1);
  put32(8000);
  put32(16000);
  put16(2);
  put16(16);
  out << "data";
  put32(samples * 2);
  for (std::uint32_t i = 0; i < samples; ++i) put16(static_cast<std::uint16_t>(i * 37));
}

// Files that are no video do not open, and a source that failed to open gives no frame.
TEST(VideoSourceFiles, WhatIsNoVideoDoesNotOpen) {
  TempFolder folder("files");
  std::ofstream(folder.file("text.avi")) << "not a video at all\n";
  writeWav(folder.file("sound.wav"));
  std::ofstream(folder.file("empty.avi")).close();
  for (const char* name : {"missing.avi", "text.avi", "sound.wav", "empty.avi"}) {
    FfmpegVideoSource source;
    EXPECT_FALSE(source.open(folder.file(name))) << name;
    EXPECT_EQ(source.frameCount(), 0) << name;
    RgbFrame frame;
    EXPECT_FALSE(source.readFrame(0, 160, 120, frame)) << name;
  }
  FfmpegVideoSource source;
  EXPECT_FALSE(source.open(""));
}

// Pictures up to 8192 a side and 8192 x 4320 pixels open; a header that declares more is
// refused before anything is decoded, as a file that is no video.
TEST(VideoSourceFiles, PicturesBeyondTheLargestFrameDoNotOpen) {
  TempFolder folder("largest");
  struct Screen {
    int width, height;
    bool opens;
  };
  for (const Screen& screen :
       {Screen{8192, 1, true}, Screen{1, 8192, true}, Screen{8192, 4320, true},
        Screen{8193, 1, false}, Screen{1, 8193, false}, Screen{8192, 4321, false},
        Screen{4321, 8192, false}, Screen{65535, 65535, false}}) {
    const std::string path = folder.file("screen.gif");
    testing_support::writeTinyGif(path, screen.width, screen.height);
    FfmpegVideoSource source;
    const std::string size = std::to_string(screen.width) + " x " + std::to_string(screen.height);
    ASSERT_EQ(source.open(path), screen.opens) << size;
    EXPECT_EQ(source.frameCount(), screen.opens ? 1 : 0) << size;
    RgbFrame out;
    ASSERT_EQ(source.readFrame(1, 16, 12, out), screen.opens) << size;
    if (screen.opens) {
      EXPECT_EQ(out.rgb.size(), 16u * 12 * 3) << size;
    }
  }
}

// A video cut off in the middle (its index at the end is lost): it counts the frames that
// are whole and shows each of them as it is.
TEST(VideoSourceFiles, TruncatedVideoCountsWhatIsThere) {
  TempFolder folder("truncated");
  for (const auto& [codec, name] :
       {std::pair{DemoCodec::Mjpeg, "cut.avi"}, std::pair{DemoCodec::Mpeg4, "cut4.avi"}}) {
    const std::string path = folder.file(name);
    writeVideo(path, codec, 100, 50);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
    FfmpegVideoSource source;
    ASSERT_TRUE(source.open(path)) << name;
    const int count = static_cast<int>(source.frameCount());
    EXPECT_GT(count, 10) << name;
    EXPECT_LT(count, 100) << name;
    RgbFrame out;
    for (int frame = count; frame >= 1; frame -= 7) {
      ASSERT_TRUE(source.readFrame(frame, 160, 120, out)) << name << " " << frame;
      EXPECT_EQ(shownNumber(out), frame) << name;
    }
  }
}

// The bar code reads back what was painted, for every 16-bit number.
TEST(DemoVideo, BarCodeRoundTrip) {
  for (int number : {0, 1, 2, 100, 255, 4096, 10000, 65535}) {
    const int w = 64;
    const int h = 48;
    auto brightness = [number, w, h](int x, int y) {
      return frameCodeBlock(number, y * kCodeRows / h, x * kCodeColumns / w);
    };
    EXPECT_EQ(readFrameNumber(brightness, w, h), number);
  }
  EXPECT_EQ(readFrameNumber([](int, int) { return 128; }, 64, 48), -1);
  DemoVideo bad;
  bad.path = "/nonexistent-folder/x.avi";
  std::string error;
  EXPECT_FALSE(writeDemoVideo(bad, &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace quorvel::viewer::video
