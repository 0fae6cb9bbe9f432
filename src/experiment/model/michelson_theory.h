#pragma once

#include <array>

#include "experiment/model/experiment_state.h"
#include <string>

namespace quorvel::experiment::model {

// What the comparison with Michelson's first-order theory reads from the last run.
struct MichelsonInput {
  double X1 = 0, X3 = 0;        // left mirror and splitter, x at the start of the run, m
  double Y2 = 0, Y3 = 0;        // upper mirror and splitter, y, m
  double V = 0;                 // apparatus speed, m/s
  double Vs = 0;                // light speed of the run, m/s
  double v01 = 0;               // initial frequency of ray 1, Hz
  std::array<double, 31> T1{};  // leg end times of ray 1, s
  std::array<double, 31> T2{};  // of ray 2
  bool comparative = false;     // the run started both arms at the splitter
};

// Times (s) and wave period counts of the two arms.
struct ArmTimes {
  double T1 = 0, T2 = 0;
  double N1 = 0, N2 = 0;
};

// Michelson's times: the arm along the motion (to the left mirror and back) and across it.
// Throws common::ArithmeticError when no run has set the light speed.
ArmTimes michelsonTimes(const MichelsonInput& input);
// The times the run measured: the arms alone after a comparative start, else the whole path.
ArmTimes measuredTimes(const MichelsonInput& input);

// "T1=   …       N1(t)=   …       T2=   …       N2(t)=   …"
std::string valueLine(const ArmTimes& times);
// "            T1-T2 =   …                N1(t) - N2(t) =   …", the difference of the times
// below 1E-9 s in magnitude in the exponent form (else twelve decimals)
std::string differenceLine(const ArmTimes& times);

}  // namespace quorvel::experiment::model
