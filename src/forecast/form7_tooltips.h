#pragma once

#include "platform/tool_tips.h"

namespace quorvel::forecast {

// What every field of the forecast window means, with its unit, bounds and initial value.
const platform::ToolTipTable& form7ToolTips();

}  // namespace quorvel::forecast
