#pragma once

#include <functional>
#include <memory>

#include "platform/control.h"
#include "platform/picture.h"

namespace quorvel::platform {

enum class MouseButton { Left = 1, Right = 2 };

// A picture box: a control that shows its picture. Mouse presses arrive with the button
// and the position in the picture's user coordinates.
class PictureBox : public Control {
 public:
  PictureBox(Form& form, std::string name, int widthPx, int heightPx, int index = -1);

  Picture& picture() { return *picture_; }
  const Picture& picture() const { return *picture_; }
  // Changes the size of the box and of its picture.
  void resize(int widthPx, int heightPx);
  // Moves the box within its container (used by scrolling).
  void move(int left, int top);

  std::function<void(MouseButton button, double x, double y)> onMouseDown;

 private:
  std::unique_ptr<Picture> picture_;
};

}  // namespace quorvel::platform
