#include "forecast/form7.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/forms.h"
#include "common/shared.h"
#include "experiment/form4.h"
#include "experiment/model/engine.h"
#include "forecast/model/turn.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"

namespace quorvel::forecast {
namespace {

namespace em = experiment::model;

// The experiment window with the beam-splitter "Real" setup of 1 m arms, 590 nm, 30 km/s
// along x and no medium, and the forecast opened from it.
class Form7Test : public testing::Test {
 protected:
  Form7Test() : app(host) {
    common::shared().StopRequested = 0;
    app::registerForms(app.windows());
    app.windows().show("Form1");
    app.windows().show("Form4");
    experiment::Form4& e = form4();
    e.click(e.Option1);
    e.click(e.Option7);
    e.typeText(e.Text1, "-1");
    e.typeText(e.Text2, "1");
    e.typeText(e.Text18, "590");
    e.typeText(e.Text50, "30");
    e.typeText(e.Text44, "0,5");
    e.typeText(e.Text29, "0");
    e.typeText(e.Text11, "1");
    e.click(e.Command15);
  }
  ~Form7Test() override {
    for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
    common::shared().StopRequested = 0;
  }
  experiment::Form4& form4() {
    return *static_cast<experiment::Form4*>(app.windows().find("Form4"));
  }
  Form7& f() { return *static_cast<Form7*>(app.windows().find("Form7")); }
  std::vector<std::string> texts() const {
    std::vector<std::string> all;
    for (const auto& m : host.messages()) all.push_back(m.text);
    return all;
  }

