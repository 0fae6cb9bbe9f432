// Video opening as the viewer does it: any file content opens or is refused, never a fault
// and never without end; a video that opens counts its frames, moves to a few of them and
// writes a small one as a BMP, as the window's first step does.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_support.h"
#include "platform/picture.h"
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
  const fs::path frameFile = quorvel::fuzz::scratchFolder() / "Frame.bmp";
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
      // The first frame decoded at opening, so it is written.
      require(source->writeFrame(1.0, 16, 12, frameFile.string()));
      quorvel::platform::Picture shown(16, 12);
      require(shown.load(frameFile.string()));
      require(shown.loadedWidth() == 16 && shown.loadedHeight() == 12);
      // A frame in the middle and the last one, after a seek as "Начать просмотр" does.
      for (const int frame : {last / 2, last}) {
        source->seek(frame);
        (void)source->writeFrame(frame, 16, 12, frameFile.string());
      }
      require(!source->writeFrame(last + 1, 16, 12, frameFile.string()));
    }
  }
  std::error_code ignored;
  fs::remove(input, ignored);
  fs::remove(frameFile, ignored);
  return 0;
}
