// Closing a window while its long handler runs: by its own close button or by the window's
// close box, the handler hears the stop within a few yields and the window is gone when it
// returns. Every long loop of the program is here (the Earth's motion, a run, the continuous
// experiment, the interference computation); the video's loops are in the viewer's tests.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "common/shared.h"
#include "platform/app.h"

namespace quorvel::cli {
namespace {

struct LongHandler {
  const char* what;
  std::vector<std::string> before;  // commands that lead to the handler
  const char* window;
  const char* start;  // the button that starts the loop
  const char* close;  // the window's close button, or nullptr for its close box
};

const LongHandler kHandlers[] = {
    {"the Earth's motion", {}, "Form1", "Command11", nullptr},
    {"a beam splitter run",
     {"click", "Form1.Command1", "set", "Form4.Option1=1"},
     "Form4",
     "Command7",
     "Command16"},
    {"a prism run",
     {"click", "Form1.Command1", "set", "Form4.Option8=1"},
     "Form4",
     "Command7",
     nullptr},
    {"the continuous experiment",
     {"click", "Form1.Command1", "set", "Form4.Option1=1", "click", "Form4.Command7"},
     "Form4",
     "Command1",
     "Command16"},
    {"the interference computation",
     {"click", "Form1.Command1", "set", "Form4.Option1=1", "click", "Form4.Command7", "click",
      "Form4.Command9", "click", "Form3.Command3"},
     "Form3",
     "Command1",
     "Command16"},
};

TEST(CloseMidRun, EveryLongHandlerStopsAndItsWindowCloses) {
  constexpr int kCloseAt = 3;     // the yield at which the user closes the window
  constexpr int kMostAfter = 10;  // yields the handler may take to hear it (a run: its refresh)
  for (const LongHandler& h : kHandlers) {
    SCOPED_TRACE(std::string(h.what) + (h.close ? ", close button" : ", close box"));
    std::ostringstream out, err;
    CliRunner runner(out, err);
    runner.app().windows().show("Form1");
    common::shared().StopRequested = 0;
    if (!h.before.empty()) {
      ASSERT_EQ(runner.runCommands(h.before), 0) << err.str();
    }
    platform::Form* form = runner.app().windows().find(h.window);
    ASSERT_NE(form, nullptr);
    int yields = 0;
    runner.host().onDoEvents = [&] {
      if (++yields != kCloseAt) return;
      if (h.close) {
        form->click(*form->find(h.close));
      } else {
        runner.app().windows().requestClose(h.window);
      }
    };
    form->click(*form->find(h.start));
    runner.host().onDoEvents = nullptr;
    EXPECT_GE(yields, kCloseAt) << "the handler ended before the window was closed";
    EXPECT_LE(yields, kCloseAt + kMostAfter);
    EXPECT_EQ(runner.app().windows().find(h.window), nullptr);
  }
}

}  // namespace
}  // namespace quorvel::cli
