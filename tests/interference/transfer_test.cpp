#include <gtest/gtest.h>

#include <cmath>

#include "app/forms.h"
#include "common/numbers.h"
#include "common/shared.h"
#include "experiment/form4.h"
#include "experiment/transfer_to_interference.h"
#include "interference/form3.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"

namespace quorvel::experiment {
namespace {

using common::Pi;

class TransferTest : public testing::Test {
 protected:
  TransferTest() : app(host) {
    app::registerForms(app.windows());
    app.windows().show("Form1");
  }
  ~TransferTest() override {
    for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
  }
  interference::Form3* form3() {
    return static_cast<interference::Form3*>(app.windows().find("Form3"));
  }
  // A prism run whose both rays arrived, as a run leaves it behind.
  static model::ExperimentState arrived() {
    model::ExperimentState s;
    s.ii = 19;
    s.jj = 29;
    s.c = 30000;
    s.V = 3300;
    s.AlfaV = Pi / 2;
    s.v01 = 30000 / 0.0065;
    s.v02 = 30000 / 0.0066;
    s.arrivalX = {0, -0.0012345678901234, 0.00098765432109876};
    s.arrivalY = {0, 0.9000000001234, 0.9000000009876};
    s.legs.An[18] = Pi / 2 + 1e-5;
    s.legs.An[28] = Pi / 2 - 2e-5;
    s.legs.V1[19] = 29999.5;
    s.legs.V2[29] = 30000.25;
    s.legs.v[19] = 4.6e6;
    s.T1 = 1.1;
    s.N1 = 3.3;
    return s;
  }
  static ShownResults shown() {
    return {"1,0000123", "0,99998", "6,5E-05", "6,6E-05", "10,5", "11,25"};
  }
  std::string text(const char* name) {
    return static_cast<platform::TextBox*>(form3()->find(name))->text();
  }
  std::string lastMessage() const {
    return host.messages().empty() ? "" : host.messages().back().text;
  }

