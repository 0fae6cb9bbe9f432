#pragma once

namespace quorvel::astro {

// A rectangular vector; its frame and unit are given where it is used.
struct Vec3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

}  // namespace quorvel::astro
