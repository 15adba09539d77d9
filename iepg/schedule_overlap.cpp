#include "iepg/schedule_overlap.h"

#include <algorithm>

#include "app/settings/app_settings.h"
#include "iepg/iepg_parser.h"

namespace brontel {
namespace {

constexpr int kDaysPerWeek = 7;
constexpr int kMinimumCaptureSeconds = 60;
constexpr int kMinutesPerHour = 60;

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

}  // namespace

bool IntervalsOverlap(const Interval& a, const Interval& b) {
  return (b.first <= a.first && a.first <= b.last) || (b.first <= a.last && a.last <= b.last) ||
         (a.first <= b.first && b.last <= a.last);
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

bool ScheItemsOverlap(const ScheItem& newItem, const ScheItem& existing) {
  switch (newItem.sfType) {
    case kScheOnce:
    case kScheWeekly:
      switch (existing.sfType) {
        case kScheOnce:
          if (newItem.sfType == kScheOnce) {
            return IntervalsOverlap(DateTimeInterval(newItem), DateTimeInterval(existing));
          }
          return WeekdayAndTimeOfDayOverlap(newItem, existing);
        case kScheWeekly:
          return WeekdayAndTimeOfDayOverlap(newItem, existing);
        case kScheDaily:
          return TimeOfDayOverlap(newItem, existing);
        default:
          return false;
      }
    case kScheDaily:
      // A daily entry meets every other entry on some day.
      return TimeOfDayOverlap(newItem, existing);
    default:
      return false;
  }
}

int CheckNewScheItem(const ScheItem& item, DateTime now, const ScheSetGroup& schedule) {
  if (item.lChn == kNoChannel) return kMsgNoChannel;
  if (item.tStartDateTime <= now) return kMsgStartPassed;
  if (item.tStartDateTime > item.tStopDateTime) return kMsgStartAfterStop;
  if (item.tStopDateTime - item.tStartDateTime < kMinimumCaptureSeconds) return kMsgTooShort;
  const int count = std::clamp<std::int32_t>(schedule.lScheItemCount, 0,
                                             static_cast<std::int32_t>(schedule.items.size()));
  for (int i = 0; i < count; ++i) {
    if (ScheItemsOverlap(item, schedule.items[static_cast<std::size_t>(i)])) return kMsgOverlap;
  }
  return 0;
}

}  // namespace brontel
