// Image opening as the viewer does it: any file content, under any of the extensions the
// open dialog offers, is shown in the picture box or refused, never a fault; a photo that
// opens is no larger than the largest side, and the box that takes its size shows it again.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/picture.h"

namespace {

namespace fs = std::filesystem;

void require(bool condition) {
  if (!condition) std::abort();
}

const fs::path& folder() {
  static const fs::path path = [] {
    fs::path p = fs::temp_directory_path() / ("quorvel_image_fuzz_" + std::to_string(getpid()));
    fs::create_directories(p);
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(folder(), ignored);
    });
    return p;
  }();
  return path;
}

constexpr const char* kExtensions[] = {".bmp", ".jpg", ".gif", ".ico", ".png", ".ppm", ""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using quorvel::platform::Picture;
  if (size == 0) return 0;
  const fs::path input = folder() / (std::string("photo") + kExtensions[data[0] % 7]);
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
