#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/form1.h"
#include "app/forms.h"
#include "astro/cmb_velocity.h"
#include "common/numbers.h"
#include "common/shared.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"

namespace quorvel::app {
namespace {

double number(const platform::TextBox& box) {
  const auto value = common::parseNumber(box.text());
  EXPECT_TRUE(value.has_value()) << box.name() << " = '" << box.text() << "'";
  return value.value_or(NAN);
}

class Form1EtherTest : public testing::Test {
 protected:
  Form1EtherTest() : app(host) {
    common::shared().StopRequested = 0;
    registerForms(app.windows());
    host.setLocalTime({2026, 12, 8, 15, 0, 0, 3 * 3600});
    app.windows().show("Form1");
    f().click(f().Command8);
  }
  ~Form1EtherTest() override {
    host.onDoEvents = nullptr;
    for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
    common::shared().StopRequested = 0;
  }
  Form1& f() { return *static_cast<Form1*>(app.windows().find("Form1")); }
  // Shows the moment (UT) at the place.
  void show(const char* date, const char* time, const char* lat = "48,7") {
    f().typeText(f().Text2, date);
    f().typeText(f().Text3, time);
    f().typeText(f().Text5, "0");
    f().typeText(f().Text7, lat);
    f().click(f().Command4);
  }
  astro::Vec3 sum() { return {number(f().Text33), number(f().Text34), number(f().Text35)}; }

  platform::HeadlessHost host;
  platform::App app;
};

double norm(const astro::Vec3& v) {
  return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

// The horizontal and vertical speeds (km/s) make up the sum's speed (m/s) for every choice;
// the ephemeris changes the Earth's fields at once, the frame adds the Sun's velocity.
TEST_F(Form1EtherTest, WindFieldsFollowTheEphemerisAndTheFrame) {
  show("08.12.2026", "12:00:00");
  const std::string elementsVx = f().Text13.text();
  const std::string inclination = f().Text22.text();
  const astro::Vec3 elements = sum();
  struct Step {
    platform::Control* control;
    bool precise;
    bool cmb;
  };
  const Step steps[] = {{nullptr, false, false},
                        {&f().Check3, true, false},
                        {&f().Option2, true, true},
                        {&f().Check3, false, true},
                        {&f().Option1, false, false}};
  astro::Vec3 previous = elements;
  for (const Step& step : steps) {
    if (step.control) f().click(*step.control);
    const astro::Vec3 v = sum();
    const double horizontal = number(f().Text36) * 1000.0;
    const double vertical = number(f().Text38) * 1000.0;
    EXPECT_NEAR(std::hypot(horizontal, vertical), norm(v), 0.01) << f().Text36.text();
    // At 15:00 local time both apexes (the Earth's, some 90° west of the Sun, and the
    // background's at RA 168°) have set in the north-west: the apparatus moves down and
    // toward the north-west.
    const double azimuth = number(f().Text37);
    EXPECT_TRUE(azimuth > 270.0 && azimuth < 360.0) << azimuth;
    EXPECT_LT(vertical, 0.0);
    EXPECT_EQ(f().Text13.text() != elementsVx, step.precise);
    EXPECT_EQ(f().data()["Ephemeris"], step.precise ? "ERFA" : "elements");
    const double speed = norm(v);
    if (step.cmb) {
      EXPECT_GT(speed, 300000.0);
    } else {
      EXPECT_LT(speed, 31000.0);
    }
    if (step.control == &f().Option2) {
      EXPECT_NEAR(norm(astro::Vec3{v.x - previous.x, v.y - previous.y, v.z - previous.z}),
                  astro::CmbSunSpeed, 1e-3);
    }
    // The ephemeris shows the Earth's own latitude (under 1″), the elements their
    // inclination.
    if (step.precise) {
      EXPECT_LT(std::fabs(number(f().Text22)), 3e-4);
    } else {
      EXPECT_EQ(f().Text22.text(), inclination);
    }
    previous = v;
  }
  // Back to the elements and the Sun: every field as before.
  EXPECT_EQ(f().Text13.text(), elementsVx);
  EXPECT_EQ(sum().x, elements.x);
  EXPECT_TRUE(host.messages().empty());
}

// At a pole the horizontal motion has no azimuth, with either ephemeris.
TEST_F(Form1EtherTest, PoleHasNoAzimuth) {
  for (const int precise : {0, 1}) {
    f().Check3.setValue(precise);
    show("08.12.2026", "12:00:00", "90");
    EXPECT_EQ(f().Text37.text(), "—") << precise;
    EXPECT_GT(number(f().Text36), 1.0);
    show("08.12.2026", "12:00:00", "89,9");
    EXPECT_NE(f().Text37.text(), "—") << precise;
  }
}

// The Earth's fields tell their source; the precise ephemeris warns outside 1900–2100.
TEST_F(Form1EtherTest, ToolTipsNameTheEphemeris) {
  const std::string outside = "(вне 1900–2100: точность ниже)";
  struct Case {
    int precise;
    const char* date;
    const char* source;
    bool warns;
  };
  const Case cases[] = {{0, "08.12.2026", "элементам орбиты", false},
                        {1, "08.12.2026", "eraEpv00", false},
                        {1, "01.06.2150", "eraEpv00", true},
                        {1, "01.06.1850", "eraEpv00", true},
                        {0, "01.06.2150", "элементам орбиты", false}};
  for (const Case& c : cases) {
    f().Check3.setValue(c.precise);
    show(c.date, "00:00:00");
    for (const auto* box : {&f().Text12, &f().Text13, &f().Text29}) {
      EXPECT_NE(box->toolTip().find(c.source), std::string::npos) << c.date << box->name();
      EXPECT_EQ(box->toolTip().find(outside) != std::string::npos, c.warns) << c.date;
    }
  }
}

}  // namespace
}  // namespace quorvel::app
