#include "viewer/tracking/strip_profile.h"

#include <algorithm>
#include <cmath>

namespace quorvel::viewer::tracking {

namespace {

// The longest segment looked at: the diagonal of the largest frame the viewer opens.
constexpr double kMaxLength = 16384;

}  // namespace

StripProfile::StripProfile(PixelPoint p1, PixelPoint p2, int stripWidth)
    : p1_(p1), p2_(p2), stripWidth_(stripWidth) {
  const double dx = p2.x - p1.x;
  const double dy = p2.y - p1.y;
  length_ = std::hypot(dx, dy);
  if (!(length_ >= 1) || !(length_ <= kMaxLength)) return;
  samples_ = static_cast<int>(std::floor(length_)) + 1;
  spacing_ = length_ / (samples_ - 1);
  ux_ = dx / length_;
  uy_ = dy / length_;
}

std::optional<TrackingError> StripProfile::check(int frameWidth, int frameHeight) const {
  // A segment longer than any frame's diagonal is not sampled: it leaves every frame.
  if (samples_ < 2)
    return length_ >= 1 ? TrackingError::SegmentOutsideFrame : TrackingError::NoSegment;
  if (stripWidth_ < 1 || stripWidth_ > kMaxStripWidth || stripWidth_ % 2 == 0) {
    return TrackingError::BadStripWidth;
  }
  // The strip is a rectangle; it lies within the pixel centres when its four corners do.
  const double half = (stripWidth_ - 1) / 2.0;
  const double nx = -uy_ * half;
  const double ny = ux_ * half;
  const PixelPoint corners[] = {{p1_.x + nx, p1_.y + ny},
                                {p1_.x - nx, p1_.y - ny},
                                {p2_.x + nx, p2_.y + ny},
                                {p2_.x - nx, p2_.y - ny}};
  constexpr double kSlack = 1e-9;
  for (const PixelPoint& c : corners) {
    if (!(c.x >= -kSlack && c.x <= frameWidth - 1 + kSlack && c.y >= -kSlack &&
          c.y <= frameHeight - 1 + kSlack)) {
      return TrackingError::SegmentOutsideFrame;
    }
  }
  return std::nullopt;
}

void StripProfile::sample(const FrameView& frame, std::vector<double>& profile) const {
  profile.assign(static_cast<std::size_t>(samples_), 0.0);
  const int half = (stripWidth_ - 1) / 2;
  const double maxX = frame.width - 1;
  const double maxY = frame.height - 1;
  const auto luma = [&frame](int column, int row) {
    const std::uint8_t* p = frame.rgb + row * frame.bytesPerLine + column * 3;
    return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
  };
  for (int j = 0; j < samples_; ++j) {
    const double cx = p1_.x + j * spacing_ * ux_;
    const double cy = p1_.y + j * spacing_ * uy_;
    double sum = 0;
    for (int r = -half; r <= half; ++r) {
      // Clamped against rounding at the frame's edge (check() keeps the strip inside).
      const double x = std::clamp(cx - r * uy_, 0.0, maxX);
      const double y = std::clamp(cy + r * ux_, 0.0, maxY);
      int column = static_cast<int>(x);
      int row = static_cast<int>(y);
      double fx = x - column;
      double fy = y - row;
      if (column >= frame.width - 1) {
        column = std::max(0, frame.width - 2);
        fx = frame.width > 1 ? 1.0 : 0.0;
      }
      if (row >= frame.height - 1) {
        row = std::max(0, frame.height - 2);
        fy = frame.height > 1 ? 1.0 : 0.0;
      }
      const int column1 = std::min(column + 1, frame.width - 1);
      const int row1 = std::min(row + 1, frame.height - 1);
      const double top = luma(column, row) + fx * (luma(column1, row) - luma(column, row));
      const double bottom = luma(column, row1) + fx * (luma(column1, row1) - luma(column, row1));
      sum += top + fy * (bottom - top);
    }
    profile[static_cast<std::size_t>(j)] = sum / stripWidth_;
  }
}

}  // namespace quorvel::viewer::tracking
