#include <gtest/gtest.h>

#include "app/scheduler/schedule_validation.h"
#include "settings/module_list.h"
#include "settings/sche_item_rules.h"
#include "settings/schedule_table.h"
#include "settings/sheet_commit.h"

namespace brontel {
namespace {

DateTime At(int year, int month, int day, int hour, int minute) {
  return MakeLocalDateTime(year, month, day, hour, minute);
}

TEST(SheetCommit, OkCopiesEveryEditedGroupButKeepsTheProgramsRunningState) {
  CAppSettings live;
  CAppSettings working = live;
  working.tvSet.channels[180].szTVStnName = "last";
  working.rdSet.stations[9].lStn = 10;
  working.captSet.TS_spc.dwbit_rate = 4000000;
  working.snapSet.lJPGQuality = 10;
  working.vidClrSet.video2.lHue = 7;
  working.scheSet.lScheItemCount = 1;
  working.scheSet.items[9].szScheDesc = "ten";
  working.appSet.msCurrSrc = 3;  // stale: the scheduler switched meanwhile
  live.appSet.msCurrSrc = 0;
  live.appSet.cmCurrRecMode = 2;

  const struct {
    bool scheduleOnSheet;
    std::int32_t count;
  } cases[] = {{true, 1}, {false, 0}};
  for (const auto& c : cases) {
    CAppSettings result = live;
    CommitWorkingCopy(working, c.scheduleOnSheet, &result);
    EXPECT_EQ(result.tvSet.channels[180].szTVStnName, "last");
    EXPECT_EQ(result.rdSet.stations[9].lStn, 10);
    EXPECT_EQ(result.captSet.TS_spc.dwbit_rate, 4000000u);
    EXPECT_EQ(result.snapSet.lJPGQuality, 10);
    EXPECT_EQ(result.vidClrSet.video2.lHue, 7);
    EXPECT_EQ(result.appSet.msCurrSrc, 0);
    EXPECT_EQ(result.appSet.cmCurrRecMode, 2);
    EXPECT_EQ(result.scheSet.lScheItemCount, c.count) << c.scheduleOnSheet;
  }
}

TEST(ScheEditor, WeeklyOffsetWrapsAcrossTheWeeksEnd) {
  const struct {
    int chosen, today;
    bool ahead;
    int offset;
  } cases[] = {
      {1, 5, false, 3},  // Friday to Monday
      {6, 0, false, 6},  // Sunday to Saturday
      {0, 6, false, 1},  // Saturday to Sunday
      {3, 3, false, 7},  // today, start passed: next week
      {3, 3, true, 0},   // today, start ahead
      {4, 3, true, 1},   // "ahead" only matters for today
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WeeklyDayOffset(c.chosen, c.today, c.ahead), c.offset)
        << c.chosen << " " << c.today << " " << c.ahead;
  }
}

TEST(ScheEditor, FieldsBecomeStartAndStopByRepetition) {
  // Wednesday 2030-01-02 20:00.
  const DateTime now = At(2030, 1, 2, 20, 0);
  const struct {
    const char* what;
    std::int32_t repetition;
    int weekday;
    DateTime startTime, stopTime;
    bool overnight;
    DateTime start, stop;
  } cases[] = {
      {"once keeps its dates", kScheOnce, 0, At(2030, 3, 4, 9, 15), At(2030, 3, 5, 1, 0), true,
       At(2030, 3, 4, 9, 15), At(2030, 3, 5, 1, 0)},
      {"daily still ahead today", kScheDaily, 0, At(2000, 1, 1, 21, 0), At(2000, 1, 1, 22, 0),
       false, At(2030, 1, 2, 21, 0), At(2030, 1, 2, 22, 0)},
      {"daily passed moves to tomorrow", kScheDaily, 0, At(2000, 1, 1, 19, 0),
       At(2000, 1, 1, 19, 30), false, At(2030, 1, 3, 19, 0), At(2030, 1, 3, 19, 30)},
      {"daily at this minute moves too", kScheDaily, 0, At(2000, 1, 1, 20, 0),
       At(2000, 1, 1, 20, 30), false, At(2030, 1, 3, 20, 0), At(2030, 1, 3, 20, 30)},
      {"daily overnight stops the next day", kScheDaily, 0, At(2000, 1, 1, 23, 0),
       At(2000, 1, 1, 1, 0), true, At(2030, 1, 2, 23, 0), At(2030, 1, 3, 1, 0)},
      {"daily without the box stops before it starts", kScheDaily, 0, At(2000, 1, 1, 23, 0),
       At(2000, 1, 1, 1, 0), false, At(2030, 1, 2, 23, 0), At(2030, 1, 2, 1, 0)},
      {"weekly today still ahead", kScheWeekly, 3, At(2000, 1, 1, 21, 0), At(2000, 1, 1, 22, 0),
       false, At(2030, 1, 2, 21, 0), At(2030, 1, 2, 22, 0)},
      {"weekly today passed", kScheWeekly, 3, At(2000, 1, 1, 8, 0), At(2000, 1, 1, 9, 0), false,
       At(2030, 1, 9, 8, 0), At(2030, 1, 9, 9, 0)},
      {"weekly Monday over the weekend, overnight", kScheWeekly, 1, At(2000, 1, 1, 23, 30),
       At(2000, 1, 1, 0, 30), true, At(2030, 1, 7, 23, 30), At(2030, 1, 8, 0, 30)},
  };
  for (const auto& c : cases) {
    ScheItemRequest request = NewScheItemRequest(now);
    request.repetition = c.repetition;
    request.weekday = c.weekday;
    request.startDate = request.startTime = c.startTime;
    request.stopDate = request.stopTime = c.stopTime;
    request.overnight = c.overnight;
    const ScheItem item = ScheItemFromRequest(request, now);
    EXPECT_EQ(FormatDateTime(item.tStartDateTime), FormatDateTime(c.start)) << c.what;
    EXPECT_EQ(FormatDateTime(item.tStopDateTime), FormatDateTime(c.stop)) << c.what;
  }
}

TEST(ScheEditor, OvernightDecidesWhetherALateDailyEntryPasses) {
  const DateTime now = At(2030, 1, 2, 20, 0);
  ScheItemRequest request = NewScheItemRequest(now);
  request.description = "  late film \t";
  request.repetition = kScheDaily;
  request.startTime = At(2000, 1, 1, 23, 0);
  request.stopTime = At(2000, 1, 1, 1, 0);
  for (const bool overnight : {true, false}) {
    request.overnight = overnight;
    const ScheItem item = ScheItemFromRequest(request, now);
    EXPECT_EQ(item.szScheDesc, "late film");
    EXPECT_EQ(ValidateScheItem(item, now, ScheSetGroup{}, kScheNewEntry),
              overnight ? 0 : kMsgScheStopBeforeStart);
  }
}

TEST(ScheEditor, NewEntryStartsTodayAtNoonWithTheStoredDefaults) {
  const DateTime now = At(2030, 6, 15, 7, 42);
  const ScheItem item = ScheItemFromRequest(NewScheItemRequest(now), now);
  EXPECT_EQ(FormatDateTime(item.tStartDateTime), "2030-6-15-12-0");
  EXPECT_EQ(item.tStopDateTime, item.tStartDateTime);
  EXPECT_EQ(item.lCaptMode, 1);
  EXPECT_EQ(item.ScheMultRec_clt, kSplitByTime);
  EXPECT_EQ(item.lScheMultRecTimeLimitSec, 1800);
  EXPECT_EQ(item.lScheMultRecSizeLimitMB, 100);
  EXPECT_EQ(ParseSizeLimitText("1,024"), 1024);
}

class ScheTableTest : public testing::Test {
 protected:
  void SetUp() override {
    tv.lTVChnCount = 2;
    tv.channels[0].lFreqChn = 12;
    tv.channels[0].szTVStnName = "TV Tokyo";
    tv.channels[1].lFreqChn = 4;
    tv.channels[1].szTVStnName = "NTV";
  }
  ScheItem Entry(const char* description, std::int32_t channel, int day) {
    ScheItem item;
    item.lChn = channel;
    item.szScheDesc = description;
    item.tStartDateTime = At(2030, 2, day, 21, 0);
    item.tStopDateTime = At(2030, 2, day, 21, 30);
    return item;
  }
  TVSetGroup tv;
  RdSetGroup rd;
  ScheSetGroup schedule;
  const DateTime now = At(2030, 1, 2, 20, 0);
};

TEST_F(ScheTableTest, DeletingRowsPacksTheRestFromTheFirstSlot) {
  for (int i = 0; i < 5; ++i) {
    ASSERT_EQ(AddScheItem(Entry(std::to_string(i + 1).c_str(), 12, i + 1), tv, rd, &schedule),
              ScheAddResult::kAdded);
  }
  DeleteScheItems({false, true, false, true, false}, &schedule);
  ASSERT_EQ(schedule.lScheItemCount, 3);
  EXPECT_EQ(schedule.items[0].szScheDesc, "1");
  EXPECT_EQ(schedule.items[1].szScheDesc, "3");
  EXPECT_EQ(schedule.items[2].szScheDesc, "5");
  EXPECT_EQ(schedule.items[3].szScheDesc, "");
  EXPECT_EQ(schedule.items[3].tStartDateTime, DefaultScheDateTime());
  DeleteScheItems({true, true, true}, &schedule);
  EXPECT_EQ(schedule.lScheItemCount, 0);
  EXPECT_EQ(schedule.items[0].szScheDesc, "");
}

TEST_F(ScheTableTest, EditKeepsTheOldEntryWhenItsChannelIsGone) {
  ASSERT_EQ(AddScheItem(Entry("news", 12, 5), tv, rd, &schedule), ScheAddResult::kAdded);
  EXPECT_FALSE(ReplaceScheItem(0, Entry("film", 99, 6), tv, rd, &schedule));
  EXPECT_EQ(schedule.items[0].szScheDesc, "news");
  EXPECT_FALSE(ReplaceScheItem(1, Entry("film", 4, 6), tv, rd, &schedule));  // not in use
  EXPECT_TRUE(ReplaceScheItem(0, Entry("film", 4, 6), tv, rd, &schedule));
  EXPECT_EQ(schedule.items[0].szChnName, "NTV");
  EXPECT_EQ(schedule.lScheItemCount, 1);
}

TEST_F(ScheTableTest, ImportChecksFirstThenWantsRoomAndAKnownChannel) {
  const struct {
    const char* what;
    int inUse;
    std::int32_t channel;
    int day;
    int message;
    bool added;
  } cases[] = {
      {"taken with the channel's name", 0, 12, 20, 0, true},
      {"unknown channel: dropped quietly", 0, 99, 20, 0, false},
      {"ten in use", 10, 12, 25, kMsgScheTableFull, false},
      {"overlap is told even with ten in use", 10, 12, 3, kMsgScheOverlap, false},
  };
  for (const auto& c : cases) {
    ScheSetGroup table;
    for (int i = 0; i < c.inUse; ++i) AddScheItem(Entry("old", 4, i + 1), tv, rd, &table);
    ScheItem item = Entry("new", c.channel, c.day);
    item.bCompleted = 1;
    const ScheImport result = ImportScheItem(item, now, tv, rd, &table);
    EXPECT_EQ(result.message, c.message) << c.what;
    EXPECT_EQ(result.caption, kCaptionScheAdd) << c.what;
    EXPECT_EQ(result.added, c.added) << c.what;
    EXPECT_EQ(table.lScheItemCount, c.inUse + (c.added ? 1 : 0)) << c.what;
    if (c.added) {
      EXPECT_EQ(table.items[0].szChnName, "TV Tokyo");
      EXPECT_EQ(table.items[0].bCompleted, 0);
    }
  }
}

TEST_F(ScheTableTest, NewEntrySourceFallsBackToCompositeWithoutChannels) {
  const struct {
    std::int32_t panel;
    bool stations;
    std::int32_t preset;
  } cases[] = {
      {kSourceTv, false, kSourceTv},       {kSourceRadio, false, kSourceVideo},
      {kSourceRadio, true, kSourceRadio},  {kSourceSVideo, false, kSourceSVideo},
      {kSourceVideo, false, kSourceVideo},
  };
  for (const auto& c : cases) {
    rd.lRDStnCount = c.stations ? 1 : 0;
    rd.stations[0].lStn = 1;
    EXPECT_EQ(PresetSourceForNewEntry(c.panel, tv, rd), c.preset) << c.panel;
  }
  EXPECT_EQ(ChannelChoices(kSourceTv, tv, rd), (std::vector<std::int32_t>{4, 12}));
}

TEST(AboutPage, VersionsAndColumnWidthsReadAsWritten) {
  EXPECT_EQ(FormatFileVersion(true, 0x00010002, 0x00030004), "1.2.3.4");
  EXPECT_EQ(FormatFileVersion(true, 0xFFFF0000, 0x0000FFFF), "65535.0.0.65535");
  EXPECT_EQ(FormatFileVersion(false, 1, 1), "");
  const ModuleRow row = MakeModuleRow("C:\\Program Files\\KXApiMgr.dll", "", "(none)");
  EXPECT_EQ(row.name, "KXApiMgr.dll");
  EXPECT_EQ(row.version, "(none)");
  EXPECT_EQ(ParseColumnWidths("120,70,260", 3, 50), (std::vector<int>{120, 70, 260}));
  EXPECT_EQ(ParseColumnWidths("120,x", 3, 50), (std::vector<int>{120, 50, 50}));
}

}  // namespace
}  // namespace brontel
