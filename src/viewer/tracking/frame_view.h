#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvel::viewer::tracking {

// A frame as plain pixels, not owned: `height` rows of `width` pixels, each pixel three
// bytes R, G, B, row 0 at the top, rows `bytesPerLine` apart. Pixel (column, row) has its
// centre at x = column, y = row.
struct FrameView {
  int width = 0;
  int height = 0;
  const std::uint8_t* rgb = nullptr;
  std::ptrdiff_t bytesPerLine = 0;

  // True when the view holds pixels that can be read.
  bool readable() const {
    return width > 0 && height > 0 && rgb != nullptr &&
           bytesPerLine >= static_cast<std::ptrdiff_t>(width) * 3;
  }
};

}  // namespace quorvel::viewer::tracking
