#include "experiment/model/run_start.h"

#include <cmath>

#include "common/numbers.h"
#include "experiment/model/doppler.h"

namespace quorvel::experiment::model {

namespace {

using common::numberText;
using common::Pi;
using common::RadToDeg;

constexpr char kCrLf[] = "\r\n";

void printAt(RunContext& context, double x, double y, const std::string& text) {
  context.observer.print(x, y, text);
}

// Prints below the last line printed, at the same x.
void printNext(RunContext& context, const std::string& text) {
  context.observer.printNext(text);
}

void fillIndexTable(ExperimentState& s) {
  const double medium = s.n[0];
  const double glass = s.glassIndex;
  auto& n = s.n;
  if (s.options.prism) {
    for (int k : {10, 11, 14, 18, 20, 21, 24, 28}) n[static_cast<std::size_t>(k)] = medium;
    n[22] = glass;
  } else {
    const double table[][2] = {{10, medium}, {11, glass},  {12, 0},     {13, glass},  {14, medium},
                               {15, medium}, {16, glass},  {17, 0},     {18, medium}, {20, medium},
                               {21, glass},  {22, medium}, {23, glass}, {24, medium}, {25, medium},
                               {26, glass},  {27, medium}, {28, medium}};
    for (const auto& entry : table) n[static_cast<std::size_t>(entry[0])] = entry[1];
  }
  s.legs.P21 = n;
}

// The prism setup starts with the undivided beam (leg 1): its front, point 10, leaves the
// source with ray 1, and the two fronts stand apart across the beam, a quarter of its
// diameter each (the whole diameter for two lasers), spreading with beamDivergence.
void startPrismBeam(ExperimentState& s, RunContext& context) {
  auto& X = context.X;
  auto& Y = context.Y;
  s.ii = 1;
  s.Xm[10] = X[5];
  s.Ym[10] = Y[5];
  const double across = s.aimAngle - Pi / 2;
  const double apart = s.options.secondLaser ? s.beamDiameter : s.beamDiameter / 4;
  for (int ray = 1; ray <= 2; ++ray) {
    const double sign = ray == 1 ? -1 : 1;
    s.Xf[ray] = X[5] + sign * apart * std::cos(across);
    s.Yf[ray] = Y[5] + sign * apart * std::sin(across);
  }
  if (!s.options.secondLaser && s.options.beamDivergence) {
    s.legs.An[1] = s.legs.An[10] = s.aimAngle + s.divergenceAngle;
    s.legs.An[2] = s.legs.An[20] = s.aimAngle - s.divergenceAngle;
    for (int ray = 1; ray <= 2; ++ray) {
      const double An = s.legs.An[static_cast<std::size_t>(ray)];
      s.VXf[ray] = s.c * std::cos(An);
      s.VYf[ray] = s.c * std::sin(An);
    }
  }
  X[118] = (X[6] + X[5]) / 2;
  Y[118] = (Y[6] + Y[5]) / 2;
}

}  // namespace

double stepInWavelengths(const ExperimentState& s) {
  return common::truncateDecimals(s.dt * s.c / s.L1, 9);
}

double refinedStepInWavelengths(const ExperimentState& s) {
  return common::truncateDecimals(s.dt * s.c / (s.refinementDivisor * s.L1), 9);
}

void startRun(ExperimentState& s, RunContext& context) {
  // The stop flag is cleared before anything yields: a stop pressed while the source model
  // runs at the start is heard by the run (it ends at its first refresh).
  context.stopRequested = 0;
  auto& X = context.X;
  auto& Y = context.Y;
  for (std::size_t k = 0; k <= 20; ++k) {
    s.Xm[k] = X[k];
    s.Ym[k] = Y[k];
  }
  s.legs = LegTables{};
  s.lastSide = {};
  s.lastSideLeg = {};
  s.nearSurface = {};
  s.arrivalX = {};
  s.arrivalY = {};
  s.started = false;

  if (s.Vs0 / 5 < s.V) {
    context.observer.tell(std::string("                         ВНИМАНИЕ") + kCrLf +
                              "    программа работает корректно при " + kCrLf +
                              "  расчете эффекта Доплера только, если" + kCrLf +
                              "скорость ИСО не более 1/5 скорости света" + kCrLf,
                          "Quorvel");
  }
  if (!s.options.prism && (s.Alfa3 < Pi / 2 || s.Alfa3 > Pi)) {
    context.observer.tell(std::string("                         ВНИМАНИЕ") + kCrLf +
                              " для схемы интерферометра Майкельсона" + kCrLf +
                              " программа работает корректно только при" + kCrLf +
                              " углах наклона стекол от 90 до 180 градусов" + kCrLf,
                          "Quorvel");
  }

  fillIndexTable(s);
  if (!s.options.prism) {
    const double d = s.plateThickness;
    X[30] = X[3] - d * std::sin(s.Alfa3);
    Y[30] = Y[3] + d * std::cos(s.Alfa3);
    X[40] = X[4] - d * std::sin(s.Alfa4);
    Y[40] = Y[4] + d * std::cos(s.Alfa4);
  }

  s.c = s.Vs0;
  s.v01 = s.c / s.L1;
  s.v02 = s.c / s.L2;
  if (s.options.mediumActs && !s.options.mediumOnFrequency) {
    s.c = common::requireFinite(s.Vs0 / s.n[0], "c");
    s.v01 = s.c / s.L1;
    s.v02 = s.c / s.L2;
  }
  s.legs.v[10] = s.v01;
  s.legs.v[20] = s.v02;
  if (s.options.mediumActs && s.options.mediumOnFrequency) {
    s.legs.v[10] = s.v01 / s.n[0];
    s.legs.v[20] = s.v02 / s.n[0];
  }

  s.aimAngle = Pi / 2;
  if (s.options.aberration) s.aimAngle = Pi / 2 - common::ArcSin(s.V * std::cos(s.AlfaV) / s.c);
  printAt(
      context, -10, -3.7,
      "Прицельный угол лазера = " + common::formatNumber(s.aimAngle * RadToDeg, "000.000000000"));

  // The moving source: the frequency that the resting medium carries.
  s.P0 = s.dt;
  if (s.options.dopplerModels && !s.options.sourceUnshifted) {
    const double u = s.V * std::cos(s.AlfaV - s.aimAngle);
    const double factor = common::requireFinite(1 / (1 - u / s.c), "1/(1 - u/c)");
    s.legs.v[10] *= factor;
    s.legs.v[20] *= factor;
    printNext(context, "v1anal/v0= " + numberText(s.legs.v[10] / s.v01));
    if (!s.options.analyticDoppler) {
      const double analytic = s.legs.v[10] / s.v01;
      if (Dopler_Lazer(s, context) == DopplerOutcome::Done) {
        printNext(context, "v1anal/v0= " + numberText(analytic));
        printNext(context, "v1mod/v0= " + numberText(s.vm / s.v01));
        s.legs.v[10] = s.vm;
        s.legs.v[20] = s.options.secondLaser ? s.L1 * s.vm / s.L2 : s.vm;
      }
    }
  }

  s.raySpeed = {0, s.c, s.c, 0};
  s.legs.V1[10] = s.c;
  s.legs.V2[20] = s.c;
  s.legs.v[1] = s.legs.v[10];
  s.legs.v[2] = s.legs.v[20];
  for (std::size_t k : {0u, 1u, 2u, 10u, 20u}) s.legs.An[k] = s.aimAngle;
  printAt(context, 4, 22, "Alfa10=   " + common::formatNumber(s.aimAngle * RadToDeg, "000.000000"));
  printAt(context, 10, 22,
          "Alfa20=   " + common::formatNumber(s.aimAngle * RadToDeg, "000.000000"));
  for (int ray = 1; ray <= 2; ++ray) {
    s.Xf[ray] = X[5];
    s.Yf[ray] = Y[5];
    s.VXf[ray] = s.c * std::cos(s.aimAngle);
    s.VYf[ray] = s.c * std::sin(s.aimAngle);
  }
  s.ii = 10;
  s.jj = 0;
  if (s.options.prism) startPrismBeam(s, context);

  s.T = 0;
  s.path = {};
  s.T1 = s.T2 = 0;
  s.S1 = s.S2 = 0;
  s.N1 = s.N2 = 0;
  s.P0 = s.dt;
  s.counters = {};
  s.started = true;
}

}  // namespace quorvel::experiment::model
