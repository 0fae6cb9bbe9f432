#pragma once

#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/color.h"

namespace quorvel::platform {

// How the points of a series are shown.
enum class SeriesStyle { Line, Markers, LineAndMarkers };

enum class MarkerShape { Circle, Square, Diamond, Triangle, Cross, Plus };

// The vertical axis a series is measured on: the left one, or the right one (shown only
// when a series uses it).
enum class AxisSide { Left, Right };

// One axis. Its label reads "title, unit" ("Азимут, град"), or the title alone without a
// unit. The range is automatic (the data and the bands, with a margin) unless both ends are
// given, finite and min < max; ticks are placed automatically unless tickStep > 0.
struct PlotAxis {
  std::string title;
  std::string unit;
  std::optional<double> min;
  std::optional<double> max;
  double tickStep = 0;

  // The label the plot shows beside the axis.
  std::string label() const { return unit.empty() ? title : title + ", " + unit; }
  // The range given, when it is one that can be shown.
  bool fixedRange() const;
};

// A curve or a set of points. x[i], y[i] is point i; a point with a NaN coordinate is a gap:
// the line stops before it and goes on after it. Points are drawn in the order of x.
struct PlotSeries {
  std::string name;  // the legend's entry
  std::vector<double> x;
  std::vector<double> y;
  Color color = rgb(0, 0, 192);
  SeriesStyle style = SeriesStyle::Line;
  MarkerShape marker = MarkerShape::Circle;
  int lineWidth = 2;  // pixels
  AxisSide axis = AxisSide::Left;
  bool inLegend = true;
};

// A shaded horizontal band low ≤ y ≤ high across the whole plot, on the left axis, with its
// label written inside it at the top left. Opacity 0 … 255 (the data stay visible through it).
struct PlotBand {
  std::string label;
  double low = 0;
  double high = 0;
  Color color = rgb(0, 160, 0);
  int opacity = 64;
};

// Everything a plot shows.
struct PlotModel {
  std::string title;  // above the plot ("" for none)
  PlotAxis xAxis;
  PlotAxis yAxis;
  PlotAxis y2Axis;  // the right axis
  bool legendVisible = true;
  std::vector<PlotSeries> series;
  std::vector<PlotBand> bands;
};

// The model as the CLI's dump shows it: the axes (an automatic range's ends null), each series
// with its style, colour ("#rrggbb") and points (a NaN as null), each band.
nlohmann::json plotModelJson(const PlotModel& model);

}  // namespace quorvel::platform
