#pragma once
// Schedule entries for the scheduler's tests. December 2026: the 5th is a
// Saturday, the 6th a Sunday, the 7th a Monday.

#include "app/scheduler/schedule_overlap.h"
#include "app/settings/app_settings.h"

namespace brontel::test {

inline DateTime At(int day, int hour, int minute, int second = 0) {
  return MakeLocalDateTime(2026, 12, day, hour, minute, second);
}

inline ScheItem Entry(std::int32_t kind, DateTime start, std::int64_t seconds,
                      std::int32_t overnight = 0) {
  ScheItem item;
  item.sfType = kind;
  item.lChn = 6;
  item.szScheDesc = "News";
  item.tStartDateTime = start;
  item.tStopDateTime = start + seconds;
  item.bOvernight = overnight;
  return item;
}

inline ScheSetGroup Schedule(std::initializer_list<ScheItem> items) {
  ScheSetGroup schedule;
  for (const ScheItem& item : items) {
    schedule.items[static_cast<std::size_t>(schedule.lScheItemCount++)] = item;
  }
  return schedule;
}

}  // namespace brontel::test
