#pragma once

#include "platform/host.h"
#include "platform/window_manager.h"

namespace quorvel::platform {

// What every window reaches: the platform host and the window manager.
class App {
 public:
  explicit App(Host& host) : host_(host), windows_(*this) { host_.setWindowManager(&windows_); }
  ~App() { host_.setWindowManager(nullptr); }
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  Host& host() const { return host_; }
  WindowManager& windows() { return windows_; }

 private:
  Host& host_;
  WindowManager windows_;
};

}  // namespace quorvel::platform
