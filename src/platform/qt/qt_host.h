#pragma once

#include <chrono>

#include "platform/host.h"

namespace quorvel::platform {

// The host of the desktop program: Qt message boxes and file dialogs, and an event yield
// that lets Qt process events at most every 15 ms (between, it returns at once).
class QtHost : public Host {
 public:
  bool messageBox(std::string_view text, Buttons buttons, std::string_view title) override;
  std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
  // A name typed without an extension gets the one of the chosen filter.
  std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
  int doEvents() override;
  void waitUntil(std::chrono::steady_clock::time_point until,
                 const std::function<bool()>& interrupted) override;

 private:
  std::chrono::steady_clock::time_point lastEvents_{};
};

// A dialog filter of description|pattern pairs in Qt's form ("All Files (*)").
std::string qtFilter(const std::string& filter);

}  // namespace quorvel::platform
