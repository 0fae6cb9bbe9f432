#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/check_box.h"
#include "platform/command_button.h"
#include "platform/control.h"
#include "platform/frame.h"
#include "platform/label.h"
#include "platform/option_button.h"
#include "platform/picture_box.h"
#include "platform/plot.h"
#include "platform/results.h"
#include "platform/scroll_bar.h"
#include "platform/text_box.h"
#include "platform/timer.h"

namespace quorvel::platform {

class App;
class Host;

// Told by a form when one of its controls or its caption changed (the Qt view).
class FormListener {
 public:
  virtual ~FormListener() = default;
  virtual void controlChanged(Control& control) = 0;
  virtual void captionChanged() = 0;
};

// The base of every window. A window class holds its controls as members (which register
// here by name), sets their handlers, and overrides load/activate/unloading.
//
// The entry points below are what the user does (the view and the CLI call them); each
// runs its handler as a boundary: a handler already running is not started again, and
// nothing thrown inside escapes — an unexpected fault becomes a message box.
class Form {
 public:
  Form(App& app, std::string name, std::string caption, int widthPx, int heightPx);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  int width() const { return width_; }
  int height() const { return height_; }
  App& app() const { return app_; }
  Host& host() const;

  const std::vector<Control*>& controls() const { return controls_; }
  Control* find(std::string_view name) const;

  // Window events.
  virtual void load() {}
  virtual void activate() {}
  virtual void unloading() {}
  // The form's own data shown by the CLI dump besides its controls.
  virtual nlohmann::json data() const { return nlohmann::json::object(); }
  // The window's results as tables that can be saved as CSV or JSON; nothing when it has
  // none (no results of its own, or no run yet).
  virtual std::optional<Results> results() const { return std::nullopt; }

  // What the user does. Each returns false when the control was busy or disabled.
  bool click(Control& control);
  bool typeText(TextBox& box, std::string text);
  bool scrollTo(ScrollBar& bar, int value);
  bool mouseDown(PictureBox& box, MouseButton button, double x, double y);
  bool tick(Timer& timer);
  // Entry `index` of the control's context menu.
  bool chooseMenuItem(Control& control, std::size_t index);
  // Runs a window event (load, activate) as a boundary too.
  void runEvent(const std::function<void()>& event);

  // True while any handler of this form runs.
  bool busy() const { return depth_ > 0; }

  void setListener(FormListener* listener) { listener_ = listener; }
  FormListener* listener() const { return listener_; }
  void controlChanged(Control& control);

 protected:
  // Shown when a handler ends on an unexpected fault.
  virtual void reportFault(const std::string& what);

 private:
  friend class Control;
  void registerControl(Control& control);
  bool dispatch(Control* control, const std::function<void()>& handler);

  App& app_;
  std::string name_;
  std::string caption_;
  int width_;
  int height_;
  std::vector<Control*> controls_;
  int depth_ = 0;
  FormListener* listener_ = nullptr;
};

}  // namespace quorvel::platform
