#include "tv/channel_lists.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "app/vocabulary/source_numbers.h"

namespace brontel {
namespace {

// A TV list whose entries carry the given lFreqChn numbers.
void SetTvList(CAppSettings* settings, std::initializer_list<std::int32_t> numbers) {
  std::int32_t index = 0;
  for (std::int32_t number : numbers) {
    ChannelEntry& entry = settings->tvSet.channels[index];
    entry.lChn = index + 1;
    entry.lFreqChn = number;
    entry.szTVStnName = "Station " + std::to_string(number);
    ++index;
  }
  settings->tvSet.lTVChnCount = index;
}

void SetRadioList(CAppSettings* settings, std::initializer_list<std::int32_t> numbers) {
  std::int32_t index = 0;
  for (std::int32_t number : numbers) {
    settings->rdSet.stations[index].lStn = number;
    ++index;
  }
  settings->rdSet.lRDStnCount = index;
}

TEST(StepPosition, WrapsAroundInBothDirections) {
  const struct {
    std::int32_t source;
    std::int32_t count;
    std::int32_t current;
    bool up;
    std::int32_t next;
  } cases[] = {
      {kSourceTv, 3, 1, true, 2},           {kSourceTv, 3, 3, true, 1},
      {kSourceTv, 3, 1, false, 3},          {kSourceTv, 3, 2, false, 1},
      {kSourceTv, 3, 0, true, 2},           {kSourceTv, 3, 0, false, 3},
      {kSourceTv, 3, -4, false, 3},         {kSourceTv, 1, 1, true, 1},
      {kSourceTv, 1, 1, false, 1},          {kSourceTv, 181, 181, true, 1},
      {kSourceTv, 181, 1, false, 181},      {kSourceTv, 3, 2147483647, true, 1},
      {kSourceTv, 3, 2147483647, false, 1}, {kSourceRadio, 10, 10, true, 1},
      {kSourceRadio, 10, 1, false, 10},     {kSourceRadio, 4, 2, true, 3},
  };
  for (const auto& c : cases) {
    CAppSettings settings;
    settings.tvSet.lTVChnCount = c.count;
    settings.tvSet.lCurrChn = c.current;
    settings.rdSet.lRDStnCount = c.count;
    settings.rdSet.lCurrStn = c.current;
    ChannelLists lists(settings);
    EXPECT_EQ(lists.StepPosition(c.source, c.up), c.next)
        << "source " << c.source << " count " << c.count << " from " << c.current
        << (c.up ? " up" : " down");
    const std::int32_t stored =
        c.source == kSourceTv ? settings.tvSet.lCurrChn : settings.rdSet.lCurrStn;
    EXPECT_EQ(stored, c.next);
  }
}

TEST(StepPosition, KeepsTheOldPositionAsPrevious) {
  CAppSettings settings;
  SetTvList(&settings, {1, 3, 4});
  settings.tvSet.lCurrChn = 3;
  ChannelLists lists(settings);
  EXPECT_EQ(lists.PreviousPosition(kSourceTv), 0);
  lists.StepPosition(kSourceTv, true);
  EXPECT_EQ(lists.PreviousPosition(kSourceTv), 3);
  lists.StepPosition(kSourceTv, true);
  EXPECT_EQ(lists.PreviousPosition(kSourceTv), 1);
  // The radio list keeps its own previous position.
  EXPECT_EQ(lists.PreviousPosition(kSourceRadio), 0);
}

TEST(StepPosition, EmptyListStaysOnTheFirstPosition) {
  CAppSettings settings;
  ChannelLists lists(settings);
  EXPECT_EQ(lists.StepPosition(kSourceTv, true), 1);
  EXPECT_EQ(lists.StepPosition(kSourceTv, false), 1);
}

TEST(StepPosition, DoesNothingForSourcesWithoutAList) {
  CAppSettings settings;
  SetTvList(&settings, {1, 3});
  settings.tvSet.lCurrChn = 2;
  ChannelLists lists(settings);
  EXPECT_EQ(lists.StepPosition(kSourceVideo, true), 0);
  EXPECT_EQ(lists.StepPosition(kSourceSVideo, false), 0);
  EXPECT_EQ(settings.tvSet.lCurrChn, 2);
  EXPECT_EQ(lists.PreviousPosition(kSourceTv), 0);
}

TEST(StepPosition, CountBeyondTheArrayWrapsAtTheArrayEnd) {
  CAppSettings settings;
  settings.tvSet.lTVChnCount = 5000;
  settings.tvSet.lCurrChn = 181;
  ChannelLists lists(settings);
  EXPECT_EQ(lists.StepPosition(kSourceTv, true), 1);
  EXPECT_EQ(lists.StepPosition(kSourceTv, false), 181);
}

TEST(SelectByNumber, NoMatchChangesNothingAndReturnsTheCount) {
  CAppSettings settings;
  SetTvList(&settings, {1, 3, 4, 6});
  settings.tvSet.lCurrChn = 2;
  ChannelLists lists(settings);
  EXPECT_EQ(lists.SelectByNumber(kSourceTv, 5), 4);
  EXPECT_EQ(settings.tvSet.lCurrChn, 2);
  EXPECT_EQ(lists.PreviousPosition(kSourceTv), 0);
}

TEST(SelectByNumber, FirstMatchBecomesCurrent) {
  CAppSettings settings;
  SetTvList(&settings, {1, 6, 4, 6});
  settings.tvSet.lCurrChn = 1;
  ChannelLists lists(settings);
  EXPECT_EQ(lists.SelectByNumber(kSourceTv, 6), 2);
  EXPECT_EQ(settings.tvSet.lCurrChn, 2);
  EXPECT_EQ(lists.PreviousPosition(kSourceTv), 1);
}

TEST(SelectByNumber, IgnoresEntriesBeyondTheCount) {
  CAppSettings settings;
  SetTvList(&settings, {1, 3, 8});
  settings.tvSet.lTVChnCount = 2;
  settings.tvSet.lCurrChn = 1;
  ChannelLists lists(settings);
  EXPECT_FALSE(lists.HasNumber(kSourceTv, 8));
  EXPECT_EQ(lists.SelectByNumber(kSourceTv, 8), 2);
  EXPECT_EQ(settings.tvSet.lCurrChn, 1);
}

TEST(SelectByNumber, RadioMatchesStationNumbers) {
  CAppSettings settings;
  SetRadioList(&settings, {5, 7, 9});
  SetTvList(&settings, {9});
  ChannelLists lists(settings);
  EXPECT_TRUE(lists.HasNumber(kSourceRadio, 7));
  EXPECT_FALSE(lists.HasNumber(kSourceRadio, 1));
  EXPECT_EQ(lists.SelectByNumber(kSourceRadio, 9), 3);
  EXPECT_EQ(settings.rdSet.lCurrStn, 3);
  EXPECT_EQ(settings.tvSet.lCurrChn, 0);
  EXPECT_FALSE(lists.HasNumber(kSourceVideo, 9));
}

TEST(ReturnToPrevious, AlternatesBetweenTheLastTwoSelections) {
  CAppSettings settings;
  SetTvList(&settings, {1, 3, 4, 6, 8});
  settings.tvSet.lCurrChn = 1;
  ChannelLists lists(settings);
  ASSERT_EQ(lists.SelectByNumber(kSourceTv, 6), 4);
  EXPECT_EQ(lists.ReturnToPrevious(kSourceTv), 1);
  EXPECT_EQ(settings.tvSet.lCurrChn, 1);
  EXPECT_EQ(lists.ReturnToPrevious(kSourceTv), 4);
  lists.StepPosition(kSourceTv, true);
  EXPECT_EQ(lists.ReturnToPrevious(kSourceTv), 4);
  EXPECT_EQ(settings.tvSet.lCurrChn, 4);
}

TEST(ReturnToPrevious, NothingToReturnToChangesNothing) {
  CAppSettings settings;
  SetTvList(&settings, {1, 3, 4});
  settings.tvSet.lCurrChn = 3;
  ChannelLists lists(settings);
  EXPECT_EQ(lists.ReturnToPrevious(kSourceTv), 0);
  EXPECT_EQ(settings.tvSet.lCurrChn, 3);
  // A previous position the shortened list no longer has.
  lists.StepPosition(kSourceTv, false);
  settings.tvSet.lTVChnCount = 2;
  EXPECT_EQ(lists.ReturnToPrevious(kSourceTv), 0);
  EXPECT_EQ(settings.tvSet.lCurrChn, 2);
  EXPECT_EQ(lists.ReturnToPrevious(kSourceVideo), 0);
}

TEST(CurrentEntry, PositionZeroOrLessCountsAsOne) {
  for (std::int32_t position : {0, -1, 1}) {
    CAppSettings settings;
    SetTvList(&settings, {4, 6});
    settings.tvSet.lCurrChn = position;
    const auto entry = ChannelLists(settings).CurrentEntry(kSourceTv);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->position, 1);
    EXPECT_EQ(entry->number, 4);
    EXPECT_EQ(entry->name, "Station 4");
  }
}

TEST(CurrentEntry, NothingForOtherSourcesOrPositionsPastTheArray) {
  CAppSettings settings;
  SetTvList(&settings, {4});
  ChannelLists lists(settings);
  EXPECT_FALSE(lists.CurrentEntry(kSourceVideo).has_value());
  EXPECT_FALSE(lists.CurrentEntry(kSourceSVideo).has_value());
  EXPECT_FALSE(lists.CurrentEntry(7).has_value());
  settings.tvSet.lCurrChn = 182;
  EXPECT_FALSE(lists.CurrentEntry(kSourceTv).has_value());
  settings.rdSet.lCurrStn = 11;
  EXPECT_FALSE(lists.CurrentEntry(kSourceRadio).has_value());
  EXPECT_EQ(lists.PresetHertz(kSourceRadio), 0);
}

TEST(CurrentEntry, RadioEntryCarriesTheStationNumberAndName) {
  CAppSettings settings;
  SetRadioList(&settings, {3, 8});
  settings.rdSet.stations[1].szRDStnName = "FM Tokyo";
  settings.rdSet.stations[1].dPresetFreq = 80.0;
  settings.rdSet.lCurrStn = 2;
  const auto entry = ChannelLists(settings).CurrentEntry(kSourceRadio);
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->number, 8);
  EXPECT_EQ(entry->name, "FM Tokyo");
  EXPECT_DOUBLE_EQ(entry->dPresetFreq, 80.0);
}

