// quorvel-demo-video PATH [FRAMES] [mjpeg|mpeg4|h264] [WIDTHxHEIGHT] [GROUP] [fringes]
//
// Writes a video whose frame k shows the number k as a bar code of large blocks, to try the
// viewer window with; with "fringes", vertical grey fringes 23,7 pixels apart that move
// 0,013 fringe a frame to the right, to try the fringe tracking with. The container follows
// the extension of PATH (.avi, .mp4, .mkv).
#include <cmath>
#include <cstdio>
#include <numbers>
#include <stdexcept>
#include <string>

#include "viewer/video/demo_video.h"

using quorvel::viewer::video::DemoCodec;
using quorvel::viewer::video::DemoVideo;

int main(int argc, char** argv) {
  if (argc < 2 || argc > 7) {
    std::fprintf(stderr,
                 "usage: quorvel-demo-video PATH [FRAMES] [mjpeg|mpeg4|h264] [WIDTHxHEIGHT] "
                 "[GROUP] [fringes]\n");
    return 2;
  }
  DemoVideo video;
  video.path = argv[1];
  try {
    if (argc > 2) video.frames = std::stoi(argv[2]);
    if (argc > 3) {
      const std::string codec = argv[3];
      if (codec == "mjpeg") {
        video.codec = DemoCodec::Mjpeg;
      } else if (codec == "mpeg4") {
        video.codec = DemoCodec::Mpeg4;
      } else if (codec == "h264") {
        video.codec = DemoCodec::H264;
      } else {
        std::fprintf(stderr, "quorvel-demo-video: the codec is mjpeg, mpeg4 or h264\n");
        return 2;
      }
    }
    if (argc > 4) {
      const std::string size = argv[4];
      const auto x = size.find('x');
      if (x == std::string::npos) throw std::invalid_argument(size);
      video.width = std::stoi(size.substr(0, x));
      video.height = std::stoi(size.substr(x + 1));
    }
    if (argc > 5) video.groupOfFrames = std::stoi(argv[5]);
    if (argc > 6) {
      if (std::string(argv[6]) != "fringes") throw std::invalid_argument(argv[6]);
      video.grey = [](int k, int x, int) {
        return static_cast<int>(
            std::lround(128 + 90 * std::cos(2 * std::numbers::pi * (x / 23.7 - 0.013 * k))));
      };
    }
  } catch (const std::exception&) {
    std::fprintf(stderr,
                 "quorvel-demo-video: FRAMES, WIDTHxHEIGHT and GROUP are whole numbers, the last "
                 "word is fringes\n");
    return 2;
  }
  std::string error;
  if (!quorvel::viewer::video::writeDemoVideo(video, &error)) {
    std::fprintf(stderr, "quorvel-demo-video: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s: %d frames\n", video.path.c_str(), video.frames);
  return 0;
}
