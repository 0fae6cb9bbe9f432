#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "cli/cli_runner.h"
#include "video_test_support.h"

namespace quorvel::viewer {
namespace {

using testing_support::TempFolder;

// quorvel-cli drives the viewer by name: open it from the main window, open a video, step
// it by the timer and dump the window's state.
TEST(Form6Cli, OpensAVideoStepsAndDumps) {
  TempFolder folder("cli");
  const std::string video = folder.file("demo.avi");
  testing_support::writeVideo(video, video::DemoCodec::Mjpeg, 30, 1);
  std::ostringstream out;
  std::ostringstream err;
  cli::CliRunner runner(out, err);
  const int status =
      runner.run({"--program-folder", folder.path().string(), "click", "Form1.Command18", "file",
                  video, "click", "Form6.Command7", "set", "Form6.Text4=10", "click",
                  "Form6.Command8", "wait", "50", "dump", "Form6"});
  ASSERT_EQ(status, 0) << err.str();
  EXPECT_EQ(err.str(), "");
  const auto dump = nlohmann::json::parse(out.str());
  const auto& form = dump["forms"][0];
  EXPECT_EQ(form["name"], "Form6");
  const auto& data = form["data"];
  EXPECT_EQ(data["videoFile"], video);
  EXPECT_EQ(data["Nmax"], 30);
  EXPECT_EQ(data["N"], 15);
  EXPECT_EQ(data["timer"]["enabled"], true);
  EXPECT_EQ(data["timer"]["interval"], 10);
  EXPECT_EQ(data["frameImage"], (folder.path() / "Frame.bmp").string());
  EXPECT_EQ(data["point1"], nullptr);
  std::map<std::string, std::string> shown;
  for (const auto& control : form["controls"]) {
    shown[control["name"]] = control.value("caption", control.value("text", std::string()));
  }
  EXPECT_EQ(shown["Label6"], "Nmax= 30 кадров");
  EXPECT_EQ(shown["Text14"], "15");
}

}  // namespace
}  // namespace quorvel::viewer
