#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel::platform {

class WindowManager;

enum class Buttons { Ok, YesNo };

// What a file-open dialog is asked for. The filter is pairs of a description and a
// pattern, all separated by vertical bars ("All Files (*.*)|*.*").
struct FileDialogRequest {
  std::string filter;
  std::string fileName;
  std::string title;
  int flags = 0;
};

// A moment of the computer's clock, local time.
struct LocalTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int utcOffsetSeconds = 0;  // local time − UTC at that moment (10800 in UTC+3)
};

// The services of the windowing platform that the windows call.
class Host {
 public:
  virtual ~Host() = default;

  // Shows a message box; true only when it asked Yes/No and Yes was answered.
  virtual bool messageBox(std::string_view text, Buttons buttons, std::string_view title) = 0;
  // The file-open dialog: the chosen path, or nothing when it was cancelled.
  virtual std::optional<std::string> openFileDialog(const FileDialogRequest& request) = 0;
  // The file-save dialog: the path to write, or nothing when it was cancelled (a host
  // without one cancels).
  virtual std::optional<std::string> saveFileDialog(const FileDialogRequest& request);
  // Lets the user interface process pending events; returns the number of open windows.
  // Long loops call it once per step, so it must cost next to nothing when there is
  // nothing to do.
  virtual int doEvents() = 0;
  // Keeps the user interface live until the moment `until`, or until `interrupted` says so
  // (it is asked at least every 20 ms); an animation waits here between its frames. A host
  // without a screen returns at once: nothing is watched there.
  virtual void waitUntil(std::chrono::steady_clock::time_point until,
                         const std::function<bool()>& interrupted);
  // The computer's local date and time.
  virtual LocalTime localTime() const;

  // "dd.mm.yyyy" and "hh:mm:ss" of the clock.
  std::string dateText() const;
  std::string timeText() const;

  // The folder of the program's files (Dat/, Otladka.dat, ...).
  const std::filesystem::path& programFolder() const { return programFolder_; }
  void setProgramFolder(std::filesystem::path folder) { programFolder_ = std::move(folder); }

  void setWindowManager(WindowManager* windows) { windows_ = windows; }

 protected:
  int openWindowCount() const;

 private:
  std::filesystem::path programFolder_;
  WindowManager* windows_ = nullptr;
};

// The folder of the running executable (the current directory when it cannot be told).
std::filesystem::path executableFolder();

}  // namespace quorvel::platform
