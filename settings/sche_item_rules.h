#pragma once
// The schedule editor's rules: what a new entry starts as, and how the
// editor's fields become an entry for each kind of repetition.

#include <cstdint>
#include <string>

#include "app/scheduler/schedule_overlap.h"
#include "app/scheduler/schedule_validation.h"
#include "app/settings/app_settings.h"
#include "app/vocabulary/source_numbers.h"

namespace brontel {

// The video inputs have no channel; their entries carry this number.
constexpr std::int32_t kVideoInputChannel = 999;

// The editor's fields, as the checks of an entry examine them.
struct ScheItemRequest {
  int index = kScheNewEntry;  // the entry edited, or a new one
  std::int32_t source = kSourceTv;
  std::string description;
  std::int32_t channel = 0;  // kScheChannelNone when none could be chosen
  std::int32_t repetition = kScheOnce;
  // Local times: a once entry takes its dates from the date fields, every
  // kind its hour and minute from the time fields.
  DateTime startDate = 0;
  DateTime startTime = 0;
  DateTime stopDate = 0;
  DateTime stopTime = 0;
  int weekday = 0;  // weekly entries: 0 Sunday to 6 Saturday
  bool overnight = false;
  std::int32_t captureMode = 1;
  bool multiple = false;
  std::int32_t splitKind = kSplitByTime;
  std::int32_t timeLimitSec = 1800;
  std::int32_t sizeLimitMB = 100;
};

// A new entry: once, today from 12:00 to 12:00, quality 1, split off (by
// time, 30 minutes, or 100 MB).
ScheItemRequest NewScheItemRequest(DateTime now);
// The fields that show entry `index` of the table.
ScheItemRequest RequestForScheItem(const ScheItem& item, int index);

// The entry the fields describe, as of `now`. Once: the dates and times as
// given. Weekly: the next chosen weekday (today while the start is still
// ahead). Daily: today, or tomorrow when the start has passed. The overnight
// box puts the stop of a weekly or daily entry on the following day. The
// channel name is left empty, and the entry has not run.
ScheItem ScheItemFromRequest(const ScheItemRequest& request, DateTime now);

// Days from today (weekday `today`) to the occurrence on `chosen`, 1 to 7,
// or 0 when the chosen day is today and its start still lies ahead.
int WeeklyDayOffset(int chosen, int today, bool startAheadToday);

// The split size field: thousands separators are dropped first ("1,024").
std::int32_t ParseSizeLimitText(const std::string& text);
// Hours and minutes of the split time.
inline std::int32_t SplitSeconds(std::int32_t hours, std::int32_t minutes) {
  return hours * 3600 + minutes * 60;
}

// Leading and trailing blanks, tabs and line breaks removed.
std::string TrimBlanks(const std::string& text);

}  // namespace brontel
