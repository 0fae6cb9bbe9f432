#pragma once

namespace quorvel::experiment::model {

// A colour of the run's drawings as red, green and blue (0..255); the observer turns it into
// its picture's own colour.
struct DrawColor {
  int r = 0;
  int g = 0;
  int b = 0;
  friend bool operator==(const DrawColor&, const DrawColor&) = default;
};

inline constexpr DrawColor kRay1Color{255, 0, 0};
inline constexpr DrawColor kRay2Color{0, 0, 255};
inline constexpr DrawColor kFrontPathColor{0, 250, 0};
inline constexpr DrawColor kCrestColor{0, 0, 250};

}  // namespace quorvel::experiment::model
