#include "app/scheduler/schedule_times.h"

#include <algorithm>

#include "app/scheduler/schedule_overlap.h"

namespace brontel {
namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kSecondsPerHour = 3600;

// Today's date (of `now`) at the hour and minute of `time`.
DateTime TodayAt(DateTime now, DateTime time) {
  const LocalTimeParts today = SplitLocalDateTime(now);
  const LocalTimeParts at = SplitLocalDateTime(time);
  const DateTime midnight =
      now - today.hour * kSecondsPerHour - today.minute * kSecondsPerMinute - today.second;
  return midnight + at.hour * kSecondsPerHour + at.minute * kSecondsPerMinute;
}

// Days from today's weekday forward to the weekday of `time`, 0 to 6.
int DaysToWeekdayOf(DateTime now, DateTime time) {
  const int d = SplitLocalDateTime(time).weekday - SplitLocalDateTime(now).weekday;
  return d < 0 ? d + 7 : d;
}

// The weekly rule for a start (or a stop that is not overnight): the next
// such weekday at that time, a week on when today's has passed.
DateTime NextWeekly(DateTime now, DateTime weekdayFrom, DateTime timeFrom) {
  const DateTime today = TodayAt(now, timeFrom);
  const int d = DaysToWeekdayOf(now, weekdayFrom);
  if (d != 0) return today + d * kSecondsPerDay;
  return today < now ? today + kSecondsPerWeek : today;
}

}  // namespace

std::optional<DateTime> NextScheStart(const ScheItem& item, DateTime now) {
  switch (item.sfType) {
    case kScheOnce:
      if (item.tStartDateTime < now) return std::nullopt;
      return item.tStartDateTime;
    case kScheWeekly:
      return NextWeekly(now, item.tStartDateTime, item.tStartDateTime);
    case kScheDaily: {
      const DateTime today = TodayAt(now, item.tStartDateTime);
      return today < now ? today + kSecondsPerDay : today;
    }
    default:
      return std::nullopt;
  }
}

std::optional<NextScheItem> FindNextScheItem(const ScheSetGroup& schedule, DateTime now) {
  const int count = std::clamp<std::int32_t>(schedule.lScheItemCount, 0,
                                             static_cast<std::int32_t>(schedule.items.size()));
  std::optional<NextScheItem> best;
  for (int i = 0; i < count; ++i) {
    const ScheItem& item = schedule.items[static_cast<std::size_t>(i)];
    const std::optional<DateTime> start = NextScheStart(item, now);
    if (!start) continue;
    const std::int64_t seconds = *start - now;
    if (best && seconds >= best->seconds) continue;
    best = NextScheItem{i, seconds, item};
  }
  return best;
}

std::int64_t SecondsToScheStop(const ScheItem& item, DateTime now) {
  switch (item.sfType) {
    case kScheOnce:
      return item.tStopDateTime - now;
    case kScheWeekly: {
      if (item.bOvernight == 0)
        return NextWeekly(now, item.tStartDateTime, item.tStopDateTime) - now;
      DateTime stop = TodayAt(now, item.tStopDateTime);
      if (SplitLocalDateTime(now).weekday != SplitLocalDateTime(item.tStopDateTime).weekday) {
        stop += kSecondsPerDay;
      }
      return stop - now;
    }
    case kScheDaily: {
      const DateTime today = TodayAt(now, item.tStopDateTime);
      return (today < now ? today + kSecondsPerDay : today) - now;
    }
    default:
      return 0;
  }
}

}  // namespace brontel
