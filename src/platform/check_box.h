#pragma once

#include <functional>
#include <string>

#include "platform/control.h"

namespace quorvel::platform {

// A check box: value 1 ticked, 0 not. Changing the value, by the user or by the code,
// runs `onClick`, as the windows expect.
class CheckBox : public Control {
 public:
  CheckBox(Form& form, std::string name, std::string caption = {}, int value = 0,
           int index = -1);

  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  int value() const { return value_; }
  bool ticked() const { return value_ == 1; }
  void setValue(int value);

  std::function<void()> onClick;

 private:
  std::string caption_;
  int value_;
};

}  // namespace quorvel::platform
