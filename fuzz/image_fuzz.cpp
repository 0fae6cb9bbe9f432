// Image opening as the viewer does it: any file content, under any of the extensions the
// open dialog offers, is shown in the picture box or refused, never a fault; a photo that
// opens is no larger than the largest side, and the box that takes its size shows it again.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_support.h"
#include "platform/picture.h"

namespace {

using quorvel::fuzz::require;

namespace fs = std::filesystem;

constexpr const char* kExtensions[] = {".bmp", ".jpg", ".gif", ".ico", ".png", ".ppm", ""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using quorvel::platform::Picture;
  if (size == 0) return 0;
  const fs::path input =
      quorvel::fuzz::scratchFolder() / (std::string("photo") + kExtensions[data[0] % 7]);
  {
    std::ofstream file(input, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data) + 1, static_cast<std::streamsize>(size - 1));
  }
  {
    Picture picture(640, 480);
    if (picture.load(input.string())) {
      const int w = picture.loadedWidth();
      const int h = picture.loadedHeight();
      require(w >= 1 && h >= 1 && w <= Picture::kMaxLoadedSide && h <= Picture::kMaxLoadedSide);
      // The window's box takes the photo's size and loads it once more.
      if (w != picture.width() || h != picture.height()) {
        picture.resize(w, h);
        require(picture.load(input.string()));
        require(picture.loadedWidth() == w && picture.loadedHeight() == h);
      }
    }
  }
  std::error_code ignored;
  fs::remove(input, ignored);
  return 0;
}
