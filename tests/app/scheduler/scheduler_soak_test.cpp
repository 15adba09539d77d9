// Sixty simulated days of scheduler ticks over a random schedule, with late
// and skipped ticks, carried out the way the main dialog carries a plan out.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "app/scheduler/schedule_validation.h"
#include "app/scheduler/scheduler_tick.h"
#include "app/vocabulary/run_modes.h"
#include "sche_entries.h"

namespace brontel {
namespace {

constexpr int kDays = 60;
constexpr std::int64_t kMinute = 60;
// Occurrences are kept this far apart, so that the end of one never holds
// up the preparation of the next; the overlap rules themselves are tested
// elsewhere.
constexpr std::int64_t kSpacing = 2 * kMinute;

struct Occurrence {
  int entry = 0;
  DateTime start = 0;
  DateTime stop = 0;
  int prepared = 0, started = 0, ended = 0;
  DateTime preparedAt = 0, startedAt = 0, endedAt = 0;
};

// Weekly and daily entries repeat by weekday and time of day alone, also
// before the date they were stored with.
std::vector<Occurrence> OccurrencesOf(const ScheItem& item, int index, DateTime from,
                                      DateTime until) {
  std::vector<Occurrence> list;
  const std::int64_t period = item.sfType == kScheWeekly  ? kSecondsPerWeek
                              : item.sfType == kScheDaily ? kSecondsPerDay
                                                          : 0;
  const std::int64_t duration = item.tStopDateTime - item.tStartDateTime;
  DateTime first = item.tStartDateTime;
  while (period != 0 && first - period >= from) first -= period;
  for (DateTime start = first; start < until; start += period) {
    list.push_back(Occurrence{index, start, start + duration});
    if (period == 0) break;
  }
  return list;
}

bool TooClose(const std::vector<Occurrence>& a, const std::vector<Occurrence>& b) {
  for (const Occurrence& x : a) {
    for (const Occurrence& y : b) {
      if (x.start < y.stop + kSpacing && y.start < x.stop + kSpacing) return true;
    }
  }
  return false;
}

ScheItem RandomEntry(std::mt19937& random, DateTime simStart) {
  const std::int32_t kind = static_cast<std::int32_t>(random() % 3);
  const int firstDays = kind == kScheOnce ? kDays - 2 : kind == kScheWeekly ? 7 : 1;
  const DateTime day = simStart + (1 + static_cast<int>(random() % firstDays)) * kSecondsPerDay;
  const DateTime start = day + static_cast<std::int64_t>(random() % 1440) * kMinute;
  const std::int64_t duration = (1 + static_cast<std::int64_t>(random() % 150)) * kMinute;
  ScheItem item = test::Entry(kind, start, duration);
  if (kind != kScheOnce) {
    item.bOvernight = SplitLocalDateTime(start).day != SplitLocalDateTime(start + duration).day;
  }
  return item;
}

TEST(SchedulerSoak, SixtyDaysWithLateAndSkippedTicks) {
  const unsigned seed = 18;
  std::mt19937 random(seed);
  const DateTime simStart = test::At(1, 0, 0);
  const DateTime simEnd = simStart + kDays * kSecondsPerDay;

  ScheSetGroup schedule;
  std::vector<std::vector<Occurrence>> perEntry;
  for (int tries = 0; tries < 500 && schedule.lScheItemCount < kScheItemCount; ++tries) {
    const ScheItem item = RandomEntry(random, simStart);
    if (ValidateScheItem(item, simStart, schedule, kScheNewEntry) != 0) continue;
    const std::vector<Occurrence> occurrences =
        OccurrencesOf(item, schedule.lScheItemCount, simStart, simEnd);
    if (std::any_of(perEntry.begin(), perEntry.end(),
                    [&](const auto& other) { return TooClose(occurrences, other); })) {
      continue;
    }
    perEntry.push_back(occurrences);
    schedule.items[static_cast<std::size_t>(schedule.lScheItemCount++)] = item;
  }
  std::vector<Occurrence> expected;
  for (const auto& list : perEntry) expected.insert(expected.end(), list.begin(), list.end());
  ASSERT_GE(schedule.lScheItemCount, 6);

  auto find = [&](DateTime start) -> Occurrence* {
    for (Occurrence& o : expected) {
      if (o.start == start) return &o;
    }
    return nullptr;
  };

  SchedulerView view;
  SchedulerMemory memory;
  Occurrence* active = nullptr;
  int ticks = 0, skipped = 0, early = 0, warnings = 0, unexpected = 0, overlapping = 0;
  for (DateTime now = simStart; now < simEnd;) {
    view.now = now;
    const SchedulerPlan plan = PlanSchedulerTick(schedule, view, &memory);
    ++ticks;
    // The user pauses live TV now and then, never with an entry close, and
    // answers the warning with OK, which stops the time shift.
    if (view.lRunMode == 0 && random() % 20000 == 0 && (!plan.next || plan.next->seconds > 240)) {
      view.lRunMode = kRunTimeShift;
    } else if (view.lRunMode == kRunTimeShift && random() % 600 == 0) {
      view.lRunMode = 0;
    }
    if (plan.warnBusy) {
      ++warnings;
      if (view.lRunMode == kRunTimeShift) view.lRunMode = 0;
    }
    if (plan.preparationStopped) view.bScheBlocked = true;
    if (plan.clearBlocked) view.bScheBlocked = false;
    if (plan.prepare) {
      active = find(now + plan.next->seconds);
      if (active == nullptr) {
        ++unexpected;
      } else if (active->prepared++ == 0) {
        active->preparedAt = now;
      }
      view.lRunMode = 1;
    }
    if (plan.startRecording) {
      if (view.bScheRecording || view.lRunMode != 1) ++overlapping;
      if (active != nullptr && active->started++ == 0) active->startedAt = now;
      view.lRunMode = 2;
      view.bScheRecording = true;
    }
    if (plan.endRecording) {
      if (active != nullptr && active->ended++ == 0) active->endedAt = now;
      schedule.items[static_cast<std::size_t>(active ? active->entry : 0)].bCompleted = 1;
      view.lRunMode = 0;
      view.bScheRecording = false;
      active = nullptr;
    }
    // Most ticks come a second apart; some come late enough that the next
    // one lands in the same second, some are skipped altogether.
    const unsigned roll = random() % 100;
    const int gap = roll < 4 ? 2 : roll < 9 ? 0 : 1;
    if (gap == 2) ++skipped;
    if (gap == 0) ++early;
    now += gap;
  }

  int checked = 0, missed = 0, doubled = 0, preparedOff = 0, startedOff = 0, stoppedOff = 0;
  for (const Occurrence& o : expected) {
    if (o.start - kSchePrepareSeconds <= simStart || o.stop + 2 >= simEnd) continue;
    ++checked;
    const int before = missed + doubled + preparedOff + startedOff + stoppedOff;
    if (o.prepared == 0 || o.started == 0 || o.ended == 0) ++missed;
    if (o.prepared > 1 || o.started > 1 || o.ended > 1) ++doubled;
    if (std::abs(o.start - o.preparedAt - kSchePrepareSeconds) > 1) ++preparedOff;
    if (std::abs(o.start - o.startedAt - kScheStartSeconds) > 1) ++startedOff;
    if (o.endedAt < o.stop || o.endedAt > o.stop + 1) ++stoppedOff;
    if (before == 0 && missed + doubled + preparedOff + startedOff + stoppedOff != 0) {
      ADD_FAILURE() << "first fault: entry " << o.entry << " at " << FormatDateTime(o.start)
                    << ": prepared " << o.prepared << "x " << o.start - o.preparedAt
                    << " s ahead, started " << o.started << "x " << o.start - o.startedAt
                    << " s ahead, ended " << o.ended << "x " << o.endedAt - o.stop
                    << " s after its stop";
    }
  }
  EXPECT_EQ(missed, 0);
  EXPECT_EQ(doubled, 0);
  EXPECT_EQ(preparedOff, 0);
  EXPECT_EQ(startedOff, 0);
  EXPECT_EQ(stoppedOff, 0);
  EXPECT_EQ(unexpected, 0);
  EXPECT_EQ(overlapping, 0);
  std::printf(
      "soak (seed %u): %d entries, %d occurrences checked, %d ticks, %d skipped, %d in the same "
      "second, %d warnings\n",
      seed, schedule.lScheItemCount, checked, ticks, skipped, early, warnings);
}

}  // namespace
}  // namespace brontel
