#pragma once

#include <array>
#include <chrono>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "experiment/model/continuous_experiment.h"
#include "experiment/model/experiment_state.h"
#include "experiment/model/presets.h"
#include "experiment/model/run_context.h"
#include "experiment/model/run_fields.h"
#include "experiment/model/run_steps.h"
#include "experiment/picture_run_observer.h"
#include "experiment/scheme_drawing.h"
#include "platform/form.h"
#include "platform/frame_pacer.h"

namespace quorvel::experiment {

// The experiment window: the setup, its parameters and options, the scheme, the runs.
class Form4 : public platform::Form {
 public:
  // The animation's pace when the window opens: the default beam-splitter "Test" run (about
  // 2 300 refreshes) is then watched for about ten seconds, the prism run for three.
  static constexpr int kDefaultFramesPerSecond = 225;

  explicit Form4(platform::App& app);

  void load() override;
  void activate() override;
  nlohmann::json data() const override;
  // The last run's leg table, result fields and Michelson comparison (nothing before a run).
  std::optional<platform::Results> results() const override;

  // Geometry of the setup.
  platform::TextBox Text1, Text66, Text67, Text2, Text3, Text9, Text8;
  platform::Label Label31;  // "X6, м" or "Y6, м", by the setup
  platform::TextBox Text4, Text5, Text6, Text7, Text27, Text28, Text69, Text30;
  // Light, motion and media.
  platform::Label Label6;  // " длина волны L1, м", by the units
  platform::TextBox Text18, Text60, Text12, Text50, Text44, Text29, Text41, Text11, Text22;
  platform::TextBox Text49, Text99;
  // The pace of the animation, frames a second (beside "анимация").
  platform::TextBox Text43;
  // Drawing scale, step, refresh and the Doppler models' settings.
  platform::TextBox Text19, Text40, Text42, Text46, Text53, Text10, Text57, Text54;
  platform::TextBox Text20, Text63, Text21, Text39, Text17;
  // Results.
  platform::TextBox Text13, Text15, Text14, Text16, Text23, Text25, Text24, Text26;
  platform::TextBox Text47, Text48, Text31, Text32, Text33, Text34, Text35, Text36;
  platform::TextBox Text37, Text38, Text51, Text52, Text61, Text62, Text71, Text72;
  platform::TextBox Text73, Text74, Text75, Text76;
  // The continuous experiment's result labels beside Text73, Text75, Text74, Text76: the
  // screen coordinate of each ray's fronts, y (beam splitter) or x (prism).
  platform::Label Label43, Label33, Label5, Label39;
  // Options.
  platform::CheckBox Check2, Check28, Check29, Check8, Check1, Check12, Check19, Check20;
  platform::CheckBox Check33, Check26, Check4, Check21, Check22, Check13, Check5, Check11;
  platform::CheckBox Check9, Check10, Check14, Check15, Check7, Check16, Check6, Check18;
  platform::CheckBox Check27, Check3, Check17, Check25, Check23, Check24;
  platform::Frame Frame1, Frame2, Frame4;
  platform::OptionButton Option1, Option8, Option4, Option7, Option2, Option6;
  // Buttons.
  platform::CommandButton Command7, Command2, Command3, Command4, Command5, Command6;
  platform::CommandButton Command16, Command11, Command12, Command13, Command9, Command1;
  platform::CommandButton Command10, Command14;
  platform::CommandButton Command15;  // opens the fringe-shift forecast
  platform::PictureBox Picture1;

  // What the scheme was last drawn with.
  const SchemeParameters& scheme() const { return scheme_; }
  // The state of the last run (its parameters, progress and leg tables).
  const model::ExperimentState& state() const { return state_; }
  // The animation skips redraws that cannot change a pixel; false redraws every refresh
  // (the reference the skips are tested against).
  bool skipUnchangedRedraws = true;
  const RedrawMemo& redrawMemo() const { return redrawMemo_; }
  // The frames a second of the animation as the last start read them (0: as fast as it goes).
  int framesPerSecond() const { return framesPerSecond_; }
  // The debug file ("Otladka.dat") of the present run is open for its lines.
  bool debugFileOpen() const { return debugFile_ != nullptr; }
  // The options of the check boxes and option buttons as the computations read them.
  model::Options options() const;
  // The fields and options a run would start with, read and checked as a start reads them,
  // without starting anything; nothing (after the message naming the field) when one is bad.
  struct RunInput {
    model::RunFields fields;
    model::Options options;
  };
  std::optional<RunInput> runInput();
  // The continuous wave-front experiment of the last "Моделирование сплошного эффекта
  // Доплера…" press; null before the first.
  const model::ContinuousExperiment* continuous() const { return continuous_.get(); }

 private:
  platform::Label& addCaption(const std::string& field, const std::string& text, int left, int top,
                              int width);
  void layout();
  void chooseBeamSplitter();
  void choosePrism();
  void chooseUnits(model::UnitChoice units);
  // Writes the fields a choice of setup or units sets.
  void writePreset(const std::vector<model::PresetValue>& preset);
  void toggleReport();
  void savePicture();
  void saveParameters();
  void loadParameters();
  // Reads the fields the scheme needs and draws it; false (with a message) on a bad field.
  bool clearAndRedraw();
  // The number in a field, or a message naming the field and nothing.
  std::optional<double> number(const platform::TextBox& field, const char* name);

  // The run: reading the fields, starting, going on, the window's side of a run.
  bool readRunParameters(model::ExperimentState& s);
  // The text box of a field a run reads.
  platform::TextBox& runField(double model::RunFields::*field);
  void startExperiment();
  void runExperiment();
  void continueExperiment(bool stopAtFirstRefresh);
  void compareWithMichelson();
  // The observer through which a run shows itself in this window.
  std::unique_ptr<PictureRunObserver> runObserver();
  static SchemeParameters schemeOf(const model::ExperimentState& s);
  void showResults(const model::ExperimentState& s);
  void printReport(const model::ExperimentState& s);

  // The continuous wave-front experiment (Command1, and Command10/Command14 after it).
  void startContinuous();
  void continueAfterStop();
  void runContinuous();
  std::optional<model::ContinuousParameters> continuousParameters();
  void resetPointsToRunStart();
  void drawContinuousFronts(const model::ContinuousExperiment& experiment);
  nlohmann::json continuousData() const;

  std::vector<std::unique_ptr<platform::Label>> captions_;
  SchemeParameters scheme_;
  model::ExperimentState state_;
  bool running_ = false;
  std::unique_ptr<std::ofstream> debugFile_;
  std::unique_ptr<model::ContinuousExperiment> continuous_;
  // Reads the animation's pace from its field; false (with a message) when it is not a whole
  // number from 0 to 10 000.
  bool readFramesPerSecond();
  // One frame of the animation: waits, the window live, until the pace allows the next.
  void paceFrame();
  int framesPerSecond_ = kDefaultFramesPerSecond;
  platform::FramePacer pacer_;
  bool continuousLast_ = false;  // the continuous experiment was the last thing started
  // The front segments drawn last, per front and ray: x1, y1, x2, y2 in drawing units.
  std::array<std::array<double, 4>, 4> frontSegments_{};
  std::array<bool, 4> frontSegmentDrawn_{};
  std::chrono::steady_clock::time_point lastContinuousDrawing_{};
  // What the animation drew last, to skip redraws that change no pixel.
  RedrawMemo redrawMemo_;
};

}  // namespace quorvel::experiment
