#pragma once

#include <cstdint>

namespace quorvel::platform {

// A colour as the windows hold it: red + 256·green + 65536·blue, or one of the system
// colours (high bit set, low byte the system colour index).
using Color = std::uint32_t;

constexpr Color rgb(int r, int g, int b) {
  return static_cast<Color>(r & 0xFF) | (static_cast<Color>(g & 0xFF) << 8) |
         (static_cast<Color>(b & 0xFF) << 16);
}

// System colours the windows use.
inline constexpr Color kActiveTitleBar = 0x80000002u;  // caption of the active window
inline constexpr Color kWindowText = 0x80000008u;      // text in windows (black)
inline constexpr Color kHighlightText = 0x8000000Eu;   // text of selected items (white)
inline constexpr Color kButtonFace = 0x8000000Fu;      // face of buttons and forms

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The red, green and blue of a colour; system colours resolve to a fixed classic palette.
Rgb resolve(Color color);

}  // namespace quorvel::platform
