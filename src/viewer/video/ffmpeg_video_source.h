#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "viewer/video/video_source.h"

namespace quorvel::viewer::video {

// What the decoder has done since the video was opened (tests and benchmarks read it).
struct DecodeStats {
  long long seeks = 0;           // jumps to a key frame
  long long decodedFrames = 0;   // frames that came out of the decoder
  long long cacheHits = 0;       // frames served from the kept frames
  std::size_t cachedFrames = 0;  // frames kept now
  std::size_t cachedBytes = 0;   // their pixel memory
};

// The video source on FFmpeg (libavformat, libavcodec, libswscale).
//
// Numbering: at opening the source learns the time stamp of every frame, from the
// container's index when it lists exactly the frames its header counts and the codec does
// not reorder frames, otherwise by reading the packets once (without decoding them). Frame k
// is the frame with the k-th smallest presentation time stamp. Where the packets carry no
// presentation stamps (AVI, also with reordered frames as cameras write H.264), frame k is
// the k-th frame shown: decoding from a key frame, the frames are counted from its place.
//
// Asking for frame k: a frame kept from earlier decoding is used as it is; the frame right
// after the last decoded one is decoded from where the decoder stands; any other frame is
// reached by seeking to the key frame at or before it and decoding forwards.
//
// Kept frames: every decoded frame is kept, up to kCacheBytes of pixel memory; beyond that
// the frames farthest from the one asked for are dropped. So a step backwards within a
// group of frames is served from memory, and when the frames before it are gone one pass
// over its group brings them all back.
class FfmpegVideoSource : public VideoSource {
 public:
  static constexpr std::size_t kCacheBytes = std::size_t{128} << 20;

  FfmpegVideoSource();
  ~FfmpegVideoSource() override;
  FfmpegVideoSource(const FfmpegVideoSource&) = delete;
  FfmpegVideoSource& operator=(const FfmpegVideoSource&) = delete;

  void seek(int frame) override;
  double frameCount() const override;
  bool open(const std::string& path) override;

  bool readFrame(int frame, int width, int height, RgbFrame& out) override;
  double frameRate() const override;
  // Size of the video's pictures in pixels.
  int width() const;
  int height() const;
  const DecodeStats& stats() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quorvel::viewer::video
