#include "platform/command_button.h"

namespace quorvel::platform {

CommandButton::CommandButton(Form& form, std::string name, std::string caption, int index)
    : Control(form, std::move(name), ControlKind::CommandButton, index),
      caption_(std::move(caption)) {}

void CommandButton::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  changed();
}

}  // namespace quorvel::platform
