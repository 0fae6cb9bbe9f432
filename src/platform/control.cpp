#include "platform/control.h"

#include "platform/form.h"

namespace quorvel::platform {

std::string_view kindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::TextBox: return "TextBox";
    case ControlKind::Label: return "Label";
    case ControlKind::CommandButton: return "CommandButton";
    case ControlKind::CheckBox: return "CheckBox";
    case ControlKind::OptionButton: return "OptionButton";
    case ControlKind::Frame: return "Frame";
    case ControlKind::PictureBox: return "PictureBox";
    case ControlKind::Plot: return "Plot";
    case ControlKind::Timer: return "Timer";
    case ControlKind::HScrollBar: return "HScrollBar";
    case ControlKind::VScrollBar: return "VScrollBar";
  }
  return "Control";
}

Control::Control(Form& form, std::string baseName, ControlKind kind, int index)
    : form_(form), baseName_(std::move(baseName)), kind_(kind), index_(index) {
  name_ = index_ < 0 ? baseName_ : baseName_ + "(" + std::to_string(index_) + ")";
  form_.registerControl(*this);
}

void Control::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  changed();
}

void Control::setVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  changed();
}

void Control::setGeometry(int left, int top, int width, int height) {
  geometry_ = {left, top, width, height};
  changed();
}

void Control::setContainer(std::string containerName) {
  container_ = std::move(containerName);
}

void Control::setToolTip(std::string text) {
  if (toolTip_ == text) return;
  toolTip_ = std::move(text);
  changed();
}

void Control::addMenuItem(std::string caption, std::function<void()> handler) {
  menu_.push_back({std::move(caption), std::move(handler)});
}

void Control::changed() { form_.controlChanged(*this); }

}  // namespace quorvel::platform
