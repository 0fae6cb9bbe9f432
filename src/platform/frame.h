#pragma once

#include <string>

#include "platform/control.h"

namespace quorvel::platform {

// A frame grouping controls; option buttons inside one frame exclude each other.
class Frame : public Control {
 public:
  Frame(Form& form, std::string name, std::string caption = {});

  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);

 private:
  std::string caption_;
};

}  // namespace quorvel::platform
