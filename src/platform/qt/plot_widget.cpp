#include "platform/qt/plot_widget.h"

#include <QTimer>

#include "platform/qt/plot_rendering.h"

namespace quorvel::platform {

PlotWidget::PlotWidget(Plot& plot, QWidget* parent) : QCustomPlot(parent), plot_(&plot) {
  // A computation appends points many times a second; the widget shows them at most 25
  // times a second, as the picture boxes do.
  auto* timer = new QTimer(this);
  connect(timer, &QTimer::timeout, this, &PlotWidget::refresh);
  timer->start(40);
  refresh();
}

void PlotWidget::refresh() {
  if (!plot_ || plot_->revision() == shown_) return;
  drawPlot(*this, plot_->model());
  shown_ = plot_->revision();
  replot(QCustomPlot::rpQueuedReplot);
}

}  // namespace quorvel::platform
