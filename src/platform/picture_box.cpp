#include "platform/picture_box.h"

namespace quorvel::platform {

PictureBox::PictureBox(Form& form, std::string name, int widthPx, int heightPx, int index)
    : Control(form, std::move(name), ControlKind::PictureBox, index),
      picture_(std::make_unique<Picture>(widthPx, heightPx)) {
  Control::setGeometry(0, 0, widthPx, heightPx);
}

void PictureBox::resize(int widthPx, int heightPx) {
  picture_->resize(widthPx, heightPx);
  const Geometry& g = geometry();
  setGeometry(g.left, g.top, picture_->width(), picture_->height());
}

void PictureBox::move(int left, int top) {
  const Geometry& g = geometry();
  setGeometry(left, top, g.width, g.height);
}

}  // namespace quorvel::platform
