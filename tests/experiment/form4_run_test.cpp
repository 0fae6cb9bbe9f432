#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/forms.h"
#include "common/numbers.h"
#include "common/shared.h"
#include "experiment/form4.h"
#include "experiment/model/engine.h"
#include "experiment/model/presets.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"

namespace quorvel::experiment {
namespace {

namespace fs = std::filesystem;

// The experiment window with the beam-splitter setup chosen, Doppler models off so that a
// whole run takes a few thousand steps.
class Form4RunTest : public testing::Test {
 protected:
  Form4RunTest() : app(host) {
    common::shared().StopRequested = 0;
    app::registerForms(app.windows());
    app.windows().show("Form1");
    app.windows().show("Form4");
    f().click(f().Option1);
    f().click(f().Check1);  // "+ эффект Доплера " off
  }
  ~Form4RunTest() override {
    for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
    common::shared().StopRequested = 0;
  }
  Form4& f() { return *static_cast<Form4*>(app.windows().find("Form4")); }
  std::vector<std::string> messageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : host.messages()) texts.push_back(m.text);
    return texts;
  }

  platform::HeadlessHost host;
  platform::App app;
};

TEST_F(Form4RunTest, RunEndsWithBothRaysArrivedAndFieldsWritten) {
  f().click(f().Command7);
  EXPECT_TRUE(host.messages().empty()) << messageTexts().front();
  const auto& s = f().state();
  EXPECT_EQ(s.ii, 19);
  EXPECT_EQ(s.jj, 29);
  EXPECT_EQ(f().Text47.text(), "19");
  EXPECT_EQ(f().Text48.text(), "29");
  // Without the Doppler models every frequency is the emitted one.
  EXPECT_EQ(f().Text71.text(), "1");
  EXPECT_EQ(f().Text72.text(), "1");
  EXPECT_EQ(f().Text20.text(), common::numberText(30000 / 1.0003 / 0.0065 / 1e6));
  EXPECT_EQ(f().Text42.text(),
            common::numberText(common::truncateDecimals(1e-7 * 30000 / 1.0003 / 0.0065, 9)));
  EXPECT_EQ(f().Text17.text(), common::numberText(s.T));
  EXPECT_EQ(f().Text31.text(), common::numberText(s.T1));
  EXPECT_GT(s.T1, 0);
  EXPECT_GT(s.T2, 0);
  // Ray 1's arrival point is shown once it has arrived.
  EXPECT_EQ(f().Text13.text(), common::numberText(s.arrivalX[1]));
}

// The window runs the engine's one call as a caller outside it would: each preset chosen in
// the window gives, bit for bit, the result of the call with the engine's own preset, along
// an axis too.
TEST_F(Form4RunTest, EveryPresetRunsAsTheEnginesOneCall) {
  struct Case {
    model::SetupChoice setup;
    model::UnitChoice units;
    bool alongX;
  };
  for (const Case& c : {Case{model::SetupChoice::BeamSplitter, model::UnitChoice::Test, false},
                        Case{model::SetupChoice::BeamSplitter, model::UnitChoice::Real, true},
                        Case{model::SetupChoice::Prism, model::UnitChoice::Test, true},
                        Case{model::SetupChoice::Prism, model::UnitChoice::Real, false}}) {
    const bool prism = c.setup == model::SetupChoice::Prism;
    const bool real = c.units == model::UnitChoice::Real;
    SCOPED_TRACE(testing::Message() << (prism ? "prism" : "beam splitter")
                                    << (real ? " Real" : " Test") << (c.alongX ? " along x" : ""));
    f().click(prism ? f().Option8 : f().Option1);
    f().click(real ? f().Option7 : f().Option4);
    f().Check1.setValue(1);  // "+ эффект Доплера " on, as the preset has it
    model::RunFields fields = model::presetFields(c.setup, c.units);
    if (c.alongX) {
      f().typeText(f().Text44, "0");
      f().typeText(f().Text29, "0");
      fields.AlfaVss = 0;
      fields.Vz = 0;
    }
    f().click(f().Command7);
    ASSERT_TRUE(host.messages().empty()) << messageTexts().front();
    const model::RunResult r = model::runExperiment(fields, model::presetOptions(c.setup, c.units));
    ASSERT_TRUE(r.arrived()) << r.message;
    const auto& s = f().state();
    EXPECT_EQ(s.T, r.T);
    EXPECT_EQ(s.T1, r.T1);
    EXPECT_EQ(s.T2, r.T2);
    EXPECT_EQ(s.N1, r.N1);
    EXPECT_EQ(s.N2, r.N2);
    EXPECT_EQ(s.arrivalX, r.arrivalX);
    EXPECT_EQ(s.arrivalY, r.arrivalY);
    EXPECT_EQ(s.legs.v, r.tables.v);
    EXPECT_EQ(s.legs.T1, r.tables.T1);
    EXPECT_EQ(s.legs.T2, r.tables.T2);
    EXPECT_EQ(f().Text71.text(), common::numberText(r.screenRatio1));
    f().typeText(f().Text44, "90");
    f().typeText(f().Text29, real ? "30" : "0,3");
  }
}

