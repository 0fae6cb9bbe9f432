#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <utility>

#include "common/numbers.h"
#include "common/shared.h"
#include "experiment/form4.h"
#include "experiment/scheme_drawing.h"
#include "platform/app.h"
#include "platform/color.h"

namespace quorvel::experiment {

using common::numberText;
using platform::Buttons;

namespace {

constexpr auto kDrawingInterval = std::chrono::milliseconds(15);

// The window's side of a continuous run: the yields, the refreshes, the printed tables and
// the fault message.
class ContinuousView : public model::ContinuousObserver {
 public:
  ContinuousView(platform::Host& host, platform::Picture& picture,
                 std::function<void(const model::ContinuousExperiment&)> refreshed)
      : host_(host), picture_(picture), refreshed_(std::move(refreshed)) {}

  void yield() override { host_.doEvents(); }
  void refresh(const model::ContinuousExperiment& experiment) override { refreshed_(experiment); }
  void print(const model::PlacedText& text) override {
    picture_.setCurrentX(text.x);
    picture_.setCurrentY(text.y);
    picture_.print(text.text);
  }
  void fault(const std::string& message) override {
    host_.messageBox(message, Buttons::Ok, "Quorvel");
  }

 private:
  platform::Host& host_;
  platform::Picture& picture_;
  std::function<void(const model::ContinuousExperiment&)> refreshed_;
};

}  // namespace

// Everything the continuous experiment takes from the window: the run's own values and the
// options it ran with, and the few fields and check boxes of the experiment itself.
std::optional<model::ContinuousParameters> Form4::continuousParameters() {
  const model::ExperimentState& s = state_;
  model::ContinuousParameters p = model::continuousParametersOf(s);
  p.cylinder = s.options.cylinder || Check25.ticked();
  p.divergence = s.options.beamDivergence || Check27.ticked();
  p.skip = Check23.ticked();
  p.inScreenFrame = Check6.ticked();
  p.realUnits = Option7.value();
  const auto D = common::parseNumber(Text69.text());
  const auto dt = common::parseNumber(Text40.text());
  const auto divisor = common::parseNumber(Text46.text());
  const auto nc0 = common::parseNumber(Text10.text());
  const auto N0 = common::parseNumber(Text57.text());
  if (!D || !dt || !divisor || !nc0 || !N0 || !(*nc0 >= 1 && *nc0 <= 1e9)) return std::nullopt;
  p.beamDiameter = *D / 1000;
  p.dt = *dt;
  p.refinementDivisor = *divisor;
  p.refreshEvery = static_cast<int>(std::nearbyint(*nc0));
  p.N0 = *N0;
  return p;
}

// The point table as the stepped run found it at its start: the moved points from the run's
// start-of-run copy, the plates' back faces (computed at the start) moved back with them.
void Form4::resetPointsToRunStart() {
  auto& X = common::shared().X;
  auto& Y = common::shared().Y;
  const double backX = X[3] - state_.Xm[3];
  const double backY = Y[3] - state_.Ym[3];
  for (std::size_t k = 0; k <= 20; ++k) {
    if (k == 10) continue;  // the stepped run's working point, not a point of the setup
    X[k] = state_.Xm[k];
    Y[k] = state_.Ym[k];
  }
  for (std::size_t k : {30u, 40u}) {
    X[k] -= backX;
    Y[k] -= backY;
  }
}

void Form4::startContinuous() {
  if (running_) return;
  // What the experiment cannot model is said first, whatever the run and the fields.
  model::ContinuousParameters options;
  options.prism = Option8.value();
  options.divergence = Check27.ticked();
  options.cylinder = Check25.ticked();
  if (options.divergence || (options.prism && options.cylinder)) {
    host().messageBox(model::continuousRefusal(options).value_or(""), Buttons::Ok, "Quorvel");
    return;
  }
  const bool finishedRun = state_.started && state_.ii == 19 && state_.jj == 29 &&
                           state_.options.prism == Option8.value();
  if (!finishedRun) {
    host().messageBox(std::string("Сплошной эксперимент выполняется") + "\r\n" +
                          "только после завершенного эксперимента с этой схемой",
                      Buttons::Ok, "Quorvel");
    return;
  }
  const auto parameters = continuousParameters();
  if (!parameters) {
    host().messageBox("Введите правильно данные", Buttons::Ok, "Quorvel");
    return;
  }
  if (const auto refusal = model::continuousRefusal(*parameters)) {
    host().messageBox(*refusal, Buttons::Ok, "Quorvel");
    return;
  }
  auto& shared = common::shared();
  platform::Picture& picture = Picture1.picture();
  picture.cls();
  SchemeDrawing(picture, shared.X, shared.Y).drawGrid();
  for (const auto& text : model::steppedFrequencyTexts(state_.legs, state_.v01, state_.v02)) {
    picture.setCurrentX(text.x);
    picture.setCurrentY(text.y);
    picture.print(text.text);
  }
  resetPointsToRunStart();
  Text42.setText(numberText(model::continuousStepInWavelengths(*parameters, false)));
  Text53.setText(numberText(model::continuousStepInWavelengths(*parameters, true)));
  const bool prism = parameters->prism;
  Label43.setCaption(prism ? "X1ф1л" : "Y1ф1л");
  Label33.setCaption(prism ? "X1ф2л" : "Y1ф2л");
  Label5.setCaption(prism ? "X2ф1л" : "Y2ф1л");
  Label39.setCaption(prism ? "X2ф2л" : "Y2ф2л");
  continuous_ =
      std::make_unique<model::ContinuousExperiment>(*parameters, state_.legs, shared.X, shared.Y);
  continuousLast_ = true;
  frontSegmentDrawn_ = {};
  shared.StopRequested = 0;
  runContinuous();
}

// "Продолжить" beside "Остановить": goes on with what was started last.
void Form4::continueAfterStop() {
  if (running_) return;
  if (!continuousLast_ || !continuous_) {
    continueExperiment(false);
    return;
  }
  common::shared().StopRequested = 0;
  runContinuous();
}

void Form4::runContinuous() {
  if (!readFramesPerSecond()) return;
  running_ = true;
  lastContinuousDrawing_ = {};
  pacer_.restart();
  const bool paced = Check11.ticked() && framesPerSecond_ > 0;
  // The experiment refreshes every NC0 of its refined steps, some hundred thousand times in a
  // default run: a frame of the paced animation stands for as many refreshes as keep the
  // whole run within about ten seconds (the stepped run's arrival tells how many there are).
  const model::ContinuousExperiment& started = *continuous_;
  const double arrival = std::max(state_.legs.T1[19], state_.legs.T2[29]) / 2;
  const double refreshes =
      arrival / started.stepLength() / std::max(started.parameters().refreshEvery, 1);
  const double perFrame =
      paced ? std::max(1.0, std::ceil(refreshes / (10.0 * framesPerSecond_))) : 1.0;
  double sinceFrame = 0;
  ContinuousView view(host(), Picture1.picture(),
                      [this, paced, perFrame, &sinceFrame](const model::ContinuousExperiment& e) {
    // An animation at its pace draws a frame every `perFrame` refreshes and waits for the
    // next; the end is always drawn.
    if (paced) {
      if (++sinceFrame < perFrame && !e.finished()) return;
      sinceFrame = 0;
      drawContinuousFronts(e);
      paceFrame();
      return;
    }
    // Otherwise the picture and the time are drawn as often as a person can see them, and
    // always at the end.
    const auto now = std::chrono::steady_clock::now();
    if (!e.finished() && now - lastContinuousDrawing_ < kDrawingInterval) return;
    lastContinuousDrawing_ = now;
    drawContinuousFronts(e);
  });
  model::ContinuousExperiment& experiment = *continuous_;
  const model::LoopEnd end =
      experiment.run(experiment.defaultSettings(), common::shared().StopRequested, view);
  running_ = false;
  drawContinuousFronts(experiment);
  if (end != model::LoopEnd::Finished || !experiment.finished()) return;
  Text71.setText(numberText(experiment.screenFrequency(1)));
  Text72.setText(numberText(experiment.screenFrequency(2)));
  const auto screen = experiment.screenResults();
  Text73.setText(numberText(screen[0]));
  Text74.setText(numberText(screen[1]));
  Text75.setText(numberText(screen[2]));
  Text76.setText(numberText(screen[3]));
  if (experiment.parameters().prism && Check5.ticked()) printReport(state_);
}

void Form4::drawContinuousFronts(const model::ContinuousExperiment& experiment) {
  Text17.setText(numberText(experiment.T()));
  auto& shared = common::shared();
  platform::Picture& picture = Picture1.picture();
  if (Check11.ticked()) {
    SchemeDrawing drawing(picture, shared.X, shared.Y);
    if (experiment.parameters().prism) {
      drawing.redrawPrism(schemeOf(state_),
                          PrismOptions{state_.options.ray1Straight, state_.options.additionalMirror, false});
    } else {
      drawing.redrawBeamSplitter(schemeOf(state_));
    }
  }
  const double ML = state_.ML;
  const auto& edges = experiment.edges();
  for (int front = 0; front < 2; ++front) {
    if (!experiment.frontLaunched(front + 1)) continue;
    for (int ray = 0; ray < 2; ++ray) {
      const platform::Color color = ray == 0 ? platform::rgb(255, 0, 0) : platform::rgb(0, 0, 255);
      const int first = front * 4 + ray * 2;
      const double m = experiment.tick();
      const std::array<double, 4> segment = {edges[static_cast<std::size_t>(first)].x(m) / ML,
                                             edges[static_cast<std::size_t>(first)].y(m) / ML,
                                             edges[static_cast<std::size_t>(first + 1)].x(m) / ML,
                                             edges[static_cast<std::size_t>(first + 1)].y(m) / ML};
      const auto slot = static_cast<std::size_t>(front * 2 + ray);
      if (ray == 0 ? Check14.ticked() : Check15.ticked()) {
        if (frontSegmentDrawn_[slot]) {
          const auto& old = frontSegments_[slot];
          picture.line(old[0], old[1], old[2], old[3], platform::rgb(255, 255, 255));
        }
        picture.line(segment[0], segment[1], segment[2], segment[3], color);
        frontSegments_[slot] = segment;
        frontSegmentDrawn_[slot] = true;
      }
      picture.circle(segment[0], segment[1], 0.05, color);
      picture.circle(segment[2], segment[3], 0.05, color);
    }
  }
}

nlohmann::json Form4::continuousData() const {
  if (!continuous_) return nullptr;
  const model::ContinuousExperiment& e = *continuous_;
  const char* status = e.finished() ? "finished"
                       : e.failed() ? "failed"
                       : running_   ? "running"
                                    : "stopped";
  nlohmann::json edges = nlohmann::json::array();
  for (int i = 0; i < 8; ++i) {
    const auto& edge = e.edges()[static_cast<std::size_t>(i)];
    edges.push_back({{"state", edge.state},
                     {"position", {edge.x(e.tick()), edge.y(e.tick())}},
                     {"screen", {edge.screenX, edge.screenY}},
                     {"corrected", {e.correctedX(i), e.correctedY(i)}},
                     {"screenT", edge.screenT}});
  }
  nlohmann::json tables = nlohmann::json::object();
  const std::pair<const char*, const std::vector<double>*> named[] = {
      {"Tn1", &e.Tn1()}, {"Tn2", &e.Tn2()}, {"Tk1", &e.Tk1()}, {"Tk2", &e.Tk2()}};
  for (const auto& [name, values] : named) {
    nlohmann::json entries = nlohmann::json::object();
    for (std::size_t k = 0; k < values->size(); ++k) {
      if ((*values)[k] != 0) entries[std::to_string(k)] = (*values)[k];
    }
    tables[name] = entries;
  }
  nlohmann::json frequencies = nlohmann::json::object();
  for (int base : {0, 100}) {
    for (int k = base + 10; k <= base + 28; ++k) {
      if (k % 10 == 9) continue;
      const double v = e.v()[static_cast<std::size_t>(k)];
      frequencies[std::to_string(k)] = {{"v", v}, {"ratio", v / e.parameters().v01}};
    }
  }
  nlohmann::json events = nlohmann::json::array();
  for (const auto& event : e.events()) {
    events.push_back(
        {{"edge", event.edge + 1}, {"leg", event.code}, {"T", event.T}, {"step", event.step}});
  }
  const auto& counters = e.counters();
  return {{"status", status},
          {"T", e.T()},
          {"steps",
           {{"total", e.fullSteps() + e.refinedSteps()},
            {"full", e.fullSteps()},
            {"refined", e.refinedSteps()},
            {"single", counters.single}}},
          {"edges", edges},
          {"times", tables},
          {"frequencies", frequencies},
          {"events", events}};
}

}  // namespace quorvel::experiment
