#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/numbers.h"
#include "experiment/continuous_fixture.h"

namespace quorvel::experiment {
namespace {

using testing_support::ExperimentWindow;

const std::string kNeedsRun =
    "Сплошной эксперимент выполняется\r\nтолько после завершенного эксперимента с этой схемой";

class ContinuousWindowTest : public testing::Test {
 protected:
  Form4& f() { return window.form(); }
  // A finished stepped run of the beam-splitter setup, without the Doppler models.
  void finishBeamSplitterRun() {
    f().click(f().Option1);
    f().click(f().Check1);
    f().click(f().Check11);
    f().click(f().Command7);
    ASSERT_EQ(f().state().ii, 19);
    mark = window.host.messages().size();
  }
  std::string caption(const char* name) {
    return static_cast<platform::Label*>(f().find(name))->caption();
  }
  // The messages since the last mark.
  std::vector<platform::MessageRecord> fresh() const {
    const auto& all = window.host.messages();
    return {all.begin() + static_cast<std::ptrdiff_t>(mark), all.end()};
  }
  ExperimentWindow window;
  std::size_t mark = 0;
};

TEST_F(ContinuousWindowTest, WhatCannotBeModelledIsSaidFirst) {
  f().click(f().Check25);  // the prism setup is chosen as the window opens
  f().click(f().Command1);
  ASSERT_EQ(fresh().size(), 1u);
  EXPECT_EQ(fresh()[0].text, "Сплошной эксперимент выполняется  \r\n     только без цилиндра\r\n");
  EXPECT_EQ(fresh()[0].title, "Quorvel");
  mark = window.host.messages().size();
  f().click(f().Check25);
  f().click(f().Check27);
  f().click(f().Command1);
  ASSERT_EQ(fresh().size(), 1u);
  EXPECT_EQ(fresh()[0].text,
            "     Этот эксперимент выполняется  \r\nтолько без учета конусности луча\r\n");
  EXPECT_EQ(f().continuous(), nullptr);
}

TEST_F(ContinuousWindowTest, RefusedWithoutAFinishedRunOfTheChosenSetup) {
  f().click(f().Command1);
  ASSERT_EQ(fresh().size(), 1u);
  EXPECT_EQ(fresh()[0].text, kNeedsRun);
  EXPECT_EQ(fresh()[0].title, "Quorvel");
  EXPECT_EQ(f().continuous(), nullptr);
  finishBeamSplitterRun();
  f().click(f().Option8);  // the run's tables belong to the other setup
  f().click(f().Command1);
  ASSERT_EQ(fresh().size(), 1u);
  EXPECT_EQ(fresh()[0].text, kNeedsRun);
  EXPECT_EQ(f().continuous(), nullptr);
}

TEST_F(ContinuousWindowTest, BadFieldsAndOptionsAreRefused) {
  finishBeamSplitterRun();
  struct Case {
    platform::TextBox* field;
    const char* text;
  };
  const Case cases[] = {{&f().Text57, "abc"}, {&f().Text57, "0"}, {&f().Text40, "-1E-7"},
                        {&f().Text46, "0"},   {&f().Text10, "0"}, {&f().Text57, "1E-6"}};
  for (const Case& c : cases) {
    const std::string before = c.field->text();
    f().typeText(*c.field, c.text);
    f().click(f().Command1);
    ASSERT_EQ(fresh().size(), 1u) << c.text;
    EXPECT_EQ(fresh()[0].text, "Введите правильно данные");
    mark = window.host.messages().size();
    f().typeText(*c.field, before);
  }
  f().click(f().Check27);
  f().click(f().Command1);
  ASSERT_EQ(fresh().size(), 1u);
  EXPECT_EQ(fresh()[0].text,
            "     Этот эксперимент выполняется  \r\nтолько без учета конусности луча\r\n");
  EXPECT_EQ(f().continuous(), nullptr);
}

TEST_F(ContinuousWindowTest, RunWritesResultsAndContinueFinishesAgain) {
  finishBeamSplitterRun();
  f().click(f().Command1);
  EXPECT_TRUE(fresh().empty());
  const model::ContinuousExperiment* e = f().continuous();
  ASSERT_NE(e, nullptr);
  ASSERT_TRUE(e->finished());
  EXPECT_EQ(f().Text71.text(), common::numberText(e->screenFrequency(1)));
  EXPECT_EQ(f().Text72.text(), common::numberText(e->screenFrequency(2)));
  const auto screen = e->screenResults();
  EXPECT_EQ(f().Text73.text(), common::numberText(screen[0]));
  EXPECT_EQ(f().Text74.text(), common::numberText(screen[1]));
  EXPECT_EQ(f().Text75.text(), common::numberText(screen[2]));
  EXPECT_EQ(f().Text76.text(), common::numberText(screen[3]));
  EXPECT_EQ(caption("Label43"), "Y1ф1л");
  EXPECT_EQ(caption("Label33"), "Y1ф2л");
  EXPECT_EQ(caption("Label5"), "Y2ф1л");
  EXPECT_EQ(caption("Label39"), "Y2ф2л");
  EXPECT_EQ(f().Text42.text(),
            common::numberText(common::truncateDecimals(1e-7 * 30000 / 0.0065, 9)));
  EXPECT_EQ(f().Text53.text(),
            common::numberText(common::truncateDecimals(1e-7 * 30000 / (1e3 * 0.0065), 9)));
  EXPECT_EQ(f().Text17.text(), common::numberText(e->T()));
  // The screen's motion is taken out of the stored points once, however often it finishes.
  const std::string y1 = f().Text73.text();
  f().click(f().Command10);
  EXPECT_EQ(f().Text73.text(), y1);
  EXPECT_TRUE(fresh().empty());

  const nlohmann::json dump = f().data()["continuous"];
  EXPECT_EQ(dump["status"], "finished");
  EXPECT_EQ(dump["edges"].size(), 8u);
  EXPECT_EQ(dump["edges"][0]["state"], 1119);
  EXPECT_EQ(dump["events"].size(), e->events().size());
  EXPECT_EQ(dump["times"]["Tn1"]["1110"], e->Tn1()[1110]);
  EXPECT_EQ(dump["frequencies"]["18"]["v"], e->v()[18]);
  EXPECT_EQ(dump["steps"]["total"], e->fullSteps() + e->refinedSteps());
  EXPECT_GT(dump["steps"]["single"].get<double>(), 0);
}

TEST_F(ContinuousWindowTest, PrismRunShowsXCoordinates) {
  f().click(f().Check1);
  f().click(f().Check11);
  f().click(f().Command7);
  ASSERT_EQ(f().state().ii, 19);
  mark = window.host.messages().size();
  f().click(f().Command1);
  EXPECT_TRUE(fresh().empty());
  ASSERT_NE(f().continuous(), nullptr);
  EXPECT_TRUE(f().continuous()->finished());
  EXPECT_EQ(caption("Label43"), "X1ф1л");
  EXPECT_EQ(caption("Label39"), "X2ф2л");
  EXPECT_EQ(f().Text71.text(), common::numberText(f().continuous()->screenFrequency(1)));
  // After the press the scheme stands at the run's start and moves with the run.
  EXPECT_FALSE(f().Text73.text().empty());
}

}  // namespace
}  // namespace quorvel::experiment

