#include "platform/qt/plot_rendering.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QBuffer>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <limits>

#include "common/atomic_file.h"

namespace quorvel::platform {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

QColor qcolor(Color color, int alpha = 255) {
  const Rgb c = resolve(color);
  return QColor(c.r, c.g, c.b, std::clamp(alpha, 0, 255));
}

QCPScatterStyle::ScatterShape shapeOf(MarkerShape marker) {
  switch (marker) {
    case MarkerShape::Circle:
      return QCPScatterStyle::ssDisc;
    case MarkerShape::Square:
      return QCPScatterStyle::ssSquare;
    case MarkerShape::Diamond:
      return QCPScatterStyle::ssDiamond;
    case MarkerShape::Triangle:
      return QCPScatterStyle::ssTriangle;
    case MarkerShape::Cross:
      return QCPScatterStyle::ssCross;
    case MarkerShape::Plus:
      return QCPScatterStyle::ssPlus;
  }
  return QCPScatterStyle::ssDisc;
}

// The smallest and largest finite values seen, grown one value at a time.
struct Extent {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();
  void add(double v) {
    if (!std::isfinite(v)) return;
    low = std::min(low, v);
    high = std::max(high, v);
  }
  bool empty() const { return low > high; }
};

// The automatic range: the extent with 5 % of margin on each side; a single value gets a
// unit-sized (or 10 %) range around it, nothing at all 0 … 1.
QCPRange autoRange(const Extent& extent) {
  if (extent.empty()) return QCPRange(0, 1);
  double span = extent.high - extent.low;
  if (!(span > 0) || !std::isfinite(span)) {
    const double half = extent.low == 0 ? 0.5 : std::fabs(extent.low) * 0.1;
    return QCPRange(extent.low - half, extent.low + half);
  }
  return QCPRange(extent.low - 0.05 * span, extent.high + 0.05 * span);
}

void setUpAxis(QCPAxis& axis, const PlotAxis& model, const Extent& extent) {
  axis.setLabel(qs(model.label()));
  axis.setRange(model.fixedRange() ? QCPRange(*model.min, *model.max) : autoRange(extent));
  const QCPRange range = axis.range();
  // A fixed step that would put more than 100 ticks on the axis is taken as automatic.
  if (model.tickStep > 0 && std::isfinite(model.tickStep) && range.size() / model.tickStep <= 100) {
    QSharedPointer<QCPAxisTickerFixed> ticker(new QCPAxisTickerFixed);
    ticker->setTickStep(model.tickStep);
    ticker->setScaleStrategy(QCPAxisTickerFixed::ssNone);
    axis.setTicker(ticker);
  } else {
    axis.setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
  }
}

// The points as QCustomPlot keeps them (sorted by x). A point whose x is not finite is a
// gap after the point before it; a y that is not finite is a gap where it stands.
void setPoints(QCPGraph& graph, const PlotSeries& series) {
  QVector<double> keys;
  QVector<double> values;
  keys.reserve(static_cast<int>(series.x.size()));
  values.reserve(static_cast<int>(series.y.size()));
  for (std::size_t i = 0; i < series.x.size(); ++i) {
    double x = series.x[i];
    double y = std::isfinite(series.y[i]) ? series.y[i] : kNaN;
    if (!std::isfinite(x)) {
      if (keys.isEmpty()) continue;
      x = keys.back();
      y = kNaN;
    }
    keys.push_back(x);
    values.push_back(y);
  }
  graph.setData(keys, values);
}

void setUpTitle(QCustomPlot& target, const std::string& title) {
  QCPLayoutGrid* layout = target.plotLayout();
  auto* element =
      layout->rowCount() > 1 ? qobject_cast<QCPTextElement*>(layout->element(0, 0)) : nullptr;
  if (title.empty()) {
    if (element) {
      layout->remove(element);
      layout->simplify();
    }
    return;
  }
  if (!element) {
    layout->insertRow(0);
    element =
        new QCPTextElement(&target, QString(), QFont(target.font().family(), 10, QFont::Bold));
    layout->addElement(0, 0, element);
  }
  element->setText(qs(title));
}

}  // namespace

