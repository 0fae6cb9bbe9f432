#include "platform/plot_model.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace quorvel::platform {

namespace {

using nlohmann::json;

json number(double value) {
  return std::isfinite(value) ? json(value) : json();
}

json numbers(const std::vector<double>& values) {
  json list = json::array();
  for (double value : values) list.push_back(number(value));
  return list;
}

json axisJson(const PlotAxis& axis) {
  return {{"title", axis.title},
          {"unit", axis.unit},
          {"label", axis.label()},
          {"min", axis.fixedRange() ? json(*axis.min) : json()},
          {"max", axis.fixedRange() ? json(*axis.max) : json()},
          {"tickStep",
           axis.tickStep > 0 && std::isfinite(axis.tickStep) ? json(axis.tickStep) : json()}};
}

std::string colorText(Color color) {
  const Rgb c = resolve(color);
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r & 0xFF, c.g & 0xFF, c.b & 0xFF);
  return text;
}

const char* styleName(SeriesStyle style) {
  switch (style) {
    case SeriesStyle::Line:
      return "line";
    case SeriesStyle::Markers:
      return "markers";
    case SeriesStyle::LineAndMarkers:
      return "lineAndMarkers";
  }
  return "line";
}

const char* markerName(MarkerShape shape) {
  switch (shape) {
    case MarkerShape::Circle:
      return "circle";
    case MarkerShape::Square:
      return "square";
    case MarkerShape::Diamond:
      return "diamond";
    case MarkerShape::Triangle:
      return "triangle";
    case MarkerShape::Cross:
      return "cross";
    case MarkerShape::Plus:
      return "plus";
  }
  return "circle";
}

}  // namespace

bool PlotAxis::fixedRange() const {
  return min && max && std::isfinite(*min) && std::isfinite(*max) && *min < *max;
}

json plotModelJson(const PlotModel& model) {
  json series = json::array();
  for (const PlotSeries& s : model.series) {
    series.push_back({{"name", s.name},
                      {"style", styleName(s.style)},
                      {"marker", markerName(s.marker)},
                      {"color", colorText(s.color)},
                      {"lineWidth", s.lineWidth},
                      {"axis", s.axis == AxisSide::Left ? "left" : "right"},
                      {"inLegend", s.inLegend},
                      {"x", numbers(s.x)},
                      {"y", numbers(s.y)}});
  }
  json bands = json::array();
  for (const PlotBand& band : model.bands) {
    bands.push_back({{"label", band.label},
                     {"low", number(band.low)},
                     {"high", number(band.high)},
                     {"color", colorText(band.color)},
                     {"opacity", band.opacity}});
  }
  return {{"title", model.title},
          {"legend", model.legendVisible},
          {"xAxis", axisJson(model.xAxis)},
          {"yAxis", axisJson(model.yAxis)},
          {"y2Axis", axisJson(model.y2Axis)},
          {"series", std::move(series)},
          {"bands", std::move(bands)}};
}

}  // namespace quorvel::platform
