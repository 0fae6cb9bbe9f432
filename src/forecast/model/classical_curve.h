#pragma once

#include <optional>

#include "experiment/model/experiment_state.h"
#include "experiment/model/run_fields.h"

namespace quorvel::forecast::model {

// What the classical theory of the beam-splitter setup reads of the fields: the arms, the
// light speed of a run and the frequency the fringes are counted in.
struct ClassicalArms {
  double L1 = 0;   // X(3) − X(1), m
  double L2 = 0;   // Y(2) − Y(3), m
  double Vs = 0;   // light speed of the run, m/s
  double v01 = 0;  // Vs / wavelength, Hz
};

// The arms of the fields' setup; nothing for the prism setup, which has no classical curve.
std::optional<ClassicalArms> classicalArmsOf(const experiment::model::RunFields& fields,
                                             const experiment::model::Options& options);

// Michelson's v01·(T1 − T2) for a setup moving at `speed` (m/s) in the direction `alfaV`
// (rad, counter-clockwise from +x) in its plane, with
//   T1 = 2·L1/Vs·√(1 − β²·sin²φ)/(1 − β²),  T2 = 2·L2/Vs·√(1 − β²·cos²φ)/(1 − β²),
// β = speed/Vs, φ = alfaV. Nothing when the setup is not slower than light.
std::optional<double> classicalDelay(const ClassicalArms& arms, double speed, double alfaV);

}  // namespace quorvel::forecast::model
