#include "forecast/model/turn.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "common/shared.h"
#include "forecast/model/model_shift.h"

namespace quorvel::forecast::model {

namespace {

// An angle in degrees brought into [0, 360).
double fullTurn(double degrees) {
  double a = std::fmod(degrees, 360.0);
  if (a < 0) a += 360.0;
  return a >= 360.0 ? 0.0 : a;
}

}  // namespace

std::vector<TurnPosition> turnPositions(int positions, double theta0, double speed, double psi,
                                        int moment, std::optional<double> siderealHour) {
  std::vector<TurnPosition> turn;
  turn.reserve(static_cast<std::size_t>(std::max(positions, 0)));
  for (int k = 0; k < positions; ++k) {
    TurnPosition p;
    p.moment = moment;
    p.siderealHour = siderealHour;
    p.theta = theta0 + k * 360.0 / positions;
    p.alfaV = fullTurn(p.theta - psi);
    p.speed = speed;
    turn.push_back(p);
  }
  return turn;
}

experiment::model::RunFields positionFields(const experiment::model::RunFields& fields,
                                            const TurnPosition& position) {
  experiment::model::RunFields f = fields;
  f.Vss = position.speed / 1000.0;
  f.AlfaVss = position.alfaV;
  f.Vz = 0;
  return f;
}

PositionResult runPosition(const experiment::model::RunFields& fields,
                           const experiment::model::Options& options,
                           const std::optional<ClassicalArms>& arms, const TurnPosition& position,
                           const experiment::model::StopToken* stop) {
  experiment::model::RunObserver quiet;
  const experiment::model::RunResult run =
      experiment::model::runExperiment(positionFields(fields, position), options, quiet, stop);
  PositionResult r;
  r.position = position;
  r.outcome = run.outcome;
  r.message = run.message;
  if (arms) {
    r.theoryDelay = classicalDelay(*arms, position.speed, position.alfaV / common::RadToDeg);
  }
  if (!run.arrived()) return r;
  r.T1 = run.T1;
  r.T2 = run.T2;
  r.N1 = run.N1;
  r.N2 = run.N2;
  r.v01 = run.v01;
  r.wholePath = run.v01 * (run.T1 - run.T2);
  r.t2 = frontArrivalAtRay1Point(run);
  if (r.t2) r.modelDelay = run.v01 * (run.T1 - *r.t2);
  return r;
}

void centreShifts(std::vector<PositionResult>& results) {
  struct Sums {
    double model = 0, theory = 0;
    int models = 0, theories = 0;
  };
  std::map<int, Sums> sums;
  for (const PositionResult& r : results) {
    Sums& s = sums[r.position.moment];
    if (r.modelDelay) {
      s.model += *r.modelDelay;
      ++s.models;
    }
    if (r.theoryDelay) {
      s.theory += *r.theoryDelay;
      ++s.theories;
    }
  }
  for (PositionResult& r : results) {
    const Sums& s = sums[r.position.moment];
    r.modelShift.reset();
    r.theoryShift.reset();
    if (r.modelDelay) r.modelShift = *r.modelDelay - s.model / s.models;
    if (r.theoryDelay) r.theoryShift = *r.theoryDelay - s.theory / s.theories;
  }
}

TurnSummary summarize(const std::vector<PositionResult>& results, int moment) {
  TurnSummary summary;
  std::optional<double> modelMin, modelMax, theoryMin, theoryMax;
  for (const PositionResult& r : results) {
    if (r.position.moment != moment) continue;
    if (r.modelShift) {
      if (!modelMax || *r.modelShift > *modelMax) {
        modelMax = r.modelShift;
        summary.maximumAzimuth = fullTurn(r.position.theta);
      }
      if (!modelMin || *r.modelShift < *modelMin) modelMin = r.modelShift;
    }
    if (r.theoryShift) {
      theoryMax = std::max(theoryMax.value_or(*r.theoryShift), *r.theoryShift);
      theoryMin = std::min(theoryMin.value_or(*r.theoryShift), *r.theoryShift);
    }
  }
  if (modelMax) summary.modelAmplitude = (*modelMax - *modelMin) / 2;
  if (theoryMax) summary.theoryAmplitude = (*theoryMax - *theoryMin) / 2;
  return summary;
}

}  // namespace quorvel::forecast::model
