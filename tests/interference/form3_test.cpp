#include "interference/form3.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <vector>

#include "app/form1.h"
#include "app/forms.h"
#include "common/numbers.h"
#include "common/shared.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"

namespace quorvel::interference {
namespace {

namespace fs = std::filesystem;

int countPixels(const platform::Picture& p, int left, int top, int right, int bottom,
                platform::Rgb colour) {
  int n = 0;
  for (int row = top; row < bottom; ++row) {
    for (int column = left; column < right; ++column) n += p.pixel(column, row) == colour;
  }
  return n;
}

class Form3Test : public testing::Test {
 protected:
  Form3Test() : app(host) {
    app::registerForms(app.windows());
    app.windows().show("Form1");
    auto& main = *static_cast<app::Form1*>(app.windows().find("Form1"));
    main.click(main.Command9);
  }
  ~Form3Test() override {
    for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
  }
  Form3& form() { return *static_cast<Form3*>(app.windows().find("Form3")); }
  std::string lastMessage() const {
    return host.messages().empty() ? "" : host.messages().back().text;
  }
  std::string lastTitle() const {
    return host.messages().empty() ? "" : host.messages().back().title;
  }
  // Types the texts and presses the button.
  void press(platform::CommandButton& button,
             std::initializer_list<std::pair<platform::TextBox*, const char*>> texts = {}) {
    for (auto [box, text] : texts) form().typeText(*box, text);
    form().click(button);
  }
  // A short computation of the transformed window: one interval of `steps` steps.
  void compute(int steps) {
    Form3& f = form();
    f.click(f.Command3);
    if (!f.Check8.ticked()) f.click(f.Check8);
    press(f.Command1, {{&f.Text51, std::to_string(steps).c_str()}, {&f.Text46, "1"}});
  }

