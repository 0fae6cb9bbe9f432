#include "platform/option_button.h"

#include "platform/form.h"

namespace quorvel::platform {

OptionButton::OptionButton(Form& form, std::string name, std::string caption, bool value,
                           int index)
    : Control(form, std::move(name), ControlKind::OptionButton, index),
      caption_(std::move(caption)),
      value_(value) {}

void OptionButton::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  changed();
}

void OptionButton::clearNeighbours() {
  for (Control* control : form().controls()) {
    if (control == this || control->kind() != ControlKind::OptionButton ||
        control->container() != container()) {
      continue;
    }
    auto* other = static_cast<OptionButton*>(control);
    if (other->value_) {
      other->value_ = false;
      other->changed();
    }
  }
}

void OptionButton::setValue(bool value) {
  if (!value) {
    if (value_) {
      value_ = false;
      changed();
    }
    return;
  }
  if (value_) return;
  clearNeighbours();
  value_ = true;
  changed();
  if (onClick) onClick();
}

void OptionButton::select() {
  clearNeighbours();
  if (!value_) {
    value_ = true;
    changed();
  }
  if (onClick) onClick();
}

}  // namespace quorvel::platform
