#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/forms.h"
#include "common/numbers.h"
#include "common/shared.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"

namespace quorvel::app {
namespace {

using platform::Rgb;

constexpr double kAu = 149597870691.0;
constexpr double kEarthRadius = 6378140.0;
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kRed{255, 0, 0};

double number(const platform::TextBox& box) {
  const auto value = common::parseNumber(box.text());
  EXPECT_TRUE(value.has_value()) << box.name() << " = '" << box.text() << "'";
  return value.value_or(NAN);
}

// Whether the pixel of (x, y), or one next to it, has the colour.
bool colourNear(const platform::Picture& picture, double x, double y, Rgb colour) {
  const int column = static_cast<int>(std::lround(picture.toPixelX(x)));
  const int row = static_cast<int>(std::lround(picture.toPixelY(y)));
  for (int dc = -1; dc <= 1; ++dc) {
    for (int dr = -1; dr <= 1; ++dr) {
      if (picture.pixel(column + dc, row + dr) == colour) return true;
    }
  }
  return false;
}

std::vector<std::pair<int, int>> pixelsOf(const platform::Picture& picture, Rgb colour) {
  std::vector<std::pair<int, int>> found;
  for (int column = 0; column < picture.width(); ++column) {
    for (int row = 0; row < picture.height(); ++row) {
      if (picture.pixel(column, row) == colour) found.emplace_back(column, row);
    }
  }
  return found;
}

class Form1AstroTest : public testing::Test {
 protected:
  Form1AstroTest() : app(host) {
    common::shared().StopRequested = 0;
    registerForms(app.windows());
    host.setLocalTime({2000, 1, 1, 12, 0, 0});
    app.windows().show("Form1");
  }
  ~Form1AstroTest() override {
    host.onDoEvents = nullptr;
    for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
    common::shared().StopRequested = 0;
  }
  Form1& form1() { return *static_cast<Form1*>(app.windows().find("Form1")); }

  // Stops the date timer and types a moment.
  void typeMoment(const char* date, const char* time, const char* zone) {
    Form1& f = form1();
    f.click(f.Command8);
    f.typeText(f.Text2, date);
    f.typeText(f.Text3, time);
    f.typeText(f.Text5, zone);
  }
  // Shows the position at noon of 1 January 2000, UT.
  void showJ2000() {
    typeMoment("01.01.2000", "12:00:00", "0");
    form1().click(form1().Command4);
  }
  // Runs the motion, pressing "Остановить" at the pass `stopAt`; `each` sees every pass.
  void move(platform::CommandButton& start, int stopAt,
            const std::function<void(int)>& each = nullptr) {
    int pass = 0;
    host.onDoEvents = [&] {
      ++pass;
      if (each) each(pass);
      if (pass == stopAt) form1().click(form1().Command12);
    };
    form1().click(start);
    host.onDoEvents = nullptr;
  }
  double jdut() { return form1().data()["JDut"].get<double>(); }