  platform::HeadlessHost host;
  platform::App app;
};

TEST_F(Form3Test, OpensFromTheMainWindowWithItsCaptionsAndTexts) {
  Form3& f = form();
  EXPECT_EQ(f.caption(), "Quorvel1     form3    Расчет интерференционной картины ");
  EXPECT_TRUE(host.messages().empty());
  const auto* timer = dynamic_cast<platform::Timer*>(app.windows().find("Form1")->find("Timer1"));
  EXPECT_FALSE(timer->timerEnabled());
  EXPECT_TRUE(f.Option1.value());
  EXPECT_TRUE(f.Option10.value());
  for (auto* option : {&f.Option2, &f.Option3, &f.Option4, &f.Option5, &f.Option9}) {
    EXPECT_FALSE(option->value()) << option->name();
  }
  const std::pair<const platform::TextBox*, const char*> texts[] = {
      {&f.Text24, "0,001"}, {&f.Text25, "1"},    {&f.Text63, "1"},    {&f.Text67, "1"},
      {&f.Text22, "0"},     {&f.Text23, "0"},    {&f.Text1, "85"},    {&f.Text2, "95"},
      {&f.Text3, "1"},      {&f.Text4, "1"},     {&f.Text5, "1"},     {&f.Text6, "1"},
      {&f.Text9, "10"},     {&f.Text10, "10"},   {&f.Text7, "10"},    {&f.Text8, "10"},
      {&f.Text26, "0"},     {&f.Text27, "0"},    {&f.Text28, "0,1"},  {&f.Text29, "0,1"},
      {&f.Text40, "1E-9"},  {&f.Text69, "2"},    {&f.Text56, "3"},    {&f.Text41, "1"},
      {&f.Text32, "1E-2"},  {&f.Text30, "1000"}, {&f.Text70, "1000"}, {&f.Text51, "20000"},
      {&f.Text46, "2"},     {&f.Text50, "1E-2"}, {&f.Text19, "0"},    {&f.Text49, "254"},
      {&f.Text43, "0"},     {&f.Text44, "1"},    {&f.Text13, "0"},    {&f.Text42, "10"},
      {&f.Text21, "20"},    {&f.Text11, ""},     {&f.Text54, ""},     {&f.Text71, ""},
  };
  for (auto [box, text] : texts) EXPECT_EQ(box->text(), text) << box->name();
  const std::pair<const platform::CommandButton*, const char*> buttons[] = {
      {&f.Command3, "1 - Преобразовать параметры лучей в ИСО"},
      {&f.Command16, "Закрыть форму"},
      {&f.Command1, "2 - Начать расчет"},
      {&f.Command2, "Остановить"},
      {&f.Command4, "Продолжить"},
      {&f.Command9, "Найти Xk - Xn, мкм"},
      {&f.Command8, "(Yk - Yn) / (Tk - Tn), Vs"},
      {&f.Command6, "Сохранить рисунок №"},
  };
  for (auto [button, caption] : buttons) EXPECT_EQ(button->caption(), caption) << button->name();
  const std::pair<const platform::CheckBox*, const char*> checks[] = {
      {&f.Check1, "+ X1=X2=0"},
      {&f.Check6, "рисовать график"},
      {&f.Check5, "+ очистить график"},
      {&f.Check4, "+ частота модуляции 1-го"},
      {&f.Check3, "+ 2-го лазеров, МГц "},
      {&f.Check7, "+ cos"},
      {&f.Check8, "+ закончить расчет через"},
      {&f.Check2, "+ Stop для i (-250...+250)="},
      {&f.Check14, "+ использовать это B"},
      {&f.Check9, "+ составные полосы"},
  };
  for (auto [check, caption] : checks) EXPECT_EQ(check->caption(), caption) << check->name();
  EXPECT_EQ(f.Option5.caption(), "N1=N10-v01*T1+v01*dT N2=N20-v02*T2");
  EXPECT_EQ(f.Option9.caption(), "E= E0*cos(w*t+Q)");
  EXPECT_EQ(f.Frame1.caption(),
            "рассчет начальных фаз двух лучей в точках падения их центров на экран");
  const auto label = [&f](const char* field) {
    return static_cast<platform::Label*>(f.find(std::string("Label_") + field))->caption();
  };
  EXPECT_EQ(label("Text49"), "Положение полосы в долях значения B(Ap) искать при освещенности = >");
  EXPECT_EQ(label("Text14"), "B(Ap), мкм= L0 / (sin(A2p) - sin(A1p))=");
  EXPECT_EQ(label("Text41"), " масштаб, ML= 1 :");
  // White pictures, the three interference pictures numbered at their top left.
  EXPECT_EQ(f.Picture9.picture().pixel(10, 10), (platform::Rgb{255, 255, 255}));
  int dark = 0;
  for (int c = 0; c < 30; ++c) {
    for (int r = 0; r < 14; ++r) dark += f.Picture7.picture().pixel(c, r).r < 128;
  }
  EXPECT_GT(dark, 10);
  EXPECT_EQ(f.Tn(), 1);
  EXPECT_EQ(f.Tk(), 2);
}

TEST_F(Form3Test, TransformWritesTheScreenFrameFields) {
  Form3& f = form();
  f.click(f.Command3);
  EXPECT_TRUE(host.messages().empty());
  const std::pair<const platform::TextBox*, const char*> texts[] = {
      {&f.Text54, "11,473713"}, {&f.Text55, "-11,473713"}, {&f.Text11, "85"}, {&f.Text15, "1"},
      {&f.Text16, "1"},         {&f.Text36, "0"},          {&f.Text37, "0"},  {&f.Text45, "0"},
      {&f.Text20, "10"},        {&f.Text34, "10"},         {&f.Text39, "0"},  {&f.Text79, "0"},
  };
  for (auto [box, text] : texts) EXPECT_EQ(box->text(), text) << box->name();
  EXPECT_NEAR(*common::parseNumber(f.Text12.text()), 95, 1e-12);
  EXPECT_NEAR(f.values().Ve1, 1 / std::cos(85 / common::RadToDeg), 1e-12);
  EXPECT_EQ(common::shared().AngularRate[1], 2 * common::Pi * 1e6);

  // Perpendicular ray, a moving screen, times and phase counts.
  press(f.Command3, {{&f.Text1, "90"},
                     {&f.Text22, "0,0005"},
                     {&f.Text9, "2"},
                     {&f.Text10, "3,5"},
                     {&f.Text26, "1"},
                     {&f.Text8, "12,1234567"}});
  EXPECT_EQ(f.Text45.text(), "1,5");
  EXPECT_EQ(f.Text36.text(), "0");  // 1 − 0,5 m/s · 2 s
  EXPECT_EQ(f.Text37.text(), "-1,75");
  EXPECT_EQ(f.Text39.text(), "2,123456");
  EXPECT_EQ(f.Text79.text(), "1500000");
  press(f.Command3, {{&f.Text22, "0"}});
  EXPECT_EQ(f.Text54.text(), "1000000000000");

  // A ray at rest on a resting screen: its phase stands still along the screen.
  press(f.Command3, {{&f.Text5, "0"}});
  EXPECT_TRUE(host.messages().empty()) << lastMessage();
  EXPECT_EQ(f.Text54.text(), "0");
}

TEST_F(Form3Test, DefaultStartShowsTheWidthsAndDrawsTheBrightCentre) {
  Form3& f = form();
  compute(3);
  EXPECT_TRUE(host.messages().empty()) << lastMessage();
  const std::pair<const platform::TextBox*, const char*> texts[] = {
      {&f.Text62, "5,736856"}, {&f.Text14, "5,736856"},  {&f.Text61, "5,729577"},
      {&f.Text67, "1"},        {&f.Text68, "22,947426"}, {&f.Text20, "10"},
      {&f.Text34, "10"},       {&f.Text18, "0"},         {&f.Text75, "0"},
      {&f.Text38, "0"},        {&f.Text47, "11,473713"}, {&f.Text48, "-11,473713"},
      {&f.Text33, "2E-09"},
  };
  for (auto [box, text] : texts) EXPECT_EQ(box->text(), text) << box->name();
  EXPECT_NEAR(*common::parseNumber(f.Text72.text()), -5, 1e-9);
  EXPECT_NEAR(*common::parseNumber(f.Text77.text()), 5, 1e-9);
  EXPECT_EQ(f.run()->stepsDrawn(), 3);
  EXPECT_EQ(f.run()->interval(), 1);
  // Equal phases at x = 0: I = 255,04, drawn as the brightest green.
  EXPECT_NEAR(f.run()->I()[250], 255.04, 0.001);
  const platform::Picture& p = f.Picture7.picture();
  EXPECT_EQ(p.width(), 500);
  EXPECT_EQ(p.pixel(250, p.height() - 3), (platform::Rgb{0, 255, 0}));
  // Half a fringe away the rays cancel.
  EXPECT_EQ(p.pixel(250 + 62, p.height() - 3).g, 0);
  // The fields: both amplitudes (red under blue) and the green sum a quarter fringe off.
  const platform::Picture& fields = f.Picture9.picture();
  const double B = f.run()->start().B;
  const auto row = [&](double y) { return static_cast<int>(std::floor(fields.toPixelY(y))); };
  EXPECT_EQ(fields.pixel(250, row(7.985 * B / 25 + B / 2)), (platform::Rgb{0, 0, 250}));
  const double I = f.run()->I()[281];
  EXPECT_NEAR(I, 255.04 / 2, 5);
  EXPECT_EQ(fields.pixel(281, row(0.9 * I * B / 255 + 0.1 * B)), (platform::Rgb{0, 255, 0}));
  EXPECT_GT(*common::parseNumber(f.Text13.text()), 1.5);
}

// Every field a button reads is named when it is refused, with its bound; nothing of the
// window changes and no computation starts.
TEST_F(Form3Test, FieldRefusals) {
  Form3& f = form();
  f.click(f.Command3);
  f.click(f.Check8);
  const std::string bad = "Введите правильно данные: в поле ";
  const std::string failed = "Ошибка в расчете начальных данных: в поле ";
  struct Case {
    platform::TextBox* box;
    const char* text;
    std::string message;
    const char* title = "Quorvel";
  };
  const Case cases[] = {
      // The start's fields of the rays and of the time loop.
      {&f.Text24, "1E300", bad + "«Vs, км/с» значение «1E300» вне пределов от 1E-09 до 1000000000"},
      {&f.Text25, "0", bad + "«v01, МГц» значение «0» вне пределов от 1E-12 до 1E+15"},
      {&f.Text11, "abc", bad + "«A1 в ИСО» должно быть число, а не «abc»"},
      {&f.Text4, "-1", bad + "«v2/v01» значение «-1» вне пределов от 1E-06 до 1000000"},
      {&f.Text54, "1E400", bad + "«Ve1/Vs» должно быть число, а не «1E400»"},
      {&f.Text8, "-1E13", bad + "«N20» значение «-1E13» по модулю больше 1000000000000"},
      {&f.Text40, "-1E-9",
       bad + "«шаг решения уравнений, с» значение «-1E-9» вне пределов от 1E-30 до 1000000"},
      {&f.Text32, "0", bad + "«MT, с/см» значение «0» вне пределов от 1E-30 до 1000000"},
      {&f.Text41, "0", bad + "«масштаб, ML» значение «0» вне пределов от 1 до 65"},
      {&f.Text41, "2,5", bad + "«масштаб, ML» должно быть целое число, а не «2,5»"},
      {&f.Text41, "66", "Ширина картинки не может быть\r\n     больше 32767 пикселей", "Trevan5"},
      {&f.Text41, "2147483648", "Ширина картинки не может быть\r\n     больше 32767 пикселей",
       "Trevan5"},
      {&f.Text43, "-2147483648",
       bad + "«интервал поиска от» значение «-2147483648» вне пределов от -10000 до 10000"},
      {&f.Text44, "0",
       "Введите правильно данные: в полях «интервал поиска от» и «интервал поиска до» должны "
       "быть разные числа"},
      {&f.Text69, "0", "Увеличьте количество полос"},
      {&f.Text69, "-2147483649", "Увеличьте количество полос"},
      {&f.Text69, "2147483647", bad + "«N / 2» значение «2147483647» вне пределов от 1 до 10000"},
      {&f.Text69, "1E-300", bad + "«N / 2» должно быть целое число, а не «1E-300»"},
      {&f.Text49, "-1", bad + "«освещенность» значение «-1» вне пределов от 0 до 256"},
      {&f.Text56, "", bad + "«интерференция на картинке №» должно быть целое число, а не «»"},
      {&f.Text56, "2147483648",
       bad + "«интерференция на картинке №» значение «2147483648» вне пределов от -2147483648 до "
             "2147483647"},
      // The fields the later steps read.
      {&f.Text46, "два", failed + "«число интервалов» должно быть целое число, а не «два»"},
      {&f.Text46, "-5",
       failed + "«число интервалов» значение «-5» вне пределов от 1 до 1000000000"},
      {&f.Text50, "1E7", failed + "«интервалах через, с» значение «1E7» по модулю больше 1000000"},
      {&f.Text51, "0", failed + "«шагов в интервале» значение «0» вне пределов от 1 до 1000000000"},
      {&f.Text19, "2,5", failed + "«Stop для i» должно быть целое число, а не «2,5»"},
      {&f.Text19, "251", failed + "«Stop для i» значение «251» вне пределов от -250 до 250"},
  };
  for (const Case& c : cases) {
    const std::string before = c.box->text();
    const std::string widths = f.Text62.text();
    press(f.Command1, {{c.box, c.text}});
    EXPECT_EQ(lastMessage(), c.message) << c.box->name() << "=" << c.text;
    EXPECT_EQ(lastTitle(), c.title);
    EXPECT_EQ(f.run(), nullptr);
    EXPECT_EQ(f.Text62.text(), widths);
    f.typeText(*c.box, before);
  }
  // The ticked boxes' fields.
  f.click(f.Check4);
  press(f.Command1, {{&f.Text30, "1E16"}});
  EXPECT_EQ(lastMessage(),
            bad + "«частота модуляции 1-го, МГц» значение «1E16» по модулю больше 1E+15");
  f.click(f.Check4);
  f.click(f.Check14);
  press(f.Command1, {{&f.Text42, "-5,75"}});
  EXPECT_EQ(lastMessage(),
            failed + "«Xk - Xn, мкм» значение «-5,75» вне пределов от 1E-06 до 1000000000000");
  f.click(f.Check14);
  f.click(f.Option2);
  press(f.Command1, {{&f.Text64, ""}});
  EXPECT_EQ(lastMessage(), failed + "«v01*T1» должно быть число, а не «»");
  f.click(f.Option1);
  // The transform's fields: the screen-frame fields keep what they had.
  const Case transformCases[] = {
      {&f.Text5, "один", bad + "«V1/Vs в АСО» должно быть число, а не «один»"},
      {&f.Text24, "0", bad + "«Vs, км/с» значение «0» вне пределов от 1E-09 до 1000000000"},
      {&f.Text22, "-1E10", bad + "«VXiso, км/с» значение «-1E10» по модулю больше 1000000000"},
      {&f.Text2, "4000", bad + "«A2 в АСО» значение «4000» по модулю больше 3600"},
      {&f.Text29, "", bad + "«Y2» должно быть число, а не «»"},
  };
  const std::string screenSpeed = f.Text54.text();
  for (const Case& c : transformCases) {
    const std::string before = c.box->text();
    press(f.Command3, {{c.box, c.text}});
    EXPECT_EQ(lastMessage(), c.message) << c.box->name() << "=" << c.text;
    EXPECT_EQ(f.Text54.text(), screenSpeed);
    f.typeText(*c.box, before);
  }
  // ML = 65 is the widest picture; one step of it.
  f.click(f.Check2);
  const std::size_t messages = host.messages().size();
  press(f.Command1, {{&f.Text41, "65"}});
  EXPECT_EQ(host.messages().size(), messages);
  EXPECT_EQ(f.Picture7.picture().width(), 32500);
  EXPECT_EQ(f.run()->points(), 32501);
  // Rays that cannot be computed: a phase speed of 0.
  press(f.Command1, {{&f.Text41, "1"}, {&f.Text54, "0"}});
  EXPECT_EQ(lastMessage(), "Ошибка решения\r\nПопробуйте увеличить MT");
}

TEST_F(Form3Test, ParallelRaysNeedAMeasuredWidth) {
  Form3& f = form();
  press(f.Command3, {{&f.Text2, "85"}});
  f.click(f.Check2);
  f.click(f.Command1);
  EXPECT_EQ(lastMessage(), "Ошибка в расчете начальных данных");
  const std::size_t messages = host.messages().size();
  f.click(f.Check14);
  f.click(f.Command1);
  EXPECT_EQ(host.messages().size(), messages);
  EXPECT_EQ(f.Text14.text(), "");
  EXPECT_EQ(f.Text61.text(), "");
  EXPECT_EQ(f.Text80.text(), "");
  EXPECT_EQ(f.Text62.text(), "10");
}

TEST_F(Form3Test, OneStepShowsThePhasesAtThePoint) {
  Form3& f = form();
  press(f.Command3, {{&f.Text8, "10,25"}});
  f.click(f.Check2);
  f.click(f.Command1);
  EXPECT_EQ(f.run()->stepsDrawn(), 1);
  EXPECT_EQ(f.Text73.text(), "10");
  EXPECT_EQ(f.Text74.text(), "10,25");
  EXPECT_EQ(f.Text57.text(), "0,25");
  EXPECT_EQ(f.Text18.text(), "0,25");
  EXPECT_EQ(f.Text33.text(), "0");
}

TEST_F(Form3Test, StopAndContinue) {
  Form3& f = form();
  f.click(f.Command3);
  f.click(f.Check8);
  long long yields = 0;
  host.onDoEvents = [&] {
    if (++yields == 4) f.click(f.Command2);
  };
  press(f.Command1, {{&f.Text51, "10"}});
  host.onDoEvents = nullptr;
  EXPECT_EQ(f.run()->stepsDrawn(), 5);
  EXPECT_EQ(f.run()->T(), 4e-9);
  EXPECT_EQ(f.Text33.text(), "4E-09");
  f.click(f.Command4);
  EXPECT_EQ(f.run()->stepsDrawn(), 10);
  EXPECT_EQ(f.run()->interval(), 1);
  EXPECT_EQ(f.Text33.text(), "8E-09");
  // Going on without a start.
  app.windows().unload("Form3");
  app.windows().show("Form3");
  form().click(form().Command4);
  EXPECT_EQ(lastMessage(), "Сначала надо начать расчет");
}

// The stop is heard wherever it comes: a stop left from before is cleared by the start,
// one pressed while the start draws the 2N + 1 marks of the widest N ends the computation
// (which has no step limit) with its first step, and one pressed at an interval's last
// step ends the run before the next of 10^9 intervals.
TEST_F(Form3Test, TheStopIsAlwaysHeard) {
  Form3& f = form();
  f.click(f.Command3);
  f.click(f.Check8);
  f.click(f.Command2);
  press(f.Command1, {{&f.Text46, "1"}, {&f.Text51, "3"}});
  EXPECT_EQ(f.run()->stepsDrawn(), 3);

  f.click(f.Check8);
  long long yields = 0;
  host.onDoEvents = [&] {
    if (++yields == 1) f.click(f.Command2);
  };
  press(f.Command1, {{&f.Text69, "10000"}});
  host.onDoEvents = nullptr;
  EXPECT_TRUE(host.messages().empty()) << lastMessage();
  EXPECT_EQ(f.run()->stepsDrawn(), 1);
  EXPECT_GT(yields, 2 * 10000 / 1024);

  f.click(f.Check8);
  yields = 0;
  host.onDoEvents = [&] {
    if (++yields == 2) f.click(f.Command2);
  };
  press(f.Command1, {{&f.Text69, "2"}, {&f.Text51, "2"}, {&f.Text46, "1000000000"}});
  host.onDoEvents = nullptr;
  EXPECT_EQ(f.run()->interval(), 1);
  EXPECT_EQ(f.run()->stepsDrawn(), 2);
}

// The time graph shows a point for every step (a circle a fiftieth of a pixel wide is one
// pixel), and its time axis is numbered only where the numbers fit apart.
TEST_F(Form3Test, TimeGraphShowsItsPointsAndReadableNumbers) {
  Form3& f = form();
  f.click(f.Check6);
  f.typeText(f.Text40, "1E-6");
  f.typeText(f.Text32, "2E-6");  // one graph unit per step
  compute(50);
  const platform::Picture& g = f.Picture10.picture();
  EXPECT_GE(countPixels(g, 0, 0, g.width(), g.height(), platform::Rgb{0, 0, 250}), 45);
  // The numbers under the time axis: each numbered tick's number begins at least a blank
  // after the number before it ends.
  const int top = static_cast<int>(std::floor(g.toPixelY(0.1)));
  const int bottom = static_cast<int>(std::floor(g.toPixelY(0.1 - g.textHeight("0"))));
  const auto dark = [&](int column) {
    for (int row = top; row < bottom; ++row) {
      const platform::Rgb p = g.pixel(column, row);
      if (p.r < 100 && p.g < 100 && p.b < 100) return true;
    }
    return false;
  };
  const int blank = static_cast<int>(std::floor(g.toPixelX(g.textWidth(" ")) - g.toPixelX(0)));
  ASSERT_GE(blank, 2);
  int numbered = 0;
  for (int x = 20; x <= 1580; x += 20) {
    const int start = static_cast<int>(std::floor(g.toPixelX(x - 0.2)));
    if (!dark(start) && !dark(start + 1) && !dark(start + 2)) continue;
    ++numbered;
    int gap = 0;
    while (gap < blank && !dark(start - 1 - gap)) ++gap;
    EXPECT_GE(gap, blank) << "the number at " << x / 2;
  }
  EXPECT_GE(numbered, 20);
}

TEST_F(Form3Test, FringeWidthAndSpeedMeasurement) {
  Form3& f = form();
  f.mouseDown(f.Picture7, platform::MouseButton::Left, 2.5e-6, 0);
  f.mouseDown(f.Picture7, platform::MouseButton::Right, 8.25e-6, 0);
  EXPECT_NEAR(*common::parseNumber(f.Text59.text()), 2.5, 1e-12);
  EXPECT_NEAR(*common::parseNumber(f.Text60.text()), 8.25, 1e-12);
  press(f.Command9, {{&f.Text59, "2,5"}, {&f.Text60, "8,25"}});
  EXPECT_EQ(f.Text42.text(), "5,75");
  press(f.Command9, {{&f.Text60, ""}});
  EXPECT_EQ(lastMessage(), "Поставьте две точки на рисунке № 3");
  EXPECT_EQ(f.Text42.text(), "5,75");

  // Without a computation there is no speed.
  press(f.Command8, {{&f.Text17, "0,1"}, {&f.Text53, "0,6"}});
  EXPECT_EQ(lastMessage(), "Поставьте две точки на графике");
  compute(2);
  // Without clicks in the graph the marks are 1 s apart: 0,5 · 1 · B / 1 s / Vs.
  f.click(f.Command8);
  EXPECT_EQ(f.Text71.text(), common::numberText(0.5 * f.run()->start().B / 1 / 1));
  // Clicks in the graph; another window in between keeps them.
  f.mouseDown(f.Picture10, platform::MouseButton::Left, 10, 0.25);
  f.mouseDown(f.Picture10, platform::MouseButton::Right, 30, 0.75);
  EXPECT_EQ(f.Text17.text(), "0,25");
  EXPECT_EQ(f.Text53.text(), "0,75");
  app.windows().activate("Form1");
  app.windows().activate("Form3");
  EXPECT_DOUBLE_EQ(f.Tk() - f.Tn(), 20 * 5e-3);
  f.click(f.Command8);
  EXPECT_EQ(f.Text71.text(), common::numberText(0.5 * 1 * f.run()->start().B / (f.Tk() - f.Tn())));
  press(f.Command8, {{&f.Text17, "x"}});
  EXPECT_EQ(lastMessage(), "Поставьте две точки на графике");
  press(f.Command8, {{&f.Text17, "0,25"}});
  f.mouseDown(f.Picture10, platform::MouseButton::Left, 30, 0.25);
  f.click(f.Command8);
  EXPECT_EQ(lastMessage(), "Поставьте две точки на графике");
}

// Two rays of different frequencies: the speed measured on the graph agrees with
// Δν / (ν2/Ve2 − ν1/Ve1).
TEST_F(Form3Test, MeasuredFringeSpeedMatchesTheClosedForm) {
  Form3& f = form();
  f.typeText(f.Text4, "1,01");
  f.typeText(f.Text40, "1E-6");
  f.typeText(f.Text32, "1E-4");
  f.click(f.Check6);
  f.typeText(f.Text49, "250");
  compute(11);
  const double Ta = f.run()->T(), ya = f.run()->windowFraction(f.ic());
  compute(41);
  const double Tb = f.run()->T(), yb = f.run()->windowFraction(f.ic());
  EXPECT_NEAR(Tb - Ta, 30e-6, 1e-18);
  const double halfMT = 0.5e-4;
  f.mouseDown(f.Picture10, platform::MouseButton::Left, Ta / halfMT, ya);
  f.mouseDown(f.Picture10, platform::MouseButton::Right, Tb / halfMT, yb);
  f.click(f.Command8);
  const auto& v = f.values();
  const double speed = (v.nu2 - v.nu1) / (v.nu2 / v.Ve2 - v.nu1 / v.Ve1);
  const double resolution = f.run()->start().B * 2 / 250 / 30e-6;
  EXPECT_NEAR(*common::parseNumber(f.Text71.text()) * v.Vs, speed, resolution);
  EXPECT_GT(std::fabs(speed), 10 * resolution);
}

TEST_F(Form3Test, SavesTheInterferencePicture) {
  Form3& f = form();
  const fs::path folder = fs::temp_directory_path() / "quorvel_form3_save";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path before = fs::current_path();
  fs::current_path(folder);
  compute(1);
  f.click(f.Command6);
  EXPECT_TRUE(fs::exists(folder / "Quorvel_3_20.bmp"));
  press(f.Command6, {{&f.Text21, "a/b"}});
  EXPECT_EQ(lastMessage(), "Ошибка записи в файл");
  // A picture number other than 1, 2 or 3 draws and saves nothing.
  f.typeText(f.Text21, "21");
  press(f.Command1, {{&f.Text56, "4"}});
  f.click(f.Command6);
  EXPECT_FALSE(fs::exists(folder / "Quorvel_3_21.bmp"));
  fs::current_path(before);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace quorvel::interference

namespace quorvel::interference {
namespace {

// A host with a screen's pace that counts the waits asked of it (and returns at once).
class PacingHost : public platform::HeadlessHost {
 public:
  void waitUntil(std::chrono::steady_clock::time_point,
                 const std::function<bool()>&) override {
    ++waits;
  }
  int waits = 0;
};

// The computation's pace (Text31) changes no result: the brightness and the picture of a
// paced computation are those of one run as fast as it goes; a bad pace is refused by name.
TEST(Form3PacingTest, APacedComputationEndsAsAnUnpacedOne) {
  PacingHost host;
  platform::App app(host);
  app::registerForms(app.windows());
  app.windows().show("Form1");
  auto& main = *static_cast<app::Form1*>(app.windows().find("Form1"));
  main.click(main.Command9);
  auto& f = *static_cast<Form3*>(app.windows().find("Form3"));
  EXPECT_EQ(f.Text31.text(), "10000");
  f.click(f.Command3);
  f.click(f.Check8);
  f.typeText(f.Text51, "50");
  f.typeText(f.Text46, "1");
  struct Outcome {
    std::vector<double> I;
    std::vector<platform::Rgb> picture;
    int waits;
  };
  auto compute = [&](const char* pace) {
    f.typeText(f.Text31, pace);
    host.waits = 0;
    f.click(f.Command1);
    Outcome out{std::vector<double>(f.run()->I().begin(), f.run()->I().end()), {}, host.waits};
    const platform::Picture& p = f.Picture7.picture();
    for (int y = 0; y < p.height(); ++y) {
      for (int x = 0; x < p.width(); ++x) out.picture.push_back(p.pixel(x, y));
    }
    return out;
  };
  const Outcome fast = compute("0");
  const Outcome paced = compute("100");  // 10 ms a step: every step waits
  EXPECT_EQ(fast.waits, 0);
  EXPECT_GE(paced.waits, 40);
  EXPECT_EQ(paced.I, fast.I);
  EXPECT_TRUE(paced.picture == fast.picture);
  EXPECT_TRUE(host.messages().empty());
  f.typeText(f.Text31, "10001");
  f.click(f.Command1);
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].text,
            "Задайте правильно данные: в поле «шагов/с» должно быть целое число от 0 до 10 000, "
            "а не «10001»");
  for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
}

}  // namespace
}  // namespace quorvel::interference
