#include "app/scheduler/scheduler_tick.h"

#include "app/scheduler/schedule_overlap.h"

namespace brontel {
namespace {

// The moment `at` was reached by this tick and not by the one before. The
// first tick reaches only its own second.
bool Reached(DateTime at, const SchedulerView& view, const SchedulerMemory& memory) {
  if (view.now < at) return false;
  return memory.lastTick ? *memory.lastTick < at : view.now == at;
}

// The stop of the occurrence starting at `start`. The entry's own rule
// gives it; an entry lasting a whole day has its stop at the time of day of
// its start, which that rule reads as the start itself, so the stored
// duration decides then.
DateTime OccurrenceStop(const ScheItem& item, DateTime start, DateTime now) {
  const DateTime stop = now + SecondsToScheStop(item, now);
  if (stop > start) return stop;
  return start + (item.tStopDateTime - item.tStartDateTime);
}

}  // namespace

unsigned BlinkPeriodMs(int kind) {
  switch (kind) {
    case kBlinkSlow:
      return kBlinkSlowMs;
    case kBlinkFast:
      return kBlinkFastMs;
    default:
      return 0;
  }
}

SchedulerPlan PlanSchedulerTick(const ScheSetGroup& schedule, const SchedulerView& view,
                                SchedulerMemory* memory) {
  SchedulerPlan plan;
  std::int32_t runMode = view.lRunMode;
  bool blocked = view.bScheBlocked;
  plan.next = FindNextScheItem(schedule, view.now);

  // Whoever stopped the preparation, that occurrence is not prepared again.
  if (memory->prepared && runMode != 1) {
    memory->prepared = false;
    plan.preparationStopped = !blocked;
    blocked = true;
  }

  if (!plan.next) {
    if (runMode == 0) plan.indicator = IndicatorPlan::kHide;
  } else {
    const NextScheItem& next = *plan.next;
    const DateTime start = view.now + next.seconds;
    plan.indicator = IndicatorPlan::kShow;

    if (runMode != 0 && !view.bAskingBusy && Reached(start - kScheWarnSeconds, view, *memory)) {
      plan.warnBusy = true;
    }

    if (next.seconds > kSchePrepareSeconds) {
      plan.clearBlocked = blocked;
      blocked = false;
    }
    if (blocked && next.item.sfType == kScheOnce) plan.indicator = IndicatorPlan::kHide;

    if (next.seconds <= kSchePrepareSeconds && runMode == 0 && !blocked) {
      plan.prepare = true;
      runMode = 1;
      memory->activeStart = start;
      memory->activeStop = OccurrenceStop(next.item, start, view.now);
      memory->startTried = false;
      memory->prepared = true;
    }
  }

  // The prepared occurrence starts 3 s ahead, or as soon as a late tick
  // comes while it still runs. A failed start is not tried again.
  if (runMode == 1 && !memory->startTried && view.now >= memory->activeStart - kScheStartSeconds &&
      view.now < memory->activeStop) {
    plan.startRecording = true;
    memory->startTried = true;
    memory->prepared = false;
  }

  if (view.bScheRecording && view.now >= memory->activeStop) plan.endRecording = true;

  memory->lastTick = view.now;
  return plan;
}

WakeEndPlan PlanWakeEnd(const ScheSetGroup& schedule, DateTime now, bool bWakeNotice) {
  WakeEndPlan plan;
  if (bWakeNotice) return plan;
  const std::optional<NextScheItem> next = FindNextScheItem(schedule, now);
  if (next && next->seconds < kWakeEndStaySeconds) return plan;
  plan.ask = true;
  plan.laterEntry = next.has_value();
  plan.textId = plan.laterEntry ? kMsgWakeEndHandOver : kMsgWakeEndPowerOff;
  return plan;
}

}  // namespace brontel
