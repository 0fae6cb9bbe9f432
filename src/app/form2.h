#pragma once

#include "platform/form.h"

namespace quorvel::app {

// The about window: the help text of every window's buttons, author and contact lines.
class Form2 : public platform::Form {
 public:
  explicit Form2(platform::App& app);
  void load() override;

  platform::TextBox Text1;
  platform::Label Label1;
  platform::Label Label2;
  platform::CommandButton Command1;
};

}  // namespace quorvel::app
