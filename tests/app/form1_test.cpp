#include "app/form1.h"

#include <gtest/gtest.h>

#include "app/forms.h"
#include "common/shared.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"

namespace quorvel::app {
namespace {

using platform::rgb;

class Form1Test : public testing::Test {
 protected:
  Form1Test() : app(host) {
    registerForms(app.windows());
    host.setLocalTime({2026, 12, 7, 14, 30, 5, 3 * 3600});  // a clock in UTC+3
    app.windows().show("Form1");
  }
  ~Form1Test() override {
    for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
  }
  Form1& form1() { return *static_cast<Form1*>(app.windows().find("Form1")); }

  platform::HeadlessHost host;
  platform::App app;
};

TEST_F(Form1Test, ControlsHaveTheirCaptionsAndInitialTexts) {
  Form1& f = form1();
  EXPECT_EQ(f.caption(), "Quorvel1     form1    Эксперимент Майкельсона-Морли ");
  const std::pair<const platform::CommandButton*, const char*> buttons[] = {
      {&f.Command1, "Вычислительный эксперимент на модели"},
      {&f.Command9, "Моделирование интерференции"},
      {&f.Command18, "Просмотр фото и видео файлов"},
      {&f.Command2, "About"},
      {&f.Command16, "Выход"},
      {&f.Command10, "Включить таймер даты"},
      {&f.Command8, "Выключить"},
      {&f.Command3, "Задать интервал таймеру, с"},
      {&f.Command4, "Показать текущее положение Земли"},
      {&f.Command11, "Начать движение с шагом "},
      {&f.Command12, "Остановить"},
      {&f.Command13, "Продолжить"},
      {&f.Command5, "Очистить рисунок"},
      {&f.Command6, "Сохранить с №"},
  };
  for (const auto& [button, caption] : buttons) EXPECT_EQ(button->caption(), caption);
  const std::pair<const platform::TextBox*, const char*> texts[] = {
      {&f.Text20, "1"},   {&f.Text5, "+3"},   {&f.Text6, "44,5"},
      {&f.Text7, "48,7"}, {&f.Text16, "0,1"}, {&f.Text21, "10"},
  };
  for (const auto& [box, text] : texts) EXPECT_EQ(box->text(), text);
  const std::pair<const platform::Label*, const char*> labels[] = {
      {&f.Label2, "Дата"},
      {&f.Label3, "время LT"},
      {&f.Label5, "часовой пояс"},
      {&f.Label6, "долгота obs"},
      {&f.Label7, " широта obs"},
      {&f.Label4, "JDut (юлианская дата)"},
      {&f.Label9, "GMST"},
      {&f.Label10, "LMST"},
      {&f.Label18, "Дата"},
      {&f.Label19, "время UT"},
      {&f.Label12, "AlfaGelioGeo"},
      {&f.Label22, " BettaGelioGeo"},
      {&f.Label30, " AlfaGeoObs"},
      {&f.Label32, " BettaGeoObs"},
      {&f.Label29, "Vgeo (эклиптическая), м/с"},
      {&f.Label31, "Vobs (экваториальная), м/с"},
      {&f.Label13, "VX, м/с"},
      {&f.Label14, "VY, м/с"},
      {&f.Label15, "VZ, м/с"},
      {&f.Label16, " час"},
  };
  for (const auto& [label, caption] : labels) EXPECT_EQ(label->caption(), caption);
  EXPECT_EQ(f.Check1.caption(), "ET-UT, мин");
  EXPECT_EQ(f.Check2.caption(), "не стирать существующее изображение");
  EXPECT_EQ(f.Check2.value(), 0);
  EXPECT_EQ(f.Check3.caption(), "+ точная эфемерида Земли");
  EXPECT_EQ(f.Check3.value(), 0);
  EXPECT_EQ(f.Option1.caption(), "эфир покоится относительно Солнца");
  EXPECT_TRUE(f.Option1.value());
  EXPECT_EQ(f.Option2.caption(), "эфир покоится относительно реликтового излучения");
  EXPECT_FALSE(f.Option2.value());
}

// The zone starts at the clock's own offset from UTC, so that the local time the timer
// reads gives the true UT: 14:28 on a UTC clock and 17:28 on a UTC+3 clock are one moment.
TEST(Form1Zone, StartsAtTheClocksOffsetFromUtc) {
  struct Case {
    int offsetSeconds;
    int hour;
    int minute;
    const char* zone;
  };
  const Case cases[] = {{3 * 3600, 17, 28, "+3"}, {0, 14, 28, "0"},
                        {-5 * 3600, 9, 28, "-5"}, {19800, 19, 58, "+5,5"},
                        {20700, 20, 13, "+5,75"}, {-9000, 11, 58, "-2,5"}};
  for (const Case& c : cases) {
    platform::HeadlessHost host;
    platform::App app(host);
    registerForms(app.windows());
    host.setLocalTime({2026, 12, 7, c.hour, c.minute, 0, c.offsetSeconds});
    app.windows().show("Form1");
    auto& f = *static_cast<Form1*>(app.windows().find("Form1"));
    EXPECT_EQ(f.Text5.text(), c.zone);
    host.wait(app.windows(), 100);
    // 7 December 2026, 14:28 UT.
    EXPECT_NEAR(f.data()["JDut"].get<double>(), 2461381.5 + (14 * 60 + 28) / 1440.0, 1e-8)
        << c.zone;
    EXPECT_TRUE(host.messages().empty());
    app.windows().unload("Form1");
  }
}

TEST_F(Form1Test, LoadSetsValuesStartsTimerAndDrawsGrid) {
  Form1& f = form1();
  EXPECT_EQ(f.Timer1.interval(), 100);
  EXPECT_TRUE(f.Timer1.timerEnabled());
  const auto& shared = common::shared();
  EXPECT_EQ(shared.CalendarMode, 0);
  EXPECT_EQ(shared.HourOffset, 0.0);
  EXPECT_DOUBLE_EQ(shared.AngularRate[31], 2 * common::Pi / 3.15576e7);
  EXPECT_DOUBLE_EQ(shared.AngularRate[32], 2 * common::Pi / 86400);
  EXPECT_EQ(shared.ML, 3e10);

  // The picture: x from −10 to 10, y from 10 down to −10, a grey unit grid.
  const auto& picture = f.Picture1.picture();
  EXPECT_DOUBLE_EQ(picture.scaleLeft(), -10);
  EXPECT_DOUBLE_EQ(picture.scaleTop(), 10);
  EXPECT_DOUBLE_EQ(picture.scaleWidth(), 20);
  EXPECT_DOUBLE_EQ(picture.scaleHeight(), -20);
  auto at = [&](double x, double y) {
    return picture.pixel(static_cast<int>(picture.toPixelX(x) + 0.5),
                         static_cast<int>(picture.toPixelY(y) + 0.5));
  };
  EXPECT_EQ(at(-7, 6.5), (platform::Rgb{200, 200, 200}));    // on the line x = −7
  EXPECT_EQ(at(-7.5, 6.5), (platform::Rgb{255, 255, 255}));  // between grid lines
  EXPECT_EQ(at(6.5, -3), (platform::Rgb{120, 120, 120}));    // lower diagram's x axis
  EXPECT_EQ(at(3, -8.5), (platform::Rgb{120, 120, 120}));    // its y axis
  EXPECT_EQ(at(-5, 7.5), (platform::Rgb{120, 120, 120}));    // upper diagram's z axis
}

TEST_F(Form1Test, TimerWritesDateAndTime) {
  host.wait(app.windows(), 100);
  EXPECT_EQ(form1().Text2.text(), "07.12.2026");
  EXPECT_EQ(form1().Text3.text(), "14:30:05");
}

TEST_F(Form1Test, IntervalFromSecondsField) {
  Form1& f = form1();
  struct Case {
    const char* text;
    int interval;
    bool message;
  };
  const Case cases[] = {
      {"0,5", 500, false}, {"1", 1000, false},  {"0.25", 250, false}, {"2,0004", 2000, false},
      {"abc", 2000, true}, {"", 2000, true},    {"0", 2000, true},    {"-1", 2000, true},
      {"1e9", 2000, true}, {"0,001", 1, false},
  };
  std::size_t messages = 0;
  for (const Case& c : cases) {
    f.typeText(f.Text20, c.text);
    f.click(f.Command3);
    EXPECT_EQ(f.Timer1.interval(), c.interval) << c.text;
    if (c.message) ++messages;
    ASSERT_EQ(host.messages().size(), messages) << c.text;
    if (c.message) {
      EXPECT_EQ(host.messages().back().title, "Quorvel");
      EXPECT_NE(host.messages().back().text.find("Интервал таймера не изменен"), std::string::npos);
    }
  }
  // The timer keeps going after a bad text.
  EXPECT_TRUE(f.Timer1.timerEnabled());
}

TEST_F(Form1Test, TimerButtonsAndNavigationStopTheDateTimer) {
  Form1& f = form1();
  f.click(f.Command8);
  EXPECT_FALSE(f.Timer1.timerEnabled());
  host.wait(app.windows(), 1000);
  EXPECT_EQ(f.Text2.text(), "");
  f.click(f.Command10);
  EXPECT_TRUE(f.Timer1.timerEnabled());

  for (auto* button : {&f.Command1, &f.Command9, &f.Command18}) {
    f.click(f.Command10);
    f.click(*button);
    EXPECT_FALSE(f.Timer1.timerEnabled()) << button->name();
  }
  // The viewer window is open.
  EXPECT_NE(app.windows().find("Form6"), nullptr);
  // The about window leaves the timer as it is.
  f.click(f.Command10);
  f.click(f.Command2);
  EXPECT_TRUE(f.Timer1.timerEnabled());
  EXPECT_NE(app.windows().find("Form2"), nullptr);
}

TEST_F(Form1Test, ExperimentButtonClearsPointTable) {
  auto& shared = common::shared();
  shared.X[0] = shared.Y[77] = 5.0;
  shared.X[120] = 7.0;
  form1().click(form1().Command1);
  EXPECT_EQ(shared.X[0], 0.0);
  EXPECT_EQ(shared.Y[77], 0.0);
  EXPECT_EQ(shared.X[120], 7.0);  // beyond 77 the table is kept
  shared.X[120] = 0.0;
}

TEST_F(Form1Test, ActivationRestoresScale) {
  form1().click(form1().Command2);
  EXPECT_EQ(app.windows().active()->name(), "Form2");
  common::shared().ML = 0.1;  // another window's own scale
  app.windows().activate("Form1");
  EXPECT_EQ(common::shared().ML, 3e10);
  app.windows().activate("Form2");
  common::shared().ML = 0.1;
  app.windows().unload("Form2");  // closing the active window returns to the main one
  EXPECT_EQ(common::shared().ML, 3e10);
}

TEST_F(Form1Test, ExitUnloadsEveryWindow) {
  form1().click(form1().Command2);
  app.windows().show("Form9");
  ASSERT_EQ(app.windows().openCount(), 3);
  app.windows().activate("Form1");
  form1().click(form1().Command16);
  EXPECT_EQ(app.windows().openCount(), 0);
  EXPECT_TRUE(app.windows().openForms().empty());
  common::shared().StopRequested = 0;
}

}  // namespace
}  // namespace quorvel::app
