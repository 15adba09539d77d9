#include "iepg/schedule_overlap.h"

#include <gtest/gtest.h>

#include "app/settings/app_settings.h"
#include "iepg/iepg_parser.h"
#include "iepg/tokyo_time.h"

namespace brontel {
namespace {

// December 2026: the 5th is a Saturday, the 6th a Sunday, the 7th a Monday.
ScheItem Entry(std::int32_t kind, int day, int hour, int minute, int durationMinutes,
               int month = 12) {
  ScheItem item;
  item.sfType = kind;
  item.lChn = 1;
  item.tStartDateTime = MakeLocalDateTime(2026, month, day, hour, minute);
  item.tStopDateTime = item.tStartDateTime + durationMinutes * 60;
  return item;
}

class ScheduleOverlapTest : public testing::Test {
 protected:
  void SetUp() override { brontel_test::UseTokyoTime(); }
};

TEST(IntervalsOverlap, BoundsAreInclusive) {
  const struct {
    Interval a, b;
    bool overlap;
  } cases[] = {
      {{10, 20}, {20, 30}, true},  // touches at the end
      {{20, 30}, {10, 20}, true},  // touches at the start
      {{10, 19}, {20, 30}, false}, {{31, 40}, {20, 30}, false},
      {{10, 40}, {20, 30}, true},  // contains
      {{22, 28}, {20, 30}, true},  // inside
      {{25, 25}, {20, 30}, true},  // a point inside
      {{25, 25}, {25, 25}, true},  {{24, 24}, {25, 25}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IntervalsOverlap(c.a, c.b), c.overlap)
        << c.a.first << "-" << c.a.last << " vs " << c.b.first << "-" << c.b.last;
  }
}

TEST_F(ScheduleOverlapTest, WeekdayIntervalWrapsIntoTheNextWeek) {
  const Interval saturdayNight = WeekdayInterval(Entry(kScheWeekly, 5, 23, 0, 120));
  EXPECT_EQ(saturdayNight.first, 7);
  EXPECT_EQ(saturdayNight.last, 8);
  const Interval monday = WeekdayInterval(Entry(kScheOnce, 7, 9, 0, 60));
  EXPECT_EQ(monday.first, 2);
  EXPECT_EQ(monday.last, 2);
}

TEST_F(ScheduleOverlapTest, TimeOfDayIntervalWrapsIntoTheNextDay) {
  const Interval late = TimeOfDayInterval(Entry(kScheDaily, 5, 23, 30, 75));
  EXPECT_EQ(late.first, 23 * 60 + 30);
  EXPECT_EQ(late.last, 45 + 1440);
  // A whole day stays one point.
  const Interval wholeDay = TimeOfDayInterval(Entry(kScheDaily, 5, 21, 0, 1440));
  EXPECT_EQ(wholeDay.first, 21 * 60);
  EXPECT_EQ(wholeDay.last, 21 * 60);
}

TEST_F(ScheduleOverlapTest, PairsOfKinds) {
  const struct {
    const char* name;
    ScheItem added, existing;
    bool overlap;
  } cases[] = {
      {"once starting at another's stop", Entry(kScheOnce, 7, 22, 0, 30),
       Entry(kScheOnce, 7, 21, 0, 60), true},
      {"once ending at another's start", Entry(kScheOnce, 7, 20, 0, 60),
       Entry(kScheOnce, 7, 21, 0, 60), true},
      {"once a minute apart", Entry(kScheOnce, 7, 22, 1, 30), Entry(kScheOnce, 7, 21, 0, 60),
       false},
      {"once same time other day", Entry(kScheOnce, 8, 21, 0, 60), Entry(kScheOnce, 7, 21, 0, 60),
       false},
      {"daily vs once on any date", Entry(kScheDaily, 1, 21, 0, 60),
       Entry(kScheOnce, 24, 21, 30, 15), true},
      {"daily vs once at other hours", Entry(kScheDaily, 1, 21, 0, 60),
       Entry(kScheOnce, 24, 22, 30, 15), false},
      {"once Monday vs weekly Wednesday", Entry(kScheOnce, 7, 21, 0, 60),
       Entry(kScheWeekly, 9, 21, 0, 60), false},
      {"once Monday vs weekly Monday other week", Entry(kScheOnce, 7, 21, 0, 60),
       Entry(kScheWeekly, 30, 21, 30, 60, 11), true},
      {"once Monday vs weekly Monday other hours", Entry(kScheOnce, 7, 21, 0, 60),
       Entry(kScheWeekly, 30, 9, 0, 60, 11), false},
      {"once vs daily same hours", Entry(kScheOnce, 7, 21, 0, 60), Entry(kScheDaily, 1, 21, 59, 5),
       true},
      {"weekly vs once same weekday", Entry(kScheWeekly, 14, 21, 0, 60),
       Entry(kScheOnce, 7, 21, 0, 60), true},
      {"weekly vs weekly other weekday", Entry(kScheWeekly, 8, 21, 0, 60),
       Entry(kScheWeekly, 7, 21, 0, 60), false},
      {"weekly vs daily", Entry(kScheWeekly, 8, 6, 0, 60), Entry(kScheDaily, 1, 6, 30, 60), true},
      {"weekly overnight vs weekly Sunday", Entry(kScheWeekly, 5, 23, 0, 120),
       Entry(kScheWeekly, 6, 0, 30, 10), false},  // Sunday is 1, not 8
      {"daily vs weekly", Entry(kScheDaily, 1, 6, 0, 60), Entry(kScheWeekly, 9, 6, 30, 60), true},
      {"daily vs daily past midnight", Entry(kScheDaily, 1, 23, 0, 120),
       Entry(kScheDaily, 1, 23, 30, 10), true},
      {"daily vs daily early morning", Entry(kScheDaily, 1, 23, 0, 120),
       Entry(kScheDaily, 1, 0, 30, 10), false},  // 0:30 is 30, not 1470
      {"once vs other kind", Entry(kScheOnce, 7, 21, 0, 60), Entry(3, 7, 21, 0, 60), false},
      {"weekly vs other kind", Entry(kScheWeekly, 7, 21, 0, 60), Entry(7, 7, 21, 0, 60), false},
      {"daily vs other kind", Entry(kScheDaily, 7, 21, 0, 60), Entry(3, 1, 21, 30, 60), true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScheItemsOverlap(c.added, c.existing, OverlapRules::kReservationHandler), c.overlap)
        << c.name;
  }
}

TEST_F(ScheduleOverlapTest, ChecksComeInOrder) {
  const DateTime now = MakeLocalDateTime(2026, 12, 8, 12, 0);
  ScheSetGroup schedule;
  schedule.lScheItemCount = 1;
  schedule.items[0] = Entry(kScheOnce, 9, 21, 0, 60);

  ScheItem noChannel = Entry(kScheOnce, 1, 21, 0, 10);  // also in the past
  noChannel.lChn = kNoChannel;
  EXPECT_EQ(CheckNewScheItem(noChannel, now, schedule), kMsgNoChannel);

  ScheItem startsNow = Entry(kScheOnce, 8, 12, 0, 60);
  EXPECT_EQ(CheckNewScheItem(startsNow, now, schedule), kMsgStartPassed);
  EXPECT_EQ(CheckNewScheItem(startsNow, now - 1, schedule), 0);

  ScheItem backwards = Entry(kScheOnce, 10, 12, 0, 60);
  std::swap(backwards.tStartDateTime, backwards.tStopDateTime);
  EXPECT_EQ(CheckNewScheItem(backwards, now, schedule), kMsgStartAfterStop);

  ScheItem short59 = Entry(kScheOnce, 10, 12, 0, 0);
  short59.tStopDateTime += 59;
  EXPECT_EQ(CheckNewScheItem(short59, now, schedule), kMsgTooShort);
  short59.tStopDateTime += 1;
  EXPECT_EQ(CheckNewScheItem(short59, now, schedule), 0);

  EXPECT_EQ(CheckNewScheItem(Entry(kScheOnce, 9, 22, 0, 30), now, schedule), kMsgOverlap);
}

ScheItem At(std::int32_t kind, int year, int month, int day, int hour, int minute, int second,
            int durationSeconds) {
  ScheItem item;
  item.sfType = kind;
  item.lChn = 1;
  item.tStartDateTime = MakeLocalDateTime(year, month, day, hour, minute, second);
  item.tStopDateTime = item.tStartDateTime + durationSeconds;
  return item;
}

// Entries around the end of a 32-bit time_t (2038-01-19 03:14:07) and after
// it are compared like any others.
TEST_F(ScheduleOverlapTest, ChecksHoldBeyond2038) {
  const struct {
    const char* name;
    ScheItem added, existing;
    DateTime now;
    int message;
  } cases[] = {
      {"2037 once vs once", At(kScheOnce, 2037, 12, 31, 23, 0, 0, 3600),
       At(kScheOnce, 2037, 12, 31, 23, 30, 0, 3600), MakeLocalDateTime(2026, 12, 8, 12, 0),
       kMsgOverlap},
      {"stop a second before the other's start", At(kScheOnce, 2038, 1, 19, 3, 0, 0, 847),
       At(kScheOnce, 2038, 1, 19, 3, 14, 8, 600), MakeLocalDateTime(2026, 12, 8, 12, 0), 0},
      {"stop at the other's start", At(kScheOnce, 2038, 1, 19, 3, 0, 0, 848),
       At(kScheOnce, 2038, 1, 19, 3, 14, 8, 600), MakeLocalDateTime(2026, 12, 8, 12, 0),
       kMsgOverlap},
      {"2040 once vs once next day", At(kScheOnce, 2040, 3, 15, 21, 0, 0, 3600),
       At(kScheOnce, 2040, 3, 16, 21, 30, 0, 600), MakeLocalDateTime(2026, 12, 8, 12, 0), 0},
      {"2040 weekly Thursday vs 2026 weekly Thursday", At(kScheWeekly, 2040, 3, 15, 21, 0, 0, 3600),
       At(kScheWeekly, 2026, 12, 10, 21, 30, 0, 600), MakeLocalDateTime(2026, 12, 8, 12, 0),
       kMsgOverlap},
      {"2040 daily vs 2038 once", At(kScheDaily, 2040, 3, 15, 3, 0, 0, 3600),
       At(kScheOnce, 2038, 1, 19, 3, 14, 8, 60), MakeLocalDateTime(2026, 12, 8, 12, 0),
       kMsgOverlap},
      {"2040 start already passed in 2040", At(kScheOnce, 2040, 3, 15, 21, 0, 0, 3600),
       At(kScheOnce, 2026, 12, 9, 21, 0, 0, 60), MakeLocalDateTime(2040, 3, 15, 21, 0),
       kMsgStartPassed},
  };
  for (const auto& c : cases) {
    ScheSetGroup schedule;
    schedule.lScheItemCount = 1;
    schedule.items[0] = c.existing;
    EXPECT_EQ(CheckNewScheItem(c.added, c.now, schedule), c.message) << c.name;
  }
}

TEST_F(ScheduleOverlapTest, OnlyEntriesInUseAreCompared) {
  const DateTime now = MakeLocalDateTime(2026, 12, 8, 12, 0);
  ScheSetGroup schedule;
  schedule.items[1] = Entry(kScheOnce, 9, 21, 0, 60);
  const ScheItem added = Entry(kScheOnce, 9, 21, 30, 60);
  schedule.lScheItemCount = 1;
  EXPECT_EQ(CheckNewScheItem(added, now, schedule), 0);
  schedule.lScheItemCount = 2;
  EXPECT_EQ(CheckNewScheItem(added, now, schedule), kMsgOverlap);
  schedule.lScheItemCount = 99;  // never beyond the table
  EXPECT_EQ(CheckNewScheItem(added, now, schedule), kMsgOverlap);
}

}  // namespace
}  // namespace brontel
