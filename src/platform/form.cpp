#include "platform/form.h"

#include <exception>

#include "platform/app.h"

namespace quorvel::platform {

Form::Form(App& app, std::string name, std::string caption, int widthPx, int heightPx)
    : app_(app),
      name_(std::move(name)),
      caption_(std::move(caption)),
      width_(widthPx),
      height_(heightPx) {}

Form::~Form() = default;

Host& Form::host() const { return app_.host(); }

void Form::setCaption(std::string caption) {
  caption_ = std::move(caption);
  if (listener_) listener_->captionChanged();
}

Control* Form::find(std::string_view name) const {
  for (Control* control : controls_) {
    if (control->name() == name) return control;
  }
  return nullptr;
}

void Form::registerControl(Control& control) { controls_.push_back(&control); }

void Form::controlChanged(Control& control) {
  if (listener_) listener_->controlChanged(control);
}

void Form::reportFault(const std::string& what) {
  host().messageBox("Ошибка: " + what, Buttons::Ok, "Quorvel");
}

bool Form::dispatch(Control* control, const std::function<void()>& handler) {
  if (control && (control->running_ || !control->enabled_)) return false;
  if (control) control->running_ = true;
  ++depth_;
  try {
    handler();
  } catch (const std::exception& e) {
    reportFault(e.what());
  } catch (...) {
    reportFault("непредвиденная ошибка");
  }
  --depth_;
  if (control) control->running_ = false;
  // The form may be unloaded here: nothing of it is touched afterwards.
  if (depth_ == 0) app_.windows().processPendingUnloads();
  return true;
}

bool Form::click(Control& control) {
  switch (control.kind()) {
    case ControlKind::CommandButton: {
      auto& button = static_cast<CommandButton&>(control);
      return dispatch(&control, [&button] {
        if (button.onClick) button.onClick();
      });
    }
    case ControlKind::CheckBox: {
      auto& box = static_cast<CheckBox&>(control);
      return dispatch(&control, [&box] { box.setValue(box.value() == 1 ? 0 : 1); });
    }
    case ControlKind::OptionButton: {
      auto& option = static_cast<OptionButton&>(control);
      return dispatch(&control, [&option] { option.select(); });
    }
    default:
      return false;
  }
}

bool Form::typeText(TextBox& box, std::string text) {
  return dispatch(&box, [&box, &text] { box.setText(std::move(text)); });
}

bool Form::scrollTo(ScrollBar& bar, int value) {
  return dispatch(&bar, [&bar, value] { bar.setValue(value); });
}

bool Form::mouseDown(PictureBox& box, MouseButton button, double x, double y) {
  return dispatch(&box, [&box, button, x, y] {
    if (box.onMouseDown) box.onMouseDown(button, x, y);
  });
}

bool Form::tick(Timer& timer) {
  if (!timer.timerEnabled() || timer.interval() <= 0) return false;
  return dispatch(&timer, [&timer] {
    if (timer.onTick) timer.onTick();
  });
}

bool Form::chooseMenuItem(Control& control, std::size_t index) {
  if (index >= control.menu().size()) return false;
  return dispatch(&control, [&control, index] {
    if (const auto& handler = control.menu()[index].handler) handler();
  });
}

void Form::runEvent(const std::function<void()>& event) { dispatch(nullptr, event); }

}  // namespace quorvel::platform
