#include "experiment/model/run_fields.h"

#include <cmath>

#include "common/numbers.h"

namespace quorvel::experiment::model {

void applyFields(const RunFields& f, const Options& options, ExperimentState& s, PointArray& X,
                 PointArray& Y) {
  using common::RadToDeg;
  s.options = options;
  X[3] = Y[3] = X[4] = 0;
  Y[4] = f.Y4;
  X[1] = f.X1;
  Y[1] = f.Y1;
  X[2] = f.X2;
  Y[2] = f.Y2;
  X[6] = Y[6] = 0;
  (options.prism ? Y[6] : X[6]) = f.screen;
  s.Alfa1 = f.Alfa1 / RadToDeg;
  s.Alfa2 = f.Alfa2 / RadToDeg;
  s.Alfa3 = f.Alfa3 / RadToDeg;
  s.Alfa4 = f.Alfa4 / RadToDeg;
  s.mirrorWidth = f.mirrorWidth;
  s.plateThickness = f.plateThickness / 1000.0;
  s.cylinderSize = f.cylinderSize;
  X[7] = X[3] + (X[2] - X[3] - s.cylinderSize) / 3;
  Y[7] = Y[3];
  Y[5] = f.Y5;
  X[5] = 0;
  s.beamDiameter = f.beamDiameter / 1000.0;
  s.screenBeamDiameter = f.screenBeamDiameter / 1000.0;
  // The half-opening of the beam from the source to the screen (a small angle).
  s.divergenceAngle = std::atan2(s.screenBeamDiameter - s.beamDiameter, 2 * (Y[6] - Y[5]));
  const double unit = options.realUnits ? 1e9 : 1.0;
  s.L1 = f.L1 / unit;
  s.L2 = options.secondLaser ? f.L2 / unit : s.L1;
  s.NC0 = static_cast<int>(std::nearbyint(f.NC0));
  s.N0 = f.N0;
  s.dt = f.dt;
  s.refinementDivisor = f.refinementDivisor;
  s.ML = f.ML;
  s.detailScale = f.detail * s.L1;
  s.n = {};
  s.n[0] = f.mediumIndex;
  s.glassIndex = f.glassIndex;
  s.n[23] = f.cylinderIndex;
  s.Vs0 = f.Vs0 * 1000;
  s.Vss = f.Vss * 1000;
  s.Vz = f.Vz * 1000;
  s.AlfaVss = f.AlfaVss / RadToDeg;
  s.AlfaVz = f.AlfaVz / RadToDeg;
  s.Vx = s.Vss * std::cos(s.AlfaVss) + s.Vz * std::cos(s.AlfaVz);
  s.Vy = s.Vss * std::sin(s.AlfaVss) + s.Vz * std::sin(s.AlfaVz);
  s.V = std::sqrt(s.Vx * s.Vx + s.Vy * s.Vy);
  s.AlfaV = common::FullAngle(s.Vx, s.Vy);
}

}  // namespace quorvel::experiment::model