  platform::HeadlessHost host;
  platform::App app;
};

TEST_F(Form7Test, ATurnRunsTheExperimentWindowsSetupAtEveryPosition) {
  ASSERT_NE(app.windows().find("Form7"), nullptr);
  EXPECT_EQ(f().caption(), "Прогноз смещения полос");
  f().typeText(f().Text2, "8");
  f().click(f().Command1);
  ASSERT_TRUE(host.messages().empty()) << texts().front();
  ASSERT_EQ(f().rows().size(), 8u);
  const auto input = form4().runInput();
  ASSERT_TRUE(input);
  for (std::size_t k = 0; k < 8; ++k) {
    const model::PositionResult& r = f().rows()[k];
    EXPECT_EQ(r.position.theta, 45.0 * static_cast<double>(k));
    // The turn starts where the fields place the velocity.
    EXPECT_NEAR(r.position.alfaV, 0.5 + 45.0 * static_cast<double>(k), 1e-9);
    em::RunFields single = input->fields;
    single.Vss = r.position.speed / 1000;
    single.AlfaVss = r.position.alfaV;
    single.Vz = 0;
    const em::RunResult run = em::runExperiment(single, input->options);
    EXPECT_EQ(r.T1, run.T1);
    EXPECT_EQ(r.T2, run.T2);
    EXPECT_TRUE(r.modelShift && r.theoryShift);
  }
  const model::TurnSummary summary = model::summarize(f().rows(), 0);
  EXPECT_EQ(f().Text10.text(), common::formatNumber(*summary.modelAmplitude, "0.000000"));
  EXPECT_EQ(f().Text11.text(), common::formatNumber(*summary.theoryAmplitude, "0.000000"));
  EXPECT_EQ(f().Text13.text(), "30,000000");
  EXPECT_EQ(f().Text14.text(), "—");
  EXPECT_EQ(f().Text15.text(), "—");
  EXPECT_EQ(f().Label4.caption(), "Рассчитано положений: 8 из 8");
  const platform::PlotModel& plot = f().Picture1.model();
  ASSERT_EQ(plot.series.size(), 2u);
  ASSERT_EQ(plot.series[0].x.size(), 9u);  // 0° again at 360°
  EXPECT_EQ(plot.series[0].y[8], plot.series[0].y[0]);
  EXPECT_EQ(plot.series[0].y[3], *f().rows()[3].modelShift);
  ASSERT_EQ(plot.bands.size(), 1u);
  EXPECT_EQ(plot.bands[0].high, 0.02);
  EXPECT_EQ(plot.xAxis.label(), "Азимут оси x установки, град");
  const auto results = f().results();
  ASSERT_TRUE(results);
  ASSERT_EQ(results->tables[0].rows.size(), 8u);
  EXPECT_EQ(results->tables[0].columns.size(), 14u);
  EXPECT_EQ(std::get<double>(results->tables[0].rows[3][11]), *f().rows()[3].modelShift);
  // The prism setup has no classical curve.
  form4().click(form4().Option8);
  f().click(f().Command1);
  EXPECT_EQ(f().Text11.text(), "—");
  EXPECT_EQ(f().Picture1.model().series.size(), 1u);
}

TEST_F(Form7Test, BadFieldsAreNamedAndComputeNothing) {
  struct Case {
    platform::TextBox Form7::*box;
    const char* text;
    bool earth;
    const char* message;
  };
  const Case cases[] = {
      {&Form7::Text2, "", false,
       "Задайте правильно данные: в поле «Положений за оборот» должно быть число, а не «»"},
      {&Form7::Text2, "abc", false,
       "Задайте правильно данные: в поле «Положений за оборот» должно быть число, а не «abc»"},
      {&Form7::Text2, "0", false,
       "Задайте правильно данные: в поле «Положений за оборот» должно быть целое число от 1 до "
       "360, а не «0»"},
      {&Form7::Text2, "361", false,
       "Задайте правильно данные: в поле «Положений за оборот» должно быть целое число от 1 до "
       "360, а не «361»"},
      {&Form7::Text2, "2,5", false,
       "Задайте правильно данные: в поле «Положений за оборот» должно быть целое число от 1 до "
       "360, а не «2,5»"},
      {&Form7::Text1, "1E400", true,
       "Задайте правильно данные: в поле «Азимут оси x установки, град» должно быть число, а не "
       "«1E400»"},
      {&Form7::Text1, "-2E6", true,
       "Задайте правильно данные: в поле «Азимут оси x установки, град» значение «-2E6» по "
       "модулю больше 1000000"},
      {&Form7::Text3, "97", true,
       "Задайте правильно данные: в поле «Моментов за звездные сутки» должно быть целое число "
       "от 1 до 96, а не «97»"},
  };
  for (const Case& c : cases) {
    Form7& w = f();
    w.click(c.earth ? w.Option2 : w.Option1);
    const std::string before = (w.*c.box).text();
    w.typeText(w.*c.box, c.text);
    const auto shown = host.messages().size();
    w.click(w.Command1);
    ASSERT_EQ(host.messages().size(), shown + 1) << c.text;
    EXPECT_EQ(host.messages().back().text, c.message);
    EXPECT_TRUE(w.rows().empty());
    EXPECT_FALSE(w.results());
    w.typeText(w.*c.box, before);
  }
  // A field of the experiment window is named as the experiment window names it.
  form4().typeText(form4().Text40, "x");
  f().click(f().Option1);
  f().click(f().Command1);
  EXPECT_EQ(host.messages().back().text,
            "Задайте правильно данные: в поле «шаг решения, с» должно быть число, а не «x»");
  // The Earth's velocity needs the "Real" units.
  form4().typeText(form4().Text40, "1E-15");
  form4().click(form4().Option4);
  f().click(f().Option2);
  f().click(f().Command1);
  EXPECT_EQ(host.messages().back().text, "Для скорости Земли выберите Real в окне эксперимента");
  EXPECT_TRUE(f().rows().empty());
}

TEST_F(Form7Test, AStopKeepsThePositionsComputedSoFar) {
  f().typeText(f().Text2, "64");
  host.onDoEvents = [this] {
    if (!f().rows().empty() && f().Command2.enabled()) f().click(f().Command2);
  };
  f().click(f().Command1);
  host.onDoEvents = nullptr;
  const std::size_t kept = f().rows().size();
  EXPECT_GE(kept, 1u);
  EXPECT_LT(kept, 64u);
  EXPECT_EQ(f().Label4.caption(),
            "Рассчитано положений: " + std::to_string(kept) + " из 64 (остановлено)");
  EXPECT_EQ(f().results()->tables[0].rows.size(), kept);
  EXPECT_EQ(f().data()["state"], "stopped");
  for (const auto& r : f().rows()) EXPECT_TRUE(r.arrived());
  EXPECT_TRUE(f().Command1.enabled());
}

// Closing the window mid-run, by its button or by the close box, stops the computation first;
// the window goes when it has ended.
TEST_F(Form7Test, ClosingMidRunStopsFirst) {
  for (bool closeBox : {false, true}) {
    if (!app.windows().find("Form7")) form4().click(form4().Command15);
    f().typeText(f().Text2, "64");
    std::size_t seen = 0;
    std::size_t last = 0;  // positions finished when the window last let events through
    host.onDoEvents = [&] {
      Form7* w = static_cast<Form7*>(app.windows().find("Form7"));
      if (w) last = w->rows().size();
      if (!w || w->rows().empty() || seen > 0) return;
      seen = w->rows().size();
      if (closeBox) {
        app.windows().requestClose("Form7");
      } else {
        w->click(w->Command3);
      }
      // Still there while its handler runs.
      EXPECT_NE(app.windows().find("Form7"), nullptr);
    };
    f().click(f().Command1);
    host.onDoEvents = nullptr;
    app.windows().processPendingUnloads();
    EXPECT_GE(seen, 1u) << closeBox;
    // Two threads finish at most the positions they had begun.
    EXPECT_LE(last, seen + 2) << closeBox;
    EXPECT_EQ(app.windows().find("Form7"), nullptr) << closeBox;
    EXPECT_NE(app.windows().find("Form4"), nullptr);
    common::shared().StopRequested = 0;
  }
}

TEST_F(Form7Test, TheEarthsVelocityGivesOneTurnPerMoment) {
  auto& main = *static_cast<app::Form1*>(app.windows().find("Form1"));
  main.typeText(main.Text2, "08.07.1887");
  main.typeText(main.Text3, "12:00:00");
  form4().typeText(form4().Text1, "-11");
  form4().typeText(form4().Text2, "11");
  f().click(f().Option3);
  f().typeText(f().Text2, "4");
  f().typeText(f().Text3, "2");
  f().click(f().Command1);
  ASSERT_TRUE(host.messages().empty()) << texts().front();
  ASSERT_EQ(f().rows().size(), 8u);
  const auto& first = f().rows().front();
  const auto& last = f().rows().back();
  ASSERT_TRUE(first.position.siderealHour && last.position.siderealHour);
  // Half a sidereal day apart: 12 sidereal hours.
  EXPECT_NEAR(std::fmod(*last.position.siderealHour - *first.position.siderealHour + 24, 24), 12, 1e-6);
  // With the background's frame the speed is some 370 km/s.
  EXPECT_GT(first.position.speed, 1e5);
  EXPECT_NE(f().Text14.text(), "—");
  EXPECT_NE(f().Text15.text(), "—");
  EXPECT_EQ(f().Picture1.model().xAxis.label(), "Звездное время, ч");
  EXPECT_EQ(f().results()->tables[1].rows.size(), 2u);
}

}  // namespace
}  // namespace quorvel::forecast