  platform::HeadlessHost host;
  platform::App app;
};

TEST_F(Form1AstroTest, DateFieldsGiveTheJulianDate) {
  struct Case {
    const char* date;
    const char* time;
    const char* zone;
    const char* text4;
    double jdut;
  };
  const Case cases[] = {
      {"01.01.2000", "12:00:00", "0", "2451545", 2451545.0},
      {"1.1.2000", "15:00:00", "+3", "2451545", 2451545.0},
      {"07.12.2026", "03:00:00", "+3", "2461381,5", 2461381.5},  // 03:00 at +3 is 0h UT
      {"7.12.2026", "0:00:00", "0", "2461381,5", 2461381.5},
      {"15.10.1582", "00:00:00", "0", "2299160,5", 2299160.5},
      {"4.10.1582", "00:00:00", "0", "2299159,5", 2299159.5},  // Julian calendar
      {"01.01.2000", "18:00:00", "-6", "2451545,5", 2451545.5},
  };
  Form1& f = form1();
  for (const Case& c : cases) {
    typeMoment(c.date, c.time, c.zone);
    f.click(f.Command4);
    EXPECT_EQ(f.Text4.text(), c.text4) << c.date << " " << c.time;
    EXPECT_DOUBLE_EQ(jdut(), c.jdut) << c.date;
    EXPECT_DOUBLE_EQ(f.data()["JDcur"].get<double>(), c.jdut) << c.date;
  }
  EXPECT_TRUE(host.messages().empty());
}

TEST_F(Form1AstroTest, TimerReadsTheClockIntoTheJulianDate) {
  Form1& f = form1();
  f.typeText(f.Text5, "0");
  host.wait(app.windows(), 100);
  EXPECT_EQ(f.Text2.text(), "01.01.2000");
  EXPECT_EQ(f.Text4.text(), "2451545");
  host.setLocalTime({2026, 12, 7, 3, 0, 0});
  f.typeText(f.Text5, "+3");
  host.wait(app.windows(), 100);
  EXPECT_EQ(f.Text4.text(), "2461381,5");
  // While the timer runs, the show button takes the moment of its last tick.
  f.click(f.Command4);
  EXPECT_DOUBLE_EQ(jdut(), 2461381.5);
  EXPECT_TRUE(host.messages().empty());
}

TEST_F(Form1AstroTest, BadDateFieldsKeepTheJulianDate) {
  Form1& f = form1();
  struct Case {
    platform::TextBox* box;
    const char* text;
  };
  const Case cases[] = {
      {&f.Text2, ""},          {&f.Text2, "abc"},        {&f.Text2, "32.13.2026"},
      {&f.Text2, "7/12/2026"}, {&f.Text2, "29.02.2026"}, {&f.Text2, "10.10.1582"},
      {&f.Text3, ""},          {&f.Text3, "25:00:00"},   {&f.Text3, "12-00-00"},
      {&f.Text5, "x"},         {&f.Text6, ""},           {&f.Text7, "91"},
  };
  for (const Case& c : cases) {
    showJ2000();
    ASSERT_EQ(f.Text4.text(), "2451545");
    const std::size_t before = host.messages().size();
    const std::string good = c.box->text();
    f.typeText(*c.box, c.text);
    f.click(f.Command4);
    f.typeText(*c.box, good);
    ASSERT_EQ(host.messages().size(), before + 1) << c.box->name() << " '" << c.text << "'";
    EXPECT_EQ(host.messages().back().text, "Введите правильно дату");
    EXPECT_EQ(host.messages().back().title, "Quorvel");
    EXPECT_EQ(f.Text4.text(), "2451545") << c.text;
    EXPECT_DOUBLE_EQ(jdut(), 2451545.0) << c.text;
  }
  // The window stays usable.
  showJ2000();
  EXPECT_EQ(host.messages().size(), std::size(cases));
}

TEST_F(Form1AstroTest, TimerTellsABadFieldOnceUntilItReadsAgain) {
  Form1& f = form1();
  f.typeText(f.Text5, "часов");
  host.wait(app.windows(), 1000);
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].text, "Введите правильно дату");
  EXPECT_EQ(f.Text4.text(), "");
  f.typeText(f.Text5, "0");
  host.wait(app.windows(), 100);
  EXPECT_EQ(f.Text4.text(), "2451545");
  f.typeText(f.Text7, "");
  host.wait(app.windows(), 500);
  EXPECT_EQ(host.messages().size(), 2u);
  EXPECT_EQ(f.Text4.text(), "2451545");
}

TEST_F(Form1AstroTest, ShowBeforeAnyReadingReadsTheFields) {
  // The timer has not ticked: the empty date is not taken for a moment.
  Form1& f = form1();
  ASSERT_TRUE(f.Timer1.timerEnabled());
  f.click(f.Command4);
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].text, "Введите правильно дату");
  EXPECT_EQ(f.Text9.text(), "");
}

