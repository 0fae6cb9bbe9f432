#pragma once

#include <array>

#include "common/shared.h"
#include "experiment/model/stepping_loop.h"

namespace quorvel::experiment::model {

// The check boxes and option buttons of the experiment window that the computations read,
// named after what they mean (the control and its caption beside each). The defaults are the
// window's initial ticks.
struct Options {
  bool dopplerModels = true;  // Check1 "+ эффект Доплера "
  bool movingMirrors =
      true;  // Check2 "+ движение зеркал": reflections use the moving mirror's angle
  bool ray1Straight = false;  // Check3 "+ Alfa3=Alfa3/2"
  bool mediumActs = true;     // Check4 "+ влияние среды на"
  bool report = false;        // Check5 "отчет"
  bool comparative = false;   // Check7 "+ сравнительный расчет"
  bool movingRefraction = false;  // Check8 "+ преломление света в движущихся пластинах"
  bool drawFronts = true;     // Check9 "+ фронты": draw a front's approach to a mirror
  bool frequencyText = true;  // Check10 "текст"
  bool animation = true;      // Check11 "анимация"
  bool modelDetails =
      false;  // Check12 "++ детали с ML=": draw the Doppler models in the detail scale
  bool autoRun = true;            // Check13 " Auto": no pause at the end of a leg
  bool markRay1 = true;           // Check14 "номер пути луча 1"
  bool markRay2 = true;           // Check15 "номер пути луча 2"
  bool additionalMirror = false;  // Check17 "++ Alfa4"
  bool secondLaser = false;       // Check18 "+ 2-й лазер с  L2, м"
  bool autoModels = true;  // Check19 "Auto" of the Doppler models: no prompt after their events
  bool modelTrajectories = false;  // Check20 "++ траектории": the Doppler drawing keeps the picture
  bool aberration = true;           // Check21 "+ аберрация луча"
  bool sourceUnshifted = false;     // Check22 "+ v10=v01"
  bool debugFile = false;           // Check24 debug file
  bool cylinder = false;            // Check25 "+ цилиндр "
  bool staticAngles = false;        // Check26 "+++ по статическим углам"
  bool beamDivergence = false;      // Check27 "+его диаметр на экране"
  bool analyticReflection = false;  // Check28 "++ Кестр": analytic reflection direction
  bool secondAnalyticReflection =
      false;  // Check29 "+++ Хедрик": with analyticReflection, the other analytic direction
  bool analyticDoppler =
      false;  // Check33 "++ аналитически": closed Doppler formulas instead of the models
  bool prism = true;  // Option8 "2- Кестр" chosen (else Option1 "1- Майкельсон")
  bool realUnits = false;          // Option7 "Real" chosen (else Option4 "Test")
  bool mediumOnFrequency = false;  // Option6 "частоту" chosen (else Option2 "скорость")
};

// Per-leg tables of the two rays: legs 10..19 of ray 1 and 20..29 of ray 2 (19 and 29 mean
// arrival); entries 1 and 2 of `v` and `An` are the rays' present frequency and direction.
struct LegTables {
  std::array<double, 52> An{};        // direction, rad
  std::array<double, 31> v{};         // frequency sent along the leg, Hz
  std::array<double, 31> received{};  // frequency received by the surface at its end, Hz
  std::array<double, 31> T1{}, T2{};  // model time at the end of the leg, s
  std::array<double, 31> S1{}, S2{};  // path length at the end of the leg, m
  std::array<double, 31> V1{}, V2{};  // speed on the leg, m/s
  std::array<double, 31> P21{};       // refractive index of the leg
  std::array<double, 31> Nv{};        // wave periods on the leg
  std::array<bool, 31> done{};
};

// The state of one computational experiment: the parameter set as the window read it (SI
// units, angles in radians), the run's progress and the results that the geometry
// primitives and the Doppler models leave behind for their callers.
//
// Two quantities share the letter K in the window: the line coefficient K of A·x + B·y + K
// = 0 is `lineK`; the step refinement divisor K (field Text46, "1E3") is
// `refinementDivisor`. Likewise V is the setup's speed |(Vx, Vy)|, while the speed of a ray
// is `raySpeed`. The point table X, Y is the run's own (RunContext).
struct ExperimentState {
  Options options;

