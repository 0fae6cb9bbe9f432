#pragma once

#include <optional>

namespace quorvel::interference::model {

// How the initial phases of the two rays at the points where their centres meet the
// screen are found (the options of "рассчет начальных фаз двух лучей ...").
enum class PhaseRule {
  Given,            // N1 = N10, N2 = N20
  FromFields,       // N1 = v01*T1, N2 = v02*T2, as typed in their fields
  ShiftedFirst,     // N1 = N10 + v01*dT, N2 = N20
  DelayOnly,        // N1 = v01*dT, N2 = 0
  FromArrivalTimes  // N1 = N10 − v01*T1 + v01*dT, N2 = N20 − v02*T2
};

// Everything the computation needs, in SI units (m, s, Hz, rad). The window turns its
// fields into this in one place.
struct ComputationParameters {
  double Vs = 1;     // light speed of the model, m/s
  double v01 = 1e6;  // base frequencies of the two lasers, Hz
  double v02 = 1e6;
  double nu1 = 1e6;  // frequencies of the rays, Hz (they set L1 and L2)
  double nu2 = 1e6;
  double omega1 = 0;  // angular frequencies of the last screen-frame transform, rad/s
  double omega2 = 0;
  double Omega1 = 0;  // amplitude modulation, rad/s (0: none)
  double Omega2 = 0;
  double A1e = 0, A2e = 0;          // directions in the screen frame, rad
  double Ve1 = 1, Ve2 = 1;          // phase speeds along the screen, m/s
  double X1e = 0, X2e = 0;          // where the centres meet the screen, m
  double N10 = 0, N20 = 0;          // phase counts at the centres, periods
  double N1typed = 0, N2typed = 0;  // the two typed phase counts of PhaseRule::FromFields
  double T1 = 0, T2 = 0, dT = 0;    // arrival times of the last transform, s
  bool centresAtZero = false;       // "+ X1=X2=0"
  PhaseRule phases = PhaseRule::Given;

  double dt = 1e-9;        // time step, s
  double halfMT = 5e-3;    // graph time per graph unit, s (MT/2)
  int ML = 1;              // horizontal magnification: the screen has 500·ML + 1 points
  int N = 2;               // the pictures show 2N fringe widths
  int lo = 0, hi = 1;      // search window, in fringe widths
  double threshold = 254;  // brightness that counts as a bright fringe
  bool composite = false;  // "+ составные полосы"

  bool instantaneous = false;  // fields E0·cos(ωt + φ) rather than amplitudes
  bool cosineCross = false;    // with instantaneous fields: cross term with cos(φ2 − φ1)

  std::optional<double> measuredB;  // width to use instead of the computed one, m

  int intervals = 2;                           // K
  double intervalStep = 1e-2;                  // time between the starts of the intervals, s
  std::optional<long long> stepLimit = 20000;  // drawn steps that end an interval
  int stopPoint = 0;                           // point whose phases are shown once (i*)
  bool singleStep = false;                     // "+ Stop для i": one step, then the run ends
};

// Why a start is refused, in the order the start checks.
enum class StartError {
  None,
  NoFringes,  // N ≤ 0
  BadData,    // a value no computation can use (ML, N or the search window)
  BadStart,   // no finite, non-zero fringe width, or widths that are not finite
  TooWide,    // 500·ML > 32764 pixels
};

// The widths and phases the start computes and shows.
struct StartValues {
  double L1 = 0, L2 = 0;                // phase wavelengths along the screen, m
  std::optional<double> BVeDifference;  // L1·L2 / (L1 − L2), m (none for L1 = L2)
  std::optional<double> BVeSum;         // L1·L2 / (L1 + L2), m (none for L1 = −L2)
  double A1p = 0, A2p = 0;              // angles of incidence, rad
  double L0 = 0;                        // Vs / v01, m
  std::optional<double> BAp;            // L0 / |sin A2p − sin A1p|, m (none for parallel rays)
  std::optional<double> BAngle;         // L0 / |A2p − A1p|, m
  double B = 0;                         // the fringe width the pictures use, m
  double N1 = 0, N2 = 0;                // initial phases, periods
  double X1e = 0, X2e = 0;              // centres used, m
  double dN1 = 0, dN2 = 0;              // phase offsets of the centres, periods
};

// The values the window accepts in its fields (units as typed there), so that no
// computation overflows and every picture can be drawn while the window stays live.
inline constexpr double kLeastLightSpeed = 1e-9, kMostLightSpeed = 1e9;  // Vs, km/s
inline constexpr double kLeastFrequency = 1e-12, kMostFrequency = 1e15;  // v01, v02, MHz
inline constexpr double kMostScreenSpeed = 1e9;                          // VXiso, VYiso, km/s
inline constexpr double kMostAngle = 3600;                               // degrees
inline constexpr double kLeastRatio = 1e-6, kMostRatio = 1e6;            // v1/v01, v2/v01, V/Vs
inline constexpr double kMostPeriods = 1e12;  // phase counts: 2π·N keeps a thousandth of a period
inline constexpr double kMostArrivalTime = 1e6;  // T1, T2, s
inline constexpr double kMostPosition = 1e6;     // X, Y, m
// The screen frame's fields: the transform of rays within the bounds above stays below it.
inline constexpr double kMostScreenValue = 1e32;
inline constexpr double kLeastTime = 1e-30, kMostTime = 1e6;  // dt, MT, Tint, s
inline constexpr double kMostThreshold = 256;  // the brightest sum is (2·7,985)² ≈ 255,04
inline constexpr double kLeastWidth = 1e-6, kMostWidth = 1e12;  // a measured B, µm
inline constexpr double kMostCount = 1e9;                       // K, M
// N: the pictures show 2N fringe widths, each marked and, where there is room, numbered.
inline constexpr int kMostFringes = 10000;

// The checks that precede the widths: N, ML and the search window.
StartError checkSettings(const ComputationParameters& p);
// The pictures are 500·ML pixels wide; a picture box holds at most this many.
inline constexpr int kMostPictureWidth = 32764;
inline constexpr int kMostScale = kMostPictureWidth / 500;
StartError checkPictureWidth(const ComputationParameters& p);
// The fringe widths: a width that is undefined for these rays is left out; the start is
// refused (BadStart) only when no finite, non-zero B exists or L0, L1, L2 are not finite.
StartError computeWidths(const ComputationParameters& p, StartValues& out);
// The initial phases and centre offsets.
void computePhases(const ComputationParameters& p, StartValues& out);

}  // namespace quorvel::interference::model
