#pragma once
// When schedule entries start and stop next, from a given local time.

#include <cstdint>
#include <optional>

#include "app/settings/app_settings.h"
#include "app/settings/settings_values.h"

namespace brontel {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kSecondsPerWeek = 7 * kSecondsPerDay;

struct NextScheItem {
  int index = 0;             // position in the table
  std::int64_t seconds = 0;  // from now until its next start, never negative
  ScheItem item;
};

// The next start of one entry at or after `now`, or nothing for a one-time
// entry that has started already and for unknown kinds.
std::optional<DateTime> NextScheStart(const ScheItem& item, DateTime now);

// The entry among the first lScheItemCount that starts soonest; the earlier
// one in the table on a tie. "bCompleted" is not consulted: a one-time entry
// that has run lies in the past anyway.
std::optional<NextScheItem> FindNextScheItem(const ScheSetGroup& schedule, DateTime now);

// Seconds from now until the stop of the entry's occurrence that runs now or
// starts next.
std::int64_t SecondsToScheStop(const ScheItem& item, DateTime now);

}  // namespace brontel
