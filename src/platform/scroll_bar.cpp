#include "platform/scroll_bar.h"

#include <algorithm>

namespace quorvel::platform {

ScrollBar::ScrollBar(Form& form, std::string name, bool horizontal, int min, int max)
    : Control(form, std::move(name),
              horizontal ? ControlKind::HScrollBar : ControlKind::VScrollBar),
      min_(std::min(min, max)),
      max_(std::max(min, max)),
      value_(min_) {}

void ScrollBar::setRange(int min, int max) {
  min_ = std::min(min, max);
  max_ = std::max(min, max);
  changed();
  setValue(value_);
}

void ScrollBar::setValue(int value) {
  value = std::clamp(value, min_, max_);
  if (value == value_) return;
  value_ = value;
  changed();
  if (onChange) onChange();
}

void ScrollBar::setSteps(int smallChange, int largeChange) {
  smallChange_ = std::max(1, smallChange);
  largeChange_ = std::max(1, largeChange);
  changed();
}

}  // namespace quorvel::platform
