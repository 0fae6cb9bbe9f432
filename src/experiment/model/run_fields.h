#pragma once

#include "experiment/model/experiment_state.h"
#include "experiment/model/run_context.h"

namespace quorvel::experiment::model {

// The numbers of the experiment window's fields that a run reads, in the units they are
// typed in; the defaults are the window's initial texts. The one conversion to the run's
// state in SI units is applyFields.
struct RunFields {
  double Y4 = 0.6;            // Text3, m
  double X1 = -1;             // Text1, m
  double Y1 = 0;              // Text66, m
  double X2 = 0;              // Text67, m
  double Y2 = 1;              // Text2, m
  double screen = 0.5;        // Text8: X6 (beam splitter) or Y6 (prism), m
  double Alfa1 = 121.711069;  // Text4 .. Text7, degrees
  double Alfa2 = 58.288931;
  double Alfa3 = 135;
  double Alfa4 = 135;
  double mirrorWidth = 0.8;         // Text27, m
  double plateThickness = 100;      // Text28, mm
  double cylinderSize = 0.05;       // Text49, m
  double Y5 = -0.3;                 // Text9, m
  double beamDiameter = 2;          // Text69, mm
  double screenBeamDiameter = 20;   // Text30, mm
  double L1 = 0.0065;               // Text18, m ("Real": nm)
  double L2 = 0.0065;               // Text60, m ("Real": nm)
  double NC0 = 10;                  // Text10
  double N0 = 10;                   // Text57, periods
  double dt = 1e-7;                 // Text40, s
  double refinementDivisor = 1e3;   // Text46
  double ML = 0.1;                  // Text19, m per drawing unit
  double detail = 2;                // Text54, L1 per drawing unit
  double mediumIndex = 1.0003;      // Text11
  double glassIndex = 1.5;          // Text22
  double cylinderIndex = 1.000304;  // Text99
  double Vs0 = 30;                  // Text12, km/s
  double Vss = 3;                   // Text50, km/s
  double Vz = 0.3;                  // Text29, km/s
  double AlfaVss = 90;              // Text44, degrees
  double AlfaVz = 90;               // Text41, degrees
};

// The state's parameters and the setup's point table from the fields and the options:
// lengths in metres (plates and beams typed in mm, wavelengths in nm under "Real"), angles
// in radians, speeds in m/s, the setup velocity and its direction. Points the fields do not
// give keep their values.
void applyFields(const RunFields& f, const Options& options, ExperimentState& s, PointArray& X,
                 PointArray& Y);

}  // namespace quorvel::experiment::model
