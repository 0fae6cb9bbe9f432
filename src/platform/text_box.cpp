#include "platform/text_box.h"

namespace quorvel::platform {

TextBox::TextBox(Form& form, std::string name, std::string initialText, int index)
    : Control(form, std::move(name), ControlKind::TextBox, index), text_(std::move(initialText)) {}

void TextBox::setText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  changed();
  if (onChange) onChange();
}

void TextBox::setMultiLine(bool multiLine) {
  multiLine_ = multiLine;
  changed();
}

void TextBox::setReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  changed();
}

void TextBox::setBackColor(Color color) {
  backColor_ = color;
  changed();
}

}  // namespace quorvel::platform
