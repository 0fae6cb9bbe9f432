#pragma once

#include "platform/tool_tips.h"

namespace quorvel::app {

// What every field of the main window means.
const platform::ToolTipTable& form1ToolTips();

// The tooltips of the Earth's position and velocity fields for the ephemeris behind them:
// the elements (`precise` false) or ERFA, whose date may lie outside its best centuries.
platform::ToolTipTable form1EarthToolTips(bool precise, bool outsideCenturies);

}  // namespace quorvel::app
