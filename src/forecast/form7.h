#pragma once

#include <optional>
#include <string>
#include <vector>

#include "experiment/model/experiment_state.h"
#include "experiment/model/run_fields.h"
#include "forecast/model/turn.h"
#include "platform/form.h"

namespace quorvel::forecast {

// The fringe-shift forecast: the experiment window's setup turned through a full turn (and,
// with the Earth's velocity, through a sidereal day), one run of the model per position,
// beside the classical theory and the bound observed in 1887.
class Form7 : public platform::Form {
 public:
  explicit Form7(platform::App& app);

  nlohmann::json data() const override;
  // One row per moment and position, and the summary of each moment (nothing before a run).
  std::optional<platform::Results> results() const override;

  // The setup's velocity relative to the ether.
  platform::Frame Frame1;
  platform::OptionButton Option1, Option2, Option3;
  // The turn.
  platform::Label Label1, Label2, Label3;
  platform::TextBox Text1, Text2, Text3;
  platform::CheckBox Check1;  // v01·(T1 − T2) of the whole path on the plot too
  platform::CommandButton Command1, Command2, Command3;
  platform::Label Label4;  // the progress
  platform::Plot Picture1;
  // Results.
  platform::Label Label10, Label11, Label12, Label13, Label14, Label15;
  platform::TextBox Text10, Text11, Text12, Text13, Text14, Text15;

  // The positions computed by the last "Рассчитать" (kept when it was stopped).
  const std::vector<model::PositionResult>& rows() const { return rows_; }
  bool running() const { return running_; }

 private:
  // The horizontal velocity met at one moment.
  struct Moment {
    std::optional<double> siderealHour;  // h (the Earth's velocity only)
    double speed = 0;                    // horizontal, m/s
    double azimuth = 0;                  // of the horizontal motion, degrees from north
    std::optional<double> up;            // vertical, m/s (the Earth's velocity only)
  };
  struct Turn {
    int positions = 16;
    double theta0 = 0;
    int moments = 1;
  };

  void layout();
  void compute();
  // The window's own fields; nothing (after the message naming the field) when one is bad.
  std::optional<Turn> readTurn();
  // The velocity of every moment; nothing (after its message) when it cannot be had.
  std::optional<std::vector<Moment>> readMoments(const Turn& turn,
                                                 const experiment::model::RunFields& fields,
                                                 const experiment::model::Options& options);
  void runTurn(const experiment::model::RunFields& fields,
               const experiment::model::Options& options, const std::vector<Moment>& moments,
               const Turn& turn);
  void showRows();
  void drawPlot();

  std::vector<model::PositionResult> rows_;
  std::vector<Moment> moments_;
  bool prism_ = false;
  bool running_ = false;
  bool stopRequested_ = false;
  bool stopped_ = false;
  int expected_ = 0;  // positions the last computation was to run
};

}  // namespace quorvel::forecast