void drawPlot(QCustomPlot& target, const PlotModel& model) {
  QLocale locale(QLocale::Russian, QLocale::Russia);
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  target.setLocale(locale);
  target.clearPlottables();
  target.clearItems();
  setUpTitle(target, model.title);

  Extent x, left, right;
  bool rightUsed = false;
  for (const PlotSeries& series : model.series) {
    const bool onRight = series.axis == AxisSide::Right;
    rightUsed = rightUsed || onRight;
    for (std::size_t i = 0; i < series.x.size() && i < series.y.size(); ++i) {
      if (!std::isfinite(series.x[i]) || !std::isfinite(series.y[i])) continue;
      x.add(series.x[i]);
      (onRight ? right : left).add(series.y[i]);
    }
  }
  for (const PlotBand& band : model.bands) {
    left.add(band.low);
    left.add(band.high);
  }
  setUpAxis(*target.xAxis, model.xAxis, x);
  setUpAxis(*target.yAxis, model.yAxis, left);
  target.yAxis2->setVisible(rightUsed);
  if (rightUsed) setUpAxis(*target.yAxis2, model.y2Axis, right);

  for (const PlotBand& band : model.bands) {
    if (!std::isfinite(band.low) || !std::isfinite(band.high)) continue;
    auto* rect = new QCPItemRect(&target);
    rect->setLayer(QStringLiteral("background"));
    for (QCPItemPosition* corner : {rect->topLeft, rect->bottomRight}) {
      corner->setTypeX(QCPItemPosition::ptAxisRectRatio);
      corner->setTypeY(QCPItemPosition::ptPlotCoords);
    }
    rect->topLeft->setCoords(0, std::max(band.low, band.high));
    rect->bottomRight->setCoords(1, std::min(band.low, band.high));
    rect->setPen(Qt::NoPen);
    rect->setBrush(QBrush(qcolor(band.color, band.opacity)));
    if (band.label.empty()) continue;
    auto* label = new QCPItemText(&target);
    label->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
    label->position->setTypeY(QCPItemPosition::ptPlotCoords);
    // Inside the band, at its top left (or at the top of the plot when the band goes on above
    // it), so that the label stays within the plot whatever the range.
    const double top = std::max(band.low, band.high);
    label->position->setCoords(0.01, std::min(top, target.yAxis->range().upper));
    label->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setPadding(QMargins(2, 1, 2, 1));
    label->setText(qs(band.label));
    label->setColor(qcolor(band.color).darker(160));
  }

  bool anyInLegend = false;
  for (const PlotSeries& series : model.series) {
    QCPGraph* graph = target.addGraph(
        target.xAxis, series.axis == AxisSide::Right ? target.yAxis2 : target.yAxis);
    graph->setName(qs(series.name));
    QPen pen(qcolor(series.color));
    pen.setWidth(std::clamp(series.lineWidth, 1, 20));
    graph->setPen(pen);
    const bool line = series.style != SeriesStyle::Markers;
    const bool markers = series.style != SeriesStyle::Line;
    graph->setLineStyle(line ? QCPGraph::lsLine : QCPGraph::lsNone);
    graph->setScatterStyle(markers ? QCPScatterStyle(shapeOf(series.marker), 7)
                                   : QCPScatterStyle(QCPScatterStyle::ssNone));
    setPoints(*graph, series);
    if (series.inLegend) {
      anyInLegend = true;
    } else {
      graph->removeFromLegend();
    }
  }
  target.legend->setVisible(model.legendVisible && anyInLegend);
}

bool savePlot(const Plot& plot, const std::string& path) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  const QString name = qs(path).toLower();
  const bool svg = name.endsWith(QStringLiteral(".svg"));
  if (!svg && !name.endsWith(QStringLiteral(".png"))) return false;
  const int width = std::max(1, plot.geometry().width);
  const int height = std::max(1, plot.geometry().height);

  QCustomPlot target;
  target.resize(width, height);
  drawPlot(target, plot.model());
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (svg) {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(width, height));
    generator.setViewBox(QRect(0, 0, width, height));
    generator.setTitle(qs(plot.model().title));
    QCPPainter painter;
    if (!painter.begin(&generator)) return false;
    target.toPainter(&painter, width, height);
    painter.end();
  } else {
    const QImage image = target.toPixmap(width, height).toImage();
    if (image.isNull() || !image.save(&buffer, "PNG")) return false;
  }
  const QByteArray& bytes = buffer.data();
  return common::writeFileAtomically(
             path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))) ==
         common::AtomicWrite::Written;
}

}  // namespace quorvel::platform
