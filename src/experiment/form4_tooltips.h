#pragma once

#include "platform/tool_tips.h"

namespace quorvel::experiment {

// What every field of the experiment window means, with the values of the "Test" and
// "Real" units where they differ.
const platform::ToolTipTable& form4ToolTips();

}  // namespace quorvel::experiment