TEST_F(Form1AstroTest, PositionAtJ2000) {
  showJ2000();
  Form1& f = form1();
  ASSERT_TRUE(host.messages().empty());
  const auto data = f.data();
  const double x = data["X"]["3"], y = data["Y"]["3"], z = data["Z"]["3"];
  EXPECT_NEAR(std::sqrt(x * x + y * y + z * z) / kAu, 0.9833, 3e-4);  // near perihelion
  EXPECT_NEAR(number(f.Text12), 100.38, 0.03);                        // the Sun seen at 280,38°
  EXPECT_NEAR(data["Vgeo"].get<double>(), 30290.0, 50.0);
  EXPECT_NEAR(number(f.Text29), data["Vgeo"].get<double>(), 1e-9);
  const double vobs = kEarthRadius * std::cos(48.7 / common::RadToDeg) * common::OmegaDay;
  EXPECT_NEAR(vobs, 306.13, 0.01);
  EXPECT_NEAR(number(f.Text31), vobs, 1e-9);
  EXPECT_NEAR(data["Vobs"].get<double>(), vobs, 1e-9);

  // Truncated to 6 decimals, not rounded: GMST 18,6973745574 h, VY33 −5175,2357846 m/s.
  EXPECT_EQ(f.Text9.text(), "18,697374");
  EXPECT_EQ(f.Text10.text(), "21,664041");  // + 44,5°/15
  EXPECT_EQ(f.Text22.text(), "-0,000015");
  EXPECT_EQ(f.Text8.text(), "0");
  EXPECT_NEAR(data["GMST"].get<double>(), 18.6973746, 1e-7);
  const std::pair<const platform::TextBox*, const char*> sums[] = {
      {&f.Text33, "VX"}, {&f.Text34, "VY"}, {&f.Text35, "VZ"}};
  const platform::TextBox* orbital[] = {&f.Text13, &f.Text14, &f.Text15};
  const platform::TextBox* rotation[] = {&f.Text23, &f.Text24, &f.Text25};
  for (int k = 0; k < 3; ++k) {
    const auto& [box, array] = sums[k];
    const double total = data[array]["33"];
    EXPECT_EQ(box->text(), common::numberText(common::truncateDecimals(total, 6))) << array;
    EXPECT_NEAR(number(*box), number(*orbital[k]) + number(*rotation[k]), 3e-6) << array;
    EXPECT_NEAR(total, data[array]["3"].get<double>() + data[array]["23"].get<double>(), 1e-9);
  }
  EXPECT_EQ(f.Text34.text(), "-5175,235784");
  // The shared rate table keeps the angular rates.
  EXPECT_DOUBLE_EQ(common::shared().AngularRate[31], common::OmegaYear);
  EXPECT_DOUBLE_EQ(common::shared().AngularRate[32], common::OmegaDay);

  // ET − UT moves the elements' date by 126,62 s (2,110333 min).
  f.click(f.Check1);
  f.click(f.Command4);
  EXPECT_EQ(f.Text8.text(), "2,110333");
  EXPECT_NEAR(f.data()["DeltaT"].get<double>(), 126.62, 1e-9);
  EXPECT_NEAR((f.data()["JDcur"].get<double>() - 2451545.0) * 86400.0, 126.62, 1e-4);
  EXPECT_EQ(f.Text9.text(), "18,697374");  // sidereal time stays on UT
}

