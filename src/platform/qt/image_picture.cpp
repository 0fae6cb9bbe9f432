#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTemporaryFile>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <system_error>
#include <vector>

#include "platform/picture.h"
#include "platform/qt/image_access.h"

namespace quorvel::platform {

namespace {

constexpr int kMaxSide = 10000;
constexpr int kMaxWidth = 32767;
constexpr int kMaxDrawWidth = 1000;
// Pixel coordinates are kept within this distance of the origin before they reach the
// painter: far enough that the clipped part never shows, near enough for its fixed-point
// rasteriser, which loses shapes that reach beyond about 2^17 pixels.
constexpr double kSafePx = Picture::kPaintedRangePx;
// Circles up to this radius are left to the painter; larger ones are traced along the part
// of their rim that can meet the image, and beyond the last limit (where a double no longer
// places the rim to a pixel) they are left out.
constexpr double kPainterRadiusPx = 16384.0;
constexpr double kPolygonRadiusPx = 1e12;
// Pixel positions that floating-point noise leaves just below a whole number still count
// as that whole number.
constexpr double kSnapPx = 1e-6;
constexpr int kFontPixelSize = 11;
// Text metrics used when no GUI application exists to supply fonts.
constexpr int kFallbackAdvancePx = 7;
constexpr int kFallbackLineHeightPx = 13;
// The memory the image reader may take for one picture, in MiB: a picture of the largest
// side both ways in the widest format it reads into (16 bits a channel, 8 bytes a pixel).
// The reader's own default (128 MiB) would refuse a frame of 8K video.
constexpr std::int64_t kLargestSide = Picture::kMaxLoadedSide;
constexpr int kReadLimitMiB = static_cast<int>(kLargestSide * kLargestSide * 8 >> 20);

QColor toQColor(Color color) {
  const Rgb c = resolve(color);
  return QColor(c.r, c.g, c.b);
}

int clampSide(int px) {
  return std::clamp(px, 1, kMaxSide);
}
int clampWidth(int px) {
  return std::clamp(px, 1, kMaxWidth);
}

// The pixel a (finite) pixel coordinate falls in: pixel n covers [n, n + 1).
int pixelOf(double v) {
  return static_cast<int>(std::floor(std::clamp(v, -kSafePx, kSafePx) + kSnapPx));
}

QPoint pixelOf(QPointF p) {
  return QPoint(pixelOf(p.x()), pixelOf(p.y()));
}

bool finite(double a, double b) {
  return std::isfinite(a) && std::isfinite(b);
}

// An axis-parallel rectangle in pixel coordinates.
struct Window {
  double left, top, right, bottom;
};

bool contains(const Window& w, QPointF p) {
  return p.x() >= w.left && p.x() <= w.right && p.y() >= w.top && p.y() <= w.bottom;
}

// a·b − c·d with one rounding (Kahan), so that the lines of far points keep their place.
double differenceOfProducts(double a, double b, double c, double d) {
  const double cd = c * d;
  return std::fma(a, b, -cd) + std::fma(-c, d, cd);
}

// A segment whose ends lie far from the window is first cut down to the stretch of its line
// that can meet the window. Taking the stretch through the foot of the perpendicular from
// the window's centre keeps the line's place to a fraction of a pixel even when its ends lie
// at 1E30, where the usual parametric cut loses every digit of it. False when the line
// passes the window by.
bool nearStretch(QPointF& a, QPointF& b, const Window& w) {
  const QPointF centre((w.left + w.right) / 2, (w.top + w.bottom) / 2);
  const double reach = std::hypot(w.right - w.left, w.bottom - w.top) / 2 + 1.0;
  QPointF from = a - centre;
  QPointF to = b - centre;
  const double far = 4 * reach;
  if (std::max({std::fabs(from.x()), std::fabs(from.y()), std::fabs(to.x()), std::fabs(to.y())}) <=
      far) {
    return true;
  }
  // Scaled by a power of two, so that no product overflows; the scale is exact.
  int exponent = 0;
  std::frexp(std::max({std::fabs(from.x()), std::fabs(from.y()), std::fabs(to.x()),
                       std::fabs(to.y())}),
             &exponent);
  from = QPointF(std::ldexp(from.x(), -exponent), std::ldexp(from.y(), -exponent));
  to = QPointF(std::ldexp(to.x(), -exponent), std::ldexp(to.y(), -exponent));
  const QPointF along = to - from;
  const double length = std::hypot(along.x(), along.y());
  if (!(length > 0)) return false;
  const QPointF unit = along / length;
  // The signed distance of the line from the centre, and where the ends lie along it.
  const double offset =
      std::ldexp(differenceOfProducts(from.x(), to.y(), from.y(), to.x()) / length, exponent);
  if (!(std::fabs(offset) <= reach)) return false;
  const double start = std::ldexp(from.x() * unit.x() + from.y() * unit.y(), exponent);
  const double end = std::ldexp(to.x() * unit.x() + to.y() * unit.y(), exponent);
  const double first = std::max(start, -far);
  const double last = std::min(end, far);
  if (!(first <= last)) return false;
  const QPointF foot = centre + offset * QPointF(unit.y(), -unit.x());
  a = foot + first * unit;
  b = foot + last * unit;
  return true;
}

// Cuts the segment a–b to the window (Liang–Barsky). False when nothing of it is inside.
bool clipSegment(QPointF& a, QPointF& b, const Window& w) {
  if (!nearStretch(a, b, w)) return false;
  const double dx = b.x() - a.x();
  const double dy = b.y() - a.y();
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x() - w.left, w.right - a.x(), a.y() - w.top, w.bottom - a.y()};
  double t0 = 0.0;
  double t1 = 1.0;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  const QPointF start = a;
  a = start + t0 * QPointF(dx, dy);
  b = start + t1 * QPointF(dx, dy);
  return true;
}

// Cuts a convex polygon to the window (Sutherland–Hodgman, one edge of the window at a
// time).
std::vector<QPointF> clipPolygon(std::vector<QPointF> polygon, const Window& w) {
  const auto cut = [&polygon](auto inside, auto crossing) {
    std::vector<QPointF> kept;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
      const QPointF& from = polygon[i];
      const QPointF& to = polygon[(i + 1) % polygon.size()];
      if (inside(from)) kept.push_back(from);
      if (inside(from) != inside(to)) kept.push_back(crossing(from, to));
    }
    polygon = std::move(kept);
  };
  const auto atX = [](double x) {
    return [x](QPointF a, QPointF b) {
      return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
    };
  };
  const auto atY = [](double y) {
    return [y](QPointF a, QPointF b) {
      return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y);
    };
  };
  cut([&](QPointF p) { return p.x() >= w.left; }, atX(w.left));
  cut([&](QPointF p) { return p.x() <= w.right; }, atX(w.right));
  cut([&](QPointF p) { return p.y() >= w.top; }, atY(w.top));
  cut([&](QPointF p) { return p.y() <= w.bottom; }, atY(w.bottom));
  return polygon;
}

