#include "platform/tool_tips.h"

#include "platform/form.h"

namespace quorvel::platform {

std::vector<std::string> applyToolTips(Form& form, const ToolTipTable& table) {
  std::vector<std::string> unknown;
  for (const auto& [name, text] : table) {
    if (Control* control = form.find(name)) {
      control->setToolTip(text);
    } else {
      unknown.push_back(name);
    }
  }
  return unknown;
}

}  // namespace quorvel::platform
