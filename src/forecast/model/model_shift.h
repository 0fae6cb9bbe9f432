#pragma once

#include <optional>

#include "experiment/model/engine.h"

namespace quorvel::forecast::model {

// The moment t2 (s) at which ray 2's front reaches the point of the moving screen where ray 1
// arrived. The front is a line across ray 2's last leg (direction A2, speed c2) that passes
// ray 2's arrival point P2 at T2; ray 1's arrival point P1 moves with the setup's velocity V
// from T1 on. With u2 = (cos A2, sin A2):
//   t2 = ((P1 − P2)·u2 + c2·T2 − (V·u2)·T1) / (c2 − V·u2).
// Nothing for a run that did not arrive or whose result is not finite.
std::optional<double> frontArrivalAtRay1Point(const experiment::model::RunResult& run);

}  // namespace quorvel::forecast::model
