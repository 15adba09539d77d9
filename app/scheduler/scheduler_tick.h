#pragma once
// The one-second scheduler tick as decisions over "now": which entry comes
// next, when the user is warned, when an entry is prepared, when its
// recording starts and when it ends. The main dialog reads the clock once
// per tick and carries the plan out.
//
// The window timer that drives the tick drifts and skips under load, so a
// tick can come at 2 s before a start instead of 3 s. Every moment here is
// therefore a point in time that counts as reached once a tick at or after
// it comes, checked against the tick before, never an equality of seconds.

#include <cstdint>
#include <optional>

#include "app/scheduler/schedule_times.h"
#include "app/settings/app_settings.h"
#include "app/settings/settings_values.h"

namespace brontel {

constexpr std::int64_t kScheWarnSeconds = 180;
constexpr std::int64_t kSchePrepareSeconds = 60;
constexpr std::int64_t kScheStartSeconds = 3;

// Blink kinds of the schedule indicator: 2 every 1000 ms, 3 every 500 ms;
// any other kind stops blinking and hides it.
constexpr int kBlinkSlow = 2;
constexpr int kBlinkFast = 3;
constexpr int kBlinkOff = 0;
constexpr unsigned kBlinkSlowMs = 1000;
constexpr unsigned kBlinkFastMs = 500;
// The toggle period of a blink kind, 0 for a kind that does not blink.
unsigned BlinkPeriodMs(int kind);

// What the dialog knows at a tick.
struct SchedulerView {
  DateTime now = 0;
  std::int32_t lRunMode = 0;
  bool bScheRecording = false;
  bool bScheBlocked = false;
  bool bAskingBusy = false;
};

// What the tick keeps from one tick to the next.
struct SchedulerMemory {
  std::optional<DateTime> lastTick;
  // The occurrence that is prepared or recorded: its start and stop.
  DateTime activeStart = 0;
  DateTime activeStop = 0;
  bool startTried = false;
  // Prepared and waiting for its start.
  bool prepared = false;
};

enum class IndicatorPlan {
  kUnchanged,
  kHide,  // also stops a blink
  kShow,  // shown; a blink goes on
};

struct SchedulerPlan {
  std::optional<NextScheItem> next;
  IndicatorPlan indicator = IndicatorPlan::kUnchanged;
  bool clearBlocked = false;
  // The prepared entry was stopped before its start (lRunMode left 1):
  // stop blinking and block that occurrence.
  bool preparationStopped = false;
  // Dialog 147: something runs while an entry is three minutes away.
  bool warnBusy = false;
  // Copy `next` into ActiveScheItem, blink fast and tune it.
  bool prepare = false;
  // Stop blinking, show steady and start the recording for the scheduler.
  bool startRecording = false;
  // Mark ActiveScheItem completed, stop, clear the time areas.
  bool endRecording = false;
};

// One tick: steps in their order, each seeing what the earlier ones decided.
// `memory` is updated for the next tick.
SchedulerPlan PlanSchedulerTick(const ScheSetGroup& schedule, const SchedulerView& view,
                                SchedulerMemory* memory);

// After a recording that woke the PC (timer 710).
struct WakeEndPlan {
  bool ask = false;         // show the countdown dialog
  bool laterEntry = false;  // hand over to the power manager, else power off
  int textId = 0;           // the dialog's format string
};
constexpr int kMsgWakeEndPowerOff = 297;
constexpr int kMsgWakeEndHandOver = 298;
constexpr int kWakeEndCountdownSeconds = 10;
// An entry this close keeps the program running for it.
constexpr std::int64_t kWakeEndStaySeconds = 600;
WakeEndPlan PlanWakeEnd(const ScheSetGroup& schedule, DateTime now, bool bWakeNotice);

}  // namespace brontel
