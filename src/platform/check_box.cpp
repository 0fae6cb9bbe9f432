#include "platform/check_box.h"

namespace quorvel::platform {

CheckBox::CheckBox(Form& form, std::string name, std::string caption, int value, int index)
    : Control(form, std::move(name), ControlKind::CheckBox, index),
      caption_(std::move(caption)),
      value_(value == 1 ? 1 : 0) {}

void CheckBox::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  changed();
}

void CheckBox::setValue(int value) {
  value = value == 1 ? 1 : 0;
  if (value == value_) return;
  value_ = value;
  changed();
  if (onClick) onClick();
}

}  // namespace quorvel::platform
