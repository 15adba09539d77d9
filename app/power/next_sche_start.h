#pragma once
// Seconds until the next start among the schedule entries in use. The
// hand-over needs only this; the scheduler's own search gives the same
// answer together with the entry.

#include <cstdint>
#include <optional>

#include "app/settings/app_settings.h"

namespace brontel::power {

// Once: the entry's start, skipped when past. Weekly: this week's weekday
// and time, or next week's when that has passed. Daily: today's time, or
// tomorrow's. Other kinds never start. nullopt when nothing starts.
std::optional<std::int64_t> SecondsToNextScheStart(const ScheSetGroup& schedule, DateTime now);

}  // namespace brontel::power