TEST_F(Form4RunTest, BadFieldEndsTheStartWithItsNameAndNothingBegun) {
  f().typeText(f().Text40, "шаг");
  f().click(f().Command7);
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].text,
            "Задайте правильно данные: в поле «шаг решения, с» должно быть число, а не «шаг»");
  EXPECT_FALSE(f().state().started);
  EXPECT_EQ(f().Text17.text(), "Text17");
  // Values with which a run could never end are refused too.
  const std::pair<platform::TextBox*, const char*> bad[] = {
      {&f().Text40, "0"}, {&f().Text10, "0"}, {&f().Text46, "0,5"}, {&f().Text12, "-30"}};
  for (const auto& [field, text] : bad) {
    const std::string before = field->text();
    f().typeText(f().Text40, "1E-7");
    f().typeText(*field, text);
    f().click(f().Command7);
    f().typeText(*field, field == &f().Text40 ? "1E-7" : before);
  }
  EXPECT_EQ(host.messages().size(), 5u);
  EXPECT_FALSE(f().state().started);
}

TEST_F(Form4RunTest, FastSetupWarnsAndStillRuns) {
  f().typeText(f().Text50, "7");  // 7,3 km/s with Vz: above a fifth of 30 km/s
  f().typeText(f().Text6, "80");  // and a splitter angle outside 90..180
  f().click(f().Command7);
  const auto texts = messageTexts();
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0],
            "                         ВНИМАНИЕ\r\n    программа работает корректно при \r\n  "
            "расчете эффекта Доплера только, если\r\nскорость ИСО не более 1/5 скорости "
            "света\r\n");
  EXPECT_EQ(texts[1],
            "                         ВНИМАНИЕ\r\n для схемы интерферометра Майкельсона\r\n "
            "программа работает корректно только при\r\n углах наклона стекол от 90 до 180 "
            "градусов\r\n");
  EXPECT_TRUE(f().state().started);
  // With the splitter at 80° the light meets its face from behind and could never reach it:
  // the run ends with its error instead of flying on.
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[2], "Ошибка решения при ii= 10  и jj= 0  AlfaZ=  0");
}

TEST_F(Form4RunTest, StopContinueAndStepsOfNC0) {
  // Stop after a few yields, then go on NC0 steps at a time, then to the end.
  host.stopAfter(25);
  f().click(f().Command7);
  const double stoppedAt = f().state().T;
  EXPECT_EQ(f().state().ii, 10);
  EXPECT_NEAR(stoppedAt, 30 * 1e-7, 1e-12);  // the refresh after the 25th step: 3·NC0 steps
  f().typeText(f().Text10, "1");
  f().click(f().Command4);
  EXPECT_NEAR(f().state().T, stoppedAt + 1e-7, 1e-12);
  f().click(f().Command4);
  EXPECT_NEAR(f().state().T, stoppedAt + 2e-7, 1e-12);
  f().typeText(f().Text10, "10");
  f().click(f().Command3);
  EXPECT_EQ(f().state().ii, 19);
  EXPECT_EQ(f().state().jj, 29);
  const auto tables = f().state().legs.T1;
  const double T = f().state().T;
  // A finished run continued ends again at once with the same results.
  f().click(f().Command3);
  EXPECT_EQ(f().state().legs.T1, tables);
  EXPECT_EQ(f().state().T, T);
}

TEST_F(Form4RunTest, SecondStartDuringARunIsRefusedAndClosingStopsTheRun) {
  int yields = 0;
  host.onDoEvents = [&] {
    if (++yields == 5) f().click(f().Command7);  // pressed again while running
    if (yields == 8) app.windows().requestClose("Form4");
  };
  f().click(f().Command7);
  host.onDoEvents = nullptr;
  EXPECT_EQ(app.windows().find("Form4"), nullptr);
  EXPECT_LT(yields, 40);  // stopped at the next refresh, not run to its end
}

