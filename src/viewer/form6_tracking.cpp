// Form6: the fringe tracking along the segment 1–2, its plot, fields and results.
#include <cmath>
#include <limits>

#include "common/numbers.h"
#include "platform/app.h"
#include "viewer/form6.h"
#include "viewer/tracking/tracking_run.h"

namespace quorvel::viewer {

namespace {

using tracking::FrameMeasurement;
using tracking::TrackingError;

constexpr char kNoPicture[] = "Сначала откройте фото- или видеофайл";
constexpr platform::Color kShiftColor = platform::rgb(0, 0, 192);
constexpr platform::Color kSkippedColor = platform::rgb(220, 0, 0);
constexpr std::size_t kShiftSeries = 0;
constexpr std::size_t kSkippedSeries = 1;

// The frames of the open video from frame `first` on, at the size the window shows them.
class VideoFrames : public tracking::FrameSupply {
 public:
  VideoFrames(video::VideoSource& source, int first, int width, int height)
      : source_(source), first_(first), width_(width), height_(height) {}
  std::optional<tracking::FrameView> frame(int k) override {
    if (!source_.readFrame(first_ + k, width_, height_, frame_)) return std::nullopt;
    return tracking::FrameView{frame_.width, frame_.height, frame_.rgb.data(),
                               static_cast<std::ptrdiff_t>(frame_.width) * 3};
  }

 private:
  video::VideoSource& source_;
  int first_;
  int width_;
  int height_;
  video::RgbFrame frame_;
};

// What the window does while a tracking runs: events let through every frame, the plot and
// the progress growing with the frames.
class WindowObserver : public tracking::TrackingObserver {
 public:
  WindowObserver(platform::Host& host, platform::Plot& plot, platform::Label& progress, int first,
                 int count, bool perSecond)
      : host_(host),
        plot_(plot),
        progress_(progress),
        first_(first),
        count_(count),
        perSecond_(perSecond) {}
  void yield() override { host_.doEvents(); }
  void measured(const FrameMeasurement& m) override {
    const double x = perSecond_ ? m.time : first_ + m.frame;
    plot_.appendPoint(kShiftSeries, x, m.skipped ? std::nan("") : m.shift);
    if (m.skipped) plot_.appendPoint(kSkippedSeries, x, lastShift_);
    if (!m.skipped) lastShift_ = m.shift;
    progress_.setCaption("Отслеживание: кадр " + std::to_string(m.frame + 1) + " из " +
                         std::to_string(count_));
  }

 private:
  platform::Host& host_;
  platform::Plot& plot_;
  platform::Label& progress_;
  int first_;
  int count_;
  bool perSecond_;
  double lastShift_ = 0;
};

}  // namespace

void Form6::trackFringes() {
  if (tracking_ || cutting_) return;
  tracking::TrackingSettings settings;
  if (!trackingSettings(settings)) return;
  if (source_) {
    trackVideo(settings);
  } else if (!fileName_.empty()) {
    trackPhoto(settings);
  } else {
    message(kNoPicture);
  }
}

bool Form6::trackingSettings(tracking::TrackingSettings& settings) {
  if (!point1_ || !point2_) {
    message(tracking::trackingErrorText(TrackingError::NoSegment));
    return false;
  }
  const auto strip = common::parseNumber(Text18.text());
  if (!strip || !std::isfinite(*strip) || *strip != std::nearbyint(*strip) || *strip < 1 ||
      *strip > tracking::StripProfile::kMaxStripWidth || std::fmod(*strip, 2.0) != 1.0) {
    message(tracking::trackingErrorText(TrackingError::BadStripWidth));
    return false;
  }
  settings.point1 = {(*point1_)[0], (*point1_)[1]};
  settings.point2 = {(*point2_)[0], (*point2_)[1]};
  settings.stripWidth = static_cast<int>(*strip);
  return true;
}

void Form6::startTrackingPlot(bool perSecond) {
  Picture5.clearData();
  Picture5.setXAxis({perSecond ? "Время" : "Кадр", perSecond ? "с" : "", {}, {}, 0});
  platform::PlotSeries shift;
  shift.name = "Смещение полос";
  shift.color = kShiftColor;
  shift.style = platform::SeriesStyle::LineAndMarkers;
  shift.lineWidth = 1;
  Picture5.addSeries(shift);
  platform::PlotSeries skipped;
  skipped.name = "Пропущенные кадры";
  skipped.color = kSkippedColor;
  skipped.style = platform::SeriesStyle::Markers;
  skipped.marker = platform::MarkerShape::Cross;
  Picture5.addSeries(skipped);
}

void Form6::trackVideo(const tracking::TrackingSettings& given) {
  // Frame 0 shows the first frame as frame 1 does: the tracking starts at frame 1 then.
  const int first = std::max(N, 1);
  const int toTheEnd = Nmax - first + 1;
  int count = toTheEnd;
  if (!Text19.text().empty()) {
    const auto asked = common::parseNumber(Text19.text());
    if (!asked || !std::isfinite(*asked) || *asked != std::nearbyint(*asked) || *asked < 1 ||
        *asked > std::max(Nmax, 1)) {
      message("Число кадров задается целым числом от 1 до " + std::to_string(std::max(Nmax, 1)) +
              "; пустое поле — до конца видео");
      return;
    }
    count = static_cast<int>(*asked);
  }
  const int asked = count;
  count = std::min(count, toTheEnd);
  if (count < 1) {
    message(tracking::trackingErrorText(TrackingError::TooFewFrames));
    return;
  }
  tracking::TrackingSettings settings = given;
  settings.frameRate = source_->frameRate();
  auto tracker = std::make_unique<tracking::FringeTracker>(settings);
  VideoFrames frames(*source_, first, wPic, hPic);
  startTrackingPlot(settings.frameRate > 0);
  WindowObserver observer(host(), Picture5, Label7, first, count, settings.frameRate > 0);
  tracking_ = true;
  stopTrack_ = 0;
  const tracking::TrackingRunEnd end =
      tracking::runTracking(*tracker, count, frames, observer, stopTrack_);
  tracking_ = false;
  if (end.outcome == tracking::TrackingOutcome::Failed) {
    // What an earlier tracking measured stays shown.
    showTracking();
    message(tracking::trackingErrorText(end.error.value_or(TrackingError::TooFewFrames)));
    return;
  }
  tracker_ = std::move(tracker);
  trackedFrom_ = first;
  showTracking();
  if (end.outcome == tracking::TrackingOutcome::Finished && asked > count) {
    message("Видео кончается на кадре " + std::to_string(Nmax) + ": отслежено кадров " +
            std::to_string(count) + " из " + std::to_string(asked));
  }
}

void Form6::trackPhoto(const tracking::TrackingSettings& settings) {
  // The photo as it was loaded, without the guide lines and points drawn over it.
  platform::Picture photo(1, 1);
  bool loaded = photo.load(fileName_);
  if (loaded) {
    // A picture loads at its own size: the first load tells the size.
    photo.resize(photo.loadedWidth(), photo.loadedHeight());
    loaded = photo.width() == photo.loadedWidth() && photo.height() == photo.loadedHeight() &&
             photo.load(fileName_);
  }
  if (!loaded) {
    message(std::string("Не могу открыть файл ") + fileName_);
    return;
  }
  const int width = photo.width();
  const int height = photo.height();
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const platform::Rgb p = photo.pixel(column, row);
      std::uint8_t* out = &rgb[(static_cast<std::size_t>(row) * width + column) * 3];
      out[0] = p.r;
      out[1] = p.g;
      out[2] = p.b;
    }
  }
  auto tracker = std::make_unique<tracking::FringeTracker>(settings);
  if (const auto error =
          tracker->addFrame({width, height, rgb.data(), static_cast<std::ptrdiff_t>(width) * 3})) {
    message(tracking::trackingErrorText(*error));
    return;
  }
  tracker_ = std::move(tracker);
  trackedFrom_ = 0;
  showTracking();
}

