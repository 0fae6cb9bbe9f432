#include "experiment/model/beam_splitter_run.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "common/numbers.h"

namespace quorvel::experiment::model {

namespace {

using common::Pi;

constexpr char kCrLf[] = "\r\n";

// One entry of the leg table: the leg, its ray, its surface and what happens at its end.
enum class Event { Refraction, Coating, Mirror, Screen };

struct Leg {
  int leg;
  int ray;
  int point;  // surface point
  int angle;  // 1..4: Alfa1..Alfa4; 0 for the screen
  int side;   // s of the closing speeds
  Event event;
  int next;
  int dopplerCode;
};

// In the order the legs are tested within a step.
constexpr Leg kLegs[] = {
    {10, 1, 30, 3, +1, Event::Refraction, 11, 0}, {11, 1, 3, 3, +1, Event::Coating, 13, 180},
    {13, 1, 30, 3, -1, Event::Refraction, 14, 0}, {14, 1, 1, 1, -1, Event::Mirror, 15, 0},
    {15, 1, 30, 3, +1, Event::Refraction, 16, 0}, {16, 1, 3, 3, +1, Event::Refraction, 18, 0},
    {18, 1, 6, 0, 0, Event::Screen, 19, 180},     {22, 2, 40, 4, +1, Event::Refraction, 23, 0},
    {23, 2, 4, 4, +1, Event::Refraction, 24, 0},  {24, 2, 2, 2, -1, Event::Mirror, 25, 270},
    {25, 2, 4, 4, -1, Event::Refraction, 26, 0},  {26, 2, 40, 4, -1, Event::Refraction, 27, 0},
    {27, 2, 3, 3, -1, Event::Mirror, 28, 0},      {28, 2, 6, 0, 0, Event::Screen, 29, 180},
};

double angleOf(const ExperimentState& s, int which) {
  switch (which) {
    case 1:
      return s.Alfa1;
    case 2:
      return s.Alfa2;
    case 3:
      return s.Alfa3;
    case 4:
      return s.Alfa4;
    default:
      return Pi / 2;
  }
}

// The end of one leg: its event, the bookkeeping and the angle lines.
void endLeg(ExperimentState& s, RunContext& context, const Leg& leg) {
  const LegSurface surface{leg.point, angleOf(s, leg.angle), leg.side, leg.event == Event::Screen};
  context.report = legText(s);
  const bool secondRay = leg.ray == 2;
  switch (leg.event) {
    case Event::Refraction:
      refract(s, context, leg.ray, leg.leg, leg.next, surface, secondRay);
      if (leg.leg == 10) {
        // Ray 2 has travelled with ray 1: it takes the new direction, speed and velocity and
        // its own leg 20 ends here too.
        s.legs.An[21] = s.legs.An[11];
        s.raySpeed[2] = s.raySpeed[1];
        s.Xf[2] = s.Xf[1];
        s.Yf[2] = s.Yf[1];
        s.VXf[2] = s.VXf[1];
        s.VYf[2] = s.VYf[1];
        s.legs.An[2] = s.legs.An[1];
        s.legs.v[21] = s.legs.v[20];
        s.legs.received[20] = s.legs.v[20];
        bookkeeping(s, 1, 10, 11);
        bookkeeping(s, 2, 20, 21);
        s.ii = 11;
        printLegAngles(s, context, 1, 10, 11);
        printLegAngles(s, context, 2, 20, 21);
        return;
      }
      break;
    case Event::Coating: {
      auto& X = context.X;
      auto& Y = context.Y;
      using common::numberText;
      context.report += "X1=  " + numberText(s.Xf[1]) + kCrLf + "Y1=  " + numberText(s.Yf[1]) +
                        kCrLf + "X3=  " + numberText(X[3]) + kCrLf + "Y3=  " + numberText(Y[3]) +
                        kCrLf;
      // Ray 2 is still where ray 1 is; it leaves the plate through the coating.
      s.Xf[2] = s.Xf[1];
      s.Yf[2] = s.Yf[1];
      reflect(s, context, 1, 11, 13, surface, leg.dopplerCode, true);
      bookkeeping(s, 1, 11, 13);
      s.ii = 13;
      printLegAngles(s, context, 1, 11, 13);
      refract(s, context, 2, 21, 22, surface, true);
      bookkeeping(s, 2, 21, 22);
      s.jj = 22;
      printLegAngles(s, context, 2, 21, 22);
      context.report += "пройден участок пути 21 ";
      return;
    }
    case Event::Mirror:
      reflect(s, context, leg.ray, leg.leg, leg.next, surface, leg.dopplerCode, leg.leg == 27);
      break;
    case Event::Screen:
      arrive(s, context, leg.ray, leg.leg);
      (leg.ray == 1 ? s.ii : s.jj) = leg.next;
      printLegAngles(s, context, leg.ray, leg.leg, leg.next);
      return;
  }
  if (leg.event != Event::Screen) bookkeeping(s, leg.ray, leg.leg, leg.next);
  (leg.ray == 1 ? s.ii : s.jj) = leg.next;
  printLegAngles(s, context, leg.ray, leg.leg, leg.next);
}

// Where each ray's front stands against its present surface before the step moves it, so
// that a front that crosses its surface within one step is seen doing so.
void recordSides(ExperimentState& s, RunContext& context) {
  for (const Leg& leg : kLegs) {
    const int current = leg.ray == 1 ? s.ii : s.jj;
    if (current != leg.leg) continue;
    const LegSurface surface{leg.point, angleOf(s, leg.angle), leg.side,
                             leg.event == Event::Screen};
    closeIn(s, context, leg.ray, leg.leg, surface);
    approachOf(s, leg.ray, leg.leg, surface);
  }
}

// The points of the setup that move with it.
constexpr std::initializer_list<int> kMovingPoints = {1, 2, 3, 4, 5, 6, 30, 40};

class BeamSplitterSteps : public SetupStepper {
 public:
  BeamSplitterSteps(ExperimentState& s, RunContext& context) : s_(s), context_(context) {}

