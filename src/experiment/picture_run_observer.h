#pragma once

#include <functional>
#include <string>

#include "experiment/model/experiment_state.h"
#include "experiment/model/run_observer.h"
#include "platform/host.h"
#include "platform/picture.h"

namespace quorvel::experiment {

// The observer of a run that shows it as the experiment window does: questions and messages
// through the host's message boxes, the yield through its event processing, drawing on a
// picture (none: nothing is drawn), and the window's own parts through the hooks it sets.
class PictureRunObserver : public model::RunObserver {
 public:
  PictureRunObserver(platform::Host& host, platform::Picture* picture)
      : host_(host), picture_(picture) {}

  std::function<void(const model::ExperimentState&)> onRefresh;
  std::function<void()> onRedrawSetup;
  std::function<void()> onRedrawScheme;
  std::function<void(double)> onShowTime;
  std::function<void(double, double)> onScreenFrequencies;
  std::function<void(const model::ExperimentState&)> onReport;
  std::function<void(const std::string&)> onDebugLine;

  void yield() override { host_.doEvents(); }
  void refresh(const model::ExperimentState& s) override {
    if (onRefresh) onRefresh(s);
  }
  void redrawSetup() override {
    if (onRedrawSetup) onRedrawSetup();
  }
  bool ask(std::string_view text, std::string_view title) override {
    return host_.messageBox(text, platform::Buttons::YesNo, title);
  }
  void tell(std::string_view text, std::string_view title) override {
    host_.messageBox(text, platform::Buttons::Ok, title);
  }
  void showTime(double T) override {
    if (onShowTime) onShowTime(T);
  }
  bool draws() const override { return picture_ != nullptr; }
  void print(double x, double y, const std::string& text) override {
    if (!picture_) return;
    picture_->setCurrentX(x);
    picture_->setCurrentY(y);
    picture_->print(text);
  }
  void printNext(const std::string& text) override {
    if (picture_) picture_->print(text);
  }
  void line(double x1, double y1, double x2, double y2,
            std::optional<platform::Color> color) override {
    if (picture_) picture_->line(x1, y1, x2, y2, color);
  }
  void circle(double x, double y, double radius, std::optional<platform::Color> color) override {
    if (picture_) picture_->circle(x, y, radius, color);
  }
  void clearAndRedrawScheme() override {
    if (picture_) picture_->cls();
    if (onRedrawScheme) onRedrawScheme();
  }
  void showScreenFrequencies(double first, double second) override {
    if (onScreenFrequencies) onScreenFrequencies(first, second);
  }
  void printReport(const model::ExperimentState& s) override {
    if (onReport) onReport(s);
  }
  void debugLine(const std::string& line) override {
    if (onDebugLine) onDebugLine(line);
  }

 private:
  platform::Host& host_;
  platform::Picture* picture_;
};

}  // namespace quorvel::experiment
