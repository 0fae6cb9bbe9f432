#include <cmath>
#include <filesystem>
#include <fstream>

#include "common/numbers.h"
#include "common/shared.h"
#include "experiment/form4.h"
#include "experiment/model/engine.h"
#include "experiment/model/michelson_theory.h"
#include "experiment/model/path_report.h"
#include "experiment/model/run_start.h"
#include "experiment/result_printing.h"
#include "platform/app.h"

namespace quorvel::experiment {

using common::numberText;
using platform::Buttons;

namespace {

// A velocity cut to 9 decimals, as the result fields show it.
std::string cut9(double v) {
  return numberText(common::truncateDecimals(v, 9));
}

}  // namespace

std::unique_ptr<PictureRunObserver> Form4::runObserver() {
  auto observer = std::make_unique<PictureRunObserver>(host(), &Picture1.picture());
  observer->onRedrawScheme = [this] { clearAndRedraw(); };
  // A model shows its time at its events (and at the refreshes of its detail drawing); the
  // run's own refresh writes the field last.
  observer->onShowTime = [this](double T) { Text17.setText(numberText(T)); };
  observer->onRefresh = [this](const model::ExperimentState& s) {
    showResults(s);
    if (s.options.animation) paceFrame();
  };
  observer->onRedrawSetup = [this] {
    SchemeDrawing drawing(Picture1.picture(), common::shared().X, common::shared().Y);
    if (state_.options.prism) {
      drawing.redrawPrism(schemeOf(state_),
                          PrismOptions{state_.options.ray1Straight, state_.options.additionalMirror,
                                       state_.options.cylinder},
                          skipUnchangedRedraws ? &redrawMemo_ : nullptr);
    } else {
      drawing.redrawBeamSplitter(schemeOf(state_), skipUnchangedRedraws ? &redrawMemo_ : nullptr);
    }
  };
  observer->onDebugLine = [this](const std::string& line) {
    if (debugFile_ && *debugFile_) *debugFile_ << line << "\n";
  };
  observer->onScreenFrequencies = [this](double first, double second) {
    Text71.setText(numberText(first));
    Text72.setText(numberText(second));
  };
  observer->onReport = [this](const model::ExperimentState& s) { printReport(s); };
  observer->redrawMemo = skipUnchangedRedraws ? &redrawMemo_ : nullptr;
  return observer;
}

SchemeParameters Form4::schemeOf(const model::ExperimentState& s) {
  SchemeParameters p;
  p.Alfa1 = s.Alfa1;
  p.Alfa2 = s.Alfa2;
  p.Alfa3 = s.Alfa3;
  p.Alfa4 = s.Alfa4;
  p.mirrorWidth = s.mirrorWidth;
  p.plateThickness = s.plateThickness;
  p.cylinderSize = s.cylinderSize;
  p.ML = s.ML;
  return p;
}

void Form4::showResults(const model::ExperimentState& s) {
  const double x1 = s.ii < 18.5 ? s.Xf[1] : s.arrivalX[1];
  const double y1 = s.ii < 18.5 ? s.Yf[1] : s.arrivalY[1];
  const double x2 = s.jj < 28.5 ? s.Xf[2] : s.arrivalX[2];
  const double y2 = s.jj < 28.5 ? s.Yf[2] : s.arrivalY[2];
  Text13.setText(numberText(x1));
  Text15.setText(numberText(y1));
  Text14.setText(numberText(x2));
  Text16.setText(numberText(y2));
  Text23.setText(cut9(s.VXf[1]));
  Text25.setText(cut9(s.VYf[1]));
  Text24.setText(cut9(s.VXf[2]));
  Text26.setText(cut9(s.VYf[2]));
  Text17.setText(numberText(s.T));
  Text47.setText(std::to_string(s.ii));
  Text48.setText(std::to_string(s.jj));
  Text31.setText(numberText(s.T1));
  Text32.setText(numberText(s.T2));
  Text33.setText(numberText(s.legs.v[1] / s.v01));
  Text34.setText(numberText(s.legs.v[2] / s.v02));
  Text35.setText(numberText(s.S1));
  Text36.setText(numberText(s.S2));
  Text37.setText(numberText(s.raySpeed[1]));
  Text38.setText(numberText(s.raySpeed[2]));
  Text51.setText(numberText(s.N1));
  Text52.setText(numberText(s.N2));
  Text61.setText(numberText(s.legs.An[1] * common::RadToDeg));
  Text62.setText(numberText(s.legs.An[2] * common::RadToDeg));
}

void Form4::printReport(const model::ExperimentState& s) {
  platform::Form* report = app().windows().find("Form9");
  auto* box = report ? dynamic_cast<platform::PictureBox*>(report->find("picBox")) : nullptr;
  if (!box) return;
  const model::PathReportInput input = model::reportInputOf(s);
  printPathReport(s.options.prism ? model::ReportSetup::Prism : model::ReportSetup::BeamSplitter,
                  input, box->picture(), host());
}

bool Form4::readFramesPerSecond() {
  const auto value = common::parseNumber(Text43.text());
  if (!value || !(*value >= 0 && *value <= 10000) || *value != std::floor(*value)) {
    host().messageBox("Задайте правильно данные: в поле «кадров/с» должно быть целое число от 0 "
                      "до 10 000, а не «" + Text43.text() + "»",
                      Buttons::Ok, "Quorvel");
    return false;
  }
  framesPerSecond_ = static_cast<int>(*value);
  return true;
}

void Form4::paceFrame() {
  pacer_.frame(host(), framesPerSecond_, [] { return common::shared().StopRequested != 0; });
}

void Form4::startExperiment() {
  if (running_) return;
  if (!readFramesPerSecond()) return;
  model::ExperimentState next = state_;
  if (!readRunParameters(next)) return;
  state_ = next;
  const auto observer = runObserver();
  model::RunContext context(*observer, common::shared().X, common::shared().Y,
                            common::shared().StopRequested);
  try {
    model::beginRun(state_, context);
  } catch (const std::exception& e) {
    host().messageBox(std::string("Эксперимент не начат: ") + e.what(), Buttons::Ok, "Quorvel");
    return;
  }
  Text20.setText(numberText(state_.v01 / 1e6));
  Text63.setText(numberText(state_.v02 / 1e6));
  Text42.setText(numberText(model::stepInWavelengths(state_)));
  Text53.setText(numberText(model::refinedStepInWavelengths(state_)));
  if (state_.options.report) {
    if (!app().windows().find("Form9")) toggleReport();
    platform::Form* report = app().windows().find("Form9");
    if (auto* box =
            report ? dynamic_cast<platform::PictureBox*>(report->find("picBox")) : nullptr) {
      box->picture().cls();
    }
  }
  debugFile_.reset();
  if (state_.options.debugFile) {
    debugFile_ = std::make_unique<std::ofstream>(host().programFolder() / "Otladka.dat");
    if (*debugFile_) *debugFile_ << model::debugLineText(state_) << "\n";
  }
  runExperiment();
}

void Form4::runExperiment() {
  if (running_ || !state_.started || !readFramesPerSecond()) return;
  running_ = true;
  pacer_.restart();
  const auto observer = runObserver();
  model::RunContext context(*observer, common::shared().X, common::shared().Y,
                            common::shared().StopRequested);
  const model::RunEnd end = model::advanceRun(state_, context);
  running_ = false;
  // The debug file is closed when the run has ended, with both rays arrived or on a fault;
  // a stopped run keeps it open for its continuation.
  if (end != model::RunEnd::Stopped) debugFile_.reset();
}

void Form4::continueExperiment(bool stopAtFirstRefresh) {
  if (running_) return;
  if (!state_.started) {
    host().messageBox("Сначала надо начать эксперимент", Buttons::Ok, "Quorvel");
    return;
  }
  auto nc0 = common::parseNumber(Text10.text());
  if (nc0 && *nc0 >= 1 && *nc0 <= 1e9) state_.NC0 = static_cast<int>(std::nearbyint(*nc0));
  common::shared().StopRequested = stopAtFirstRefresh ? 1 : 0;
  runExperiment();
}

void Form4::compareWithMichelson() {
  if (Option8.value()) {
    host().messageBox("Необходим вычислительный эксперимент на установке Майкельсона", Buttons::Ok,
                      "Quorvel");
    return;
  }
  model::MichelsonInput input =
      model::michelsonInputOf(model::resultOf(state_, common::shared().X, common::shared().Y));
  input.comparative = Check7.ticked();
  try {
    printMichelsonComparison(Picture1.picture(), input);
  } catch (const std::exception&) {
    host().messageBox("Сначала надо выполнить вычислительный эксперимент", Buttons::Ok, "Quorvel");
  }
}

}  // namespace quorvel::experiment
