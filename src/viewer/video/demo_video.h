#pragma once

#include <functional>
#include <string>

namespace quorvel::viewer::video {

// Videos whose every frame shows its own number, for the demonstration of the viewer and
// for its tests: the number is a bar code of 16 large black and white blocks (4 rows of 4,
// the most significant bit at the top left, white = 1) that survives lossy coding and
// scaling.
enum class DemoCodec {
  Mjpeg,  // every frame a key frame (AVI)
  Mpeg4,  // MPEG-4 Part 2, key frames groupOfFrames apart, no reordering (AVI)
  H264,   // H.264 with reordered frames, key frames groupOfFrames apart (MP4, MKV or AVI)
};

struct DemoVideo {
  std::string path;  // the container follows the extension (.avi, .mp4, .mkv)
  DemoCodec codec = DemoCodec::Mjpeg;
  int frames = 100;
  int width = 160;
  int height = 120;
  int groupOfFrames = 100;  // frames from one key frame to the next
  int framesPerSecond = 25;
  // When given, frame k shows this grey level (0 … 255) at pixel (x, y) instead of its
  // number: fringe videos for the tracking's tests and benchmarks.
  std::function<int(int k, int x, int y)> grey;
};

// True when this FFmpeg has an encoder for the codec.
bool encoderAvailable(DemoCodec codec);

// Writes the video: frame k (1 … frames) shows the number k. False, with `error` set,
// when it cannot.
bool writeDemoVideo(const DemoVideo& video, std::string* error = nullptr);

// The brightness (0 … 255) of the bar-code block (row, column) of frame `number`.
int frameCodeBlock(int number, int row, int column);
constexpr int kCodeRows = 4;
constexpr int kCodeColumns = 4;

// Reads the number back from a picture of width × height pixels given by its brightness
// (0 … 255) at a pixel (column, row); −1 when a block is neither clearly black nor white.
int readFrameNumber(const std::function<int(int column, int row)>& brightness, int width,
                    int height);

}  // namespace quorvel::viewer::video
