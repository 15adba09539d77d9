#include "app/scheduler/scheduler_tick.h"

#include <gtest/gtest.h>

#include "sche_entries.h"

namespace brontel {
namespace {

using test::At;
using test::Entry;

const DateTime kStart = At(7, 21, 0);
constexpr int kNever = 999;

// Ticks at the given seconds before kStart, with what the dialog would do
// in between: preparing sets lRunMode 1, a started recording 2.
struct TickRun {
  ScheSetGroup schedule = test::Schedule({Entry(kScheOnce, kStart, 600)});
  SchedulerView view;
  SchedulerMemory memory;
  SchedulerPlan Tick(DateTime now) {
    view.now = now;
    SchedulerPlan plan = PlanSchedulerTick(schedule, view, &memory);
    if (plan.preparationStopped) view.bScheBlocked = true;
    if (plan.clearBlocked) view.bScheBlocked = false;
    if (plan.prepare) view.lRunMode = 1;
    if (plan.startRecording) {
      view.lRunMode = 2;
      view.bScheRecording = true;
    }
    if (plan.endRecording) {
      view.lRunMode = 0;
      view.bScheRecording = false;
    }
    return plan;
  }
};

TEST(SchedulerTick, ThresholdsHoldWhenTicksComeLate) {
  const struct {
    const char* name;
    std::vector<int> secondsBefore;  // tick times, seconds before the start
    int warnAt, prepareAt, startAt;  // kNever: never
  } cases[] = {
      {"on time", {181, 180, 179, 61, 60, 59, 4, 3, 2}, 180, 60, 3},
      {"late over each moment", {181, 179, 61, 59, 4, 2}, 179, 59, 2},
      {"from before preparing to after the start mark", {61, 2}, kNever, 2, 2},
      {"past the start while prepared", {61, 60, 5, -1}, kNever, 60, -1},
      {"first tick inside the warning time", {150, 60, 3}, kNever, 60, 3},
  };
  for (const auto& c : cases) {
    TickRun run;
    run.view.lRunMode = 4;  // time shift runs until the warning
    int warnAt = kNever, prepareAt = kNever, startAt = kNever;
    for (int before : c.secondsBefore) {
      if (before < 61 && run.view.lRunMode == 4) run.view.lRunMode = 0;
      const SchedulerPlan plan = run.Tick(kStart - before);
      if (plan.warnBusy) warnAt = before;
      if (plan.prepare) prepareAt = before;
      if (plan.startRecording) startAt = before;
    }
    EXPECT_EQ(warnAt, c.warnAt) << c.name;
    EXPECT_EQ(prepareAt, c.prepareAt) << c.name;
    EXPECT_EQ(startAt, c.startAt) << c.name;
  }
}

TEST(SchedulerTick, StopsAtTheStopEvenWhenTheTickIsLate) {
  TickRun run;
  run.schedule = test::Schedule({Entry(kScheWeekly, kStart, 600)});
  run.Tick(kStart - 60);
  ASSERT_TRUE(run.Tick(kStart - 3).startRecording);
  EXPECT_FALSE(run.Tick(kStart + 599).endRecording);
  // The weekly rule alone would now look a week ahead.
  EXPECT_TRUE(run.Tick(kStart + 601).endRecording);
}

TEST(SchedulerTick, AFailedStartIsNotRepeated) {
  TickRun run;
  run.Tick(kStart - 60);
  EXPECT_TRUE(run.Tick(kStart - 3).startRecording);
  run.view.lRunMode = 1;  // the recording did not start
  run.view.bScheRecording = false;
  EXPECT_FALSE(run.Tick(kStart - 2).startRecording);
}

TEST(SchedulerTick, AStoppedPreparationBlocksThatOccurrenceOnly) {
  TickRun run;
  run.schedule = test::Schedule({Entry(kScheDaily, kStart, 600)});
  EXPECT_TRUE(run.Tick(kStart - 60).prepare);
  run.view.lRunMode = 0;  // the user stopped
  const SchedulerPlan blocked = run.Tick(kStart - 30);
  EXPECT_TRUE(blocked.preparationStopped);
  EXPECT_FALSE(blocked.prepare);
  EXPECT_FALSE(blocked.startRecording);
  EXPECT_EQ(blocked.indicator, IndicatorPlan::kShow);  // a repeating entry stays shown
  EXPECT_TRUE(run.Tick(kStart + 1).clearBlocked);      // tomorrow's is more than 60 s away
  EXPECT_TRUE(run.Tick(kStart + 86400 - 60).prepare);
}

TEST(SchedulerTick, Indicator) {
  TickRun run;
  EXPECT_EQ(run.Tick(kStart - 100).indicator, IndicatorPlan::kShow);
  run.view.bScheBlocked = true;
  EXPECT_EQ(run.Tick(kStart - 50).indicator, IndicatorPlan::kHide);  // a blocked one-time entry
  run.schedule.lScheItemCount = 0;
  EXPECT_EQ(run.Tick(kStart - 40).indicator, IndicatorPlan::kHide);
  run.view.lRunMode = 3;
  EXPECT_EQ(run.Tick(kStart - 30).indicator, IndicatorPlan::kUnchanged);
  EXPECT_EQ(BlinkPeriodMs(kBlinkSlow), 1000u);
  EXPECT_EQ(BlinkPeriodMs(kBlinkFast), 500u);
  EXPECT_EQ(BlinkPeriodMs(1), 0u);
}

TEST(WakeEnd, DecisionByTheNextEntry) {
  const DateTime now = At(7, 22, 0);
  const struct {
    const char* name;
    std::int64_t nextIn;  // -1: none
    bool wakeNotice;
    bool ask, later;
    int text;
  } cases[] = {
      {"next in 9 minutes: stay", 540, false, false, false, 0},
      {"next in 10 minutes", 600, false, true, true, kMsgWakeEndHandOver},
      {"none: power off", -1, false, true, false, kMsgWakeEndPowerOff},
      {"wake notice set", -1, true, false, false, 0},
  };
  for (const auto& c : cases) {
    ScheSetGroup schedule;
    if (c.nextIn >= 0) schedule = test::Schedule({Entry(kScheOnce, now + c.nextIn, 600)});
    const WakeEndPlan plan = PlanWakeEnd(schedule, now, c.wakeNotice);
    EXPECT_EQ(plan.ask, c.ask) << c.name;
    EXPECT_EQ(plan.laterEntry, c.later) << c.name;
    EXPECT_EQ(plan.textId, c.text) << c.name;
  }
}

}  // namespace
}  // namespace brontel
