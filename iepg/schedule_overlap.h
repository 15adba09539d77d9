#pragma once
// The checks the handler makes on a new schedule entry when it appends the
// entry itself, and the overlap rules between two entries.

#include <cstdint>

#include "app/settings/settings_values.h"

namespace brontel {

struct ScheItem;
struct ScheSetGroup;

// Repetition kinds ("sfType").
constexpr std::int32_t kScheOnce = 0;
constexpr std::int32_t kScheWeekly = 1;
constexpr std::int32_t kScheDaily = 2;

// Message numbers of the handler's string table for the checks.
constexpr int kMsgStartPassed = 116;
constexpr int kMsgStartAfterStop = 117;
constexpr int kMsgOverlap = 121;
constexpr int kMsgTooShort = 122;
constexpr int kMsgScheduleFull = 123;
constexpr int kMsgNoChannel = 124;

// A closed interval; the bounds belong to it.
struct Interval {
  std::int64_t first = 0;
  std::int64_t last = 0;
};
bool IntervalsOverlap(const Interval& a, const Interval& b);

// Start and stop in seconds.
Interval DateTimeInterval(const ScheItem& item);
// Weekdays 1 (Sunday) to 7 (Saturday); a stop before the start lies in the
// next week.
Interval WeekdayInterval(const ScheItem& item);
// Minutes of the day; a stop before the start lies on the next day.
Interval TimeOfDayInterval(const ScheItem& item);

// Whether a new entry collides with an existing one, by their kinds.
bool ScheItemsOverlap(const ScheItem& newItem, const ScheItem& existing);

// The message number of the first check the entry fails, 0 when it passes.
// Only the first lScheItemCount entries of the schedule are looked at.
int CheckNewScheItem(const ScheItem& item, DateTime now, const ScheSetGroup& schedule);

}  // namespace brontel
