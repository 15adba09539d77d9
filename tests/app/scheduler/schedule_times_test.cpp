#include "app/scheduler/schedule_times.h"

#include <gtest/gtest.h>

#include "sche_entries.h"

namespace brontel {
namespace {

using test::At;
using test::Entry;

constexpr std::int64_t kHour = 3600;

TEST(FindNextScheItem, NextStartByKind) {
  const struct {
    const char* name;
    ScheItem item;
    DateTime now;
    std::int64_t seconds;  // -1: none
  } cases[] = {
      {"once ahead", Entry(kScheOnce, At(7, 21, 0), kHour), At(7, 20, 0), kHour},
      {"once at its start", Entry(kScheOnce, At(7, 21, 0), kHour), At(7, 21, 0), 0},
      {"once started", Entry(kScheOnce, At(7, 21, 0), kHour), At(7, 21, 0, 1), -1},
      {"weekly Monday 21:00 seen Monday 21:30", Entry(kScheWeekly, At(7, 21, 0), kHour),
       At(7, 21, 30), 7 * 86400 - 1800},
      {"weekly Monday seen Monday 20:00", Entry(kScheWeekly, At(7, 21, 0), kHour), At(7, 20, 0),
       kHour},
      {"weekly Monday seen Saturday", Entry(kScheWeekly, At(7, 21, 0), kHour), At(12, 22, 0),
       2 * 86400 - kHour},
      {"weekly from a date weeks back", Entry(kScheWeekly, At(7, 21, 0) - 21 * 86400, kHour),
       At(7, 20, 0), kHour},
      {"daily later today", Entry(kScheDaily, At(1, 23, 0), kHour), At(7, 22, 0), kHour},
      {"daily passed today", Entry(kScheDaily, At(1, 23, 0), kHour), At(7, 23, 0, 1), 86400 - 1},
      {"unknown kind", Entry(5, At(7, 21, 0), kHour), At(7, 20, 0), -1},
  };
  for (const auto& c : cases) {
    const auto next = FindNextScheItem(test::Schedule({c.item}), c.now);
    if (c.seconds < 0) {
      EXPECT_FALSE(next) << c.name;
    } else {
      ASSERT_TRUE(next) << c.name;
      EXPECT_EQ(next->seconds, c.seconds) << c.name;
    }
  }
}

TEST(FindNextScheItem, SoonestWinsAndTheEarlierEntryOnATie) {
  ScheItem completed = Entry(kScheOnce, At(7, 22, 0), kHour);
  completed.bCompleted = 1;  // not consulted
  const ScheSetGroup schedule = test::Schedule(
      {Entry(kScheDaily, At(1, 23, 0), 600), completed, Entry(kScheWeekly, At(7, 22, 0), 600)});
  const auto next = FindNextScheItem(schedule, At(7, 21, 0));
  ASSERT_TRUE(next);
  EXPECT_EQ(next->index, 1);
  EXPECT_EQ(next->seconds, kHour);

  ScheSetGroup shorter = schedule;
  shorter.lScheItemCount = 1;  // entries past the count are not looked at
  EXPECT_EQ(FindNextScheItem(shorter, At(7, 21, 0))->index, 0);
  shorter.lScheItemCount = 0;
  EXPECT_FALSE(FindNextScheItem(shorter, At(7, 21, 0)));
}

TEST(SecondsToScheStop, StopOfTheRunningOccurrence) {
  const struct {
    const char* name;
    ScheItem item;
    DateTime now;
    std::int64_t seconds;
  } cases[] = {
      {"once", Entry(kScheOnce, At(7, 21, 0), kHour), At(7, 21, 10), 3000},
      {"weekly just before its start", Entry(kScheWeekly, At(7, 21, 0), kHour), At(7, 20, 59, 57),
       kHour + 3},
      {"weekly at its stop", Entry(kScheWeekly, At(7, 21, 0), kHour), At(7, 22, 0), 0},
      {"weekly at midnight from the day before", Entry(kScheWeekly, At(7, 0, 0), kHour),
       At(6, 23, 59, 57), kHour + 3},
      {"weekly overnight, before midnight", Entry(kScheWeekly, At(5, 23, 0), 2 * kHour, 1),
       At(5, 22, 59, 57), 2 * kHour + 3},
      {"weekly overnight, after midnight", Entry(kScheWeekly, At(5, 23, 0), 2 * kHour, 1),
       At(6, 0, 30), 1800},
      {"daily overnight, before midnight", Entry(kScheDaily, At(1, 23, 0), 2 * kHour, 1),
       At(7, 22, 59, 57), 2 * kHour + 3},
      {"daily overnight, after midnight", Entry(kScheDaily, At(1, 23, 0), 2 * kHour, 1),
       At(8, 0, 30), 1800},
  };
  for (const auto& c : cases) EXPECT_EQ(SecondsToScheStop(c.item, c.now), c.seconds) << c.name;
}

}  // namespace
}  // namespace brontel
