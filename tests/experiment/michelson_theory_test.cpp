#include "experiment/model/michelson_theory.h"

#include <gtest/gtest.h>

#include "common/numbers.h"
#include "experiment/result_printing.h"

namespace quorvel::experiment::model {
namespace {

using quorvel::experiment::printMichelsonComparison;
using quorvel::experiment::printPathReport;

MichelsonInput defaults() {
  MichelsonInput in;
  in.X1 = -1;
  in.Y2 = 1;
  in.V = 3000;
  in.Vs = 30000;
  in.v01 = 30000 / 0.0065;
  return in;
}

TEST(MichelsonTheoryTest, ArmsOfOneMetreDifferByLengthTimesVSquaredOverCCubed) {
  const ArmTimes t = michelsonTimes(defaults());
  EXPECT_NEAR(t.T1, 1.01 * 2 / 30000, 1e-18);
  EXPECT_NEAR(t.T2, 1.005 * 2 / 30000, 1e-18);
  EXPECT_NEAR(t.T1 - t.T2, 1.0 * 3000.0 * 3000.0 / (30000.0 * 30000.0 * 30000.0), 1e-18);
  EXPECT_GT(t.T1 - t.T2, 0);
  // Both counts use ray 1's frequency.
  EXPECT_DOUBLE_EQ(t.N1, t.T1 * 30000 / 0.0065);
  EXPECT_DOUBLE_EQ(t.N2, t.T2 * 30000 / 0.0065);
  // At rest the arms are equal.
  MichelsonInput rest = defaults();
  rest.V = 0;
  EXPECT_DOUBLE_EQ(michelsonTimes(rest).T1, michelsonTimes(rest).T2);
}

TEST(MichelsonTheoryTest, LinesInTheirExactFormats) {
  const ArmTimes t = michelsonTimes(defaults());
  EXPECT_EQ(valueLine(t),
            "T1=   0,0000673333333       N1(t)=   000000310,7692       T2=   0,0000670000000"
            "       N2(t)=   000000309,2308");
  EXPECT_EQ(differenceLine(t),
            "            T1-T2 =   0,000000333333                N1(t) - N2(t) =   "
            "000000001,5385");
  const ArmTimes negative{1e-6, 3e-6, 2.5, 7.25};
  EXPECT_EQ(differenceLine(negative),
            "            T1-T2 =   -0,000002000000                N1(t) - N2(t) =   "
            "-000000004,7500");
  // A "Real" run's difference of about a femtosecond is shown, not rounded away; 1E-9 s
  // itself keeps the twelve decimals.
  const ArmTimes real{9.3993711995527364e-09, 9.3993646575525047e-09, 0, 0};
  EXPECT_EQ(differenceLine(real), "            T1-T2 =   6,54200023167765E-15" +
                                      std::string("                N1(t) - N2(t) =   000000000,0000"));
  EXPECT_EQ(differenceLine(ArmTimes{2e-9, 1e-9, 0, 0}),
            "            T1-T2 =   0,000000001000                N1(t) - N2(t) =   000000000,0000");
  EXPECT_EQ(differenceLine(ArmTimes{1e-9, 1e-9, 0, 0}).substr(0, 23), "            T1-T2 =   0");
}

TEST(MichelsonTheoryTest, MeasuredArmsOrWholePath) {
  MichelsonInput in = defaults();
  in.T1[11] = 1e-6;
  in.T1[16] = 5e-6;
  in.T1[18] = 9e-6;
  in.T2[21] = 2e-6;
  in.T2[27] = 5.5e-6;
  in.T2[28] = 8e-6;
  ArmTimes whole = measuredTimes(in);
  EXPECT_DOUBLE_EQ(whole.T1, 9e-6);
  EXPECT_DOUBLE_EQ(whole.T2, 8e-6);
  in.comparative = true;
  ArmTimes arms = measuredTimes(in);
  EXPECT_DOUBLE_EQ(arms.T1, 4e-6);
  EXPECT_DOUBLE_EQ(arms.T2, 3.5e-6);
}

TEST(MichelsonTheoryTest, NoRunYetIsAFault) {
  MichelsonInput in;  // no light speed
  EXPECT_THROW(michelsonTimes(in), common::ArithmeticError);
  platform::Picture picture(720, 720);
  picture.scale(-14, 25, 16, -5);
  EXPECT_THROW(printMichelsonComparison(picture, in), common::ArithmeticError);
  // The area was cleared and the title printed before the fault.
  bool ink = false;
  for (int column = 0; column < 720 && !ink; ++column) {
    for (int row = static_cast<int>(picture.toPixelY(1)); row < picture.toPixelY(0.5) && !ink;
         ++row) {
      ink = picture.pixel(column, row) == platform::Rgb{0, 0, 0};
    }
  }
  EXPECT_TRUE(ink);
}

TEST(MichelsonTheoryTest, SecondPrintClearsTheArea) {
  platform::Picture picture(720, 720);
  picture.scale(-14, 25, 16, -5);
  picture.box(-10, -4.5, 10, -0.5, platform::rgb(255, 0, 0), true);
  printMichelsonComparison(picture, defaults());
  // Nothing red is left in the text area, and the lines are printed.
  int red = 0, black = 0;
  for (int column = 0; column < 720; ++column) {
    for (int row = static_cast<int>(picture.toPixelY(1)); row < picture.toPixelY(-5); ++row) {
      const platform::Rgb p = picture.pixel(column, row);
      red += p == platform::Rgb{255, 0, 0};
      black += p == platform::Rgb{0, 0, 0};
    }
  }
  EXPECT_EQ(red, 0);
  EXPECT_GT(black, 500);
}

}  // namespace
}  // namespace quorvel::experiment::model