TEST(OffsetOf, QuarterMegahertzIs250000Hertz) {
  CAppSettings settings;
  SetTvList(&settings, {13});
  settings.tvSet.channels[0].dFreqOffset = 0.25;
  EXPECT_EQ(ChannelLists(settings).OffsetOf(13), 250000);
}

TEST(OffsetOf, FirstEntryWithTheNumberWins) {
  CAppSettings settings;
  SetTvList(&settings, {4, 13, 13});
  settings.tvSet.channels[1].dFreqOffset = 0.125;
  settings.tvSet.channels[2].dFreqOffset = -1.5;
  ChannelLists lists(settings);
  EXPECT_EQ(lists.OffsetOf(13), 125000);
  EXPECT_EQ(lists.OffsetOf(99), 0);
}

TEST(OffsetOf, TruncatesTowardZero) {
  CAppSettings settings;
  SetTvList(&settings, {1, 2});
  settings.tvSet.channels[0].dFreqOffset = 0.0000019;
  settings.tvSet.channels[1].dFreqOffset = -0.0000019;
  ChannelLists lists(settings);
  EXPECT_EQ(lists.OffsetOf(1), 1);
  EXPECT_EQ(lists.OffsetOf(2), -1);
}

TEST(PresetHertz, RadioTunesAtThePresetWithoutItsOffset) {
  CAppSettings settings;
  SetRadioList(&settings, {1, 2});
  settings.rdSet.stations[1].dPresetFreq = 80.4;
  settings.rdSet.stations[1].dFreqOffset = 0.5;
  settings.rdSet.lCurrStn = 2;
  EXPECT_EQ(ChannelLists(settings).PresetHertz(kSourceRadio), 80400000);
}

