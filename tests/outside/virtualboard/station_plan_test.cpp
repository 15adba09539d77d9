#include <gtest/gtest.h>

#include "outside/virtualboard/station_plan.h"

namespace {

TEST(StationPlan, BuiltInTableHoldsTheJapaneseVideoCarriers) {
  const ChannelTable table = BuiltInBroadcastTable();
  struct Case {
    int32_t channel;
    uint32_t hertz;
  };
  const Case cases[] = {{1, 91250000},  {3, 103250000},  {4, 171250000},  {7, 189250000},
                        {8, 193250000}, {12, 217250000}, {13, 471250000}, {62, 765250000}};
  for (const Case& c : cases) {
    ASSERT_TRUE(table.Has(c.channel)) << c.channel;
    EXPECT_EQ(table.hertz.at(c.channel), c.hertz) << c.channel;
  }
  EXPECT_EQ(table.minChannel, 1);
  EXPECT_EQ(table.maxChannel, 62);
  EXPECT_FALSE(table.Has(0));
  EXPECT_FALSE(table.Has(63));
  EXPECT_EQ(table.LowestHertz(), 91250000u);
  EXPECT_EQ(table.HighestHertz(), 765250000u);
}

TEST(StationPlan, LimitsIgnoreChannelsWithoutAFrequency) {
  ChannelTable table;
  table.hertz[1] = 0;
  table.hertz[2] = 200;
  table.hertz[3] = 100;
  EXPECT_EQ(table.LowestHertz(), 100u);
  EXPECT_EQ(table.HighestHertz(), 200u);
  EXPECT_EQ(ChannelTable().LowestHertz(), 0u);
}

TEST(StationPlan, TvStationIsReceivedWithinOneMegahertz) {
  const StationPlan plan(BuiltInBroadcastTable());
  struct Case {
    uint32_t hertz;
    const char* station;  // null: noise
  };
  const Case cases[] = {
      {171250000, "Channel Four Tokyo"},
      {171250000 + kTvCaptureHertz, "Channel Four Tokyo"},
      {171250000 - kTvCaptureHertz, "Channel Four Tokyo"},
      {171250000 + kTvCaptureHertz + 1, nullptr},
      {171250000 + 250000, "Channel Four Tokyo"},  // a fine-tune offset
      {97250000, nullptr},                         // channel 2 carries nothing
      {91250000, "Kestrova General"},
      {0, nullptr},
  };
  for (const Case& c : cases) {
    const Station* station = plan.FindTv(c.hertz);
    if (c.station == nullptr) {
      EXPECT_EQ(station, nullptr) << c.hertz;
    } else {
      ASSERT_NE(station, nullptr) << c.hertz;
      EXPECT_EQ(station->name, c.station);
    }
  }
}

TEST(StationPlan, StationsFollowTheInstalledTableAndFallBackPerChannel) {
  ChannelTable table;
  table.minChannel = 1;
  table.maxChannel = 4;
  table.hertz[4] = 175000000;  // a table with its own frequency for channel 4
  const StationPlan plan(table);
  ASSERT_NE(plan.FindTv(175000000), nullptr);
  EXPECT_EQ(plan.FindTv(175000000)->channel, 4);
  EXPECT_EQ(plan.FindTv(171250000), nullptr) << "the built-in frequency no longer applies";
  // Channel 6 is not in the table: the built-in frequency is used.
  ASSERT_NE(plan.FindTv(183250000), nullptr);
  EXPECT_EQ(plan.FindTv(183250000)->channel, 6);
}

TEST(StationPlan, EveryAudioModeIsCarriedBySomeStation) {
  const StationPlan plan(BuiltInBroadcastTable());
  uint8_t all = 0;
  bool monoOnly = false;
  for (const Station& station : plan.TvStations()) {
    EXPECT_NE(station.audioModes & kAudioMono, 0) << station.name;
    all |= station.audioModes;
    monoOnly |= station.audioModes == kAudioMono;
  }
  EXPECT_EQ(all, kAudioMono | kAudioStereo | kAudioA | kAudioB | kAudioAB);
  EXPECT_TRUE(monoOnly);
}

TEST(StationPlan, RadioStationIsReceivedWithinFiftyKilohertz) {
  const StationPlan plan(BuiltInBroadcastTable());
  EXPECT_NE(plan.FindRadio(80000000), nullptr);
  EXPECT_NE(plan.FindRadio(80000000 + kRadioCaptureHertz), nullptr);
  EXPECT_EQ(plan.FindRadio(80000000 + kRadioCaptureHertz + 1), nullptr);
  EXPECT_EQ(plan.FindRadio(79000000), nullptr);
  EXPECT_EQ(plan.FindTv(80000000), nullptr) << "radio stations are not TV stations";
}

}  // namespace