namespace quorvel::experiment {
namespace {

// "Остановить" during the continuous run, then "Продолжить": the results of a run left
// alone. "Продолжить" goes on with the stepped run when that was started last.
TEST(ContinuousWindowStop, StopAndContinueGiveTheResultsOfARunLeftAlone) {
  testing_support::ExperimentWindow window;
  Form4& f = window.form();
  f.click(f.Option1);
  f.click(f.Check1);
  f.click(f.Check11);
  f.click(f.Command7);
  ASSERT_EQ(f.state().ii, 19);
  f.click(f.Command1);
  const std::string alone = f.Text73.text();
  const auto events = f.continuous()->events().size();
  window.host.stopAfter(2000);
  f.click(f.Command1);
  ASSERT_FALSE(f.continuous()->finished());
  EXPECT_EQ(f.data()["continuous"]["status"], "stopped");
  f.typeText(f.Text73, "");
  int presses = 0;
  while (!f.continuous()->finished() && presses < 1000) {
    window.host.stopAfter(2000);
    f.click(f.Command10);
    ++presses;
  }
  EXPECT_GT(presses, 2);
  EXPECT_TRUE(f.continuous()->finished());
  EXPECT_EQ(f.continuous()->events().size(), events);
  EXPECT_EQ(f.Text73.text(), alone);
  EXPECT_EQ(f.Text17.text(), common::numberText(f.continuous()->T()));
  // A new stepped run makes "Продолжить" the stepped run's again: it ends at once and shows
  // its own time.
  f.click(f.Command7);
  f.click(f.Command10);
  EXPECT_EQ(f.state().ii, 19);
  EXPECT_EQ(f.Text17.text(), common::numberText(f.state().T));
  EXPECT_NE(f.state().T, f.continuous()->T());
}

}  // namespace
}  // namespace quorvel::experiment