TEST_F(Form4RunTest, StepByStepPausesAskAtEveryLegEnd) {
  f().click(f().Check13);  // " Auto" off
  host.queueAnswer(true);
  host.queueAnswer(false);  // the second leg end: stop
  f().click(f().Command7);
  ASSERT_EQ(host.messages().size(), 2u);
  const std::string& first = host.messages()[0].text;
  EXPECT_EQ(first.rfind("пройден участок пути  10\r\nV12=  ", 0), 0u) << first;
  EXPECT_NE(first.find("угол падения луча          45"), std::string::npos);
  const std::string question = "\r\nПРОДОЛЖИТЬ ПОЭТАПНОЕ ДВИЖЕНИЕ?";
  EXPECT_EQ(first.substr(first.size() - question.size()), question);
  EXPECT_EQ(host.messages()[0].title, "Quorvel");
  EXPECT_EQ(host.messages()[0].buttons, platform::Buttons::YesNo);
  EXPECT_EQ(host.messages()[1].text.rfind("пройден участок пути  11\r\n", 0), 0u);
  // "No" stops the run at its next refresh, with both rays on their way.
  EXPECT_EQ(f().state().ii, 13);
  EXPECT_EQ(f().state().jj, 22);
}

TEST_F(Form4RunTest, CloseButtonDuringARunStopsItFirst) {
  int yields = 0;
  host.onDoEvents = [&] {
    if (++yields == 8) f().click(f().Command16);
  };
  f().click(f().Command7);
  host.onDoEvents = nullptr;
  EXPECT_EQ(app.windows().find("Form4"), nullptr);
  EXPECT_LT(yields, 40);
}

TEST_F(Form4RunTest, CoarseStepsAndImpossibleSetupsEndOrAreRefused) {
  // A step so coarse that fronts cross a whole plate in one step: the legs still end.
  f().typeText(f().Text40, "1E-5");
  f().click(f().Command7);
  EXPECT_EQ(f().state().ii, 19);
  EXPECT_EQ(f().state().jj, 29);
  // Light that meets its plate edge-on can never reach it: the run ends with its error.
  f().typeText(f().Text40, "1E-7");
  f().typeText(f().Text6, "90");
  f().click(f().Command7);
  ASSERT_FALSE(host.messages().empty());
  EXPECT_EQ(messageTexts().back().rfind("Ошибка решения при ii= 10  и jj= 0", 0), 0u);
  // A setup as fast as its light is refused before anything starts.
  f().typeText(f().Text6, "135");
  f().typeText(f().Text50, "40");
  f().click(f().Command7);
  EXPECT_EQ(messageTexts().back(), "Скорость установки должна быть меньше скорости света в модели");
  // So is a wavelength whose frequency is no number.
  f().typeText(f().Text50, "3");
  f().typeText(f().Text18, "1E-320");
  f().click(f().Command7);
  EXPECT_EQ(messageTexts().back(), "Длина волны слишком мала: частота Vs0/L не выражается числом");
}

TEST_F(Form4RunTest, MichelsonComparisonNeedsARunAndTheBeamSplitter) {
  f().click(f().Command13);
  EXPECT_EQ(messageTexts().back(), "Сначала надо выполнить вычислительный эксперимент");
  f().click(f().Command7);
  const auto count = host.messages().size();
  f().click(f().Command13);
  EXPECT_EQ(host.messages().size(), count);
  f().click(f().Option8);
  f().click(f().Command13);
  EXPECT_EQ(messageTexts().back(), "Необходим вычислительный эксперимент на установке Майкельсона");
}

TEST_F(Form4RunTest, ReportWindowReceivesThePathReport) {
  f().click(f().Check5);
  auto& report =
      static_cast<platform::PictureBox*>(app.windows().find("Form9")->find("picBox"))->picture();
  f().click(f().Command7);
  ASSERT_TRUE(host.messages().empty());
  // The rows stand between y = 5 and y = 0,5; row 4 is in the title-bar colour.
  const platform::Rgb titleBar = platform::resolve(platform::kActiveTitleBar);
  int coloured = 0;
  for (int row = static_cast<int>(report.toPixelY(3)); row < report.toPixelY(2.5); ++row) {
    for (int column = 0; column < report.width(); ++column) {
      coloured += report.pixel(column, row) == titleBar;
    }
  }
  EXPECT_GT(coloured, 100);
}

