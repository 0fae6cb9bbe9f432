// The engine as a library: presets, field checks, the one call, runs side by side.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "engine/engine_support.h"
#include "experiment/model/engine.h"
#include "experiment/model/presets.h"

namespace quorvel::experiment::model {
namespace {

struct Preset {
  SetupChoice setup;
  UnitChoice units;
  const char* name;
};
constexpr Preset kPresets[] = {{SetupChoice::BeamSplitter, UnitChoice::Test, "beam splitter Test"},
                               {SetupChoice::BeamSplitter, UnitChoice::Real, "beam splitter Real"},
                               {SetupChoice::Prism, UnitChoice::Test, "prism Test"},
                               {SetupChoice::Prism, UnitChoice::Real, "prism Real"}};

void expectSameResult(const RunResult& a, const RunResult& b) {
  EXPECT_EQ(a.outcome, b.outcome);
  EXPECT_EQ(a.T, b.T);
  EXPECT_EQ(a.T1, b.T1);
  EXPECT_EQ(a.T2, b.T2);
  EXPECT_EQ(a.S1, b.S1);
  EXPECT_EQ(a.S2, b.S2);
  EXPECT_EQ(a.N1, b.N1);
  EXPECT_EQ(a.N2, b.N2);
  EXPECT_EQ(a.arrivalX, b.arrivalX);
  EXPECT_EQ(a.arrivalY, b.arrivalY);
  EXPECT_EQ(a.screenRatio1, b.screenRatio1);
  EXPECT_EQ(a.screenRatio2, b.screenRatio2);
  EXPECT_EQ(a.tables.T1, b.tables.T1);
  EXPECT_EQ(a.tables.T2, b.tables.T2);
  EXPECT_EQ(a.tables.v, b.tables.v);
  EXPECT_EQ(a.tables.received, b.tables.received);
  EXPECT_EQ(a.X, b.X);
  EXPECT_EQ(a.Y, b.Y);
}

// Every preset arrives through the one call; its legs are the leg tables, read as values:
// the travelled legs in order of time, the arrival totals those of the last leg, and the
// frequencies on the screen those the last legs carry.
TEST(EngineTest, EveryPresetArrivesAndItsResultIsTheRunsLegTables) {
  for (const Preset& p : kPresets) {
    SCOPED_TRACE(p.name);
    RecordingObserver observer;
    const RunResult r = runExperiment(presetFields(p.setup, p.units),
                                      presetOptions(p.setup, p.units), observer);
    ASSERT_EQ(r.outcome, RunOutcome::Arrived) << r.message;
    EXPECT_TRUE(r.message.empty());
    EXPECT_GT(observer.yields, 0);
    for (int ray = 1; ray <= 2; ++ray) {
      double last = 0;
      int travelled = 0;
      for (const LegResult& leg : r.legs[static_cast<std::size_t>(ray)]) {
        if (!leg.travelled) continue;
        ++travelled;
        EXPECT_GE(leg.time, last) << "leg " << leg.leg;
        last = leg.time;
        EXPECT_GT(leg.speed, 0) << "leg " << leg.leg;
      }
      EXPECT_GE(travelled, 2);
      EXPECT_EQ(ray == 1 ? r.T1 : r.T2, last);
      EXPECT_FALSE(r.legs[static_cast<std::size_t>(ray)][9].travelled);  // the arrival row
    }
    EXPECT_EQ(r.screenRatio1, r.tables.v[19] / r.v01);
    EXPECT_EQ(r.screenRatio2, r.tables.v[29] / r.v01);
    EXPECT_EQ(r.arrivalDirection[1], r.tables.An[18]);
    // The setup moves at (3 + 0,3) km/s or (300 + 30) km/s: first-order Doppler shifts.
    EXPECT_NEAR(r.screenRatio1, 1, p.units == UnitChoice::Test ? 0.3 : 3e-3);
    EXPECT_NE(r.screenRatio1, 1);
  }
}

// A setup at rest: both arms of the beam splitter are alike, so the rays arrive together
// within the refined step's resolution, and the Doppler models find the source's frequency
// on the screen within their own resolution (crests 10 periods apart).
TEST(EngineTest, ASetupAtRestShiftsNothing) {
  for (UnitChoice units : {UnitChoice::Test, UnitChoice::Real}) {
    RunFields f = presetFields(SetupChoice::BeamSplitter, units);
    f.Vss = f.Vz = 0;
    const RunResult r = runExperiment(f, presetOptions(SetupChoice::BeamSplitter, units));
    ASSERT_EQ(r.outcome, RunOutcome::Arrived) << r.message;
    EXPECT_NEAR(r.T1, r.T2, 4 * f.dt / f.refinementDivisor + 1e-9 * r.T1);
    EXPECT_NEAR(r.screenRatio1, 1, 1e-4);
    EXPECT_NEAR(r.screenRatio2, 1, 1e-4);
    EXPECT_NEAR(r.screenRatio1, r.screenRatio2, 1e-7);
  }
}

// The first bad field in the order the window checks them, with its message; the typed
// value is shown as the number the call was given.
TEST(EngineTest, RefusedFieldsNameTheFieldAndTheReason) {
  using F = RunFields;
  struct Case {
    std::function<void(RunFields&, Options&)> change;
    double F::*field;
    const char* message;
  };
  const Case cases[] = {
      {[](F& f, Options&) { f.NC0 = 0.4; }, &F::NC0, "NC0 должно быть целым числом от 1"},
      {[](F& f, Options&) { f.dt = -1e-7; }, &F::dt, "Шаг решения должен быть больше нуля"},
      {[](F& f, Options&) { f.refinementDivisor = 0.5; }, &F::refinementDivisor,
       "Делитель шага (после « * L1 /») должен быть не меньше 1"},
      {[](F& f, Options&) { f.N0 = 0; }, &F::N0, "N0 периодов должно быть больше нуля"},
      {[](F& f, Options&) { f.ML = 0; }, &F::ML, "Масштаб ML не может быть равен 0"},
      {[](F& f, Options& o) { o.secondLaser = true, f.L2 = -1; }, &F::L2,
       "Длина волны должна быть больше нуля"},
      {[](F& f, Options&) { f.Vs0 = 0; }, &F::Vs0, "Скорость света Vs0 должна быть больше нуля"},
      {[](F& f, Options&) { f.glassIndex = 0; }, &F::glassIndex,
       "Показатель преломления должен быть больше нуля"},
      {[](F& f, Options&) { f.Y2 = -2e6; }, &F::Y2,
       "Задайте правильно данные: в поле «Y2, м» значение «-2000000» по модулю больше 1000000"},
      {[](F& f, Options&) { f.L1 = 1e-13; }, &F::L1,
       "Задайте правильно данные: в поле «длина волны L1» значение «1E-13» вне пределов от "
       "1E-12 до 1000000"},
      {[](F& f, Options&) { f.dt = 1e-20; }, &F::dt,
       "Задайте правильно данные: в поле «шаг решения, с» шаг «1E-20» слишком мал: свет "
       "проходил бы установку больше чем за 10^12 шагов"},
      {[](F& f, Options&) { f.Vss = 31; }, &F::Vss,
       "Скорость установки должна быть меньше скорости света в модели"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    RunFields f = presetFields(SetupChoice::BeamSplitter, UnitChoice::Test);
    Options o = presetOptions(SetupChoice::BeamSplitter, UnitChoice::Test);
    c.change(f, o);
    RecordingObserver observer;
    const RunResult r = runExperiment(f, o, observer);
    EXPECT_EQ(r.outcome, RunOutcome::Refused);
    ASSERT_TRUE(r.fieldError.has_value());
    EXPECT_EQ(r.fieldError->field, c.field);
    EXPECT_EQ(r.message, c.message);
    EXPECT_EQ(observer.yields, 0);  // nothing ran
  }
  EXPECT_FALSE(checkFields(presetFields(SetupChoice::Prism, UnitChoice::Real),
                           presetOptions(SetupChoice::Prism, UnitChoice::Real)));
  // The screen is named after the setup.
  Options prism = presetOptions(SetupChoice::Prism, UnitChoice::Test);
  EXPECT_STREQ(fieldName(&F::screen, prism), "Y6, м");
  EXPECT_STREQ(fieldName(&F::screen, presetOptions(SetupChoice::BeamSplitter, UnitChoice::Test)),
               "X6, м");
}

// A stop requested before the call is heard at the first yield and ends the run at its
// first refresh, with what it measured so far; a run that meets a fault says which.
TEST(EngineTest, StoppedAndFailedRunsSayHowTheyEnded) {
  StopToken stop;
  stop.request();
  RecordingObserver observer;
  const RunResult stopped = runExperiment(presetFields(SetupChoice::Prism, UnitChoice::Test),
                                          presetOptions(SetupChoice::Prism, UnitChoice::Test),
                                          observer, &stop);
  EXPECT_EQ(stopped.outcome, RunOutcome::Stopped);
  EXPECT_EQ(stopped.counters.refreshes, 1);
  EXPECT_GT(stopped.T, 0);
  EXPECT_EQ(stopped.screenRatio1, 0);

  // The left mirror turned along the ray that should meet it: the ray can never reach it.
  RunFields f = presetFields(SetupChoice::BeamSplitter, UnitChoice::Test);
  f.Alfa1 = 0;
  const RunResult failed = runExperiment(f, presetOptions(SetupChoice::BeamSplitter, UnitChoice::Test));
  EXPECT_EQ(failed.outcome, RunOutcome::Failed);
  EXPECT_EQ(failed.message.rfind("Ошибка решения при ii= ", 0), 0u) << failed.message;
}

// Runs share nothing: a grid of runs on two threads gives, bit for bit, what it gives one
// run after the other.
TEST(EngineTest, RunsSideBySideGiveWhatTheyGiveInTurn) {
  std::vector<std::pair<RunFields, Options>> grid;
  for (const Preset& p : kPresets) {
    for (double direction : {0.0, 45.0, 90.0, 200.0}) {
      RunFields f = presetFields(p.setup, p.units);
      f.AlfaVss = direction;
      f.Vz = 0;
      grid.emplace_back(f, presetOptions(p.setup, p.units));
    }
  }
  std::vector<RunResult> inTurn;
  for (const auto& [f, o] : grid) inTurn.push_back(runExperiment(f, o));
  std::vector<RunResult> sideBySide(grid.size());
  auto half = [&](std::size_t first) {
    for (std::size_t i = first; i < grid.size(); i += 2) {
      sideBySide[i] = runExperiment(grid[i].first, grid[i].second);
    }
  };
  std::thread other(half, 1);
  half(0);
  other.join();
  for (std::size_t i = 0; i < grid.size(); ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(inTurn[i].outcome, RunOutcome::Arrived) << inTurn[i].message;
    expectSameResult(inTurn[i], sideBySide[i]);
  }
}

// Michelson's comparison reads a result as it reads the window's run: the whole path's
// times, or the arms alone after a comparative start; its theory is 2L/c·(1 + β²) along the
// motion and 2L/c·(1 + β²/2) across it.
TEST(EngineTest, MichelsonsComparisonReadsAResult) {
  const RunResult r = runExperiment(presetFields(SetupChoice::BeamSplitter, UnitChoice::Test),
                                    presetOptions(SetupChoice::BeamSplitter, UnitChoice::Test));
  ASSERT_TRUE(r.arrived()) << r.message;
  MichelsonInput in = michelsonInputOf(r);
  EXPECT_EQ(measuredTimes(in).T1, r.T1);
  EXPECT_EQ(measuredTimes(in).T2, r.T2);
  EXPECT_EQ(in.X1, r.X[1]);
  const ArmTimes theory = michelsonTimes(in);
  const double beta2 = r.V * r.V / (r.c * r.c);
  EXPECT_NEAR(theory.T1, 2 * (in.X3 - in.X1) / r.c * (1 + beta2), 1e-15);
  EXPECT_NEAR(theory.T2, 2 * (in.Y2 - in.Y3) / r.c * (1 + beta2 / 2), 1e-15);

  RunResult comparative = r;
  comparative.options.comparative = true;
  in = michelsonInputOf(comparative);
  EXPECT_EQ(measuredTimes(in).T1, r.tables.T1[16] - r.tables.T1[11]);
  EXPECT_EQ(measuredTimes(in).T2, r.tables.T2[27] - r.tables.T2[21]);

  RunResult refused;
  EXPECT_ANY_THROW(michelsonTimes(michelsonInputOf(refused)));
}

}  // namespace
}  // namespace quorvel::experiment::model
