#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/form.h"

namespace quorvel::platform {

class App;

// Told when a form is shown or about to be destroyed (the Qt view makes and drops its
// window then).
class WindowListener {
 public:
  virtual ~WindowListener() = default;
  virtual void formShown(Form& form) = 0;
  virtual void formUnloading(Form& form) = 0;
};

// Loads, shows and unloads the windows. A window is made afresh (with the initial texts
// of its fields) every time it is shown after an unload; the shared module outlives it.
class WindowManager {
 public:
  using Factory = std::function<std::unique_ptr<Form>(App&)>;

  explicit WindowManager(App& app) : app_(app) {}

  void registerForm(std::string name, Factory factory);
  bool isRegistered(std::string_view name) const;
  // The names of every registered window, in name order.
  std::vector<std::string> registeredNames() const;

  // The loaded form of that name, or nullptr.
  Form* find(std::string_view name) const;
  // Shows the form modeless (loading it first when needed) and activates it. False when
  // no such form is registered.
  bool show(std::string_view name);
  // Makes the form the active window, running its activation when it was not active.
  void activate(std::string_view name);
  Form* active() const { return active_; }

  // Unloads the form. A form whose handler runs is unloaded when that handler returns.
  void unload(std::string_view name);
  // The user closes the window: a run still going is asked to stop first
  // (StopRequested = 1) and the window is unloaded when it has returned.
  void requestClose(std::string_view name);
  // Unloads what was waiting for its handler to return.
  void processPendingUnloads();

  // The loaded forms in the order they were shown.
  std::vector<Form*> openForms() const;
  // Open windows, not counting those waiting to be unloaded (asked once per step of every
  // long loop, so it is kept up to date rather than counted).
  int openCount() const { return openCount_; }

  void setListener(WindowListener* listener) { listener_ = listener; }

 private:
  struct Entry {
    std::unique_ptr<Form> form;
    bool pendingUnload = false;
  };
  void destroy(std::string_view name);
  void recount();

  App& app_;
  std::map<std::string, Factory, std::less<>> factories_;
  std::vector<Entry> forms_;
  Form* active_ = nullptr;
  bool unloading_ = false;  // a form's unload event is running
  int openCount_ = 0;
  WindowListener* listener_ = nullptr;
};

}  // namespace quorvel::platform
