#include "platform/frame.h"

namespace quorvel::platform {

Frame::Frame(Form& form, std::string name, std::string caption)
    : Control(form, std::move(name), ControlKind::Frame), caption_(std::move(caption)) {}

void Frame::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  changed();
}

}  // namespace quorvel::platform
