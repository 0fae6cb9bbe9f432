#pragma once

#include <functional>

#include "platform/control.h"

namespace quorvel::platform {

// A horizontal or vertical scroll bar; `onChange` runs when its value changes.
class ScrollBar : public Control {
 public:
  ScrollBar(Form& form, std::string name, bool horizontal, int min = 0, int max = 32767);

  bool horizontal() const { return kind() == ControlKind::HScrollBar; }
  int min() const { return min_; }
  int max() const { return max_; }
  void setRange(int min, int max);
  int value() const { return value_; }
  // Sets the value (kept within min..max) and runs onChange when it changed.
  void setValue(int value);
  int smallChange() const { return smallChange_; }
  int largeChange() const { return largeChange_; }
  void setSteps(int smallChange, int largeChange);

  std::function<void()> onChange;

 private:
  int min_;
  int max_;
  int value_;
  int smallChange_ = 1;
  int largeChange_ = 1;
};

}  // namespace quorvel::platform
