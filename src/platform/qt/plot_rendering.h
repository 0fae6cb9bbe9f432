#pragma once

#include <string>

#include "platform/plot.h"

class QCustomPlot;

namespace quorvel::platform {

// Puts the model into a QCustomPlot, replacing what it showed: the axes with their labels,
// ranges and ticks, the series, the bands with their labels, the legend and the title.
void drawPlot(QCustomPlot& target, const PlotModel& model);

// Renders the plot off screen at its control's size and saves it, as PNG or as SVG by the
// extension (any case). The file is written beside the target and renamed over it, so a
// failed save leaves an existing file whole. Needs a QApplication (no screen); false when
// there is none, the extension is neither, or the file cannot be written.
bool savePlot(const Plot& plot, const std::string& path);

}  // namespace quorvel::platform
