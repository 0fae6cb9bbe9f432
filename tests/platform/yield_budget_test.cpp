#include <gtest/gtest.h>

#include "common/shared.h"
#include "platform/headless/headless_host.h"

namespace quorvel::platform {
namespace {

// A loop bounded by its yields: it hears the stop at the budget, and one deaf to it is
// unwound at the cap and noted.
TEST(YieldBudget, StopsAtTheBudgetAndGivesUpAtTheCap) {
  HeadlessHost host;
  auto& stop = common::shared().StopRequested;
  stop = 0;
  host.doEvents();
  host.setYieldBudget(3, 10);
  int heard = 0;
  for (int i = 1; i <= 5; ++i) {
    host.doEvents();
    if (stop == 1 && heard == 0) heard = i;
  }
  EXPECT_EQ(heard, 3);
  EXPECT_FALSE(host.yieldCapReached());

  stop = 0;
  int yields = 5;
  EXPECT_THROW(
      for (;;) {
        host.doEvents();
        ++yields;
        stop = 0;  // a loop that does not hear the stop
      },
      HeadlessHost::YieldCapReached);
  EXPECT_EQ(yields, 9);
  EXPECT_TRUE(host.yieldCapReached());

  // Without a budget nothing is raised.
  host.setYieldBudget(-1, -1);
  stop = 0;
  for (int i = 0; i < 100; ++i) host.doEvents();
  EXPECT_EQ(stop, 0);
}

}  // namespace
}  // namespace quorvel::platform
