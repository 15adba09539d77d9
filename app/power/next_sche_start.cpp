#include "app/power/next_sche_start.h"

#include <algorithm>

namespace brontel::power {
namespace {

constexpr std::int64_t kDaySeconds = 86400;
constexpr std::int64_t kWeekSeconds = 7 * kDaySeconds;

std::optional<DateTime> NextStart(const ScheItem& item, DateTime now) {
  const LocalTimeParts start = SplitLocalDateTime(item.tStartDateTime);
  const LocalTimeParts today = SplitLocalDateTime(now);
  const DateTime todayAtStart =
      MakeLocalDateTime(today.year, today.month, today.day, start.hour, start.minute);
  switch (item.sfType) {
    case 0:
      if (item.tStartDateTime < now) return std::nullopt;
      return item.tStartDateTime;
    case 1: {
      int days = start.weekday - today.weekday;
      if (days < 0) days += 7;
      if (days != 0) return todayAtStart + days * kDaySeconds;
      return todayAtStart < now ? todayAtStart + kWeekSeconds : todayAtStart;
    }
    case 2:
      return todayAtStart < now ? todayAtStart + kDaySeconds : todayAtStart;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<std::int64_t> SecondsToNextScheStart(const ScheSetGroup& schedule, DateTime now) {
  std::optional<std::int64_t> best;
  const int count = std::clamp(schedule.lScheItemCount, 0, kScheItemCount);
  for (int i = 0; i < count; ++i) {
    const std::optional<DateTime> start = NextStart(schedule.items[i], now);
    // Strictly fewer seconds: on a tie the earlier entry stays.
    if (start && (!best || *start - now < *best)) best = *start - now;
  }
  return best;
}

}  // namespace brontel::power
