#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quorvel::viewer::video {

// A frame scaled for showing: rows of R, G, B bytes from the top, 3·width bytes each.
struct RgbFrame {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

// The frames of one video file, as the viewer window asks for them.
//
// Frames are numbered 1 … frameCount() in the order they are shown; frame 0 is the first
// frame as well, so the window's numbers 0 … Nmax all show a picture. The source knows
// nothing of windows: it gives the frame asked for as RGB pixels of the asked size.
class VideoSource {
 public:
  virtual ~VideoSource() = default;

  // Puts the source at the given frame (0 is the start), so that asking for that frame and
  // the ones after it decodes forwards without looking for a key frame again.
  virtual void seek(int frame) = 0;
  // The exact number of frames of the open video; 0 when none is open.
  virtual double frameCount() const = 0;
  // Opens a video file; false when it cannot be read, has no video stream that decodes or
  // its pictures are larger than kMaxSide a side or 8192 × 4320 pixels.
  virtual bool open(const std::string& path) = 0;
  // Frame `frame` (0 … frameCount()) scaled to width × height as pixels; false when it does
  // not decode or the size is outside 1 … kMaxSide.
  virtual bool readFrame(int frame, int width, int height, RgbFrame& out) = 0;
  // Frames per second as the container states it; 0 when it states none that is usable.
  virtual double frameRate() const = 0;

  // The largest frame side written, in pixels.
  static constexpr int kMaxSide = 8192;
};

// The source that reads videos with FFmpeg.
std::unique_ptr<VideoSource> makeVideoSource();

}  // namespace quorvel::viewer::video
