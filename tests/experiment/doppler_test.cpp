#include "experiment/model/doppler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "experiment/run_harness.h"
#include "platform/headless/headless_host.h"
#include "platform/picture.h"

namespace quorvel::experiment::model {
namespace {

using common::Pi;
using platform::Buttons;

double deg(double degrees) {
  return degrees / common::RadToDeg;
}

// "Test" units with the run's step at dt: the models step by 1E-10 s, about 2200 steps per
// period of the 4.6 MHz light. The setup moves with β·c; the closing speeds are formed as
// the runs form them for a ray along An and a surface at alfa.
ExperimentState testState(double betaX, double betaY, double An = 0, double alfa = 0) {
  ExperimentState s;
  s.c = 30000;
  s.L1 = 0.0065;
  s.v01 = s.c / s.L1;
  s.dt = s.P0 = 1e-7;
  s.refinementDivisor = 1e3;
  s.Vx = betaX * s.c;
  s.Vy = betaY * s.c;
  s.V = std::hypot(s.Vx, s.Vy);
  s.AlfaV = common::FullAngle(s.Vx, s.Vy);
  for (double side : {1.0, -1.0}) {
    s.V12 = s.c * std::cos(An - alfa + side * Pi / 2);
    s.V21 = s.V * std::cos(s.AlfaV - alfa - side * Pi / 2);
    if (s.V12 > 0) break;
  }
  return s;
}

// Each event is found within one step before the true crossing, so a frequency N0 over a
// difference of mean event times is off by less than one step in N0 periods.
double stepResolution(double frequency, double step) {
  return frequency * frequency * step / 10;
}

class DopplerTest : public testing::Test {
 protected:
  platform::HeadlessHost host;
  int stop = 0;
  RunHarness contextHarness{host, nullptr, stop};
  RunContext& context = contextHarness.context;
};

struct MirrorCase {
  int code;
  double AnDeg, alfaDeg;
  double tilt;          // AlfaZ − alfa, rad
  double betaX, betaY;  // setup velocity / c
};

// Normal incidence receding and approaching, and a 45 degree mirror moving along the light
// with an effective angle a little off its own, for every orientation code.
std::vector<MirrorCase> mirrorCases() {
  return {
      {0, 180, 90, 0, 0, 0},       {0, 180, 90, 0, -0.1, 0},     {0, 180, 90, 0, 0.1, 0},
      {90, 270, 0, 0, 0, 0},       {90, 270, 0, 0, 0, -0.1},     {90, 270, 180, 0, 0, 0.1},
      {180, 0, 90, 0, 0.1, 0},     {180, 0, 90, 0, -0.1, 0},     {270, 90, 0, 0, 0, 0.1},
      {270, 90, 0, 0, 0, -0.1},    {270, 90, 0, 0, 0.05, 0.1},   {0, 90, 45, 0, 0, 0},
      {0, 90, 45, 0.02, 0, 0.1},   {0, 90, 45, 0.02, 0, -0.1},   {90, 0, 45, -0.02, 0.1, 0},
      {90, 0, 45, 0.02, -0.1, 0},  {180, 90, 135, 0.02, 0, 0.1}, {180, 90, 135, -0.02, 0, -0.1},
      {270, 0, 135, 0.02, 0.1, 0}, {270, 0, 135, 0.02, -0.1, 0},
  };
}

// In the rest frame of the medium the mirror meets the crests at ν·(1 − u·n1/c) and sends
// them along n2 so that a resting line receives νm/(1 − u·n2/c).
TEST_F(DopplerTest, MirrorModelMatchesTheClassicalMovingMirror) {
  for (const auto& c : mirrorCases()) {
    SCOPED_TRACE(testing::Message() << "code " << c.code << ", An " << c.AnDeg << ", mirror "
                                    << c.alfaDeg << ", u/c (" << c.betaX << ", " << c.betaY << ")");
    const double An = deg(c.AnDeg), alfa = deg(c.alfaDeg), AlfaZ = alfa + c.tilt;
    ExperimentState s = testState(c.betaX, c.betaY, An, alfa);
    const double nu = s.v01;
    ASSERT_EQ(Dopler_Zerkalo(s, context, alfa, AlfaZ, s.c, An, nu, c.code), DopplerOutcome::Done);
    const double out = 2 * AlfaZ - An;
    const double vm = nu * (1 - c.betaX * std::cos(An) - c.betaY * std::sin(An));
    const double vr = vm / (1 - c.betaX * std::cos(out) - c.betaY * std::sin(out));
    EXPECT_NEAR(s.vm, vm, stepResolution(vm, 1e-10));
    EXPECT_NEAR(s.vr, vr, stepResolution(vr, 1e-10));
  }
}

// The closed formulas give the crest rate at the mirror for any geometry, as the model
// does, and the frequency of the reflection wherever the model sends the crests along the
// reflection's own direction. (The prism run's tests compare them where a moving mirror
// turns the ray at oblique incidence.)
TEST_F(DopplerTest, ClosedFormulasAgreeWithTheMirrorModel) {
  std::vector<MirrorCase> cases = {
      {90, 10, 50, 0, 0.06, -0.08}, {270, 0, 135, 0, 0, 0.1}, {90, 0, 45, 0, 0.07, 0.07}};
  for (const auto& c : mirrorCases()) {
    if (c.tilt == 0) cases.push_back(c);
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "code " << c.code << ", An " << c.AnDeg << ", mirror "
                                    << c.alfaDeg << ", u/c (" << c.betaX << ", " << c.betaY << ")");
    const double An = deg(c.AnDeg), alfa = deg(c.alfaDeg);
    ExperimentState s = testState(c.betaX, c.betaY, An, alfa);
    ASSERT_EQ(Dopler_Zerkalo(s, context, alfa, alfa, s.c, An, s.v01, c.code), DopplerOutcome::Done);
    const double modelVm = s.vm, modelVr = s.vr;
    const MirrorFrequencies closed = DopplerClosedForm(s, alfa, s.c, An, s.v01);
    EXPECT_EQ(s.vm, closed.vm);
    EXPECT_NEAR(modelVm, closed.vm, stepResolution(closed.vm, 1e-10));
    // The model sends the crests along 2·AlfaZ − An; that is the reflection's own direction
    // at normal incidence or for a mirror moving along itself (otherwise the run passes the
    // effective angle of the moving mirror).
    const double normal = std::cos(An - alfa + Pi / 2);
    const double along = -c.betaX * std::sin(alfa) + c.betaY * std::cos(alfa);
    if (std::fabs(normal) > 1 - 1e-12 || std::fabs(along) < 1e-12) {
      EXPECT_NEAR(modelVr, closed.vr, stepResolution(closed.vr, 1e-10));
    }
  }
}

TEST_F(DopplerTest, ClosedFormulasWithStaticAnglesUseTheSurfaceTestSpeeds) {
  ExperimentState s = testState(0, 0.1);
  s.options.staticAngles = true;
  s.V12 = 2;
  s.V21 = 0.5;
  const MirrorFrequencies fixed = DopplerClosedForm(s, deg(45), s.c, 0, 3);
  EXPECT_DOUBLE_EQ(fixed.vm, 3.75);
  // The reflection does not use them: the ray turns from +x to +y, into the motion.
  EXPECT_DOUBLE_EQ(fixed.vr, 3 / 0.9);
  // Formed anew for AlfaZ: a vertical mirror moving up meets a ray going right head on.
  s.options.staticAngles = false;
  const MirrorFrequencies fresh = DopplerClosedForm(s, Pi / 2, s.c, 0, 3);
  EXPECT_NEAR(s.V12, s.c, 1e-9);
  EXPECT_NEAR(s.V21, 0, 1e-9);
  EXPECT_NEAR(fresh.vr, 3, 1e-12);
  s.options.staticAngles = true;
  s.V12 = 0;
  EXPECT_THROW(DopplerClosedForm(s, deg(45), s.c, 0, 3), common::ArithmeticError);
  // A mirror that runs away along the reflected ray as fast as the light.
  s.V12 = 1;
  EXPECT_THROW(DopplerClosedForm(s, deg(45), 0.1 * s.c, 0, 3), common::ArithmeticError);
}

// A source moving with u and sending along n is received at v01/(1 − u·n/c). The model
// steps by dt/K: the run's own step is not set yet when a run starts.
TEST_F(DopplerTest, SourceModelMatchesTheClassicalMovingSource) {
  struct Case {
    double aimDeg, betaX, betaY;
  };
  for (const Case& c : std::vector<Case>{{90, 0, 0},
                                         {90, 0, 0.11},
                                         {90, 0, -0.11},
                                         {90, 0.1, 0},
                                         {84.3, 0.07, 0.07},
                                         {225, -0.1, 0.05}}) {
    SCOPED_TRACE(testing::Message()
                 << c.aimDeg << " deg, u/c (" << c.betaX << ", " << c.betaY << ")");
    ExperimentState s = testState(c.betaX, c.betaY);
    s.P0 = 0;
    s.aimAngle = deg(c.aimDeg);
    ASSERT_EQ(Dopler_Lazer(s, context), DopplerOutcome::Done);
    const double un = c.betaX * std::cos(s.aimAngle) + c.betaY * std::sin(s.aimAngle);
    const double expected = s.v01 / (1 - un);
    // Crest B also leaves up to one step late, from a source that has moved meanwhile.
    EXPECT_NEAR(s.vm, expected, (2 + std::fabs(un)) * stepResolution(expected, 1e-10));
  }
}

// λ = 1, light at 1 m/s, steps of P0/K = 0.375 s (dt is 1): every position and time is
// exact in binary. Crest A (ends at y = −15) meets the resting mirror y = 0 at step 39,
// crest B (y = −25) at step 66; their reflections meet the line y = −25 at 104 and 131.
class DopplerExactMirrorTest : public DopplerTest {
 protected:
  DopplerExactMirrorTest() {
    s = testState(0, 0);
    s.L1 = s.c = s.v01 = s.dt = 1;
    s.P0 = 375;
    s.refinementDivisor = 1000;
    s.T = 100;
    s.detailScale = 2;
    s.V12 = 1;
    s.V21 = 0;
    s.vm = 123;
    s.vr = 456;
  }
  DopplerOutcome run(RunContext& in) { return Dopler_Zerkalo(s, in, 0, 0, 1, Pi / 2, 1, 270); }