// The lines of a printed text: CR LF or a lone LF ends a line.
std::vector<QString> splitLines(std::string_view text) {
  std::vector<QString> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

// The angle an arc end is drawn at: a negative angle only asks for a radius line, so its
// size counts; whole turns drop out.
double reduceAngle(double radians) {
  return std::fmod(std::fabs(radians), 2.0 * std::numbers::pi);
}

bool guiAvailable() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

struct Picture::Impl {
  QImage image;
  bool userScale = false;
  double left = 0.0;
  double top = 0.0;
  double scaleWidth = 1.0;
  double scaleHeight = 1.0;
  Color back = rgb(255, 255, 255);
  Color fore = rgb(0, 0, 0);
  Color fill = rgb(0, 0, 0);
  int fillStyle = 1;
  int drawWidth = 1;
  double currentX = 0.0;
  double currentY = 0.0;
  int loadedWidth = 0;
  int loadedHeight = 0;
  std::uint64_t revision = 0;
  mutable std::optional<QFont> font;

  double sw() const { return userScale ? scaleWidth : static_cast<double>(image.width()); }
  double sh() const { return userScale ? scaleHeight : static_cast<double>(image.height()); }
  double pxX(double x) const { return (x - left) * image.width() / sw(); }
  double pxY(double y) const { return (y - top) * image.height() / sh(); }

  QPen pen(std::optional<Color> color) const {
    QPen p(toQColor(color.value_or(fore)));
    p.setWidth(drawWidth);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
  }

  QBrush fillBrush() const {
    static constexpr Qt::BrushStyle kStyles[8] = {
        Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
        Qt::BDiagPattern, Qt::FDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    const Qt::BrushStyle style = kStyles[fillStyle];
    return style == Qt::NoBrush ? QBrush() : QBrush(toQColor(fill), style);
  }

  void changed() { ++revision; }

  // The image with a border wider than any pen: what lies beyond it never shows, so shapes
  // are cut to it before they reach the painter, whose work then stays that of the image.
  Window edgeWindow() const {
    const double border = drawWidth + 2.0;
    return Window{-border, -border, image.width() + border, image.height() + border};
  }
  // A wider border for lines: a line that stays inside it goes to the painter as it is,
  // one that reaches beyond it is cut there, far enough out that rounding its cut ends to
  // whole pixels moves what shows by less than a pixel.
  Window lineWindow() const {
    const double border = std::max(image.width(), image.height()) + drawWidth + 2.0;
    return Window{-border, -border, image.width() + border, image.height() + border};
  }

  void clear() {
    image.fill(toQColor(back));
    changed();
  }

  const QFont& textFont() const {
    if (!font) {
      QFont f(QStringLiteral("DejaVu Sans"));
      f.setPixelSize(kFontPixelSize);
      f.setStyleStrategy(QFont::NoAntialias);
      font = f;
    }
    return *font;
  }

  int lineHeightPx() const {
    return guiAvailable() ? QFontMetrics(textFont()).height() : kFallbackLineHeightPx;
  }

  int widthPx(const QString& line) const {
    return guiAvailable() ? QFontMetrics(textFont()).horizontalAdvance(line)
                          : kFallbackAdvancePx * static_cast<int>(line.size());
  }
};

namespace {

void preparePainter(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

// A point of the rim at `angle` (radians counter-clockwise, rows growing downward).
QPointF rimPoint(QPointF centre, double radius, double angle) {
  return centre + radius * QPointF(std::cos(angle), -std::sin(angle));
}

// The angles (from `low` to `high`, high − low < π) under which a window seen from outside
// lies as seen from the centre.
void windowAngles(QPointF centre, const Window& w, double& low, double& high) {
  const auto angleOf = [&centre](double x, double y) {
    return std::atan2(centre.y() - y, x - centre.x());
  };
  const double middle = angleOf((w.left + w.right) / 2, (w.top + w.bottom) / 2);
  low = high = 0.0;
  for (const QPointF corner : {QPointF(w.left, w.top), QPointF(w.right, w.top),
                               QPointF(w.left, w.bottom), QPointF(w.right, w.bottom)}) {
    const double off = std::remainder(angleOf(corner.x(), corner.y()) - middle,
                                      2.0 * std::numbers::pi);
    low = std::min(low, off);
    high = std::max(high, off);
  }
  low += middle;
  high += middle;
}

// A circle (or the arc of `span` radians from `start`) too large for the painter. Only the
// part of the rim that can meet the window is traced, as a polygon fine enough that it
// strays less than a quarter pixel from the circle; a filled circle is that part with the
// centre (a slice of the pie, which covers what of the window lies inside the circle), cut
// to the window. Its cut edges run along the window, which lies outside the image, so they
// never show. The caller has made sure the rim crosses the window.
void drawLargeCircle(QPainter& painter, QPointF centre, double radius, double start, double span,
                     bool arc, const Window& window) {
  constexpr double kTurn = 2.0 * std::numbers::pi;
  const double step = std::sqrt(2.0 / radius);
  const bool centreInside = contains(window, centre);
  double low = start;
  double high = start + span;
  if (!centreInside) windowAngles(centre, window, low, high);
  const auto trace = [&](double from, double to) {
    std::vector<QPointF> points;
    if (to <= from) return points;
    const auto count = static_cast<std::size_t>(std::ceil((to - from) / step)) + 1;
    points.reserve(count + 2);
    for (std::size_t i = 0; i <= count; ++i) {
      points.push_back(rimPoint(centre, radius,
                                from + (to - from) * static_cast<double>(i) /
                                           static_cast<double>(count)));
    }
    return points;
  };
  if (arc) {
    // The arc's angles met in the window's sector, in whichever turn they fall.
    std::vector<std::pair<double, double>> pieces;
    if (centreInside) {
      pieces.emplace_back(start, start + span);
    } else {
      for (int turn = -2; turn <= 2; ++turn) {
        const double from = std::max(start, low + turn * kTurn);
        const double to = std::min(start + span, high + turn * kTurn);
        if (from < to) pieces.emplace_back(from, to);
      }
    }
    for (const auto& [from, to] : pieces) {
      const std::vector<QPointF> points = trace(from, to);
      for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        QPointF a = points[i];
        QPointF b = points[i + 1];
        if (clipSegment(a, b, window)) painter.drawLine(pixelOf(a), pixelOf(b));
      }
    }
    return;
  }
  std::vector<QPointF> points = centreInside ? trace(0.0, kTurn) : trace(low, high);
  if (centreInside) {
    points.pop_back();
  } else {
    points.push_back(centre);
  }
  const std::vector<QPointF> cut = clipPolygon(std::move(points), window);
  if (cut.size() < 3) return;
  QPolygon polygon;
  for (const QPointF& p : cut) polygon << pixelOf(p);
  painter.drawPolygon(polygon);
}

}  // namespace

const QImage& imageOf(const Picture& picture) {
  return picture.impl().image;
}

Picture::Picture(int widthPx, int heightPx) : impl_(std::make_unique<Impl>()) {
  impl_->image = QImage(clampWidth(widthPx), clampSide(heightPx), QImage::Format_RGB32);
  impl_->clear();
}

Picture::~Picture() = default;

int Picture::width() const {
  return impl_->image.width();
}
int Picture::height() const {
  return impl_->image.height();
}

void Picture::resize(int widthPx, int heightPx) {
  const int w = clampWidth(widthPx);
  const int h = clampSide(heightPx);
  if (w == width() && h == height()) return;
  QImage resized(w, h, QImage::Format_RGB32);
  // Without memory for the new size the picture stays as it was.
  if (resized.isNull()) return;
  resized.fill(toQColor(impl_->back));
  {
    QPainter painter(&resized);
    preparePainter(painter);
    painter.drawImage(QPoint(0, 0), impl_->image);
  }
  impl_->image = std::move(resized);
  impl_->changed();
}

void Picture::scale(double left, double top, double right, double bottom) {
  const double w = right - left;
  const double h = bottom - top;
  if (!finite(left, top) || !finite(w, h) || w == 0.0 || h == 0.0) return;
  impl_->userScale = true;
  impl_->left = left;
  impl_->top = top;
  impl_->scaleWidth = w;
  impl_->scaleHeight = h;
}

double Picture::scaleLeft() const {
  return impl_->left;
}
double Picture::scaleTop() const {
  return impl_->top;
}
double Picture::scaleWidth() const {
  return impl_->sw();
}
double Picture::scaleHeight() const {
  return impl_->sh();
}

void Picture::cls() {
  impl_->clear();
  impl_->currentX = 0.0;
  impl_->currentY = 0.0;
}

void Picture::setBackColor(Color color) {
  impl_->back = color;
  cls();
}

Color Picture::backColor() const {
  return impl_->back;
}
void Picture::setForeColor(Color color) {
  impl_->fore = color;
}
Color Picture::foreColor() const {
  return impl_->fore;
}
void Picture::setFillStyle(int style) {
  impl_->fillStyle = std::clamp(style, 0, 7);
}
int Picture::fillStyle() const {
  return impl_->fillStyle;
}
void Picture::setFillColor(Color color) {
  impl_->fill = color;
}
Color Picture::fillColor() const {
  return impl_->fill;
}
void Picture::setDrawWidth(int pixels) {
  impl_->drawWidth = std::clamp(pixels, 1, kMaxDrawWidth);
}

void Picture::line(double x1, double y1, double x2, double y2, std::optional<Color> color) {
  impl_->currentX = x2;
  impl_->currentY = y2;
  QPointF from(impl_->pxX(x1), impl_->pxY(y1));
  QPointF to(impl_->pxX(x2), impl_->pxY(y2));
  if (!finite(from.x(), from.y()) || !finite(to.x(), to.y()) ||
      !clipSegment(from, to, impl_->lineWindow())) {
    return;
  }
  QPainter painter(&impl_->image);
  preparePainter(painter);
  painter.setPen(impl_->pen(color));
  painter.drawLine(pixelOf(from), pixelOf(to));
  impl_->changed();
}

void Picture::box(double x1, double y1, double x2, double y2, std::optional<Color> color,
                  bool fillWithLineColor) {
  impl_->currentX = x2;
  impl_->currentY = y2;
  const double c1 = impl_->pxX(x1);
  const double r1 = impl_->pxY(y1);
  const double c2 = impl_->pxX(x2);
  const double r2 = impl_->pxY(y2);
  if (!finite(c1, r1) || !finite(c2, r2)) return;
  // Sides beyond the edge window are moved onto it, where they do not show.
  const Window edge = impl_->edgeWindow();
  const auto column = [&edge](double c) { return pixelOf(std::clamp(c, edge.left, edge.right)); };
  const auto row = [&edge](double r) { return pixelOf(std::clamp(r, edge.top, edge.bottom)); };
  const int left = std::min(column(c1), column(c2));
  const int right = std::max(column(c1), column(c2));
  const int top = std::min(row(r1), row(r2));
  const int bottom = std::max(row(r1), row(r2));
  const QPen pen = impl_->pen(color);
  QPainter painter(&impl_->image);
  preparePainter(painter);
  const QRect inside(QPoint(left, top), QPoint(right, bottom));
  if (fillWithLineColor) {
    painter.fillRect(inside, pen.color());
  } else if (const QBrush brush = impl_->fillBrush(); brush.style() != Qt::NoBrush) {
    painter.fillRect(inside, brush);
  }
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  const QPoint corners[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  painter.drawPolygon(corners, 4);
  impl_->changed();
}

void Picture::circle(double x, double y, double r, std::optional<Color> color,
                     std::optional<double> start, std::optional<double> end) {
  impl_->currentX = x;
  impl_->currentY = y;
  const QPointF centre(impl_->pxX(x), impl_->pxY(y));
  const double radius = std::fabs(r) * width() / std::fabs(impl_->sw());
  if (!finite(centre.x(), centre.y()) || !std::isfinite(radius)) return;
  const double reach = radius + impl_->drawWidth;
  if (centre.x() + reach < 0.0 || centre.y() + reach < 0.0 || centre.x() - reach > width() ||
      centre.y() - reach > height() || radius > kPolygonRadiusPx) {
    return;
  }
  const bool arc = start || end;
  const double from = start.value_or(0.0);
  const double to = end.value_or(2.0 * std::numbers::pi);
  if (!std::isfinite(from) || !std::isfinite(to)) return;
  const double a = reduceAngle(from);
  const double b = reduceAngle(to);
  // Equal ends make a whole turn.
  double span = b - a;
  if (span <= 0.0) span += 2.0 * std::numbers::pi;

  // A rim that passes wholly around the image does not show: a whole circle then only
  // fills the image, an arc only draws its radii.
  const Window edge = impl_->edgeWindow();
  const double farX = std::max(std::fabs(centre.x() - edge.left), std::fabs(centre.x() - edge.right));
  const double farY = std::max(std::fabs(centre.y() - edge.top), std::fabs(centre.y() - edge.bottom));
  const bool rimOutside = std::hypot(farX, farY) < radius - impl_->drawWidth;
  if (rimOutside && !arc) {
    if (const QBrush brush = impl_->fillBrush(); brush.style() != Qt::NoBrush) {
      QPainter painter(&impl_->image);
      preparePainter(painter);
      painter.fillRect(QRect(0, 0, width(), height()), brush);
      impl_->changed();
    }
    return;
  }

  QPainter painter(&impl_->image);
  preparePainter(painter);
  painter.setPen(impl_->pen(color));
  painter.setBrush(arc ? QBrush() : impl_->fillBrush());
  // Small circles go to the painter whole, around the centre's pixel.
  const bool whole = radius <= kPainterRadiusPx;
  const QPointF hub = whole ? QPointF(pixelOf(centre)) : centre;
  const double rim = whole ? std::floor(radius + 0.5) : radius;
  if (whole && rim == 0.0) {
    // A circle (or arc) narrower than a pixel is the pixel of its centre, as a point is.
    painter.drawPoint(pixelOf(centre));
  } else if (whole && !rimOutside) {
    const QRect bounds(pixelOf(centre) - QPoint(static_cast<int>(rim), static_cast<int>(rim)),
                       QSize(2 * static_cast<int>(rim), 2 * static_cast<int>(rim)));
    constexpr double kSixteenthsPerRadian = 180.0 * 16.0 / std::numbers::pi;
    if (arc) {
      painter.drawArc(bounds, static_cast<int>(std::lround(a * kSixteenthsPerRadian)),
                      static_cast<int>(std::lround(span * kSixteenthsPerRadian)));
    } else {
      painter.drawEllipse(bounds);
    }
  } else if (!rimOutside) {
    drawLargeCircle(painter, centre, radius, a, span, arc, edge);
  }
  const auto spoke = [&](double angle) {
    QPointF inner = hub;
    QPointF tip = hub + rim * QPointF(std::cos(angle), -std::sin(angle));
    if (!clipSegment(inner, tip, edge)) return;
    painter.drawLine(
        QPoint(static_cast<int>(std::lround(inner.x())), static_cast<int>(std::lround(inner.y()))),
        QPoint(static_cast<int>(std::lround(tip.x())), static_cast<int>(std::lround(tip.y()))));
  };
  if (from < 0.0) spoke(a);
  if (to < 0.0) spoke(b);
  impl_->changed();
}

void Picture::pset(double x, double y, std::optional<Color> color) {
  impl_->currentX = x;
  impl_->currentY = y;
  const double c = impl_->pxX(x);
  const double r = impl_->pxY(y);
  if (!finite(c, r) || !contains(impl_->edgeWindow(), QPointF(c, r))) return;
  QPainter painter(&impl_->image);
  preparePainter(painter);
  painter.setPen(impl_->pen(color));
  painter.drawPoint(pixelOf(c), pixelOf(r));
  impl_->changed();
}

void Picture::columnSpan(double x, double y1, double y2, Color color) {
  const double c = impl_->pxX(x);
  const double r1 = impl_->pxY(y1);
  const double r2 = impl_->pxY(y2);
  if (!std::isfinite(c) || !finite(r1, r2)) return;
  const int column = pixelOf(c);
  if (column < 0 || column >= width()) return;
  const int top = std::max(std::min(pixelOf(r1), pixelOf(r2)), 0);
  const int bottom = std::min(std::max(pixelOf(r1), pixelOf(r2)), height() - 1);
  const Rgb rgb = resolve(color);
  const QRgb value = qRgb(rgb.r, rgb.g, rgb.b);
  // The rows through one pointer: scanLine() checks for sharing at every call.
  uchar* const bits = impl_->image.bits();
  const qsizetype rowBytes = impl_->image.bytesPerLine();
  for (int row = top; row <= bottom; ++row) {
    reinterpret_cast<QRgb*>(bits + row * rowBytes)[column] = value;
  }
  impl_->changed();
}

void Picture::columnSpans(std::span<const double> xs, std::span<const Color> colours, double y1,
                          double y2) {
  const double r1 = impl_->pxY(y1);
  const double r2 = impl_->pxY(y2);
  if (colours.empty() || !finite(r1, r2)) return;
  std::vector<std::pair<int, QRgb>> columns;
  columns.reserve(xs.size());
  for (std::size_t k = 0; k < xs.size(); ++k) {
    const double c = impl_->pxX(xs[k]);
    if (!std::isfinite(c)) continue;
    const int column = pixelOf(c);
    if (column < 0 || column >= width()) continue;
    const Rgb rgb = resolve(colours.size() == 1 ? colours[0] : colours[k]);
    columns.emplace_back(column, qRgb(rgb.r, rgb.g, rgb.b));
  }
  const int top = std::max(std::min(pixelOf(r1), pixelOf(r2)), 0);
  const int bottom = std::min(std::max(pixelOf(r1), pixelOf(r2)), height() - 1);
  if (columns.empty() || top > bottom) return;
  uchar* const bits = impl_->image.bits();
  const qsizetype rowBytes = impl_->image.bytesPerLine();
  for (int row = top; row <= bottom; ++row) {
    auto* line = reinterpret_cast<QRgb*>(bits + row * rowBytes);
    for (const auto& [column, value] : columns) line[column] = value;
  }
  impl_->changed();
}

void Picture::setPixel(double x, double y, Color color) {
  const double c = impl_->pxX(x);
  const double r = impl_->pxY(y);
  if (!finite(c, r)) return;
  const int column = pixelOf(c);
  const int row = pixelOf(r);
  if (column < 0 || row < 0 || column >= width() || row >= height()) return;
  const Rgb rgb = resolve(color);
  reinterpret_cast<QRgb*>(impl_->image.scanLine(row))[column] = qRgb(rgb.r, rgb.g, rgb.b);
  impl_->changed();
}

double Picture::currentX() const {
  return impl_->currentX;
}
double Picture::currentY() const {
  return impl_->currentY;
}
void Picture::setCurrentX(double x) {
  impl_->currentX = x;
}
void Picture::setCurrentY(double y) {
  impl_->currentY = y;
}

void Picture::print(std::string_view text) {
  const std::vector<QString> lines = splitLines(text);
  const int lineHeight = impl_->lineHeightPx();
  const double c = impl_->pxX(impl_->currentX);
  const double r = impl_->pxY(impl_->currentY);
  if (finite(c, r) && guiAvailable()) {
    QPainter painter(&impl_->image);
    preparePainter(painter);
    painter.setFont(impl_->textFont());
    painter.setPen(toQColor(impl_->fore));
    const int ascent = painter.fontMetrics().ascent();
    const int column = pixelOf(c);
    int row = pixelOf(r);
    for (const QString& line : lines) {
      if (row > height() || row + lineHeight < 0) {
        row += lineHeight;
        continue;
      }
      painter.drawText(QPoint(column, row + ascent), line);
      row += lineHeight;
    }
    impl_->changed();
  }
  impl_->currentY += static_cast<double>(lines.size()) * lineHeight * impl_->sh() / height();
}

double Picture::textWidth(std::string_view text) const {
  int widest = 0;
  for (const QString& line : splitLines(text)) widest = std::max(widest, impl_->widthPx(line));
  return widest * std::fabs(impl_->sw()) / width();
}

double Picture::textHeight(std::string_view text) const {
  const auto count = static_cast<double>(splitLines(text).size());
  return count * impl_->lineHeightPx() * std::fabs(impl_->sh()) / height();
}

bool Picture::save(const std::string& path) const {
  namespace fs = std::filesystem;
  if (path.empty()) return false;
  const fs::path target(path);
  std::string extension = target.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  const char* format = extension == ".png" ? "PNG" : "BMP";
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  // A short name, so that a target name near the length limit still leaves room for it.
  const fs::path pattern = folder / ".quorvel-save-XXXXXX";
  QTemporaryFile temporary(QString::fromStdString(pattern.string()));
  temporary.setAutoRemove(true);
  if (!temporary.open()) return false;
  if (!impl_->image.save(&temporary, format) || !temporary.flush()) return false;
  temporary.close();
  if (temporary.error() != QFileDevice::NoError) return false;
  const fs::path written(temporary.fileName().toStdString());
  std::error_code error;
  fs::permissions(written,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                      fs::perms::others_read,
                  error);
  fs::rename(written, target, error);
  if (error) return false;
  temporary.setAutoRemove(false);
  return true;
}

bool Picture::load(const std::string& path) {
  if (path.empty()) return false;
  QImageReader::setAllocationLimit(kReadLimitMiB);
  QImageReader reader(QString::fromStdString(path));
  // A file's header may declare any size: one beyond the largest side is refused before
  // its pixels are allocated (and checked again once read, for formats that tell their
  // size only then).
  const QSize declared = reader.size();
  if (declared.isValid() &&
      (declared.width() > kMaxLoadedSide || declared.height() > kMaxLoadedSide)) {
    return false;
  }
  QImage loaded;
  if (!reader.read(&loaded) || loaded.isNull() || loaded.width() > kMaxLoadedSide ||
      loaded.height() > kMaxLoadedSide) {
    return false;
  }
  impl_->image.fill(toQColor(impl_->back));
  {
    QPainter painter(&impl_->image);
    preparePainter(painter);
    painter.drawImage(QPoint(0, 0), loaded);
  }
  impl_->loadedWidth = loaded.width();
  impl_->loadedHeight = loaded.height();
  impl_->changed();
  return true;
}

int Picture::loadedWidth() const {
  return impl_->loadedWidth;
}
int Picture::loadedHeight() const {
  return impl_->loadedHeight;
}

void Picture::copyFrom(const Picture& source) {
  if (&source == this) return;
  {
    QPainter painter(&impl_->image);
    preparePainter(painter);
    painter.drawImage(QRect(0, 0, width(), height()), source.impl_->image);
  }
  impl_->changed();
}

bool Picture::setPixels(int widthPx, int heightPx, const std::uint8_t* rgb, int bytesPerLine) {
  if (!rgb || widthPx < 1 || heightPx < 1 || widthPx > kMaxSide || heightPx > kMaxSide ||
      bytesPerLine < 3 * widthPx) {
    return false;
  }
  const QImage view(rgb, widthPx, heightPx, bytesPerLine, QImage::Format_RGB888);
  QImage converted = view.convertToFormat(QImage::Format_RGB32);
  if (converted.isNull()) return false;
  impl_->image = std::move(converted);
  impl_->changed();
  return true;
}

Rgb Picture::pixel(int column, int row) const {
  if (column < 0 || row < 0 || column >= width() || row >= height()) return Rgb{};
  const QRgb p = impl_->image.pixel(column, row);
  return Rgb{qRed(p), qGreen(p), qBlue(p)};
}

double Picture::toUserX(double column) const {
  return impl_->left + column * impl_->sw() / width();
}
double Picture::toUserY(double row) const {
  return impl_->top + row * impl_->sh() / height();
}
double Picture::toPixelX(double x) const {
  return impl_->pxX(x);
}
int Picture::pixelIndex(double pixelCoordinate) {
  return pixelOf(pixelCoordinate);
}
double Picture::toPixelY(double y) const {
  return impl_->pxY(y);
}

std::uint64_t Picture::revision() const {
  return impl_->revision;
}

}  // namespace quorvel::platform