TEST_F(Form1AstroTest, RotationSpeedFollowsTheLatitude) {
  struct Case {
    const char* latitude;
    double vobs;
  };
  const Case cases[] = {
      {"0", kEarthRadius * common::OmegaDay},  // 463,8 m/s on the equator
      {"48,7", 306.1295},
      {"-60", kEarthRadius * 0.5 * common::OmegaDay},
      {"90", 0.0},
  };
  Form1& f = form1();
  for (const Case& c : cases) {
    typeMoment("01.01.2000", "12:00:00", "0");
    f.typeText(f.Text7, c.latitude);
    f.click(f.Command4);
    const auto data = f.data();
    EXPECT_NEAR(data["Vobs"].get<double>(), c.vobs, 1e-3) << c.latitude;
    const double rotation =
        std::hypot(data["VX"]["23"].get<double>(), data["VY"]["23"].get<double>(),
                   data["VZ"]["23"].get<double>());
    EXPECT_NEAR(rotation, c.vobs, 1e-3) << c.latitude;
  }
  // At the pole the apparatus moves with the Earth's orbit alone.
  const auto data = f.data();
  for (const char* array : {"VX", "VY", "VZ"}) {
    EXPECT_NEAR(data[array]["33"].get<double>(), data[array]["3"].get<double>(), 1e-9);
  }
  EXPECT_TRUE(host.messages().empty());
}

TEST_F(Form1AstroTest, DrawingPutsTheEarthAndTheSunAtTheirPixels) {
  showJ2000();
  const auto data = form1().data();
  const auto& picture = form1().Picture1.picture();
  const double ex = data["X"]["3"].get<double>() / 3e10 + 3.0;
  const double ey = data["Y"]["3"].get<double>() / 3e10 - 3.0;
  // The Sun–Earth line runs from (3, −3) to E; look at the Sun beside it.
  const double length = std::hypot(ex - 3.0, ey + 3.0);
  const double nx = -(ey + 3.0) / length, ny = (ex - 3.0) / length;
  EXPECT_TRUE(colourNear(picture, 3.0 + 0.4 * nx, -3.0 + 0.4 * ny, kYellow));
  EXPECT_TRUE(colourNear(picture, 3.0 - 0.4 * nx, -3.0 - 0.4 * ny, kYellow));
  EXPECT_TRUE(colourNear(picture, (3.0 + ex) / 2.0, (-3.0 + ey) / 2.0, kBlue));
  EXPECT_TRUE(colourNear(picture, ex, ey + 1.8, kBlue));  // the Earth's circle, lower
  EXPECT_TRUE(colourNear(picture, ex, ey - 1.8, kBlue));
  // The place's red mark and its velocity lines: VX33 ≈ −29765 m/s is 2,98 units left.
  const double px = ex + 1.2 * data["X"]["16"].get<double>() / kEarthRadius;
  const double py = ey + 1.2 * data["Y"]["16"].get<double>() / kEarthRadius;
  EXPECT_TRUE(colourNear(picture, px, py + 0.1, kRed));
  EXPECT_TRUE(colourNear(picture, px + 1e-4 * data["VX"]["33"].get<double>() * 0.9, py, kRed));
  // Upper diagram: the Earth's circle of radius 4,2 and the Sun at (8,5; 5).
  EXPECT_TRUE(colourNear(picture, -9.2, 5.0, kBlue));
  EXPECT_TRUE(colourNear(picture, -5.0, 0.8, kBlue));
  EXPECT_TRUE(colourNear(picture, 8.5, 5.3, kYellow));
  EXPECT_TRUE(colourNear(picture, 8.5, 4.7, kYellow));
  // Nothing yellow or blue away from them.
  EXPECT_EQ(picture.pixel(static_cast<int>(picture.toPixelX(-8.5)),
                          static_cast<int>(picture.toPixelY(-8.5))),
            (Rgb{255, 255, 255}));
}