TEST_F(Form4RunTest, DebugFileHasTheStartLine) {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  const fs::path folder = fs::temp_directory_path() / ("quorvel_run_" + std::string(info->name()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  host.setProgramFolder(folder);
  f().click(f().Check24);
  f().click(f().Command7);
  std::ifstream file(folder / "Otladka.dat");
  std::string line;
  std::getline(file, line);
  EXPECT_EQ(line, " 10  0  0  0 -0,3  0 -0,3 ");
  fs::remove_all(folder);
}

TEST_F(Form4RunTest, PrismSetupRunsToTheScreenAndDrawsThePrism) {
  f().click(f().Option8);
  f().click(f().Command7);
  EXPECT_TRUE(host.messages().empty()) << messageTexts().front();
  const auto& s = f().state();
  EXPECT_TRUE(s.started);
  EXPECT_EQ(f().Text47.text(), "19");
  EXPECT_EQ(f().Text48.text(), "29");
  EXPECT_EQ(f().Text71.text(), "1");
  EXPECT_EQ(f().Text72.text(), "1");
  // The two halves of the beam meet the horizontal screen on both sides of the axis.
  EXPECT_LT(s.arrivalX[1], 0);
  EXPECT_GT(s.arrivalX[2], 0);
  EXPECT_NEAR(s.T1, s.T2, 2 * s.dt / s.refinementDivisor);
  // The dump shows the reference points of the legs and where the rays arrived.
  const nlohmann::json data = f().data();
  const auto& X = common::shared().X;
  const auto& Y = common::shared().Y;
  EXPECT_EQ(data["referencePoints"]["124"], nlohmann::json({X[124], Y[124]}));
  EXPECT_EQ(data["referencePoints"]["118"], nlohmann::json({X[118], Y[118]}));
  EXPECT_GT(Y[118], Y[114]);
  EXPECT_EQ(data["arrival"][1], nlohmann::json({s.arrivalX[2], s.arrivalY[2]}));
}

// The beam's divergence from its diameters and the laser-to-screen distance read from the
// fields: (20 mm − 2 mm) over 2·1,1 m is 0,47°, and the widened halves still reach the
// screen.
TEST_F(Form4RunTest, PrismBeamDivergesByTheSmallAngleOfItsDiameters) {
  f().click(f().Option8);
  f().click(f().Check27);
  f().click(f().Command7);
  EXPECT_TRUE(host.messages().empty()) << messageTexts().front();
  EXPECT_DOUBLE_EQ(f().state().divergenceAngle, std::atan(0.018 / 2.2));
  EXPECT_EQ(f().Text47.text(), "19");
  EXPECT_EQ(f().Text48.text(), "29");
}

// A run that ends on a fault ends as a finished one does: its report is printed and its
// debug file closed; a stopped run keeps the file open for its continuation. The right
// mirror lying flat (Alfa2 = 0) is never met by ray 2, which the right face sends along it.
TEST_F(Form4RunTest, PrismRunEndingOnAFaultPrintsItsReportAndClosesTheDebugFile) {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  const fs::path folder = fs::temp_directory_path() / ("quorvel_run_" + std::string(info->name()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  host.setProgramFolder(folder);
  f().click(f().Option8);
  f().click(f().Check24);
  f().click(f().Check5);
  f().typeText(f().Text5, "0");
  auto& report =
      static_cast<platform::PictureBox*>(app.windows().find("Form9")->find("picBox"))->picture();
  f().click(f().Command7);
  ASSERT_EQ(host.messages().size(), 1u);
  // AlfaZ is the last one found: the right face's, moving up at 3,3 km/s.
  EXPECT_EQ(messageTexts().back().rfind("Ошибка решения при ii= 14  и jj= 24  AlfaZ=  48,33", 0),
            0u);
  EXPECT_EQ(host.messages().back().title, "Quorvel");
  EXPECT_FALSE(f().debugFileOpen());
  // The refined steps at the prism edge and faces are all in the closed file, up to the
  // step in which the rays left the faces.
  std::ifstream file(folder / "Otladka.dat");
  std::string line;
  int lines = 0;
  std::string last;
  while (std::getline(file, line)) {
    ++lines;
    last = line;
  }
  EXPECT_GT(lines, 1000);
  EXPECT_EQ(last.rfind(" 10  20 ", 0), 0u) << last;
  int ink = 0;
  for (int row = 0; row < report.height(); row += 2) {
    for (int column = 0; column < report.width(); column += 2) {
      ink += report.pixel(column, row) != platform::Rgb{255, 255, 255};
    }
  }
  EXPECT_GT(ink, 100);

  // Stopped at its first refresh, the run keeps the file for the lines still to come.
  f().typeText(f().Text5, "58,2967608");
  host.onDoEvents = [this] { common::shared().StopRequested = 1; };
  f().click(f().Command7);
  host.onDoEvents = nullptr;
  EXPECT_LT(f().state().ii, 19);
  EXPECT_TRUE(f().debugFileOpen());
  f().click(f().Command3);
  EXPECT_EQ(f().state().jj, 29);
  EXPECT_FALSE(f().debugFileOpen());
  file.close();
  fs::remove_all(folder);
}

}  // namespace
}  // namespace quorvel::experiment

namespace quorvel::experiment {
namespace {

// The animation skips the redraws that cannot change a pixel: the scheme after a whole run
// equals, pixel for pixel, the scheme of the same run redrawn at every refresh.
TEST_F(Form4RunTest, SkippedRedrawsLeaveTheSchemeAsFullRedraws) {
  f().click(f().Check1);  // the Doppler models back on: their detail is not drawn
  const auto pixels = [&] {
    const platform::Picture& picture = f().Picture1.picture();
    std::vector<platform::Rgb> all;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) all.push_back(picture.pixel(x, y));
    }
    return all;
  };
  for (const char* setup : {"Option1", "Option8"}) {
    for (const char* units : {"Option4", "Option7"}) {
      SCOPED_TRACE(testing::Message() << setup << " " << units);
      f().click(*dynamic_cast<platform::OptionButton*>(f().find(setup)));
      f().click(*dynamic_cast<platform::OptionButton*>(f().find(units)));
      std::vector<platform::Rgb> scheme[2];
      long long skipped = 0;
      for (bool skip : {true, false}) {
        f().skipUnchangedRedraws = skip;
        f().click(f().Command5);  // "Очистить рисунок"
        const long long before = f().redrawMemo().outlinesSkipped;
        f().click(f().Command7);
        ASSERT_EQ(f().state().ii * 100 + f().state().jj, 1929);
        if (skip) skipped = f().redrawMemo().outlinesSkipped - before;
        scheme[skip] = pixels();
      }
      EXPECT_TRUE(scheme[0] == scheme[1]);
      EXPECT_GT(skipped, 0);
    }
  }
  EXPECT_TRUE(host.messages().empty());
}

}  // namespace
}  // namespace quorvel::experiment

