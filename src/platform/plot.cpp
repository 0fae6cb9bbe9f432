#include "platform/plot.h"

#include <stdexcept>

namespace quorvel::platform {

Plot::Plot(Form& form, std::string name, int widthPx, int heightPx, int index)
    : Control(form, std::move(name), ControlKind::Plot, index) {
  Control::setGeometry(0, 0, widthPx, heightPx);
}

void Plot::modelChanged() {
  ++revision_;
  changed();
}

void Plot::setModel(PlotModel model) {
  for (const PlotSeries& series : model.series) {
    if (series.x.size() != series.y.size()) {
      throw std::invalid_argument("a plot series needs as many x as y values");
    }
  }
  model_ = std::move(model);
  modelChanged();
}

void Plot::setTitle(std::string title) {
  model_.title = std::move(title);
  modelChanged();
}

void Plot::setXAxis(PlotAxis axis) {
  model_.xAxis = std::move(axis);
  modelChanged();
}

void Plot::setYAxis(PlotAxis axis) {
  model_.yAxis = std::move(axis);
  modelChanged();
}

void Plot::setY2Axis(PlotAxis axis) {
  model_.y2Axis = std::move(axis);
  modelChanged();
}

void Plot::setLegendVisible(bool visible) {
  model_.legendVisible = visible;
  modelChanged();
}

std::size_t Plot::addSeries(PlotSeries series) {
  if (series.x.size() != series.y.size()) {
    throw std::invalid_argument("a plot series needs as many x as y values");
  }
  model_.series.push_back(std::move(series));
  modelChanged();
  return model_.series.size() - 1;
}

void Plot::setPoints(std::size_t index, std::vector<double> x, std::vector<double> y) {
  if (x.size() != y.size())
    throw std::invalid_argument("a plot series needs as many x as y values");
  PlotSeries& series = model_.series.at(index);
  series.x = std::move(x);
  series.y = std::move(y);
  modelChanged();
}

void Plot::appendPoint(std::size_t index, double x, double y) {
  PlotSeries& series = model_.series.at(index);
  series.x.push_back(x);
  series.y.push_back(y);
  modelChanged();
}

std::size_t Plot::addBand(PlotBand band) {
  model_.bands.push_back(std::move(band));
  modelChanged();
  return model_.bands.size() - 1;
}

void Plot::clearData() {
  model_.series.clear();
  model_.bands.clear();
  modelChanged();
}

void Plot::resize(int widthPx, int heightPx) {
  const Geometry& g = geometry();
  setGeometry(g.left, g.top, widthPx, heightPx);
}

}  // namespace quorvel::platform
