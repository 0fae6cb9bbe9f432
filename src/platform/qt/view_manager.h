#pragma once

#include <QObject>
#include <map>

#include "platform/window_manager.h"

namespace quorvel::platform {

class FormView;

// Makes a Qt window for every form the window manager shows and drops it when the form
// is unloaded; ends the Qt event loop when no window is left.
class ViewManager : public QObject, public WindowListener {
  Q_OBJECT

 public:
  explicit ViewManager(WindowManager& windows);
  ~ViewManager() override;

  void formShown(Form& form) override;
  void formUnloading(Form& form) override;
  FormView* view(const Form& form) const;

 private:
  WindowManager& windows_;
  std::map<const Form*, FormView*> views_;
};

}  // namespace quorvel::platform