namespace quorvel::experiment {
namespace {

// Values that give no sensible run are refused at the start, naming their field; each of
// these made a run that never ended.
TEST_F(Form4RunTest, ValuesWithoutASensibleRunAreRefusedByField) {
  struct Case {
    const char* option;  // the setup
    platform::TextBox Form4::*field;
    const char* text;
    const char* name;
    const char* why;  // what the message says of the value
  };
  const Case cases[] = {
      {"Option1", &Form4::Text27, "1E30", "ширина зеркал, м",
       "значение «1E30» по модулю больше 1000000"},
      {"Option8", &Form4::Text27, "-1E30", "ширина зеркал, м",
       "значение «-1E30» по модулю больше 1000000"},
      {"Option1", &Form4::Text18, "1E30", "длина волны L1",
       "значение «1E30» вне пределов от 1E-12 до 1000000"},
      {"Option7", &Form4::Text18, "1E-4", "длина волны L1",
       "значение «1E-4» вне пределов от 0,001 до 1E+15"},
      {"Option8", &Form4::Text46, "1E30", "делитель шага",
       "значение «1E30» по модулю больше 1000000000"},
      {"Option1", &Form4::Text57, "1E30", "N0 периодов",
       "значение «1E30» по модулю больше 1000000000"},
      {"Option8", &Form4::Text9, "-1E30", "Y5, м", "значение «-1E30» по модулю больше 1000000"},
      {"Option8", &Form4::Text40, "1E-300", "шаг решения, с",
       "шаг «1E-300» слишком мал: свет проходил бы установку больше чем за 10^12 шагов"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    f().click(*dynamic_cast<platform::OptionButton*>(f().find(c.option)));
    const std::string before = (f().*c.field).text();
    f().typeText(f().*c.field, c.text);
    const std::size_t shown = host.messages().size();
    f().click(f().Command7);
    ASSERT_EQ(host.messages().size(), shown + 1);
    EXPECT_EQ(host.messages().back().text,
              std::string("Задайте правильно данные: в поле «") + c.name + "» " + c.why);
    f().typeText(f().*c.field, before);
  }
  // The presets stay accepted.
  for (const char* units : {"Option4", "Option7"}) {
    f().click(*dynamic_cast<platform::OptionButton*>(f().find(units)));
    const std::size_t shown = host.messages().size();
    f().click(f().Command7);
    EXPECT_EQ(host.messages().size(), shown);
    EXPECT_EQ(f().state().ii * 100 + f().state().jj, 1929);
  }
}

}  // namespace
}  // namespace quorvel::experiment

namespace quorvel::experiment {
namespace {

// A host with a screen's pace: it counts the waits an animation asks of it (and, having no
// screen, returns at once).
class PacingHost : public platform::HeadlessHost {
 public:
  void waitUntil(std::chrono::steady_clock::time_point until,
                 const std::function<bool()>& interrupted) override {
    ++waits;
    if (until < earliest) earliest = until;
    (void)interrupted;
  }
  int waits = 0;
  std::chrono::steady_clock::time_point earliest = std::chrono::steady_clock::time_point::max();
};

// Pacing the animation changes no result: the values, the leg tables and the final scheme of
// a paced run are those of the run drawn as fast as it goes; the pace waits only with the
// box ticked and a pace above 0, and a pace that is not a whole number from 0 to 10 000 is
// refused by its field.
TEST(Form4PacingTest, APacedRunEndsAsAnUnpacedOne) {
  PacingHost host;
  platform::App app(host);
  app::registerForms(app.windows());
  app.windows().show("Form1");
  app.windows().show("Form4");
  auto& f = *static_cast<Form4*>(app.windows().find("Form4"));
  EXPECT_EQ(f.Text43.text(), "225");
  f.click(f.Option1);
  struct Outcome {
    nlohmann::json data;
    std::vector<platform::Rgb> scheme;
    int waits;
  };
  auto run = [&](const char* pace, bool animation) {
    f.typeText(f.Text43, pace);
    f.Check11.setValue(animation ? 1 : 0);
    f.click(f.Command5);  // "Очистить рисунок"
    host.waits = 0;
    f.click(f.Command7);
    Outcome out{f.data(), {}, host.waits};
    const platform::Picture& picture = f.Picture1.picture();
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) out.scheme.push_back(picture.pixel(x, y));
    }
    return out;
  };
  const Outcome fast = run("0", true);
  const Outcome paced = run("225", true);
  EXPECT_EQ(fast.waits, 0);
  EXPECT_GT(paced.waits, 0);
  EXPECT_LE(paced.waits, f.state().counters.refreshes);
  EXPECT_EQ(paced.data, fast.data);
  EXPECT_TRUE(paced.scheme == fast.scheme);
  EXPECT_EQ(run("10000", false).waits, 0);  // without "анимация" nothing is paced
  EXPECT_TRUE(host.messages().empty());