  // One solution step: the setup and the fronts move, the present legs are tested.
  void step() override {
    ExperimentState& s = s_;
    RunContext& context = context_;
    recordSides(s, context);
    addStep(s, context, kMovingPoints);
    bool near = false;
    for (const Leg& leg : kLegs) {
      const int current = leg.ray == 1 ? s.ii : s.jj;
      if (current != leg.leg) continue;
      const LegSurface surface{leg.point, angleOf(s, leg.angle), leg.side,
                               leg.event == Event::Screen};
      near =
          testLeg(s, context, leg.ray, leg.leg, surface, [&] { endLeg(s, context, leg); }) || near;
    }
    // The refined step stays while any ray's present leg is near its surface, so neither ray
    // can jump a full step past its surface while the other one ends a leg.
    s.P0 = near ? s.dt / s.refinementDivisor : s.dt;
  }

  // Full steps while both rays are far from their surfaces; refined steps while a ray that
  // is near keeps closing (the step stays refined) and neither ends its leg.
  double quietSteps(double most) override {
    const ExperimentState& s = s_;
    const bool full = s.P0 == s.dt;
    if (!full && !(s.P0 == s.dt / s.refinementDivisor)) return 0;
    double quiet = std::min(most, sumsLeapLimit(s, context_, kMovingPoints));
    bool anyNear = false;
    for (const Leg& leg : kLegs) {
      const int current = leg.ray == 1 ? s.ii : s.jj;
      if (current != leg.leg || quiet < 1) continue;
      const LegSurface surface{leg.point, angleOf(s, leg.angle), leg.side,
                               leg.event == Event::Screen};
      bool near = false;
      quiet = std::min(quiet, quietLegSteps(s, context_, leg.ray, leg.leg, surface, quiet, &near));
      anyNear = anyNear || near;
    }
    return full || anyNear ? quiet : 0;
  }

  void leap(double n) override { leapSums(s_, context_, kMovingPoints, n); }

 private:
  ExperimentState& s_;
  RunContext& context_;
};

}  // namespace

void prepareBeamSplitterRun(ExperimentState& s, const RunContext& context) {
  if (!s.options.comparative) return;
  const auto& X = context.X;
  const auto& Y = context.Y;
  for (int ray = 1; ray <= 2; ++ray) {
    s.Xf[ray] = X[3];
    s.Yf[ray] = Y[3];
    s.raySpeed[ray] = s.c;
  }
  s.ii = 13;
  s.jj = 22;
  s.legs.done[11] = s.legs.done[21] = true;
  s.legs.T1[11] = s.legs.T2[21] = 0;
  s.T1 = s.T2 = 0;
  s.legs.An[11] = s.legs.An[21] = Pi / 2;
  s.legs.An[13] = -Pi;
  // The arm across the motion is sent along the laser's aim, aberration included, as the
  // light that has crossed the splitter is: sent straight up it would miss the moving
  // mirror's return path by a first-order amount.
  s.legs.An[22] = s.aimAngle;
  s.legs.An[1] = s.legs.An[13];
  s.legs.An[2] = s.legs.An[22];
  s.VXf[1] = -s.c;
  s.VYf[1] = 0;
  s.VXf[2] = s.c * std::cos(s.aimAngle);
  s.VYf[2] = s.c * std::sin(s.aimAngle);
}

RunEnd runBeamSplitter(ExperimentState& s, RunContext& context) {
  BeamSplitterSteps steps(s, context);
  return runSteps(s, context, steps);
}

}  // namespace quorvel::experiment::model
