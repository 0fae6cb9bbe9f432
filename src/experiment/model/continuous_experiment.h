#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "experiment/model/experiment_state.h"
#include "experiment/model/stepping_loop.h"

namespace quorvel::experiment::model {

// What the continuous wave-front experiment is given besides the leg tables of a finished
// stepped run. SI units, angles in radians.
struct ContinuousParameters {
  bool prism = false;              // the prism setup (else the beam-splitter setup)
  double beamDiameter = 0.002;     // D, m
  double dt = 1e-7;                // step of the stepped run, s
  double refinementDivisor = 1e3;  // the continuous run steps by dt / refinementDivisor
  int refreshEvery = 10;           // NC0: steps between display refreshes
  double N0 = 10;                  // wave periods between the two fronts
  double Vs0 = 30000;              // light speed entered, m/s (for the step in wavelengths)
  double L1 = 0.0065;              // wavelength of the first laser, m
  double c = 30000;                // effective light speed of the run, m/s
  double v01 = 30000 / 0.0065;     // Hz
  double v02 = 30000 / 0.0065;     // Hz
  double Vx = 0, Vy = 0;           // setup velocity, m/s
  double V = 0, AlfaV = 0;         // its magnitude and direction
  double Alfa1 = 0, Alfa2 = 0, Alfa3 = 0, Alfa4 = 0;
  bool skip = true;           // full steps far from every surface (prism setup only)
  bool twoLasers = false;     // two lasers side by side, the second with v02
  bool halfPrism = false;     // "+ Alfa3=Alfa3/2": ray 1 goes straight to the screen
  bool fourthMirror = false;  // "++ Alfa4": with halfPrism, ray 1 goes via mirror 4
  bool cylinder = false;      // a cylinder in the path of ray 2
  bool divergence = false;    // the beam widens on its way
  bool inScreenFrame = true;  // screen points moved back into the screen's frame
  bool realUnits = false;     // the time tables are printed magnified 10^6 (else 10^3)
};

// A text to print on the scheme picture at a position of its user scale.
struct PlacedText {
  double x = 0;
  double y = 0;
  std::string text;
};

// Why the experiment cannot be run with these parameters, as the message to show; nothing
// when it can.
std::optional<std::string> continuousRefusal(const ContinuousParameters& p);

// The frequencies of the stepped run on every leg, sent and received, as printed before a
// continuous run starts.
std::vector<PlacedText> steppedFrequencyTexts(const LegTables& legs, double v01, double v02);

// Step length of the stepped run and of the continuous run in wavelengths L1, cut to nine
// decimals.
double continuousStepInWavelengths(const ContinuousParameters& p, bool refined);

// The parameters a finished stepped run leaves: its setup, step, light and motion, and the
// options it ran with. The experiment's own fields and boxes are the caller's to set.
ContinuousParameters continuousParametersOf(const ExperimentState& s);

class ContinuousExperiment;

// How the continuous experiment talks to the window while it runs.
class ContinuousObserver : public LoopObserver {
 public:
  virtual void refresh(const ContinuousExperiment&) {}
  virtual void print(const PlacedText&) {}
  virtual void fault(const std::string&) {}
};

// One edge of a front of a ray: where it is and what it does.
struct ContinuousEdge {
  int state = 0;          // F E R L (front, edge, ray, leg digit); 0 before its ray starts
  bool moving = false;    // launched (a rider of ray 2 moves with its ray-1 partner)
  double x0 = 0, y0 = 0;  // position at tick m0, m
  double dx = 0, dy = 0;  // displacement per tick, m
  double m0 = 0;
  double speed = 0;      // light speed of the present leg, m/s
  bool crossed = false;  // the crossing line of the present leg has been passed
  bool atScreen = false;
  double screenX = 0, screenY = 0, screenT = 0;
  double x(double m) const { return x0 + dx * (m - m0); }
  double y(double m) const { return y0 + dy * (m - m0); }
};

// A touch of a surface or a crossing of a reference line by an edge.
struct ContinuousEvent {
  int edge = 0;     // 0..7: front 1 ray 1 edges 1, 2, ray 2 edges 1, 2, then front 2
  int code = 0;     // the state code at the touch (3ERL / 4ERL for a crossing)
  double T = 0;     // s
  double step = 0;  // steps made so far, this one included
  double tick = 0;  // time in continuous steps dt / refinementDivisor
};

// The continuous wave-front experiment: two fronts of finite width, N0 periods apart,
// travel the legs a stepped run found; every touch of every edge is recorded and the
// frequency received on each leg is N0 over the time between the fronts.
//
// Time runs in ticks of one continuous step; every position is a pure function of the tick
// (its value at the tick it last turned plus a displacement per tick times the ticks since),
// so that a run of quiet steps can be made at once and leave exactly the state the single
// steps would. Between events each test has a closed form for the first tick at which it
// can fire.
class ContinuousExperiment {
 public:
  // The point table holds the start-of-run positions (moved points 1..7, 30, 40) and the
  // reference points 110..128 of the stepped run; the run moves the setup in it.
  ContinuousExperiment(const ContinuousParameters& p, const LegTables& legs,
                       std::array<double, 131>& X, std::array<double, 131>& Y);

