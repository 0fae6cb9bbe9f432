#include "video_test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <fstream>

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

void writeTinyGif(const std::string& path, int width, int height) {
  std::string gif = "GIF89a";
  auto put16 = [&gif](int value) {
    gif.push_back(static_cast<char>(value & 0xFF));
    gif.push_back(static_cast<char>((value >> 8) & 0xFF));
  };
  put16(width), put16(height);
  gif += std::string("\x80\x00\x00\xff\x00\x00\x00\x00\x00", 9);  // two colours, red first
  gif += std::string("\x21\xf9\x04\x00\x0a\x00\x00\x00", 8);      // shown for 0,1 s
  gif += ",";                                                             // a 1 x 1 picture at 0, 0
  put16(0), put16(0), put16(1), put16(1);
  gif += std::string("\x00\x02\x02\x44\x01\x00;", 7);
  std::ofstream(path, std::ios::binary) << gif;
}

}  // namespace quorvel::viewer::testing_support