  // The continuous experiment after the run: a frame stands for as many of its hundred
  // thousand refreshes as keep it within about ten seconds, whatever the pace (at one frame
  // a second, about ten frames, each but the first after a wait).
  auto continuous = [&](const char* pace) {
    f.typeText(f.Text43, pace);
    f.Check11.setValue(1);
    host.waits = 0;
    f.click(f.Command1);
    std::vector<std::string> texts;
    for (const platform::TextBox* box : {&f.Text71, &f.Text72, &f.Text73, &f.Text74, &f.Text75,
                                         &f.Text76, &f.Text17}) {
      texts.push_back(box->text());
    }
    return std::make_pair(texts, host.waits);
  };
  f.click(f.Command7);
  const auto unpaced = continuous("0");
  EXPECT_EQ(unpaced.second, 0);
  EXPECT_EQ(continuous("225").first, unpaced.first);
  const auto slow = continuous("1");
  EXPECT_EQ(slow.first, unpaced.first);
  EXPECT_GE(slow.second, 8);
  EXPECT_LE(slow.second, 12);
  EXPECT_TRUE(host.messages().empty());

  for (const char* bad : {"-1", "10001", "2,5", "abc", ""}) {
    f.typeText(f.Text43, bad);
    f.click(f.Command7);
    ASSERT_FALSE(host.messages().empty()) << bad;
    EXPECT_EQ(host.messages().back().text,
              std::string("Задайте правильно данные: в поле «кадров/с» должно быть целое число "
                          "от 0 до 10 000, а не «") + bad + "»");
  }
  EXPECT_EQ(host.messages().size(), 5u);
  for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
}

}  // namespace
}  // namespace quorvel::experiment
