#include "app/scheduler/schedule_overlap.h"

#include "app/settings/app_settings.h"
#include "app/settings/settings_values.h"

namespace brontel {
namespace {

constexpr int kMinutesPerHour = 60;
constexpr int kMinutesPerDay = 1440;
constexpr int kDaysPerWeek = 7;

// Adds `period` to the stop when it comes before the start.
Interval Wrapped(std::int64_t first, std::int64_t last, std::int64_t period) {
  if (last < first) last += period;
  return Interval{first, last};
}

bool WeekdayAndTimeOfDayOverlap(const ScheItem& a, const ScheItem& b) {
  return IntervalsOverlap(WeekdayInterval(a), WeekdayInterval(b)) &&
         IntervalsOverlap(TimeOfDayInterval(a), TimeOfDayInterval(b));
}

bool TimeOfDayOverlap(const ScheItem& a, const ScheItem& b) {
  return IntervalsOverlap(TimeOfDayInterval(a), TimeOfDayInterval(b));
}

bool NewWeeklyOverlaps(const ScheItem& newItem, const ScheItem& existing, OverlapRules rules) {
  if (existing.sfType == kScheDaily) return TimeOfDayOverlap(newItem, existing);
  if (existing.sfType != kScheOnce && existing.sfType != kScheWeekly) return false;
  if (rules == OverlapRules::kMainProgram &&
      (newItem.bOvernight != 0 || existing.bOvernight != 0)) {
    return OpenIntervalsOverlap(DateTimeInterval(newItem), DateTimeInterval(existing));
  }
  return WeekdayAndTimeOfDayOverlap(newItem, existing);
}

}  // namespace

bool IntervalsOverlap(const Interval& a, const Interval& b) {
  return (b.first <= a.first && a.first <= b.last) || (b.first <= a.last && a.last <= b.last) ||
         (a.first <= b.first && b.last <= a.last);
}

// Two entries with the same start, or the same stop, still share the board
// for a while, so they meet even though no bound lies strictly inside the
// other interval.
bool OpenIntervalsOverlap(const Interval& a, const Interval& b) {
  return a.first < b.last && b.first < a.last;
}

Interval DateTimeInterval(const ScheItem& item) {
  return Interval{item.tStartDateTime, item.tStopDateTime};
}

Interval WeekdayInterval(const ScheItem& item) {
  return Wrapped(SplitLocalDateTime(item.tStartDateTime).weekday + 1,
                 SplitLocalDateTime(item.tStopDateTime).weekday + 1, kDaysPerWeek);
}

Interval TimeOfDayInterval(const ScheItem& item) {
  const LocalTimeParts start = SplitLocalDateTime(item.tStartDateTime);
  const LocalTimeParts stop = SplitLocalDateTime(item.tStopDateTime);
  return Wrapped(start.hour * kMinutesPerHour + start.minute,
                 stop.hour * kMinutesPerHour + stop.minute, kMinutesPerDay);
}

bool ScheItemsOverlap(const ScheItem& newItem, const ScheItem& existing, OverlapRules rules) {
  switch (newItem.sfType) {
    case kScheOnce:
      switch (existing.sfType) {
        case kScheOnce:
          return IntervalsOverlap(DateTimeInterval(newItem), DateTimeInterval(existing));
        case kScheWeekly:
          return WeekdayAndTimeOfDayOverlap(newItem, existing);
        case kScheDaily:
          return TimeOfDayOverlap(newItem, existing);
        default:
          return false;
      }
    case kScheWeekly:
      return NewWeeklyOverlaps(newItem, existing, rules);
    case kScheDaily:
      // A daily entry meets every other entry on some day.
      return TimeOfDayOverlap(newItem, existing);
    default:
      return false;
  }
}

}  // namespace brontel
