#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/form1.h"
#include "app/form1_tooltips.h"
#include "app/forms.h"
#include "experiment/form4.h"
#include "experiment/form4_tooltips.h"
#include "forecast/form7_tooltips.h"
#include "interference/form3_tooltips.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"
#include "viewer/form6_tooltips.h"

namespace quorvel::app {
namespace {

bool isInput(const platform::Control& control) {
  switch (control.kind()) {
    case platform::ControlKind::TextBox:
      return !static_cast<const platform::TextBox&>(control).readOnly();
    case platform::ControlKind::HScrollBar:
    case platform::ControlKind::VScrollBar:
      return true;
    default:
      return false;
  }
}

bool hasCyrillic(const std::string& text) {
  // Cyrillic letters are two bytes in UTF-8, led by 0xD0 or 0xD1.
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte == 0xD0 || byte == 0xD1;
  });
}

// Every input field of every registered window explains itself in Russian: a window added
// later fails here until it brings its table.
TEST(ToolTipsTest, EveryInputFieldOfEveryWindowHasOne) {
  platform::HeadlessHost host;
  platform::App app(host);
  registerForms(app.windows());
  const auto names = app.windows().registeredNames();
  ASSERT_GE(names.size(), 4u);
  for (const std::string& name : names) {
    ASSERT_TRUE(app.windows().show(name)) << name;
    const platform::Form* form = app.windows().find(name);
    ASSERT_NE(form, nullptr) << name;
    for (const platform::Control* control : form->controls()) {
      if (!isInput(*control)) continue;
      EXPECT_TRUE(hasCyrillic(control->toolTip())) << name << "." << control->name();
    }
  }
  for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
}

// The tables name only controls that their windows have.
TEST(ToolTipsTest, TablesNameExistingControls) {
  platform::HeadlessHost host;
  platform::App app(host);
  registerForms(app.windows());
  app.windows().show("Form1");
  app.windows().show("Form4");
  EXPECT_TRUE(platform::applyToolTips(*app.windows().find("Form1"), form1ToolTips()).empty());
  EXPECT_TRUE(
      platform::applyToolTips(*app.windows().find("Form4"), experiment::form4ToolTips()).empty());
  app.windows().show("Form3");
  app.windows().show("Form6");
  EXPECT_TRUE(
      platform::applyToolTips(*app.windows().find("Form3"), interference::form3ToolTips()).empty());
  EXPECT_TRUE(
      platform::applyToolTips(*app.windows().find("Form6"), viewer::form6ToolTips()).empty());
  app.windows().show("Form7");
  EXPECT_TRUE(
      platform::applyToolTips(*app.windows().find("Form7"), forecast::form7ToolTips()).empty());
  for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
}

std::string withoutBlanks(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

// What a tooltip says of the "Test" and "Real" units is what those units write into the
// field.
TEST(ToolTipsTest, UnitValuesAreThoseTheUnitsWrite) {
  platform::HeadlessHost host;
  platform::App app(host);
  registerForms(app.windows());
  app.windows().show("Form1");
  app.windows().show("Form4");
  auto& f = *static_cast<experiment::Form4*>(app.windows().find("Form4"));
  EXPECT_EQ(f.Text12.toolTip(),
            "Скорость света в модели Vs0, км/с, больше 0; Test: 30, Real: 300 000");
  const platform::TextBox* fields[] = {&f.Text27, &f.Text28, &f.Text18, &f.Text60, &f.Text12,
                                       &f.Text50, &f.Text29, &f.Text40, &f.Text10};
  for (const bool real : {false, true}) {
    f.click(real ? static_cast<platform::Control&>(f.Option7) : f.Option4);
    for (const platform::TextBox* field : fields) {
      const std::string said = std::string(real ? "Real:" : "Test:") + field->text();
      EXPECT_NE(withoutBlanks(field->toolTip()).find(said), std::string::npos)
          << field->name() << ": " << field->toolTip() << " lacks " << said;
    }
  }
  for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
}

}  // namespace
}  // namespace quorvel::app