  // Runs until all edges are at the screen, the stop flag is raised or the step bound is
  // reached (a geometry that never closes: reported as a fault). A finished run called
  // again finishes again with the same results.
  LoopEnd run(const LoopSettings& settings, const int& stopFlag, ContinuousObserver& observer);
  LoopSettings defaultSettings() const;

  // The stepping loop's body.
  bool done() const { return finished_ || failed_; }
  double quietSteps(double most) const;
  void leap(double n);
  void step();
  void refresh();

  const ContinuousParameters& parameters() const { return p_; }
  double T() const { return m_ * step_; }
  double tick() const { return m_; }
  double stepLength() const { return step_; }
  bool finished() const { return finished_; }
  bool failed() const { return failed_; }
  const std::array<ContinuousEdge, 8>& edges() const { return edges_; }
  bool frontLaunched(int front) const;  // front 1 or 2
  const std::vector<double>& Tn1() const { return Tn1_; }
  const std::vector<double>& Tn2() const { return Tn2_; }
  const std::vector<double>& Tk1() const { return Tk1_; }
  const std::vector<double>& Tk2() const { return Tk2_; }
  // Frequencies after the run, Hz: 10..28 received at the end of each leg, 110..128 on the
  // leg itself (prism setup).
  const std::array<double, 201>& v() const { return v_; }
  const std::vector<ContinuousEvent>& events() const { return events_; }
  const LoopCounters& counters() const { return counters_; }
  double fullSteps() const { return fullSteps_; }
  double refinedSteps() const { return fineSteps_; }
  // Screen point of edge i as used for the results: moved back into the screen's frame
  // when asked to (a copy; the stored point stays).
  double correctedX(int i) const;
  double correctedY(int i) const;
  // The four result fields Text73..Text76: ray 1 front 1, ray 2 front 1, ray 1 front 2, ray 2
  // front 2 (y on the vertical screen, x on the horizontal one).
  std::array<double, 4> screenResults() const;
  // Text71, Text72.
  double screenFrequency(int ray) const;
  // The tables printed at the end.
  std::vector<PlacedText> resultTexts() const;

 private:
  // What ends a leg and how an edge moves on it.
  struct LegPlan {
    int kind = 0;   // 0 none (after the screen), 1 a line, 2 the screen x = X(6), 3 y = Y(6)
    int point = 0;  // the setup point the line goes through
    double A = 0, norm = 1;  // the line A·x − y + K = 0 and √(A² + 1)
    double threshold = 0;    // closing distance per step, m: (V12 + V21)·step
    int next = 0;
    double speed = 0, direction = 0;  // m/s, rad
    bool crossing = false;            // a reference line at rest across the leg
    double crossX = 0, crossY = 0, crossA = 0, crossNorm = 1, crossThreshold = 0;
  };
  struct Window {
    double lo = 0;  // first tick at which the test may fire
    double hi = 0;  // last one
  };

  void placeFront(int front, int ray, double sourceTick);
  void enterLeg(int i, int leg, double m);
  bool touches(int i, double m) const;
  bool crosses(int i, double m) const;
  void record(int i, int code, double m);
  void replan();
  Window touchWindow(int i, double from) const;
  Window crossWindow(int i, double from) const;
  double nextFire(double m) const;
  bool fullAllowed(double m) const;
  double nextSkipEntry(double m) const;
  void computeSkipIntervals();
  void finish();
  double pointX(int k, double m) const { return X0_[static_cast<std::size_t>(k)] + sdx_ * m; }
  double pointY(int k, double m) const { return Y0_[static_cast<std::size_t>(k)] + sdy_ * m; }
  void syncPoints();
  std::vector<double>& table(int front, int ray);

  ContinuousParameters p_;
  LegTables legs_;
  std::array<double, 131>& X_;
  std::array<double, 131>& Y_;
  std::array<double, 131> X0_{}, Y0_{};  // start-of-run point table
  double step_ = 0;                      // s
  double sdx_ = 0, sdy_ = 0;             // setup displacement per tick, m
  double fullTicks_ = 1;                 // ticks of a full step
  double m_ = 0;                         // ticks since the start
  double steps_ = 0;                     // steps since the start
  double fullSteps_ = 0, fineSteps_ = 0;
  std::array<double, 2> launchTick_{};  // ray-1 and ray-2 edges of the second front
  std::array<bool, 2> launched_{};
  std::array<ContinuousEdge, 8> edges_{};
  std::array<LegPlan, 30> plan_{};
  std::array<Window, 8> touch_{}, cross_{};
  std::array<std::array<double, 2>, 2> skipIntervals_{};  // conditions a and b: [lo, hi]
  std::vector<double> Tn1_, Tn2_, Tk1_, Tk2_;
  std::array<double, 201> v_{};
  std::vector<ContinuousEvent> events_;
  LoopCounters counters_;
  ContinuousObserver* observer_ = nullptr;
  bool finished_ = false;
  bool failed_ = false;
  bool filterTests_ = false;  // skip the tests that cannot fire (leaping)
};

}  // namespace quorvel::experiment::model