void Form6::showTracking() {
  if (!tracker_) {
    Picture5.clearData();
    return;
  }
  const bool perSecond = tracker_->speedPerSecond();
  startTrackingPlot(perSecond);
  double lastShift = 0;
  for (const FrameMeasurement& m : tracker_->measurements()) {
    const double x = perSecond ? m.time : trackedFrom_ + m.frame;
    Picture5.appendPoint(kShiftSeries, x, m.skipped ? std::nan("") : m.shift);
    if (m.skipped) Picture5.appendPoint(kSkippedSeries, x, lastShift);
    if (!m.skipped) lastShift = m.shift;
  }
  Text20.setText(common::formatNumber(tracker_->periodPx(), "0.000"));
  const auto speed = tracker_->speed();
  Text21.setText(speed ? common::formatNumber(*speed, "0.00000") : "");
  speedUnit_->setCaption(perSecond ? "полос/с" : "полос/кадр");
  Text22.setText(common::formatNumber(tracker_->peakToPeak(), "0.0000"));
  const auto& measured = tracker_->measurements();
  if (trackedFrom_ == 0) {
    Label7.setCaption("Фото: фаза полос " + common::formatNumber(measured.front().phase, "0.0000") +
                      " рад");
  } else {
    Label7.setCaption("Кадры " + std::to_string(trackedFrom_) + " … " +
                      std::to_string(trackedFrom_ + static_cast<int>(measured.size()) - 1) +
                      ": измерено " + std::to_string(tracker_->measuredCount()) + ", пропущено " +
                      std::to_string(tracker_->skippedCount()));
  }
}

nlohmann::json Form6::trackingJson() const {
  const auto measured = results();
  if (!measured) return nullptr;
  return platform::resultsJson(*measured);
}

std::optional<platform::Results> Form6::results() const {
  if (!tracker_) return std::nullopt;
  platform::Results results;
  results.title =
      "Quorvel: отслеживание полос, файл " + (trackedFrom_ > 0 ? videoFile_ : fileName_);
  platform::ResultTable fields{"Поля результата", {"поле", "величина", "значение"}, {}};
  const std::pair<const platform::TextBox*, const char*> shown[] = {
      {&Text18, "Ширина полосы усреднения, пикселей"},
      {&Text20, "Период полос, пикселей"},
      {&Text21,
       tracker_->speedPerSecond() ? "Скорость полос, полос/с" : "Скорость полос, полос/кадр"},
      {&Text22, "Размах смещения, полос"},
  };
  for (const auto& [field, quantity] : shown) {
    fields.rows.push_back({field->name(), std::string(quantity), field->text()});
  }
  results.tables.push_back(std::move(fields));

  platform::ResultTable frames{
      "Кадры", {"кадр", "время, с", "фаза, рад", "смещение, полос", "контраст", "пропущен"}, {}};
  for (const FrameMeasurement& m : tracker_->measurements()) {
    platform::ResultCell time = std::monostate{};
    if (tracker_->speedPerSecond()) time = m.time;
    frames.rows.push_back({static_cast<long long>(trackedFrom_ + m.frame), time, m.phase, m.shift,
                           m.contrast, static_cast<long long>(m.skipped ? 1 : 0)});
  }
  results.tables.push_back(std::move(frames));
  return results;
}

}  // namespace quorvel::viewer