TEST_F(Form1AstroTest, TrackIsKeptOnlyWhenAsked) {
  struct Case {
    int keep;
    bool kept;
  };
  for (const Case c : {Case{1, true}, Case{0, false}}) {
    Form1& f = form1();
    f.click(f.Command5);
    f.Check2.setValue(c.keep);
    showJ2000();
    // The lower diagram's blue: the Earth's circle and the Sun–Earth line (the upper
    // diagram, drawn the same every time, lies left of x = −0,5).
    auto first = pixelsOf(f.Picture1.picture(), kBlue);
    std::erase_if(first,
                  [&](const auto& p) { return f.Picture1.picture().toUserX(p.first) < -0.5; });
    ASSERT_GT(first.size(), 300u);
    typeMoment("01.04.2000", "12:00:00", "0");  // a quarter of an orbit on
    f.click(f.Command4);
    std::size_t still = 0;
    for (const auto& [column, row] : first) {
      if (f.Picture1.picture().pixel(column, row) == kBlue) ++still;
    }
    const double fraction = static_cast<double>(still) / static_cast<double>(first.size());
    if (c.kept) {
      EXPECT_GT(fraction, 0.8);  // only the grid drawn again covers a little of it
    } else {
      EXPECT_LT(fraction, 0.1);
    }
  }
  // The lower Earth circle of January is gone after "Очистить рисунок".
  form1().click(form1().Command5);
  EXPECT_TRUE(pixelsOf(form1().Picture1.picture(), kBlue).empty());
  EXPECT_TRUE(pixelsOf(form1().Picture1.picture(), kYellow).empty());
}

// Runs in a temporary folder and goes back to the folder it came from.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::filesystem::path& folder)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
  }
  ~CurrentFolder() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

TEST_F(Form1AstroTest, SaveWritesTheNumberedPictureInTheCurrentFolder) {
  const auto folder = std::filesystem::temp_directory_path() / "quorvel_form1_save";
  {
    CurrentFolder inside(folder);
    showJ2000();
    Form1& f = form1();
    f.click(f.Command6);
    EXPECT_TRUE(host.messages().empty());
    std::ifstream file(folder / "Quorvel_1_10.bmp", std::ios::binary);
    ASSERT_TRUE(file.good());
    char magic[2] = {};
    file.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "BM");

    f.typeText(f.Text21, "нет/такой/папки");
    f.click(f.Command6);
    ASSERT_EQ(host.messages().size(), 1u);
    EXPECT_EQ(host.messages()[0].text, "Ошибка записи в файл");
    EXPECT_EQ(host.messages()[0].title, "Quorvel");
  }
  std::filesystem::remove_all(folder);
}

TEST_F(Form1AstroTest, MotionAdvancesByTheStepAtEveryPass) {
  showJ2000();
  Form1& f = form1();
  f.click(f.Command10);
  f.typeText(f.Text16, "24");
  std::vector<std::string> dates;
  move(f.Command11, 3, [&](int pass) {
    dates.push_back(f.Text18.text());
    EXPECT_EQ(f.Text19.text(), "12:00:00");
    EXPECT_EQ(f.Text4.text(), common::numberText(2451545.0 + pass)) << pass;
    // A second start while moving is refused.
    if (pass == 1) {
      EXPECT_FALSE(f.click(f.Command11));
      f.click(f.Command13);
    }
  });
  // Stopped at the third pass: the loop ends after the pass that sees the request.
  EXPECT_EQ(dates, (std::vector<std::string>{"02.01.2000", "03.01.2000", "04.01.2000"}));
  EXPECT_EQ(f.Text18.text(), "05.01.2000");
  EXPECT_DOUBLE_EQ(jdut(), 2451549.0);
  EXPECT_DOUBLE_EQ(f.data()["JDlast"].get<double>(), 2451549.0);
  EXPECT_EQ(f.data()["JDcur"].get<double>(), 2451549.0);
  EXPECT_FALSE(f.Timer1.timerEnabled());
  EXPECT_EQ(common::shared().StopRequested, 1);
  EXPECT_TRUE(host.messages().empty());

  // The step is read at every pass: 0 h, then −12 h twice.
  f.typeText(f.Text16, "0");
  std::vector<std::string> moments;
  move(f.Command11, 2, [&](int pass) {
    moments.push_back(f.Text18.text() + " " + f.Text19.text());
    if (pass == 1) f.typeText(f.Text16, "-12");
  });
  EXPECT_EQ(moments, (std::vector<std::string>{"05.01.2000 12:00:00", "05.01.2000 00:00:00"}));
  EXPECT_DOUBLE_EQ(jdut(), 2451548.0);
  EXPECT_EQ(f.Text18.text() + " " + f.Text19.text(), "04.01.2000 12:00:00");
}

