#include "platform/host.h"


#include <cstdio>
#include <ctime>
#include <system_error>

#include "platform/window_manager.h"

namespace quorvel::platform {

std::optional<std::string> Host::saveFileDialog(const FileDialogRequest&) {
  return std::nullopt;
}

void Host::waitUntil(std::chrono::steady_clock::time_point, const std::function<bool()>&) {}

LocalTime Host::localTime() const {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
          parts.tm_min, parts.tm_sec, static_cast<int>(parts.tm_gmtoff)};
}

std::string Host::dateText() const {
  LocalTime t = localTime();
  char text[32];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", t.day, t.month, t.year);
  return text;
}

std::string Host::timeText() const {
  LocalTime t = localTime();
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return text;
}

int Host::openWindowCount() const { return windows_ ? windows_->openCount() : 0; }

std::filesystem::path executableFolder() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || exe.empty()) return std::filesystem::current_path(error);
  return exe.parent_path();
}

}  // namespace quorvel::platform
