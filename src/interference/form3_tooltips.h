#pragma once

#include "platform/tool_tips.h"

namespace quorvel::interference {

// What every field and scroll bar of the interference window means, with its unit and
// its initial value.
const platform::ToolTipTable& form3ToolTips();

}  // namespace quorvel::interference
