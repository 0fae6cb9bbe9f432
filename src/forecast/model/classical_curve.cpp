#include "forecast/model/classical_curve.h"

#include <cmath>

namespace quorvel::forecast::model {

std::optional<ClassicalArms> classicalArmsOf(const experiment::model::RunFields& fields,
                                             const experiment::model::Options& options) {
  if (options.prism) return std::nullopt;
  experiment::model::ExperimentState s;
  experiment::model::PointArray X{}, Y{};
  experiment::model::applyFields(fields, options, s, X, Y);
  ClassicalArms arms;
  arms.L1 = X[3] - X[1];
  arms.L2 = Y[2] - Y[3];
  // The light speed and the frequency as a run starts them.
  arms.Vs = s.Vs0;
  if (options.mediumActs && !options.mediumOnFrequency) arms.Vs = s.Vs0 / s.n[0];
  arms.v01 = arms.Vs / s.L1;
  if (!std::isfinite(arms.Vs) || !std::isfinite(arms.v01) || arms.Vs <= 0) return std::nullopt;
  return arms;
}

std::optional<double> classicalDelay(const ClassicalArms& arms, double speed, double alfaV) {
  const double beta2 = (speed / arms.Vs) * (speed / arms.Vs);
  if (!(beta2 < 1)) return std::nullopt;
  const double sinPhi = std::sin(alfaV);
  const double cosPhi = std::cos(alfaV);
  const double T1 = 2 * arms.L1 / arms.Vs * std::sqrt(1 - beta2 * sinPhi * sinPhi) / (1 - beta2);
  const double T2 = 2 * arms.L2 / arms.Vs * std::sqrt(1 - beta2 * cosPhi * cosPhi) / (1 - beta2);
  const double delay = arms.v01 * (T1 - T2);
  if (!std::isfinite(delay)) return std::nullopt;
  return delay;
}

}  // namespace quorvel::forecast::model
