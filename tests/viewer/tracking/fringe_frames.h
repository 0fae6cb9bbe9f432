#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include "viewer/tracking/frame_view.h"

namespace quorvel::viewer::tracking {

// A frame of straight fringes: brightness 128 + 90·cos(2π·(r − origin)·n/period − 2π·shift)
// with n the unit normal of the fringes at `angleDeg` to the x axis, so that a growing shift
// moves the pattern along +x. Grey, or green as a laser's fringes; Gaussian noise of `noise`
// grey levels, rounded and clipped to 0 … 255. `visibility` scales the fringes' amplitude.
struct FringeFrame {
  int width = 400;
  int height = 160;
  double period = 23.7;
  double angleDeg = 0;
  bool green = false;
  double noise = 0;
  double visibility = 1;

  std::vector<std::uint8_t> make(double shift, std::mt19937& random) const {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    const double angle = angleDeg * std::numbers::pi / 180;
    const double nx = std::cos(angle) / period;
    const double ny = std::sin(angle) / period;
    std::normal_distribution<double> gauss(0, noise > 0 ? noise : 1);
    for (int row = 0; row < height; ++row) {
      for (int column = 0; column < width; ++column) {
        const double phase =
            2 * std::numbers::pi * ((column - 30) * nx + (row - 80) * ny - shift) + 0.7;
        double value = 128 + 90 * visibility * std::cos(phase);
        if (noise > 0) value += gauss(random);
        const auto level = static_cast<std::uint8_t>(std::clamp(std::round(value), 0.0, 255.0));
        std::uint8_t* p = &rgb[(static_cast<std::size_t>(row) * width + column) * 3];
        if (green) {
          p[0] = static_cast<std::uint8_t>(level / 5);
          p[1] = level;
          p[2] = static_cast<std::uint8_t>(level / 10);
        } else {
          p[0] = p[1] = p[2] = level;
        }
      }
    }
    return rgb;
  }

  FrameView view(const std::vector<std::uint8_t>& rgb) const {
    return FrameView{width, height, rgb.data(), static_cast<std::ptrdiff_t>(width) * 3};
  }
};

}  // namespace quorvel::viewer::tracking
