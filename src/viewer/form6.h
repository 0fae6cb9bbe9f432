#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/plot.h"
#include "viewer/numbered_file.h"
#include "viewer/tracking/fringe_tracker.h"
#include "viewer/video/video_source.h"

namespace quorvel::viewer {

// The viewer window: photos and numbered photo series, eight small windows to compare
// images side by side, the fringe width from two clicked points, and the frames of videos
// stepped one by one, by the timer or cut into the small windows or into BMP files.
class Form6 : public platform::Form {
 public:
  explicit Form6(platform::App& app);
  ~Form6() override;

  void load() override;
  void unloading() override;
  // The file, its numbering, the two points, the video and the timer (the CLI dump).
  nlohmann::json data() const override;
  // The fringe tracking, frame by frame (nothing before a tracking has measured a frame).
  std::optional<platform::Results> results() const override;

  // The chosen video file does not open (Reload); GoToFrame reports it.
  struct VideoFault {};
  // Opens the video component when a video file is chosen and none is open; false when no
  // video file is chosen. Throws VideoFault when the file does not open.
  bool Reload();
  // Shows frame `frame` of the video in Picture2; false (after its message) on a failure.
  bool GoToFrame(int& frame);

  // The largest picture side the window accepts, in pixels.
  static constexpr int kMaxPictureSide = video::VideoSource::kMaxSide;

  // Photos.
  platform::PictureBox Picture4;
  platform::PictureBox Picture2;
  platform::ScrollBar HScroll1;
  platform::ScrollBar VScroll1;
  platform::CommandButton Command1;
  platform::CommandButton Command2;
  platform::CommandButton Command3;
  platform::CommandButton Command4;
  platform::TextBox Text13;
  platform::CommandButton Command10;
  platform::TextBox Text11;
  platform::TextBox Text12;
  platform::TextBox Text1;
  platform::TextBox Text2;
  platform::TextBox Text7;
  platform::TextBox Text8;
  platform::TextBox Text9;
  platform::TextBox Text3;
  platform::CommandButton Command6;
  platform::TextBox Text6;
  platform::TextBox Text5;
  platform::CommandButton Command5;
  // The small windows Picture1(1) … Picture1(8).
  std::vector<std::unique_ptr<platform::PictureBox>> Picture1;

  // Video.
  platform::CommandButton Command7;
  platform::Label Label6;
  platform::CommandButton Command8;
  platform::TextBox Text4;
  platform::TextBox Text10;
  platform::CommandButton Command11;
  platform::CommandButton Command12;
  platform::CommandButton Command9;
  platform::Frame Frame1;
  platform::OptionButton Option1;
  platform::OptionButton Option2;
  platform::TextBox Text14;
  platform::CommandButton Command14;
  platform::CommandButton Command13;
  platform::TextBox Text15;
  platform::TextBox Text17;
  platform::Frame Frame2;
  platform::OptionButton Option3;
  platform::OptionButton Option4;
  platform::TextBox Text16;
  platform::CheckBox Check1;
  platform::Timer Timer1;

  // Fringe tracking along the segment 1–2.
  platform::CommandButton Command15;
  platform::TextBox Text18;
  platform::TextBox Text19;
  platform::Label Label7;
  platform::Plot Picture5;
  platform::TextBox Text20;
  platform::TextBox Text21;
  platform::TextBox Text22;

  // The small window k (1 … 8).
  platform::PictureBox& smallWindow(int k) { return *Picture1.at(static_cast<std::size_t>(k - 1)); }
  // The video component, or nullptr while none is made.
  video::VideoSource* videoSource() const { return source_.get(); }
  int frameNumber() const { return N; }
  int frameTotal() const { return Nmax; }
  bool cutRunning() const { return cutting_; }
  bool trackingRunning() const { return tracking_; }
  // The last tracking's measurements, or nullptr before one has measured a frame.
  const tracking::FringeTracker* tracker() const { return tracker_.get(); }

 private:
  void layout();
  platform::Label& addCaption(const std::string& name, const std::string& text, int left, int top,
                              int width);
  // Photos.
  void openPhoto();
  void stepPhoto(int delta);
  bool showPhoto(const std::string& path);
  void showCaption();
  void drawGuideLines(platform::Picture& picture) const;
  bool copyToSmallWindow(bool fromButton);
  void setPictureSize();
  // Picture2 at width × height; false (after its message) when memory for it is lacking.
  bool resizePicture(int width, int height);
  void updateScrollRanges();
  void pointClicked(platform::MouseButton button, double x, double y);
  void fringeWidth();
  // Video.
  void openVideo();
  void stepForward();
  void stepBackward();
  void step();
  // Shows frame `frame` as N; N stays as it was when that fails.
  bool showFrame(int frame);
  void startStepping(bool fromFrameOfText4);
  void stopStepping();
  void closeVideo();
  void cutVideo();
  bool cutFolder(std::filesystem::path& folder);
  void message(const std::string& text);
  // Fringe tracking.
  void trackFringes();
  // The tracking's settings from the points and Text18; false after its message.
  bool trackingSettings(tracking::TrackingSettings& settings);
  void trackVideo(const tracking::TrackingSettings& settings);
  void trackPhoto(const tracking::TrackingSettings& settings);
  // Shows the kept tracking in Picture5 and Text20 … Text22.
  void showTracking();
  void startTrackingPlot(bool perSecond);
  // The tracking's values for the dump (null before any).
  nlohmann::json trackingJson() const;

  std::vector<std::unique_ptr<platform::Label>> captions_;

  // The photo and its numbering.
  std::string fileName_;
  NumberedFile numbered_;
  int wPic = 640;
  int hPic = 480;
  std::optional<std::array<double, 2>> point1_;
  std::optional<std::array<double, 2>> point2_;

  // The video.
  std::string videoFile_;
  std::unique_ptr<video::VideoSource> source_;
  int Nmax = 0;
  int N = 0;
  std::filesystem::path frameImagePath_;
  video::RgbFrame framePixels_;  // the frame shown, as the source gave it
  bool cutting_ = false;
  bool stopCut_ = false;

  // The fringe tracking.
  bool tracking_ = false;
  int stopTrack_ = 0;
  std::unique_ptr<tracking::FringeTracker> tracker_;
  platform::Label* speedUnit_ = nullptr;  // the unit beside Text21
  int trackedFrom_ = 0;  // the video's frame number of the tracker's frame 0 (0: a photo)
};

}  // namespace quorvel::viewer
