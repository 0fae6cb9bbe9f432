#include "platform/label.h"

namespace quorvel::platform {

Label::Label(Form& form, std::string name, std::string caption, int index)
    : Control(form, std::move(name), ControlKind::Label, index), caption_(std::move(caption)) {}

void Label::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  changed();
}

}  // namespace quorvel::platform
