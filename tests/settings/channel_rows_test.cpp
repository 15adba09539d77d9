#include "settings/channel_rows.h"

#include <gtest/gtest.h>

#include "app/vocabulary/source_numbers.h"

namespace brontel {
namespace {

// Broadcast 1 to 62 and cable 1 to 63, at 1 MHz + channel × 6 MHz (cable
// 1 MHz higher), so that the two tables are told apart.
FreqTables TestTables() {
  FreqTables tables;
  tables.broadcast.minChn = 1;
  tables.broadcast.maxChn = 62;
  tables.cable.minChn = 1;
  tables.cable.maxChn = 63;
  for (int c = 1; c <= 63; ++c) {
    if (c <= 62) tables.broadcast.hertz[c - 1] = 1000000 + c * 6000000 + 250000;
    tables.cable.hertz[c - 1] = 2000000 + c * 6000000 + 250000;
  }
  return tables;
}

ScheItem TvEntry(std::int32_t source, std::int32_t channel, const char* name) {
  ScheItem item;
  item.msSrcType = source;
  item.lChn = channel;
  item.szChnName = name;
  return item;
}

TEST(ChannelRows, NumberTextHasThreeDigitsAtLeast) {
  const struct {
    std::int32_t number;
    const char* text;
  } cases[] = {{0, "000"}, {7, "007"}, {42, "042"}, {105, "105"}, {1000, "1000"}};
  for (const auto& c : cases) {
    EXPECT_EQ(ChannelNumberText(c.number), c.text);
    EXPECT_EQ(ParseChannelNumber(c.text), c.number);
  }
  EXPECT_EQ(ParseChannelNumber(""), 0);
  EXPECT_EQ(ParseChannelNumber("x"), 0);
}

TEST(ChannelRows, TypedNumberChecks) {
  const FreqTables tables = TestTables();
  const std::vector<ChannelRow> rows = {NewChannelRow(tables, 0, 4, "a", "")};
  const struct {
    std::int32_t table, number;
    NewChannelCheck check;
  } cases[] = {
      {0, 1, NewChannelCheck::kAccepted},      {0, 62, NewChannelCheck::kAccepted},
      {0, 63, NewChannelCheck::kOutsideTable}, {1, 63, NewChannelCheck::kAccepted},
      {0, 0, NewChannelCheck::kOutsideTable},  {0, -5, NewChannelCheck::kOutsideTable},
      {0, 4, NewChannelCheck::kAlreadyListed}, {2, 4, NewChannelCheck::kOutsideTable},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckNewChannel(tables, c.table, rows, c.number), c.check)
        << c.table << " " << c.number;
  }
}

TEST(ChannelRows, WriteBackResetsEveryEntryAndTakesTheRowsInOrder) {
  const FreqTables tables = TestTables();
  TVSetGroup tv;
  for (int i = 0; i < kChannelRecordCount; ++i) {
    tv.channels[i] = {99, 99, 1.5, 0.5, "old", "old"};
  }
  tv.lTVChnCount = 181;
  tv.lCurrChn = 150;
  ScheSetGroup schedule;
  // Channel 4 is 25.250 MHz in the broadcast table; the row shows it 150 kHz higher.
  const std::vector<ChannelRow> rows = {
      {10, "61.250", "Ten", "TEN"},
      {4, "25.400", "Four", "FOUR"},
      {8, "49.200", "Eight", ""},  // 50 kHz below the table
  };
  WriteBackChannelRows(rows, tables, 0, &tv, &schedule);
  EXPECT_EQ(tv.lTVChnCount, 3);
  EXPECT_EQ(tv.lCurrChn, 1);
  EXPECT_EQ(tv.channels[0].lFreqChn, 10);
  EXPECT_EQ(tv.channels[0].dFreqOffset, 0.0);
  EXPECT_EQ(tv.channels[1].lFreqChn, 4);
  EXPECT_EQ(tv.channels[1].dFreqOffset, 0.15);
  EXPECT_EQ(MegahertzToHertz(tv.channels[1].dFreqOffset), 150000);
  EXPECT_EQ(tv.channels[2].dFreqOffset, -0.05);
  EXPECT_EQ(tv.channels[1].szTVStnName, "Four");
  EXPECT_EQ(tv.channels[1].szTVPIStnName, "FOUR");
  for (int i = 0; i < kChannelRecordCount; ++i) {
    EXPECT_EQ(tv.channels[i].lChn, i + 1);
    EXPECT_EQ(tv.channels[i].dPresetFreq, 0.0);
    if (i >= 3) {
      EXPECT_EQ(tv.channels[i].lFreqChn, 0) << i;
      EXPECT_EQ(tv.channels[i].szTVStnName, "") << i;
    }
  }
  // And back: the list the page fills from that table shows the same texts.
  const std::vector<ChannelRow> again = RowsFromChannels(tv, tables, 0);
  ASSERT_EQ(again.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(again[i].frequency, rows[i].frequency) << i;
}

TEST(ChannelRows, WriteBackTakesAtMost181Rows) {
  const FreqTables tables = TestTables();
  std::vector<ChannelRow> rows;
  for (int i = 0; i < 200; ++i) rows.push_back(NewChannelRow(tables, 0, 1 + i % 62, "n", ""));
  TVSetGroup tv;
  ScheSetGroup schedule;
  WriteBackChannelRows(rows, tables, 0, &tv, &schedule);
  EXPECT_EQ(tv.lTVChnCount, 181);
  EXPECT_EQ(tv.channels[180].lFreqChn, 1 + 180 % 62);
}

TEST(ChannelRows, WriteBackRenamesTheTvScheduleEntriesOfAChannel) {
  const FreqTables tables = TestTables();
  TVSetGroup tv;
  ScheSetGroup schedule;
  schedule.items[0] = TvEntry(kSourceTv, 4, "Old four");
  schedule.items[1] = TvEntry(kSourceRadio, 4, "Radio four");  // a station number, not a channel
  schedule.items[2] = TvEntry(kSourceTv, 9, "Unlisted");
  schedule.items[3] = TvEntry(kSourceTv, 4, "Also four");
  schedule.items[4] = TvEntry(kSourceTv, 4, "Not in use");
  schedule.lScheItemCount = 4;
  WriteBackChannelRows(
      {NewChannelRow(tables, 0, 4, "Four", ""), NewChannelRow(tables, 0, 4, "Dup", "")}, tables, 0,
      &tv, &schedule);
  EXPECT_EQ(schedule.items[0].szChnName, "Four");
  EXPECT_EQ(schedule.items[1].szChnName, "Radio four");
  EXPECT_EQ(schedule.items[2].szChnName, "Unlisted");
  EXPECT_EQ(schedule.items[3].szChnName, "Four");
  EXPECT_EQ(schedule.items[4].szChnName, "Not in use");
}

TEST(ChannelRows, ScheduleGuardsCountOnlyTvEntriesInUse) {
  ScheSetGroup schedule;
  schedule.items[0] = TvEntry(kSourceRadio, 4, "");
  schedule.items[1] = TvEntry(kSourceTv, 6, "");
  schedule.lScheItemCount = 1;
  EXPECT_FALSE(HasTvScheduleEntry(schedule));
  EXPECT_FALSE(TvScheduleUsesChannel(schedule, 4));
  schedule.lScheItemCount = 2;
  EXPECT_TRUE(HasTvScheduleEntry(schedule));
  EXPECT_TRUE(TvScheduleUsesChannel(schedule, 6));
  EXPECT_FALSE(TvScheduleUsesChannel(schedule, 4));
  schedule.lScheItemCount = 500;  // a damaged count reads no further than the table
  EXPECT_TRUE(HasTvScheduleEntry(schedule));
}

TEST(ChannelRows, NumberedNamesFillOnlyTheirNumber) {
  const struct {
    const char* format;
    const char* text;
  } cases[] = {
      {"Channel %d", "Channel 12"},
      {"%dch", "12ch"},
      {"No number", "No number"},
      {"%s %d %n", "%s 12 %n"},  // other conversions stay text
  };
  for (const auto& c : cases) EXPECT_EQ(FormatNumbered(c.format, 12), c.text) << c.format;
}

}  // namespace
}  // namespace brontel
