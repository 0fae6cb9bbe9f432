#pragma once

#include <functional>
#include <string>

#include "platform/color.h"
#include "platform/control.h"

namespace quorvel::platform {

// A text field. `onChange` runs whenever the text changes, by the user or by the code.
class TextBox : public Control {
 public:
  TextBox(Form& form, std::string name, std::string initialText = {}, int index = -1);

  const std::string& text() const { return text_; }
  void setText(std::string text);

  bool multiLine() const { return multiLine_; }
  void setMultiLine(bool multiLine);
  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool readOnly);
  Color backColor() const { return backColor_; }
  void setBackColor(Color color);

  std::function<void()> onChange;

 private:
  std::string text_;
  bool multiLine_ = false;
  bool readOnly_ = false;
  Color backColor_ = 0xFFFFFF;
};

}  // namespace quorvel::platform
