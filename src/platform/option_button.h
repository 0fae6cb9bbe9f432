#pragma once

#include <functional>
#include <string>

#include "platform/control.h"

namespace quorvel::platform {

// An option button. Within its container (a frame, or the form) at most one is selected:
// selecting one clears the others. Selecting it, by the user or by the code, runs
// `onClick`; clearing it runs nothing.
class OptionButton : public Control {
 public:
  OptionButton(Form& form, std::string name, std::string caption = {}, bool value = false,
               int index = -1);

  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  bool value() const { return value_; }
  // true selects it (clearing its neighbours, then running onClick when it was not
  // selected before); false just clears it.
  void setValue(bool value);
  // What the user's click does: select it and run onClick even when it was selected.
  void select();

  std::function<void()> onClick;

 private:
  void clearNeighbours();
  std::string caption_;
  bool value_;
};

}  // namespace quorvel::platform
