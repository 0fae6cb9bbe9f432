#pragma once

#include "platform/tool_tips.h"

namespace quorvel::app {

// What every field of the main window means.
const platform::ToolTipTable& form1ToolTips();

}  // namespace quorvel::app
