#pragma once

#include <cmath>
#include <functional>
#include <string>

#include "experiment/model/experiment_state.h"
#include "experiment/model/run_observer.h"
#include "experiment/scheme_drawing.h"
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
  // The animation's memo: every drawing of the run is reported to it, so that a redraw of
  // the setup over pixels nothing has touched can be skipped.
  RedrawMemo* redrawMemo = nullptr;

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
    if (redrawMemo) redrawMemo->invalidate();
    picture_->setCurrentX(x);
    picture_->setCurrentY(y);
    picture_->print(text);
  }
  void printNext(const std::string& text) override {
    if (redrawMemo) redrawMemo->invalidate();
    if (picture_) picture_->print(text);
  }
  void line(double x1, double y1, double x2, double y2,
            std::optional<model::DrawColor> color) override {
    if (!picture_) return;
    touch(x1, y1, x2, y2, 0);
    picture_->line(x1, y1, x2, y2, colorOf(color));
  }
  void circle(double x, double y, double radius, std::optional<model::DrawColor> color) override {
    if (!picture_) return;
    touch(x, y, x, y, std::fabs(radius) * picture_->width() / std::fabs(picture_->scaleWidth()));
    picture_->circle(x, y, radius, colorOf(color));
  }
  void clearAndRedrawScheme() override {
    if (redrawMemo) redrawMemo->invalidate();
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
  static std::optional<platform::Color> colorOf(std::optional<model::DrawColor> color) {
    if (!color) return std::nullopt;
    return platform::rgb(color->r, color->g, color->b);
  }
  // Reports the pixels between two points, widened by `reach` pixels, to the memo; a drawing
  // whose pixels cannot be told forbids the next skip.
  void touch(double x1, double y1, double x2, double y2, double reach) {
    if (!redrawMemo) return;
    const double c1 = picture_->toPixelX(x1), c2 = picture_->toPixelX(x2);
    const double r1 = picture_->toPixelY(y1), r2 = picture_->toPixelY(y2);
    constexpr double kFar = 1e6;
    const double extent = reach + 3;  // the pen's width and a pixel of rounding
    if (!(std::fabs(c1) < kFar && std::fabs(c2) < kFar && std::fabs(r1) < kFar &&
          std::fabs(r2) < kFar && extent < kFar)) {
      redrawMemo->invalidate();
      return;
    }
    redrawMemo->touch(PixelRect{static_cast<int>(std::floor(std::min(c1, c2) - extent)),
                                static_cast<int>(std::floor(std::min(r1, r2) - extent)),
                                static_cast<int>(std::ceil(std::max(c1, c2) + extent)),
                                static_cast<int>(std::ceil(std::max(r1, r2) + extent))});
  }

  platform::Host& host_;
  platform::Picture* picture_;
};

}  // namespace quorvel::experiment
