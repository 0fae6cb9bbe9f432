#pragma once

#include "platform/tool_tips.h"

namespace quorvel::viewer {

// What every field and scroll bar of the viewer window means, with its unit and its
// initial value.
const platform::ToolTipTable& form6ToolTips();

}  // namespace quorvel::viewer
