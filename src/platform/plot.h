#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/control.h"
#include "platform/plot_model.h"

namespace quorvel::platform {

// A plot: a control that shows series of points against axes, with a legend and shaded
// bands. The form fills its model; the desktop view draws it, the CLI's dump shows the
// model and `save` writes it as PNG or SVG. Nothing here draws: the control only holds what
// is to be drawn, so the windows and the tests need no toolkit.
class Plot : public Control {
 public:
  Plot(Form& form, std::string name, int widthPx, int heightPx, int index = -1);

  const PlotModel& model() const { return model_; }
  // Replaces everything the plot shows.
  void setModel(PlotModel model);

  void setTitle(std::string title);
  void setXAxis(PlotAxis axis);
  void setYAxis(PlotAxis axis);
  void setY2Axis(PlotAxis axis);
  void setLegendVisible(bool visible);

  // Adds a series (its points may follow later); returns its index.
  std::size_t addSeries(PlotSeries series);
  // Replaces the points of series `index`; x and y must be of one length.
  void setPoints(std::size_t index, std::vector<double> x, std::vector<double> y);
  // One more point of series `index`, for curves that grow while a computation runs.
  void appendPoint(std::size_t index, double x, double y);
  std::size_t addBand(PlotBand band);
  // Removes the series and the bands; title, axes and legend stay.
  void clearData();

  // Changes the size of the control (the saved pictures take it too).
  void resize(int widthPx, int heightPx);

  // Grows on every change of the model, so that a view redraws only when something changed.
  std::uint64_t revision() const { return revision_; }

 private:
  void modelChanged();

  PlotModel model_;
  std::uint64_t revision_ = 1;
};

}  // namespace quorvel::platform
