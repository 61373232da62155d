#include "game/interval_timer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Timers : public ::testing::Test {
protected:
  Virtual_Clock Clock;
  std::vector<std::string> Log;
  int Counter = 1;
  Interval_Timer A{Clock, "A", [this] { Log.push_back("A@" + std::to_string(Clock.Now())); }};
  Interval_Timer B{Clock, "B", [this] { Log.push_back("B@" + std::to_string(Clock.Now())); }};
};

TEST_F(Timers, SameIntervalOrEnabledAgainDoesNotRestart) {
  A.Set_Interval(300);
  A.Set_Enabled(true);
  Clock.Advance(200);
  A.Set_Interval(300);
  A.Set_Enabled(true);
  Clock.Advance(150);
  EXPECT_EQ(Log, (std::vector<std::string>{"A@300"}));
}

TEST_F(Timers, ADifferentIntervalRestartsTheRunningPeriod) {
  A.Set_Interval(300);
  A.Set_Enabled(true);
  Clock.Advance(200);
  A.Set_Interval(100);
  Clock.Advance(250);
  EXPECT_EQ(Log, (std::vector<std::string>{"A@300", "A@400"}));
}

TEST_F(Timers, IntervalZeroGivesNoTicksAndDisabledTimersStaySilent) {
  A.Set_Enabled(true);
  Clock.Advance(1000);
  EXPECT_TRUE(Log.empty());
  A.Set_Interval(50);
  Clock.Advance(50);
  A.Set_Enabled(false);
  Clock.Advance(1000);
  EXPECT_EQ(Log, (std::vector<std::string>{"A@1050"}));
}

TEST_F(Timers, TiesFireInTheOrderTheTimersWereArmed) {
  B.Set_Interval(100);
  B.Set_Enabled(true);
  A.Set_Interval(50);
  A.Set_Enabled(true);
  Clock.Advance(100);
  EXPECT_EQ(Log, (std::vector<std::string>{"A@50", "B@100", "A@100"}));
}

TEST(TimerTickRule, TheCounterAdvancesOnATickThatStopsTheTimer) {
  Virtual_Clock clock;
  int step = 1;
  std::vector<int> performed;
  Interval_Timer* self = nullptr;
  Interval_Timer timer(clock, "Seq", [&] {
    performed.push_back(step);
    if (step == 2) self->Set_Interval(500); // the next tick follows 500 ms after this one
    if (step == 3) self->Set_Enabled(false);
    ++step;
  });
  self = &timer;
  timer.Set_Interval(100);
  timer.Set_Enabled(true);
  clock.Advance(100);
  EXPECT_EQ(performed, (std::vector<int>{1}));
  clock.Advance(100);
  clock.Advance(499);
  EXPECT_EQ(performed, (std::vector<int>{1, 2}));
  clock.Advance(1);
  EXPECT_EQ(clock.Now(), 700);
  EXPECT_EQ(performed, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(step, 4);
  EXPECT_FALSE(timer.Enabled());
  EXPECT_EQ(clock.Next_Due(), -1);
}

TEST(TimerTickRule, AHandlerThatStopsAnotherTimerDueAtTheSameTimeWins) {
  Virtual_Clock clock;
  std::vector<std::string> log;
  Interval_Timer* second = nullptr;
  Interval_Timer first(clock, "first", [&] {
    log.push_back("first");
    second->Set_Enabled(false);
  });
  Interval_Timer other(clock, "second", [&] { log.push_back("second"); });
  second = &other;
  first.Set_Interval(100);
  first.Set_Enabled(true);
  other.Set_Interval(100);
  other.Set_Enabled(true);
  clock.Advance(100);
  EXPECT_EQ(log, (std::vector<std::string>{"first"}));
}

} // namespace