  platform::HeadlessHost host;
  platform::App app;
};

TEST_F(TransferTest, PrismRunFillsEveryFieldAndKeepsTheShownTimes) {
  model::ExperimentState s = arrived();
  transferToInterference(app, s, shown(), true);
  ASSERT_NE(form3(), nullptr);
  EXPECT_EQ(app.windows().active(), form3());
  EXPECT_TRUE(host.messages().empty());
  const double Vx = 3300 * std::cos(Pi / 2);
  const std::pair<const char*, std::string> expected[] = {
      {"Text22", common::numberText(common::Fix(1000 * Vx) / 1e6)},
      {"Text23", "3,3"},
      {"Text24", "30"},
      {"Text67", "6499,999999"},  // L01 = Vs / v01, cut to 6 decimals of µm
      {"Text25", common::numberText(30000 / 0.0065 / 1e6)},
      {"Text63", common::numberText(30000 / 0.0066 / 1e6)},
      {"Text1", common::numberText((Pi / 2 + 1e-5) * 180 / Pi)},
      {"Text2", common::numberText((Pi / 2 - 2e-5) * 180 / Pi)},
      {"Text3", "1,0000123"},
      {"Text4", "0,99998"},
      {"Text5", "0,999983333333333"},
      {"Text6", "1,00000833333333"},
      {"Text7", "10,5"},
      {"Text8", "11,25"},
      {"Text9", "0,000065"},
      {"Text10", "0,000066"},
      {"Text64", common::numberText(30000 / 0.0065 * 6.5e-5)},
      {"Text65", common::numberText(30000 / 0.0066 * 6.6e-5)},
      {"Text26", "-0,00123456789"},
      {"Text28", "0,9"},
      {"Text27", "0,000987654321"},
      {"Text29", common::numberText(common::Fix(1e9 * 0.9000000009876) / 1e9)},
      {"Text40", "1E-6"},
      {"Text32", "1E-2"},
  };
  for (const auto& [name, value] : expected) EXPECT_EQ(text(name), value) << name;
  // Only T1, T2, N1, N2 go back into the run.
  EXPECT_EQ(s.T1, 6.5e-5);
  EXPECT_EQ(s.T2, 6.6e-5);
  EXPECT_EQ(s.N1, 10.5);
  EXPECT_EQ(s.N2, 11.25);
  EXPECT_EQ(s.legs.v[19], 4.6e6);
  EXPECT_EQ(s.legs.An[18], Pi / 2 + 1e-5);
  EXPECT_EQ(s.arrivalX[1], -0.0012345678901234);

  // "Real" units: the interference step and graph scale of light.
  transferToInterference(app, s, shown(), false);
  EXPECT_EQ(text("Text40"), "1E-17");
  EXPECT_EQ(text("Text32"), "1E-14");
}

TEST_F(TransferTest, BeamSplitterTurnsEverythingByAQuarterTurn) {
  model::ExperimentState s = arrived();
  s.options.prism = false;
  s.arrivalX = {0, 0.5, 0.5};
  s.arrivalY = {0, -0.001, 0.002};
  s.legs.An[18] = 0;  // along +x: perpendicular to the turned screen
  s.legs.An[28] = 2 * Pi - Pi / 2;
  ASSERT_EQ(s.legs.An[28] + Pi / 2, 2 * Pi);
  transferToInterference(app, s, shown(), true);
  EXPECT_EQ(text("Text1"), "90");
  EXPECT_EQ(text("Text2"), "360");  // exactly 2π stays
  EXPECT_EQ(text("Text22"), "-3,3");
  EXPECT_EQ(text("Text23"), common::numberText(common::Fix(1000 * 3300 * std::cos(Pi / 2)) / 1e6));
  EXPECT_EQ(text("Text26"), "0,001");
  EXPECT_EQ(text("Text28"), "0,5");
  EXPECT_EQ(text("Text27"), "-0,002");
  s.legs.An[28] = 2 * Pi - Pi / 2 + 0.25;
  transferToInterference(app, s, shown(), true);
  EXPECT_NEAR(*common::parseNumber(text("Text2")), 0.25 * 180 / Pi, 1e-9);
}

TEST_F(TransferTest, RefusesRunsThatDidNotArriveAndFieldsThatAreNotNumbers) {
  for (auto [ii, jj] : {std::pair{10, 0}, std::pair{19, 27}, std::pair{18, 29}}) {
    model::ExperimentState s = arrived();
    s.ii = ii;
    s.jj = jj;
    transferToInterference(app, s, shown(), true);
    EXPECT_EQ(lastMessage(), "Сначала надо выполнить вычислительный эксперимент");
    EXPECT_EQ(host.messages().back().title, "Quorvel");
    EXPECT_EQ(form3(), nullptr);
    EXPECT_EQ(s.T1, 1.1);
  }
  model::ExperimentState s = arrived();
  ShownResults bad = shown();
  bad.N2 = "";
  transferToInterference(app, s, bad, true);
  EXPECT_EQ(lastMessage(), "Задайте правильно данные: в поле «N2» должно быть число, а не «»");
  EXPECT_EQ(form3(), nullptr);
  EXPECT_EQ(s.N1, 3.3);
}

// One real run of the beam-splitter setup, transferred and computed.
TEST_F(TransferTest, RunTransferredThenComputedLeavesTheRunWhole) {
  app.windows().show("Form4");
  auto& f4 = *static_cast<Form4*>(app.windows().find("Form4"));
  f4.click(f4.Command9);
  EXPECT_EQ(lastMessage(), "Сначала надо выполнить вычислительный эксперимент");
  EXPECT_EQ(form3(), nullptr);
  f4.click(f4.Option1);
  f4.click(f4.Command7);
  ASSERT_EQ(f4.state().ii, 19);
  ASSERT_EQ(f4.state().jj, 29);
  const auto X = common::shared().X;
  const auto Y = common::shared().Y;
  const double v19 = f4.state().legs.v[19];
  const std::string ratio = f4.Text33.text();
  f4.click(f4.Command9);
  ASSERT_NE(form3(), nullptr);
  EXPECT_EQ(text("Text3"), f4.Text71.text());
  EXPECT_EQ(text("Text9"), f4.Text31.text());
  EXPECT_EQ(text("Text7"), f4.Text51.text());
  EXPECT_EQ(common::shared().X, X);
  EXPECT_EQ(common::shared().Y, Y);
  EXPECT_EQ(f4.state().legs.v[19], v19);
  // Going on with the finished run shows the same frequency ratio.
  f4.click(f4.Command3);
  EXPECT_EQ(f4.Text33.text(), ratio);
  // The interference window computes the arrived rays.
  auto& f3 = *form3();
  const std::size_t messages = host.messages().size();
  f3.click(f3.Command3);
  f3.click(f3.Check2);
  f3.click(f3.Command1);
  EXPECT_EQ(host.messages().size(), messages) << lastMessage();
  EXPECT_EQ(f3.run()->stepsDrawn(), 1);
  EXPECT_GT(f3.run()->start().B, 0);
}

}  // namespace
}  // namespace quorvel::experiment
