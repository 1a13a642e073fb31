// Form timers on a clock that tests move by hand.

#include <gtest/gtest.h>

#include "forms/forms.h"

using namespace forms;

namespace {
class Basic : public Form {
 public:
  Basic() : Form(":/test/forms/Basic.json") {}
};
}  // namespace

TEST(Clock, TimersTickExactlyOnTheManualClock) {
  ManualClock clock;
  Basic f;
  auto& t = f.Get<FormTimer>("Timer1");
  int ticks = 0;
  t.Timer = [&] { ++ticks; };
  clock.Advance(1000);
  EXPECT_EQ(ticks, 0);  // disabled at design
  t.Enabled(true);
  clock.Advance(99);
  EXPECT_EQ(ticks, 0);
  clock.Advance(1);
  EXPECT_EQ(ticks, 1);
  clock.Advance(1000);
  EXPECT_EQ(ticks, 11);
  // A new interval starts counting again from now.
  t.Interval(60);
  clock.Advance(59);
  EXPECT_EQ(ticks, 11);
  clock.Advance(1);
  EXPECT_EQ(ticks, 12);
  t.Enabled(false);
  clock.Advance(600);
  EXPECT_EQ(ticks, 12);
  t.Interval(0);
  t.Enabled(true);
  clock.Advance(600);
  EXPECT_EQ(ticks, 12);  // no interval, no ticks
  EXPECT_THROW(t.Interval(-1), RuntimeError);
}

TEST(Clock, TicksRunInTimeOrderAndTimersMayStopAndStartEachOther) {
  ManualClock clock;
  std::vector<std::string> log;
  std::unique_ptr<TimerSlot> fast, slow, late;
  fast = clock.Start(30, [&] {
    log.push_back("fast@" + std::to_string(static_cast<int>(clock.NowMs())));
    if (clock.NowMs() >= 90) fast.reset();  // stops itself
  });
  slow = clock.Start(50, [&] {
    log.push_back("slow@" + std::to_string(static_cast<int>(clock.NowMs())));
    if (!late)
      late = clock.Start(
          5, [&] { log.push_back("late@" + std::to_string(static_cast<int>(clock.NowMs()))); });
  });
  clock.Advance(100);
  EXPECT_EQ(log,
            (std::vector<std::string>{"fast@30", "slow@50", "late@55", "fast@60", "late@60",
                                      "late@65", "late@70", "late@75", "late@80", "late@85",
                                      "fast@90", "late@90", "late@95", "slow@100", "late@100"}));
  EXPECT_EQ(clock.ActiveTimers(), 2);
}
