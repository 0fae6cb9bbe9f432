#pragma once

#include <functional>
#include <string>

#include "platform/control.h"

namespace quorvel::platform {

class CommandButton : public Control {
 public:
  CommandButton(Form& form, std::string name, std::string caption = {}, int index = -1);

  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);

  std::function<void()> onClick;

 private:
  std::string caption_;
};

}  // namespace quorvel::platform
