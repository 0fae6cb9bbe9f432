#pragma once

#include <cmath>

namespace quorvel::experiment::model {

// The line A·x + B·y + K = 0 through a point at a direction angle: A = tan(angle), B = −1,
// K = y1 − A·x1. An angle of a quarter turn gives a very large A and still a usable line,
// because the distance divides by √(A² + B²). A line that keeps its angle while its point
// moves keeps A and the norm, so the stepping loops compute no tangent per step; the
// distances are the same to the last bit as those of DistanceToLine.
struct SurfaceLine {
  double A = 0;
  double B = -1;
  double K = 0;
  double norm = 1;  // √(A² + B²)

  static SurfaceLine through(double x1, double y1, double alfa) {
    SurfaceLine line;
    line.A = std::tan(alfa);
    line.norm = std::sqrt(line.A * line.A + line.B * line.B);
    line.moveThrough(x1, y1);
    return line;
  }
  void moveThrough(double x1, double y1) { K = y1 - A * x1; }
  // |A·x0 + B·y0 + K|, the distance times the norm.
  double offset(double x0, double y0) const { return std::fabs(A * x0 + B * y0 + K); }
  double distance(double x0, double y0) const { return offset(x0, y0) / norm; }
  // An offset beyond this bound gives a distance beyond `reach` whatever the rounding, so a
  // stepping loop can rule out far points without dividing and still decide near ones with
  // distance() to the last bit.
  double offsetBound(double reach) const { return reach * norm * (1 + 1e-9); }
};

}  // namespace quorvel::experiment::model
