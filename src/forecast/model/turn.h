#pragma once

#include <optional>
#include <string>
#include <vector>

#include "experiment/model/engine.h"
#include "forecast/model/classical_curve.h"

namespace quorvel::forecast::model {

// One position of the apparatus: which moment it belongs to, how the setup's +x axis is
// turned and the horizontal velocity it meets.
struct TurnPosition {
  int moment = 0;                      // 0 … moments − 1
  std::optional<double> siderealHour;  // local sidereal time of the moment, h (Earth's velocity)
  double theta = 0;  // azimuth of the setup's +x axis, degrees clockwise from north
  double alfaV = 0;  // direction of the velocity in the setup's plane, degrees
                     // counter-clockwise from +x, [0, 360)
  double speed = 0;  // horizontal speed, m/s
};

// The positions of a turn: θ = θ0 + k·360°/n for k = 0 … n − 1 and AlfaV = θ − ψ, where ψ is
// the azimuth of the horizontal velocity (degrees clockwise from north).
std::vector<TurnPosition> turnPositions(int positions, double theta0, double speed, double psi,
                                        int moment = 0,
                                        std::optional<double> siderealHour = std::nullopt);

// The fields of a position's run: Vss = the speed (km/s), Alfa(Vss) = AlfaV, Vz = 0, every
// other field as given.
experiment::model::RunFields positionFields(const experiment::model::RunFields& fields,
                                            const TurnPosition& position);

// What one position gave.
struct PositionResult {
  TurnPosition position;
  experiment::model::RunOutcome outcome = experiment::model::RunOutcome::Refused;
  std::string message;                // the failure's text
  double T1 = 0, T2 = 0;              // the rays' arrival times, s
  std::optional<double> t2;           // ray 2's front at ray 1's arrival point, s
  double N1 = 0, N2 = 0;              // wave periods along the paths
  double v01 = 0;                     // Hz
  double wholePath = 0;               // v01·(T1 − T2), fringes (times at two different points)
  std::optional<double> modelDelay;   // v01·(T1 − t2), fringes
  std::optional<double> modelShift;   // modelDelay − its mean over the moment's turn
  std::optional<double> theoryDelay;  // the classical v01·(T1 − T2)
  std::optional<double> theoryShift;  // theoryDelay − its mean over the moment's turn

  bool arrived() const { return outcome == experiment::model::RunOutcome::Arrived; }
};

// Runs one position through the engine and reads its shifts (before the means are taken).
PositionResult runPosition(const experiment::model::RunFields& fields,
                           const experiment::model::Options& options,
                           const std::optional<ClassicalArms>& arms, const TurnPosition& position,
                           const experiment::model::StopToken* stop = nullptr);

// Takes each moment's mean out of its model and theory delays (over the positions that have
// one), giving the shifts.
void centreShifts(std::vector<PositionResult>& results);

// A moment's curve in short: half of the model shift's range, the azimuth θ of its maximum,
// and half of the theory's range.
struct TurnSummary {
  std::optional<double> modelAmplitude;  // fringes
  std::optional<double> maximumAzimuth;  // degrees
  std::optional<double> theoryAmplitude;
};
TurnSummary summarize(const std::vector<PositionResult>& results, int moment);

}  // namespace quorvel::forecast::model