TEST(PresetHertz, TvUsesTheCurrentChannelEntry) {
  CAppSettings settings;
  SetTvList(&settings, {1, 2});
  settings.tvSet.channels[1].dPresetFreq = 471.25;
  settings.tvSet.lCurrChn = 2;
  ChannelLists lists(settings);
  EXPECT_EQ(lists.PresetHertz(kSourceTv), 471250000);
  EXPECT_EQ(lists.PresetHertz(kSourceVideo), 0);
}

TEST(TuneChannelHertz, TunerSourceOneUsesTheCableTableWithTheOffset) {
  FreqTables tables;
  tables.broadcast.minChn = tables.cable.minChn = 1;
  tables.broadcast.maxChn = tables.cable.maxChn = 63;
  tables.broadcast.hertz[12] = 471250000;  // UHF 13
  tables.cable.hertz[12] = 109250000;      // C13
  CAppSettings settings;
  SetTvList(&settings, {13});
  settings.tvSet.channels[0].dFreqOffset = 0.25;
  settings.tvSet.lTunerSrc = 1;
  ChannelLists lists(settings);
  EXPECT_EQ(TuneChannelHertz(tables, lists, settings.tvSet.lTunerSrc, 13), 109500000);
  EXPECT_EQ(TuneChannelHertz(tables, lists, 0, 13), 471500000);
  EXPECT_FALSE(TuneChannelHertz(tables, lists, 1, 64).has_value());
}

}  // namespace
}  // namespace brontel
