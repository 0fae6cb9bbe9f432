#pragma once

#include <array>
#include <string>

#include "experiment/model/experiment_state.h"

namespace quorvel::experiment::model {

// What a path report prints: the leg tables of the last run (legs 10..19 of ray 1 and
// 20..29 of ray 2; 9 and 19 hold the start of each ray) and the options it depends on.
struct PathReportInput {
  std::array<double, 31> T1{};  // end time of each leg of ray 1, s
  std::array<double, 31> T2{};  // of ray 2
  std::array<double, 31> S1{};  // path length up to the end of each leg, m
  std::array<double, 31> S2{};
  std::array<double, 31> v{};   // frequency on each leg, Hz (one table for both rays)
  std::array<double, 31> V1{};  // speed on each leg of ray 1, m/s
  std::array<double, 31> V2{};
  std::array<double, 31> P21{};   // refractive index of each leg
  std::array<double, 31> An{};    // direction of each leg, rad
  std::array<double, 31> Nv{};    // wave periods on each leg
  double X1at18 = 0, Y1at18 = 0;  // ray 1's front at the end of leg 18, m
  double X2at28 = 0, Y2at28 = 0;  // ray 2's front at the end of leg 28, m
  double v01 = 0, v02 = 0;        // initial frequencies, Hz
  bool real = false;              // "Real" units: times in µs, speeds in thousands of km/s
  bool cylinder = false;          // prism setup with the cylinder in ray 2's path
};

enum class ReportSetup { BeamSplitter, Prism };

// What the report of a run prints, taken from the run's state.
PathReportInput reportInputOf(const ExperimentState& s);

// The header text of a report: the leg lines, the units line with the screen coordinates
// and the column heads, lines ended by CR LF.
std::string reportHeader(ReportSetup setup, const PathReportInput& input);

// Row i (0..9) of the table: leg i+10 of ray 1 beside leg i+20 of ray 2. Throws
// common::ArithmeticError when a value is not finite.
std::string reportRow(int i, const PathReportInput& input);

// Whether the report prints row i.
bool reportPrintsRow(ReportSetup setup, int i, const PathReportInput& input);

}  // namespace quorvel::experiment::model