  // Setup geometry.
  double Alfa1 = 121.7032392 / common::RadToDeg;
  double Alfa2 = 58.2967608 / common::RadToDeg;
  double Alfa3 = common::Pi / 2;
  double Alfa4 = 135 / common::RadToDeg;
  double mirrorWidth = 0.8;          // m
  double plateThickness = 0.1;       // d, m
  double beamDiameter = 0.002;       // m
  double screenBeamDiameter = 0.02;  // m
  double cylinderSize = 0.05;        // R, m
  double divergenceAngle = 0;        // rad

  // Light and motion.
  double L1 = 0.0065;                           // m
  double L2 = 0.0065;                           // m
  double Vs0 = 30000;                           // light speed entered, m/s
  double Vss = 3000, AlfaVss = common::Pi / 2;  // first motion component, m/s and rad
  double Vz = 300, AlfaVz = common::Pi / 2;     // second motion component
  double Vx = 0, Vy = 3300;                     // setup velocity, m/s
  double V = 3300;                              // its magnitude, m/s
  double AlfaV = common::Pi / 2;                // its direction, rad
  double c = 30000;                             // light speed of the run, m/s
  double v01 = 30000 / 0.0065;                  // c/L1, Hz
  double v02 = 30000 / 0.0065;                  // c/L2, Hz
  double aimAngle = common::Pi / 2;             // direction of the laser, rad
  std::array<double, 31> n{};                   // refractive index per leg
  double glassIndex = 1.5;                      // refractive index of the plates' glass

  // Stepping and drawing.
  double dt = 1e-7;                 // solution step, s
  double refinementDivisor = 1e3;   // K: near a surface the step is dt / K
  int NC0 = 10;                     // steps between display refreshes
  double N0 = 10;                   // wave periods between the two crests of a Doppler model
  double ML = 0.1;                  // metres per drawing unit of the scheme
  double detailScale = 2 * 0.0065;  // metres per drawing unit of the Doppler detail drawing

  // The run's loop leaps over quiet steps; false steps every step (the reference the
  // leaps are tested against).
  bool leaping = true;

  // Progress of the run.
  double T = 0;           // model time, s
  double P0 = 1e-7;       // present step, s: dt, or dt / refinementDivisor near a surface
  LoopCounters counters;  // steps, refreshes and leaps of the run's loop
  std::array<double, 131> Xm{}, Ym{};  // moving copy of the point table; 10 = approach start
  int ii = 10, jj = 0;                 // leg codes of ray 1 and ray 2
  std::array<double, 4> Xf{}, Yf{};    // fronts 1, 2 and the offset point 3, m
  std::array<double, 4> VXf{}, VYf{};  // their velocities, m/s
  std::array<double, 4> raySpeed{};    // V(1), V(2), m/s
  std::array<double, 4> path{};        // path accumulators of ray 1 and 2, m
  double T1 = 0, T2 = 0;               // model time at which ray 1 / ray 2 ended its last leg, s
  double S1 = 0, S2 = 0;               // path length at that moment, m
  double N1 = 0, N2 = 0;               // wave periods along the path so far
  LegTables legs;
  std::array<double, 3> arrivalX{}, arrivalY{};  // where ray 1 and 2 met the screen, m
  bool started = false;  // a run has been started (the window's state is a run's state)
  // The side of its surface each ray's front was on at the last test, and of which leg.
  std::array<int, 3> lastSide{};
  std::array<int, 3> lastSideLeg{};
  // Ray r was near its surface, in a refined approach, at its last test.
  std::array<bool, 3> nearSurface{};

  // Results of the geometry primitives, overwritten by every call.
  double lineA = 0, lineB = -1, lineK = 0;  // the last line A·x + B·y + K = 0
  double R0 = 0;                            // the last front-to-surface distance, m
  double AlfaZ = 0;  // effective surface angle (or ray direction) of the last approach, rad
  // Closing speeds set by the caller before an approach or a mirror Doppler model, m/s: of
  // the light front towards the surface and of the surface towards the front.
  double V12 = 0, V21 = 0;

  // Results of the Doppler models, Hz: the frequency received at the mirror (or, from the
  // source model, by the resting line) and the frequency of the reflected ray. A model that
  // ends without a result leaves them as they were.
  double vm = 0, vr = 0;
};

}  // namespace quorvel::experiment::model
