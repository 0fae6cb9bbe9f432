#pragma once

#include <filesystem>
#include <string>

#include "platform/picture.h"
#include "viewer/video/demo_video.h"
#include "viewer/video/ffmpeg_video_source.h"

namespace quorvel::viewer::testing_support {

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
 public:
  explicit TempFolder(const std::string& tag);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// The frame number shown by a picture (the bar code of the demo videos), −1 if unreadable.
int shownNumber(const platform::Picture& picture);
int shownNumber(const video::RgbFrame& frame);

// Writes a demo video or fails the test.
void writeVideo(const std::string& path, video::DemoCodec codec, int frames, int group,
                int width = 160, int height = 120);

// Writes a GIF of a few dozen bytes whose screen is width × height pixels (a side up to
// 65535), holding one red 1 × 1 picture at its top left: a damaged header's huge size.
void writeTinyGif(const std::string& path, int width, int height);

}  // namespace quorvel::viewer::testing_support
