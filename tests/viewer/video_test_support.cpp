#include "video_test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>

namespace quorvel::viewer::testing_support {

TempFolder::TempFolder(const std::string& tag) {
  static std::atomic<int> serial{0};
  path_ =
      std::filesystem::temp_directory_path() /
      ("quorvel-viewer-" + tag + "-" + std::to_string(getpid()) + "-" + std::to_string(serial++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

int shownNumber(const platform::Picture& picture) {
  return video::readFrameNumber(
      [&picture](int x, int y) {
        const platform::Rgb p = picture.pixel(x, y);
        return (p.r + p.g + p.b) / 3;
      },
      picture.width(), picture.height());
}

int shownNumber(const video::RgbFrame& frame) {
  return video::readFrameNumber(
      [&frame](int x, int y) {
        const std::size_t at = (static_cast<std::size_t>(y) * frame.width + x) * 3;
        return (frame.rgb[at] + frame.rgb[at + 1] + frame.rgb[at + 2]) / 3;
      },
      frame.width, frame.height);
}

void writeVideo(const std::string& path, video::DemoCodec codec, int frames, int group, int width,
                int height) {
  video::DemoVideo demo;
  demo.path = path;
  demo.codec = codec;
  demo.frames = frames;
  demo.groupOfFrames = group;
  demo.width = width;
  demo.height = height;
  std::string error;
  ASSERT_TRUE(video::writeDemoVideo(demo, &error)) << path << ": " << error;
}

}  // namespace quorvel::viewer::testing_support
