#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::platform {

class Form;

enum class ControlKind {
  TextBox,
  Label,
  CommandButton,
  CheckBox,
  OptionButton,
  Frame,
  PictureBox,
  Plot,
  Timer,
  HScrollBar,
  VScrollBar,
};

// The kind as the CLI and the dumps name it ("TextBox", "CommandButton", ...).
std::string_view kindName(ControlKind kind);

// Position and size in pixels, relative to the control's container (the form or a frame
// or picture box named as container).
struct Geometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// An entry of a control's context menu (the right mouse button in the desktop program).
struct MenuItem {
  std::string caption;
  std::function<void()> handler;
};

// A control of a form. It registers itself with its form by name when it is made, so
// that the view, the CLI and the tests reach it by that name. Controls of an array share
// a base name and are registered as "Name(index)".
class Control {
 public:
  Control(Form& form, std::string baseName, ControlKind kind, int index = -1);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  const std::string& baseName() const { return baseName_; }
  int index() const { return index_; }
  ControlKind kind() const { return kind_; }
  Form& form() const { return form_; }

  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  bool visible() const { return visible_; }
  void setVisible(bool visible);

  const Geometry& geometry() const { return geometry_; }
  void setGeometry(int left, int top, int width, int height);
  // Name of the container control ("" for the form itself).
  const std::string& container() const { return container_; }
  void setContainer(std::string containerName);

  // A handler of this control is running (a second start is refused).
  bool running() const { return running_; }

  // What the field means, shown when the pointer rests on it ("" for none).
  const std::string& toolTip() const { return toolTip_; }
  void setToolTip(std::string text);

  // The context menu; its entries run through the form (Form::chooseMenuItem).
  const std::vector<MenuItem>& menu() const { return menu_; }
  void addMenuItem(std::string caption, std::function<void()> handler);

 protected:
  // Tells the form's view that the control's state changed.
  void changed();

 private:
  friend class Form;
  Form& form_;
  std::string baseName_;
  std::string name_;
  ControlKind kind_;
  int index_;
  bool enabled_ = true;
  bool visible_ = true;
  bool running_ = false;
  Geometry geometry_;
  std::string container_;
  std::string toolTip_;
  std::vector<MenuItem> menu_;
};

}  // namespace quorvel::platform
