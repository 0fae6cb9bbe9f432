#pragma once

#include "platform/form.h"

namespace quorvel::app {

// The report window: a white picture the experiment window prints its reports on.
class Form9 : public platform::Form {
 public:
  explicit Form9(platform::App& app);
  void load() override;

  platform::PictureBox picBox;
};

}  // namespace quorvel::app
