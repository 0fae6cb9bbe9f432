#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/color.h"

namespace quorvel::platform {

// A picture box's drawing surface: a pixel image with a user coordinate system.
//
// Scale(left, top)-(right, bottom) maps user x in [left, right] onto pixel columns
// [0, width) and user y in [top, bottom] onto pixel rows [0, height); the callers use
// top > bottom, so y grows upward. Until Scale is called the scale is one unit per pixel
// with (0, 0) at the top left. Every drawing call takes user coordinates; radii are
// measured along x. Drawing never throws: whatever falls outside the image is clipped.
class Picture {
 public:
  Picture(int widthPx = 100, int heightPx = 100);
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // Size in pixels (at most 32767 wide, as the widest picture box, and 10000 high).
  // Resizing keeps the drawn image at the top left (the rest is filled
  // with the back colour) and keeps the user scale, which then maps onto the new size.
  int width() const;
  int height() const;
  void resize(int widthPx, int heightPx);

  void scale(double left, double top, double right, double bottom);
  double scaleLeft() const;
  double scaleTop() const;
  double scaleWidth() const;   // right − left
  double scaleHeight() const;  // bottom − top (negative when y grows upward)

  // Clears the image to the back colour and puts the current position at (0, 0).
  void cls();
  // Setting the back colour clears the image, as a picture box does.
  void setBackColor(Color color);
  Color backColor() const;
  void setForeColor(Color color);
  Color foreColor() const;
  // 0 solid, 1 transparent (the default): how boxes and circles are filled.
  void setFillStyle(int style);
  int fillStyle() const;
  void setFillColor(Color color);
  Color fillColor() const;
  // Line width in pixels (default 1).
  void setDrawWidth(int pixels);

  // A line from (x1, y1) to (x2, y2) in the given colour (fore colour when none); the
  // current position moves to the end point.
  void line(double x1, double y1, double x2, double y2, std::optional<Color> color = {});
  // The box form: the rectangle with the two opposite corners, outlined in the colour and
  // filled according to FillStyle and FillColor; `fillWithLineColor` fills it solid with
  // the line colour instead.
  void box(double x1, double y1, double x2, double y2, std::optional<Color> color = {},
           bool fillWithLineColor = false);
  // A circle of radius r (user units along x), filled according to FillStyle and FillColor.
  // With start and end angles (radians, counter-clockwise from the positive x axis) only
  // the arc from start to end is drawn; a negative angle also draws the radius to it.
  void circle(double x, double y, double r, std::optional<Color> color = {},
              std::optional<double> start = {}, std::optional<double> end = {});
  void pset(double x, double y, std::optional<Color> color = {});
  // For pictures redrawn point by point many times a second: a column of pixels at x from
  // y1 to y2 (both ends included) and a single pixel, one pixel wide whatever DrawWidth
  // is, written straight into the image. The current position does not move.
  void columnSpan(double x, double y1, double y2, Color color);
  // Columns at xs[k] in colours[k] (the first colour for all when only one is given), each
  // from y1 to y2, written row by row: in a wide picture that costs a column's rows once,
  // not once per column.
  void columnSpans(std::span<const double> xs, std::span<const Color> colours, double y1,
                   double y2);
  void setPixel(double x, double y, Color color);

  double currentX() const;
  double currentY() const;
  void setCurrentX(double x);
  void setCurrentY(double y);
  // Writes text in the fore colour with its top-left corner at the current position.
  // CR LF (or a lone LF) starts a new line below, at the same x. Afterwards the current
  // position is at that x, one line below the last line written.
  void print(std::string_view text);
  // Size of a text in user units (width of the widest line, height of all lines).
  double textWidth(std::string_view text) const;
  double textHeight(std::string_view text) const;

  // Saves the image; the format follows the extension (.png, else BMP). The file is
  // written beside the target and renamed over it, so a failed save leaves an existing
  // file whole. Returns false on any failure.
  bool save(const std::string& path) const;
  // Loads a BMP, JPG, GIF or ICO file as the picture: the image is drawn at the top left
  // of the box at its own size. Returns false when the file cannot be read or the image is
  // wider or higher than kMaxLoadedSide (then nothing is allocated for its pixels).
  bool load(const std::string& path);
  static constexpr int kMaxLoadedSide = 8192;
  // Size in pixels of the image last loaded (0 × 0 when none).
  int loadedWidth() const;
  int loadedHeight() const;
  // Copies the image of another picture, scaled to this picture's size.
  void copyFrom(const Picture& source);
  // Makes the picture a copy of width × height pixels given as rows of 8-bit R, G, B
  // triples from the top (bytesPerLine apart); the picture takes that size. False (and
  // nothing changed) when the size is outside 1..10000 or no pixels are given.
  bool setPixels(int widthPx, int heightPx, const std::uint8_t* rgb, int bytesPerLine);

  // The colour of one pixel (column, row), for checks; outside the image it is black.
  Rgb pixel(int column, int row) const;
  // User coordinates of a pixel and pixel of a user coordinate.
  double toUserX(double column) const;
  double toUserY(double row) const;
  double toPixelX(double x) const;
  double toPixelY(double y) const;
  // The whole pixel a pixel coordinate of the range the painter is given (within ±32768)
  // is drawn in: lines, boxes and the centres of circles go to the painter so.
  static int pixelIndex(double pixelCoordinate);
  static constexpr double kPaintedRangePx = 32768.0;

  // Grows on every change of the image, so a view repaints only when something changed.
  std::uint64_t revision() const;

  struct Impl;
  Impl& impl() { return *impl_; }
  const Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace quorvel::platform
