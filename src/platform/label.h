#pragma once

#include <string>

#include "platform/control.h"

namespace quorvel::platform {

// A caption on the form.
class Label : public Control {
 public:
  Label(Form& form, std::string name, std::string caption = {}, int index = -1);

  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);

 private:
  std::string caption_;
};

}  // namespace quorvel::platform
