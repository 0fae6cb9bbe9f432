#pragma once

namespace quorvel::interference::model {

// Within this distance of 90° (rad) a ray counts as perpendicular to the screen: its phase
// reaches every point of the screen at once. Rays that the beam-splitter transfer brings
// are within 10^-5 rad of it and must keep their true phase slope, so the band is narrow.
inline constexpr double kPerpendicularBand = 1e-12;
// A perpendicular ray's phase speed along the screen, in units of its own speed.
inline constexpr double kPerpendicularPhaseSpeed = 1e12;

// A ray as it meets the screen, in the absolute frame ("АСО"): direction (rad), speed
// (m/s), where its centre meets the screen (x, m) and when (s).
struct AbsoluteRay {
  double A = 0;
  double V = 0;
  double X = 0;
  double T = 0;
};

// The same ray in the frame of the moving screen ("ИСО").
struct ScreenRay {
  double Ae = 0;  // direction, rad, in [0, 2π)
  double Vr = 0;  // speed, m/s
  double Ve = 0;  // speed with which its phase runs along the screen, m/s
  double Xe = 0;  // where its centre meets the screen, m
};

// The screen frame moves with (VXiso, VYiso), m/s, relative to the absolute frame; the
// screen lies along x in both.
ScreenRay toScreenFrame(const AbsoluteRay& ray, double VXiso, double VYiso);

// The phase speed along the screen of a ray of speed V (m/s) and direction A (rad).
double phaseSpeedAlongScreen(double V, double A);

}  // namespace quorvel::interference::model