TEST_F(Form1AstroTest, ContinueGoesOnFromTheLastDateReached) {
  showJ2000();
  Form1& f = form1();
  f.typeText(f.Text16, "24");
  move(f.Command11, 1);
  ASSERT_DOUBLE_EQ(jdut(), 2451547.0);
  // The date fields and the show button change JDut, not the date reached.
  typeMoment("01.06.2010", "00:00:00", "0");
  f.click(f.Command4);
  ASSERT_NE(jdut(), 2451547.0);
  move(f.Command13, 2);
  EXPECT_DOUBLE_EQ(jdut(), 2451550.0);
  EXPECT_EQ(f.Text18.text(), "06.01.2000");
  EXPECT_EQ(f.Text4.text(), "2451550");
}

TEST_F(Form1AstroTest, BadStepEndsTheMotionWithItsMessage) {
  Form1& f = form1();
  for (const char* step : {"abc", "", "1,2,3", "24 ч"}) {
    showJ2000();
    const std::size_t before = host.messages().size();
    const long long calls = host.doEventsCalls();
    f.typeText(f.Text16, step);
    f.click(f.Command11);
    ASSERT_EQ(host.messages().size(), before + 1) << step;
    EXPECT_NE(host.messages().back().text.find("Шаг движения"), std::string::npos);
    EXPECT_EQ(host.messages().back().title, "Quorvel");
    EXPECT_EQ(host.doEventsCalls(), calls) << step;
    EXPECT_DOUBLE_EQ(jdut(), 2451545.0) << step;
  }
  // A step spoilt while moving ends the loop after that pass.
  showJ2000();
  f.typeText(f.Text16, "1");
  int passes = 0;
  host.onDoEvents = [&] {
    if (++passes == 2) f.typeText(f.Text16, "x");
  };
  f.click(f.Command11);
  EXPECT_EQ(passes, 2);
  EXPECT_NEAR(jdut(), 2451545.0 + 2.0 / 24.0, 1e-9);
  EXPECT_NE(host.messages().back().text.find("Шаг движения"), std::string::npos);
}

TEST_F(Form1AstroTest, RunawayDateEndsTheMotionWithItsMessages) {
  showJ2000();
  Form1& f = form1();
  f.typeText(f.Text16, "1E+308");
  f.click(f.Command11);
  // The UT date has no 16-bit year, then the orbit has no finite solution.
  ASSERT_EQ(host.messages().size(), 2u);
  EXPECT_EQ(host.messages()[0].text, "Введите правильно юлианскую дату");
  EXPECT_EQ(host.messages()[0].title, "Kelmar7.0");
  EXPECT_EQ(host.messages()[1].text, "Ошибка решения");
  EXPECT_EQ(host.messages()[1].title, "Quorvel");
  EXPECT_EQ(common::shared().StopRequested, 1);
  EXPECT_EQ(f.Text18.text(), "");  // the UT fields keep what they showed
  EXPECT_EQ(host.doEventsCalls(), 0);

  // With the timer on and no tick since, the show button takes that moment and fails.
  f.click(f.Command10);
  f.click(f.Command4);
  ASSERT_EQ(host.messages().size(), 3u);
  EXPECT_EQ(host.messages()[2].text, "Введите правильно дату");
  EXPECT_EQ(host.messages()[2].title, "Quorvel");
}

TEST_F(Form1AstroTest, ClosingTheWindowStopsTheMotion) {
  showJ2000();
  int passes = 0;
  host.onDoEvents = [&] {
    if (++passes == 3) app.windows().requestClose("Form1");
  };
  form1().click(form1().Command11);
  EXPECT_EQ(passes, 3);
  EXPECT_EQ(app.windows().find("Form1"), nullptr);
}

}  // namespace
}  // namespace quorvel::app
