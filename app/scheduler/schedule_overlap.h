#pragma once
// When two schedule entries would need the board at the same time. Both the
// main program and the iEPG handler refuse such an entry; they share these
// rules and differ in one point only (OverlapRules).

#include <cstdint>

namespace brontel {

struct ScheItem;

// Repetition kinds ("sfType").
constexpr std::int32_t kScheOnce = 0;
constexpr std::int32_t kScheWeekly = 1;
constexpr std::int32_t kScheDaily = 2;

// A closed interval; the bounds belong to it.
struct Interval {
  std::int64_t first = 0;
  std::int64_t last = 0;
};
// Either's start or stop lies within the other, or one encloses the other.
bool IntervalsOverlap(const Interval& a, const Interval& b);
// The open form: bounds that only touch do not meet.
bool OpenIntervalsOverlap(const Interval& a, const Interval& b);

// Start and stop in seconds.
Interval DateTimeInterval(const ScheItem& item);
// Weekdays 1 (Sunday) to 7 (Saturday); a stop before the start lies in the
// next week.
Interval WeekdayInterval(const ScheItem& item);
// Minutes of the day; a stop before the start lies on the next day. Equal
// values (a 24-hour entry) stay a single point.
Interval TimeOfDayInterval(const ScheItem& item);

// The one difference between the two programs. The main program compares a
// new weekly entry with a one-time or weekly entry by their own date-times
// (open intervals) when either runs overnight, because a weekday range and a
// time-of-day range that wrap past midnight say little about each other; the
// iEPG handler, checking on its own while the main program is not running,
// always compares weekday and time-of-day ranges.
enum class OverlapRules {
  kMainProgram,
  kReservationHandler,
};

// Whether a new entry collides with an existing one, by their kinds.
// Channel and capture mode play no part: the board records one programme at
// a time.
bool ScheItemsOverlap(const ScheItem& newItem, const ScheItem& existing, OverlapRules rules);

}  // namespace brontel
