#include "platform/color.h"

#include <array>

namespace quorvel::platform {

namespace {

constexpr Color kSystemBit = 0x80000000u;

// The classic Windows palette, by system colour index.
constexpr std::array<Rgb, 31> kClassicPalette = {{
    {212, 208, 200},  // 0 scroll bar
    {58, 110, 165},   // 1 desktop
    {10, 36, 106},    // 2 active caption
    {128, 128, 128},  // 3 inactive caption
    {212, 208, 200},  // 4 menu
    {255, 255, 255},  // 5 window background
    {0, 0, 0},        // 6 window frame
    {0, 0, 0},        // 7 menu text
    {0, 0, 0},        // 8 window text
    {255, 255, 255},  // 9 caption text
    {212, 208, 200},  // 10 active border
    {212, 208, 200},  // 11 inactive border
    {128, 128, 128},  // 12 application workspace
    {10, 36, 106},    // 13 highlight
    {255, 255, 255},  // 14 highlight text
    {212, 208, 200},  // 15 button face
    {128, 128, 128},  // 16 button shadow
    {128, 128, 128},  // 17 grey text
    {0, 0, 0},        // 18 button text
    {212, 208, 200},  // 19 inactive caption text
    {255, 255, 255},  // 20 button highlight
    {64, 64, 64},     // 21 3D dark shadow
    {212, 208, 200},  // 22 3D light
    {0, 0, 0},        // 23 tool tip text
    {255, 255, 225},  // 24 tool tip background
    {0, 0, 0},        // 25 unused
    {0, 0, 128},      // 26 hot-tracked item
    {166, 202, 240},  // 27 gradient of the active caption
    {192, 192, 192},  // 28 gradient of the inactive caption
    {10, 36, 106},    // 29 menu highlight
    {212, 208, 200},  // 30 menu bar
}};

}  // namespace

Rgb resolve(Color color) {
  if ((color & kSystemBit) != 0) {
    const std::size_t index = color & 0xFFu;
    return index < kClassicPalette.size() ? kClassicPalette[index] : Rgb{};
  }
  return Rgb{static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
             static_cast<int>((color >> 16) & 0xFFu)};
}

}  // namespace quorvel::platform
