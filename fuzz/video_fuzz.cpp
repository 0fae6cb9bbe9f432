// Video opening as the viewer does it: any file content opens or is refused, never a fault
// and never without end; a video that opens counts its frames, moves to a few of them and
// reads a small one as pixels, as the window's first step does.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_support.h"
#include "viewer/video/video_source.h"

namespace {

using quorvel::fuzz::require;

namespace fs = std::filesystem;

// The container is guessed from the content, and from the extension for a few formats.
constexpr const char* kExtensions[] = {".avi", ".mp4", ".mkv", ".mpg", ""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel::viewer::video;
  if (size == 0) return 0;
  const fs::path input =
      quorvel::fuzz::scratchFolder() / (std::string("video") + kExtensions[data[0] % 5]);
  {
    std::ofstream file(input, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data) + 1, static_cast<std::streamsize>(size - 1));
  }
  {
    const std::unique_ptr<VideoSource> source = makeVideoSource();
    if (source->open(input.string())) {
      source->seek(0);
      const double count = source->frameCount();
      require(count >= 1.0 && count == std::floor(count) && count <= static_cast<double>(size));
      const int last = static_cast<int>(count);
      // The first frame decoded at opening, so it is read, at the size asked for.
      RgbFrame frame;
      require(source->readFrame(1, 16, 12, frame));
      require(frame.width == 16 && frame.height == 12 && frame.rgb.size() == 16u * 12u * 3u);
      // A frame in the middle and the last one, after a seek as "Начать просмотр" does.
      for (const int number : {last / 2, last}) {
        source->seek(number);
        (void)source->readFrame(number, 16, 12, frame);
      }
      require(!source->readFrame(last + 1, 16, 12, frame));
    }
  }
  std::error_code ignored;
  fs::remove(input, ignored);
  return 0;
}
