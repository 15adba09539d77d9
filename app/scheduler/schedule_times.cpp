#include "app/scheduler/schedule_times.h"

#include <algorithm>

#include "app/scheduler/schedule_overlap.h"

namespace brontel {
namespace {

constexpr std::int64_t kSecondsPerMinute = 60;

// Local times count seconds of a plain calendar with no time zone, so every
// day starts at a multiple of 86400.
std::int64_t DayOf(DateTime time) {
  return time >= 0 ? time / kSecondsPerDay : -((-time + kSecondsPerDay - 1) / kSecondsPerDay);
}

// Today's date (of `now`) at the hour and minute of `time`.
DateTime TodayAt(DateTime now, DateTime time) {
  const std::int64_t secondOfDay = time - DayOf(time) * kSecondsPerDay;
  return DayOf(now) * kSecondsPerDay + secondOfDay / kSecondsPerMinute * kSecondsPerMinute;
}

// Days from today's weekday forward to the weekday of `time`, 0 to 6.
int DaysToWeekdayOf(DateTime now, DateTime time) {
  const std::int64_t d = (DayOf(time) - DayOf(now)) % 7;
  return static_cast<int>(d < 0 ? d + 7 : d);
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
  // Runs every second: the winner is copied once, at the end.
  int bestIndex = -1;
  std::int64_t bestSeconds = 0;
  for (int i = 0; i < count; ++i) {
    const std::optional<DateTime> start =
        NextScheStart(schedule.items[static_cast<std::size_t>(i)], now);
    if (!start) continue;
    const std::int64_t seconds = *start - now;
    if (bestIndex >= 0 && seconds >= bestSeconds) continue;
    bestIndex = i;
    bestSeconds = seconds;
  }
  if (bestIndex < 0) return std::nullopt;
  return NextScheItem{bestIndex, bestSeconds, schedule.items[static_cast<std::size_t>(bestIndex)]};
}

std::int64_t SecondsToScheStop(const ScheItem& item, DateTime now) {
  switch (item.sfType) {
    case kScheOnce:
      return item.tStopDateTime - now;
    case kScheWeekly: {
      if (item.bOvernight == 0)
        return NextWeekly(now, item.tStartDateTime, item.tStopDateTime) - now;
      DateTime stop = TodayAt(now, item.tStopDateTime);
      if (DaysToWeekdayOf(now, item.tStopDateTime) != 0) {
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
