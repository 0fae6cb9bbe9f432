#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_runner.h"

namespace quorvel::cli {
namespace {

// The road from the window's rays to a measured fringe speed, as one quorvel-cli line.
TEST(CliInterference, DumpShowsTheValuesTheStartTheRunAndTheIntensities) {
  std::ostringstream out, err;
  CliRunner runner(out, err);
  const int status = runner.run({"click",
                                 "Form1.Command9",
                                 "set",
                                 "Form3.Text4=1,01",
                                 "click",
                                 "Form3.Command3",
                                 "set",
                                 "Form3.Check8=1",
                                 "set",
                                 "Form3.Text51=3",
                                 "set",
                                 "Form3.Check6=1",
                                 "click",
                                 "Form3.Command1",
                                 "mouse",
                                 "Form3.Picture10",
                                 "left",
                                 "10",
                                 "0,2",
                                 "activate",
                                 "Form1",
                                 "activate",
                                 "Form3",
                                 "mouse",
                                 "Form3.Picture10",
                                 "right",
                                 "30",
                                 "0,7",
                                 "click",
                                 "Form3.Command8"});
  ASSERT_EQ(status, 0) << err.str();
  const nlohmann::json dump = runner.dump("Form3");
  ASSERT_EQ(dump["forms"].size(), 1u);
  const nlohmann::json& data = dump["forms"][0]["data"];
  for (const char* key : {"Vs",  "v01", "v02", "nu1", "nu2", "V1e", "V2e", "Ve1", "Ve2", "X1e",
                          "X2e", "N10", "N20", "T1",  "T2",  "dT",  "A1e", "A2e", "Tn",  "Tk"}) {
    EXPECT_TRUE(data.contains(key)) << key;
  }
  EXPECT_DOUBLE_EQ(data["nu2"].get<double>(), 1.01e6);
  // The marks survive the activations: 20 graph units of MT/2 = 5E-3 s.
  EXPECT_DOUBLE_EQ(data["Tk"].get<double>() - data["Tn"].get<double>(), 0.1);
  EXPECT_NEAR(data["start"]["B"].get<double>(), 5.7368566e-6, 1e-12);
  for (const char* key : {"L0", "L1", "L2", "A1p", "A2p", "N1", "N2"}) {
    EXPECT_TRUE(data["start"].contains(key)) << key;
  }
  EXPECT_EQ(data["run"]["k"], 2);
  EXPECT_EQ(data["run"]["stepsDrawn"], 3);
  EXPECT_DOUBLE_EQ(data["run"]["T"].get<double>(), 1e-2 + 2e-9);
  ASSERT_EQ(data["lastIntensities"].size(), 2u);
  EXPECT_EQ(data["lastIntensities"][0].size(), 501u);
  EXPECT_NEAR(data["lastIntensities"][0][250].get<double>(), 255.04, 0.001);
  EXPECT_TRUE(dump["messages"].empty());

  std::ostringstream out2, err2;
  CliRunner bad(out2, err2);
  EXPECT_EQ(bad.run({"activate", "Form3"}), 2);
  EXPECT_NE(err2.str().find("form 'Form3' is not open"), std::string::npos);
}

}  // namespace
}  // namespace quorvel::cli
