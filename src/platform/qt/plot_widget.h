#pragma once

#include <qcustomplot.h>

#include <cstdint>

#include "platform/plot.h"

namespace quorvel::platform {

// The widget of a plot control: QCustomPlot showing the control's model. It redraws when
// the model's revision changed.
class PlotWidget : public QCustomPlot {
  Q_OBJECT

 public:
  PlotWidget(Plot& plot, QWidget* parent);
  void detach() { plot_ = nullptr; }
  // Draws the model now when it changed since it was last drawn.
  void refresh();

 private:
  Plot* plot_;
  std::uint64_t shown_ = 0;
};

}  // namespace quorvel::platform
