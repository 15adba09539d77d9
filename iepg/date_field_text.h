#pragma once
// What the reservation dialog's start and stop date fields show for each
// repetition kind.

#include <cstdint>

namespace brontel {

constexpr int kStringEverySunday = 108;  // 108..114: Sunday..Saturday
constexpr int kStringEveryDay = 115;
constexpr int kStringLateNight = 125;

struct DateFieldTexts {
  int startStringId = 0;         // 0: the start date itself
  int stopStringId = 0;          // 0: the stop date itself
  bool lateNightSuffix = false;  // stop text + " " + string 125
};

// Weekdays count from 0 (Sunday).
DateFieldTexts DateFieldTextsFor(std::int32_t sfType, int startWeekday, int stopWeekday,
                                 bool overnight);

}  // namespace brontel
