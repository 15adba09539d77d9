#include "app/scheduler/schedule_validation.h"

#include <gtest/gtest.h>

#include "app/scheduler/schedule_overlap.h"
#include "sche_entries.h"

namespace brontel {
namespace {

using test::At;
using test::Entry;

constexpr std::int64_t kHour = 3600;
const DateTime kNow = At(7, 12, 0);

ScheItem With(ScheItem item, void (*change)(ScheItem&)) {
  change(item);
  return item;
}

TEST(ValidateScheItem, TestsInTheirOrder) {
  const ScheItem good = Entry(kScheOnce, At(7, 21, 0), kHour);
  const ScheSetGroup schedule = test::Schedule({Entry(kScheOnce, At(8, 10, 0), kHour)});
  const struct {
    const char* name;
    ScheItem item;
    int message;
  } cases[] = {
      {"passes", good, 0},
      {"no channel, and nothing else right either",
       With(good,
            [](ScheItem& i) {
              i.lChn = -1;
              i.szScheDesc.clear();
              i.tStartDateTime = At(7, 11, 0);
            }),
       kMsgScheNoChannel},
      {"empty description", With(good, [](ScheItem& i) { i.szScheDesc.clear(); }),
       kMsgScheNoDescription},
      {"start now", Entry(kScheOnce, kNow, kHour), kMsgScheStartPassed},
      {"stop before start", Entry(kScheOnce, At(7, 21, 0), -60), kMsgScheStopBeforeStart},
      {"59 s", Entry(kScheOnce, At(7, 21, 0), 59), kMsgScheTooShort},
      {"60 s", Entry(kScheOnce, At(7, 21, 0), 60), 0},
      {"daily of 24 h", Entry(kScheDaily, At(7, 21, 0), 86400, 1), 0},
      {"daily over 24 h", Entry(kScheDaily, At(7, 21, 0), 86401, 1), kMsgScheDailyTooLong},
      {"weekly of 7 days", Entry(kScheWeekly, At(7, 21, 0), 604800), 0},
      {"weekly over 7 days", Entry(kScheWeekly, At(7, 21, 0), 604801), kMsgScheWeeklyTooLong},
      {"once of 8 days", Entry(kScheOnce, At(9, 21, 0), 8 * 86400), 0},
      {"365 days ahead", Entry(kScheOnce, kNow + 31536000, kHour), 0},
      {"beyond 365 days", Entry(kScheOnce, kNow + 31536001, kHour), kMsgScheTooFarAhead},
      {"overlap", Entry(kScheOnce, At(8, 10, 30), 60), kMsgScheOverlap},
      {"split by size under 1 MB",
       With(good,
            [](ScheItem& i) {
              i.bMultipleCapture = 1;
              i.ScheMultRec_clt = kSplitBySize;
              i.lScheMultRecSizeLimitMB = 0;
              i.lScheMultRecTimeLimitSec = 0;
            }),
       kMsgScheSplitSizeTooSmall},
      {"split by time under 60 s",
       With(good,
            [](ScheItem& i) {
              i.bMultipleCapture = 1;
              i.ScheMultRec_clt = kSplitByTime;
              i.lScheMultRecTimeLimitSec = 59;
              i.lScheMultRecSizeLimitMB = 0;
            }),
       kMsgScheSplitTimeTooShort},
      {"limits without splitting",
       With(good,
            [](ScheItem& i) {
              i.lScheMultRecTimeLimitSec = 0;
              i.lScheMultRecSizeLimitMB = 0;
            }),
       0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ValidateScheItem(c.item, kNow, schedule, kScheNewEntry), c.message) << c.name;
  }
  EXPECT_EQ(ValidationCaption(kScheNewEntry), kCaptionScheAdd);
  EXPECT_EQ(ValidationCaption(0), kCaptionScheEdit);
}

TEST(ValidateScheItem, EditingSkipsTheEntryItself) {
  const ScheItem existing = Entry(kScheOnce, At(8, 10, 0), kHour);
  const ScheSetGroup schedule = test::Schedule({existing});
  EXPECT_EQ(ValidateScheItem(existing, kNow, schedule, 0), 0);
  EXPECT_EQ(ValidateScheItem(existing, kNow, schedule, kScheNewEntry), kMsgScheOverlap);
}

TEST(ScheItemsOverlap, PairsOfKindsInTheMainProgram) {
  // Weekday of the 5th: Saturday; the 7th: Monday.
  const struct {
    const char* name;
    ScheItem added;
    ScheItem existing;
    bool overlap;
  } cases[] = {
      {"once touching once", Entry(kScheOnce, At(8, 11, 0), kHour),
       Entry(kScheOnce, At(8, 10, 0), kHour), true},
      {"once after once", Entry(kScheOnce, At(8, 11, 1), kHour),
       Entry(kScheOnce, At(8, 10, 0), kHour), false},
      {"once inside once", Entry(kScheOnce, At(8, 10, 10), 60),
       Entry(kScheOnce, At(8, 10, 0), kHour), true},
      {"once 23:30 against daily 23:00-01:00", Entry(kScheOnce, At(9, 23, 30), 900),
       Entry(kScheDaily, At(1, 23, 0), 2 * kHour, 1), true},
      {"once 00:30 against daily 23:00-01:00", Entry(kScheOnce, At(9, 0, 30), 900),
       Entry(kScheDaily, At(1, 23, 0), 2 * kHour, 1), false},
      {"once Monday against weekly Saturday", Entry(kScheOnce, At(14, 21, 0), kHour),
       Entry(kScheWeekly, At(5, 21, 0), kHour), false},
      {"once Saturday against weekly Saturday", Entry(kScheOnce, At(12, 21, 30), 600),
       Entry(kScheWeekly, At(5, 21, 0), kHour), true},
      {"weekly against daily by time of day", Entry(kScheWeekly, At(7, 9, 0), kHour),
       Entry(kScheDaily, At(1, 9, 30), kHour), true},
      {"weekly against weekly, other weekday", Entry(kScheWeekly, At(7, 21, 0), kHour),
       Entry(kScheWeekly, At(5, 21, 0), kHour), false},
      {"weekly overnight against weekly: its own date-times",
       Entry(kScheWeekly, At(5, 23, 0), 2 * kHour, 1), Entry(kScheWeekly, At(6, 0, 30), kHour),
       true},
      {"weekly overnight touching weekly", Entry(kScheWeekly, At(5, 23, 0), 2 * kHour, 1),
       Entry(kScheWeekly, At(6, 1, 0), kHour), false},
      {"weekly overnight, same start, longer", Entry(kScheWeekly, At(5, 23, 0), 3 * kHour, 1),
       Entry(kScheWeekly, At(5, 23, 0), kHour), true},
      {"weekly overnight, identical times", Entry(kScheWeekly, At(5, 23, 0), 2 * kHour, 1),
       Entry(kScheWeekly, At(5, 23, 0), 2 * kHour, 1), true},
      {"weekly against once, the once overnight", Entry(kScheWeekly, At(5, 23, 30), 600),
       Entry(kScheOnce, At(5, 23, 0), 2 * kHour, 1), true},
      {"daily against weekly on another day", Entry(kScheDaily, At(7, 21, 0), kHour),
       Entry(kScheWeekly, At(5, 21, 30), 600), true},
      {"daily against an unknown kind", Entry(kScheDaily, At(7, 21, 0), kHour),
       Entry(7, At(5, 21, 30), 600), true},
      {"once against an unknown kind", Entry(kScheOnce, At(7, 21, 0), kHour),
       Entry(7, At(7, 21, 30), 600), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScheItemsOverlap(c.added, c.existing, OverlapRules::kMainProgram), c.overlap)
        << c.name;
  }
}

TEST(ScheItemsOverlap, TheHandlerComparesOvernightWeeklyByWeekdayAndTime) {
  // A week apart: the date-times do not meet, weekday and time of day do.
  const ScheItem added = Entry(kScheWeekly, At(12, 23, 0), 2 * kHour, 1);
  const ScheItem existing = Entry(kScheWeekly, At(5, 23, 30), 600);
  EXPECT_FALSE(ScheItemsOverlap(added, existing, OverlapRules::kMainProgram));
  EXPECT_TRUE(ScheItemsOverlap(added, existing, OverlapRules::kReservationHandler));
}

class IepgIntakeTest : public testing::Test {
 protected:
  void SetUp() override {
    tvSet.lTVChnCount = 2;
    tvSet.channels[0].lFreqChn = 4;
    tvSet.channels[0].szTVStnName = "Four";
    tvSet.channels[1].lFreqChn = 6;
    tvSet.channels[1].szTVStnName = "Six";
    tvSet.channels[2].lFreqChn = 8;  // beyond the count
    tvSet.channels[2].szTVStnName = "Eight";
  }
  TVSetGroup tvSet;
};

TEST_F(IepgIntakeTest, WhatBecomesOfAHandOver) {
  const ScheItem handed = Entry(kScheOnce, At(7, 21, 0), kHour);
  ScheSetGroup full;
  full.lScheItemCount = 10;
  for (int i = 0; i < 10; ++i) {
    full.items[static_cast<std::size_t>(i)] = Entry(kScheOnce, At(20 + i % 8, 1 + i, 0), 60);
  }
  const struct {
    const char* name;
    ScheSetGroup schedule;
    std::int32_t channel;
    DateTime start;
    bool ignored, added, soon;
    int message;
  } cases[] = {
      {"added", ScheSetGroup{}, 6, At(7, 21, 0), false, true, false, 0},
      {"added, starting in 180 s", ScheSetGroup{}, 6, kNow + 180, false, true, true, 0},
      {"added, starting in 181 s", ScheSetGroup{}, 6, kNow + 181, false, true, false, 0},
      {"no channel record", ScheSetGroup{}, 5, At(7, 21, 0), false, false, false, 0},
      {"a record beyond the count", ScheSetGroup{}, 8, At(7, 21, 0), false, false, false, 0},
      {"not added, still starting soon", ScheSetGroup{}, 5, kNow + 60, false, false, true, 0},
      {"ten entries in use, even an invalid one", full, -1, kNow - 1, true, false, false, 0},
      {"invalid", ScheSetGroup{}, 6, kNow, false, false, false, kMsgScheStartPassed},
  };
  for (const auto& c : cases) {
    ScheSetGroup schedule = c.schedule;
    ScheItem entry = handed;
    entry.lChn = c.channel;
    entry.tStartDateTime = c.start;
    entry.tStopDateTime = c.start + kHour;
    entry.bCompleted = 1;
    const IepgIntake intake = TakeIepgEntry(entry, tvSet, &schedule, kNow);
    EXPECT_EQ(intake.ignored, c.ignored) << c.name;
    EXPECT_EQ(intake.added, c.added) << c.name;
    EXPECT_EQ(intake.startsSoonNotice, c.soon) << c.name;
    EXPECT_EQ(intake.validationMessage, c.message) << c.name;
    EXPECT_EQ(schedule.lScheItemCount, c.schedule.lScheItemCount + (c.added ? 1 : 0)) << c.name;
    if (c.added) {
      const ScheItem& taken = schedule.items[static_cast<std::size_t>(c.schedule.lScheItemCount)];
      EXPECT_EQ(taken.szChnName, "Six") << c.name;
      EXPECT_EQ(taken.bCompleted, 0) << c.name;
    }
  }
}

TEST_F(IepgIntakeTest, AnEmptyStationNameAddsNothing) {
  tvSet.channels[1].szTVStnName.clear();
  ScheSetGroup schedule;
  EXPECT_FALSE(TakeIepgEntry(Entry(kScheOnce, At(7, 21, 0), kHour), tvSet, &schedule, kNow).added);
  EXPECT_EQ(schedule.lScheItemCount, 0);
}

}  // namespace
}  // namespace brontel