  ExperimentState s;
};

std::string eventText(int kod, const char* T, const char* R0) {
  return "kod=" + std::to_string(kod) + "     T=  " + T + "\r\n" +
         (((kod - 1) & 2) ? "Vs*P0/L1=  0,375" : "(V12+V21)*P0/L1=  0,375") +
         "\r\nR0/L1=" + std::string(8 + 2 * (kod - 1), ' ') + R0 + "\r\n";
}

// The same events, texts and results whether the model steps or leaps; the time is shown at
// every event and at the end, and the leaping model yields once per leap.
TEST_F(DopplerExactMirrorTest, EventTextsPromptsAndRefreshes) {
  for (int variant = 0; variant < 4; ++variant) {
    const bool autoRun = variant & 1;
    s.leaping = variant & 2;
    SCOPED_TRACE(testing::Message()
                 << (autoRun ? "Auto" : "step by step") << (s.leaping ? ", leaping" : ", stepped"));
    platform::HeadlessHost localHost;
    RunHarness localHarness{localHost, nullptr, stop};
    RunContext& local = localHarness.context;
    std::vector<double> shown;
    localHarness.observer.onShowTime = [&](double T) { shown.push_back(T); };
    s.options.autoModels = autoRun;
    ASSERT_EQ(run(local), DopplerOutcome::Done);
    const std::vector<std::string> expected = {
        eventText(1, "14,625", "0,375"), eventText(2, "14,625", "0,375"),
        eventText(5, "24,75", "0,25"),   eventText(6, "24,75", "0,25"),
        eventText(3, "39", "0,25"),      eventText(4, "39", "0,25"),
        eventText(7, "49,125", "0,375"), eventText(8, "49,125", "0,375")};
    ASSERT_EQ(localHost.messages().size(), autoRun ? 0 : expected.size());
    for (std::size_t i = 0; i < localHost.messages().size(); ++i) {
      EXPECT_EQ(localHost.messages()[i].text, expected[i] + "ПРОДОЛЖИТЬ ПОЭТАПНЫЙ РАСЧЕТ?");
      EXPECT_EQ(localHost.messages()[i].title, "Quorvel_Dopler");
      EXPECT_EQ(localHost.messages()[i].buttons, Buttons::YesNo);
    }
    // The leg text: the last event, the mean times in the run's time (t − 15/ν + TA3), the
    // ratios to v01.
    const std::string ratio = common::numberText(10 / 10.125);
    EXPECT_EQ(local.report, expected.back() + "T1sr=    99,625\r\nT2sr=    109,75\r\nv1/v0=    " +
                                ratio + "\r\nv2/v0=    " + ratio + "\r\n");
    EXPECT_DOUBLE_EQ(s.vm, 10 / 10.125);
    EXPECT_DOUBLE_EQ(s.vr, 10 / 10.125);
    EXPECT_EQ(shown,
              (std::vector<double>{14.625, 14.625, 24.75, 24.75, 39, 39, 49.125, 49.125, 49.125}));
    // After every step but the last; leaping, after the leaps to 24.75, 39 and 49.125.
    EXPECT_EQ(localHost.doEventsCalls(), s.leaping ? 3 : 130);
  }
}

TEST_F(DopplerExactMirrorTest, NoAnswerOrAStopEndsTheModelKeepingTheFrequencies) {
  struct Case {
    int noAt;     // the prompt answered No (0: Auto)
    int stopAt;   // the yield during which the stop button is pressed (0: never)
    int atEntry;  // the stop flag before the call
    DopplerOutcome outcome;
    long long yields;
  };
  // Stepped (the yields count the steps) and leaping (they count the leaps). A leaping model
  // takes microseconds and is not stopped half way: its frequency is never lost.
  for (const Case& c : std::vector<Case>{{1, 0, 0, DopplerOutcome::Declined, 38},
                                         {3, 0, 0, DopplerOutcome::Declined, 65},
                                         {0, 20, 0, DopplerOutcome::Stopped, 20},
                                         {0, 20, 1, DopplerOutcome::Done, 130},
                                         {-1, 0, 0, DopplerOutcome::Declined, 0},
                                         {-3, 0, 0, DopplerOutcome::Declined, 1},
                                         {0, -1, 0, DopplerOutcome::Done, 3},
                                         {0, -1, 1, DopplerOutcome::Done, 3}}) {
    SCOPED_TRACE(testing::Message() << c.noAt << " " << c.stopAt << " " << c.atEntry);
    s.leaping = c.noAt < 0 || c.stopAt < 0;
    const int noAt = std::abs(c.noAt);
    const int stopAt = std::abs(c.stopAt);
    platform::HeadlessHost localHost;
    int flag = c.atEntry;
    RunHarness localHarness{localHost, nullptr, flag};
    RunContext& local = localHarness.context;
    localHost.onDoEvents = [&] {
      if (localHost.doEventsCalls() == stopAt) flag = 1;
    };
    s.vm = 123;
    s.vr = 456;
    s.options.autoModels = noAt == 0;
    for (int i = 1; i <= noAt; ++i) localHost.queueAnswer(i < noAt);
    EXPECT_EQ(run(local), c.outcome);
    EXPECT_EQ(localHost.messages().size(), static_cast<std::size_t>(noAt));
    EXPECT_EQ(localHost.doEventsCalls(), c.yields);
    EXPECT_EQ(s.vm == 123 && s.vr == 456, c.outcome != DopplerOutcome::Done);
  }
}

TEST_F(DopplerExactMirrorTest, DetailDrawingRedrawsTheSchemeUnlessTrajectories) {
  for (bool trajectories : {false, true}) {
    platform::Picture picture(400, 400);
    picture.scale(-20, 20, 20, -20);
    picture.pset(-15, 15, platform::rgb(255, 0, 0));
    RunHarness drawingHarness{host, &picture, stop};
    RunContext& drawing = drawingHarness.context;
    int redraws = 0;
    drawingHarness.observer.onRedrawScheme = [&] {
      ++redraws;
      picture.scale(-20, 20, 20, -20);
    };
    s.options.modelDetails = true;
    s.options.modelTrajectories = trajectories;
    s.NC0 = 1000;  // only the final refresh
    ASSERT_EQ(run(drawing), DopplerOutcome::Done);
    auto at = [&](double x, double y) {
      return picture.pixel(static_cast<int>(picture.toPixelX(x)),
                           static_cast<int>(picture.toPixelY(y)));
    };
    // Crest B is back at y = −24.625 m: −12.3125 units at 2 m per unit, x within ±5.
    EXPECT_EQ(at(0, -12.3125) == (platform::Rgb{0, 0, 250}), !trajectories);
    EXPECT_EQ(at(7, 0), (platform::Rgb{0, 0, 0}));  // the mirror, ±20 m along y = 0
    EXPECT_EQ(at(-15, 15) == (platform::Rgb{255, 0, 0}), trajectories);
    EXPECT_EQ(redraws, trajectories ? 0 : 1);
  }
}

// Faults and models that can never finish show the model's box and keep the frequencies.
TEST_F(DopplerTest, ModelFaultsShowTheirMessageAndKeepTheFrequencies) {
  struct Case {
    double AnDeg, nu, betaY;
    int code;  // −1: the source model
  };
  for (const Case& c : std::vector<Case>{{270, 0, 0, 90},        // zero frequency
                                         {0, 4.6e6, 0, 90},      // crest parallel to the mirror
                                         {270, 4.6e6, 0, 270},   // receiver behind the reflection
                                         {270, 4.6e6, 0, 45},    // no such orientation code
                                         {90, 0, 0, -1},         // zero v01
                                         {90, 4.6e6, 2, -1}}) {  // source outrunning its light
    SCOPED_TRACE(testing::Message() << c.AnDeg << " " << c.nu << " " << c.code);
    platform::HeadlessHost localHost;
    RunHarness localHarness{localHost, nullptr, stop};
    RunContext& local = localHarness.context;
    ExperimentState s = testState(0, c.betaY, deg(c.AnDeg), 0);
    s.vm = 123;
    s.vr = 456;
    if (c.code < 0) s.v01 = c.nu;
    const DopplerOutcome outcome =
        c.code < 0 ? Dopler_Lazer(s, local)
                   : Dopler_Zerkalo(s, local, 0, 0, s.c, deg(c.AnDeg), c.nu, c.code);
    EXPECT_EQ(outcome, DopplerOutcome::Failed);
    ASSERT_EQ(localHost.messages().size(), 1u);
    EXPECT_EQ(localHost.messages()[0].text,
              c.code < 0 ? "Ошибка рассчета в Dopler_Lazer" : "Ошибка рассчета в Dopler_Zerkalo");
    EXPECT_EQ(localHost.messages()[0].title, "Quorvel");
    EXPECT_EQ(localHost.messages()[0].buttons, Buttons::Ok);
    EXPECT_EQ(s.vm, 123);
    EXPECT_EQ(s.vr, 456);
  }
}

}  // namespace
}  // namespace quorvel::experiment::model
