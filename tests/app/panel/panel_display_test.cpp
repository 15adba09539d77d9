// Indicators, channel display, volume meter and time display.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/panel/panel_display.h"

namespace brontel::panel {
namespace {

std::map<std::string, Visibility> AsMap(const std::vector<ElementVisibility>& list) {
  std::map<std::string, Visibility> out;
  for (const ElementVisibility& entry : list) out[entry.element] = entry.visibility;
  return out;
}

int ShownCount(const std::vector<ElementVisibility>& list) {
  int count = 0;
  for (const ElementVisibility& entry : list) count += entry.visibility == Visibility::kShow;
  return count;
}

TEST(Indicators, ExactlyTheCurrentSourceShows) {
  const char* names[] = {"LCD-Src-TV", "LCD-Src-Video", "LCD-Src-SVideo", "LCD-Src-Radio"};
  for (int source = 0; source < 4; ++source) {
    const auto list = SourceIndicators(source);
    EXPECT_EQ(ShownCount(list), 1);
    EXPECT_EQ(AsMap(list)[names[source]], Visibility::kShow);
  }
  EXPECT_EQ(ShownCount(SourceIndicators(7)), 0);
}

TEST(Indicators, SoundModeBitsPickOneIndicator) {
  const std::pair<int, const char*> cases[] = {{1, "LCD-Sound-Mono"},
                                               {2, "LCD-Sound-Stereo"},
                                               {4, "LCD-Sound-A"},
                                               {8, "LCD-Sound-B"},
                                               {16, "LCD-Sound-AB"}};
  for (const auto& [mode, name] : cases) {
    const auto list = SoundIndicators(mode);
    EXPECT_EQ(ShownCount(list), 1) << mode;
    EXPECT_EQ(AsMap(list)[name], Visibility::kShow) << mode;
  }
  for (int mode : {0, 3, 24, 32}) EXPECT_EQ(ShownCount(SoundIndicators(mode)), 0) << mode;
}

TEST(Indicators, QualityFollowsRecModeAndRadioShowsWma) {
  const std::pair<int, const char*> cases[] = {{0, "LCD-PVRMode-Long"},
                                               {1, "LCD-PVRMode-Normal"},
                                               {2, "LCD-PVRMode-High"},
                                               {3, "LCD-PVRMode-Custom"}};
  for (const auto& [mode, name] : cases) {
    auto map = AsMap(QualityIndicators(kSourceTv, mode));
    EXPECT_EQ(map[name], Visibility::kShow);
    EXPECT_EQ(map["LCD-PVRMode-WMA"], Visibility::kHide);
    EXPECT_EQ(ShownCount(QualityIndicators(kSourceTv, mode)), 1);
  }
  auto radio = AsMap(QualityIndicators(kSourceRadio, 1));
  EXPECT_EQ(radio["LCD-PVRMode-WMA"], Visibility::kShow);
  EXPECT_EQ(radio["LCD-PVRMode-Normal"], Visibility::kLeave);
  EXPECT_EQ(radio["LCD-PVRMode-Long"], Visibility::kLeave);
}

TEST(Indicators, OverlaysShowForDisabledActions) {
  ActionStates states{};
  states[kActPlay] = true;
  auto map = AsMap(DisabledOverlays(states));
  EXPECT_EQ(map["PlayBtn-D"], Visibility::kHide);
  EXPECT_EQ(map["SnapBtn-D"], Visibility::kShow);
  EXPECT_EQ(map["ChnDnBtn-D"], Visibility::kShow);
  EXPECT_EQ(map.size(), 18u);
}

TEST(Indicators, MuteSwapsSoundButtonsAndCoversVolume) {
  auto on = AsMap(SoundButtons(true));
  EXPECT_EQ(on["AudioOnBtn"], Visibility::kShow);
  EXPECT_EQ(on["AudioOffBtn"], Visibility::kHide);
  EXPECT_EQ(on["VolUpBtn-D"], Visibility::kHide);
  auto off = AsMap(SoundButtons(false));
  EXPECT_EQ(off["AudioOnBtn"], Visibility::kHide);
  EXPECT_EQ(off["AudioOffBtn"], Visibility::kShow);
  EXPECT_EQ(off["VolDnBtn-D"], Visibility::kShow);
}

TEST(ChannelDisplay, TvAndRadioLiveShowNumberAndName) {
  const ChannelInfo tv{true, 12, "NHK"};
  ChannelDisplay display = MakeChannelDisplay(kRunLive, kSourceTv, tv);
  EXPECT_EQ(display.numberText, "Ch 12");
  EXPECT_EQ(display.nameText, "NHK");
  display = MakeChannelDisplay(kRunLive, kSourceRadio, ChannelInfo{true, 3, "FM Tokyo"});
  EXPECT_EQ(display.numberText, "St 3");
  EXPECT_EQ(display.nameText, "FM Tokyo");
}

TEST(ChannelDisplay, EmptyForVideoInputsOtherModesAndMissingRecords) {
  const ChannelInfo tv{true, 12, "NHK"};
  for (const auto& [mode, source] : {std::pair{kRunLive, kSourceVideo},
                                     {kRunLive, kSourceSVideo},
                                     {kRunRecording, kSourceTv},
                                     {kRunPlayback, kSourceRadio}}) {
    const ChannelDisplay display = MakeChannelDisplay(mode, source, tv);
    EXPECT_EQ(display.numberText, "") << mode << "/" << source;
    EXPECT_EQ(display.nameText, "");
  }
  EXPECT_EQ(MakeChannelDisplay(kRunLive, kSourceTv, ChannelInfo{}).numberText, "");
}

TEST(VolumeMeter, GrowsFromTheBottomInBands) {
  const PanelRect region{300, 40, 12, 105};  // band 10, 5 pixels left over at the top
  struct Case {
    int level;
    PanelRect expected;
  };
  const Case cases[] = {
      {0, {300, 40, 0, 0}},        {1, {300, 40 + 90, 12, 10}}, {5, {300, 40 + 50, 12, 50}},
      {9, {300, 40 + 10, 12, 90}}, {10, {300, 40, 12, 100}},    {100, region},
      {-3, {300, 40, 0, 0}},       {42, {300, 40, 12, 100}},
  };
  for (const Case& c : cases) {
    const PanelRect rect = VolumeMeterRect(region, c.level);
    EXPECT_EQ(rect.left, c.expected.left) << c.level;
    EXPECT_EQ(rect.top, c.expected.top) << c.level;
    EXPECT_EQ(rect.width, c.expected.width) << c.level;
    EXPECT_EQ(rect.height, c.expected.height) << c.level;
  }
}

TEST(VolumeMeter, RegionLowerThanTenBandsGivesEmptyBands) {
  const PanelRect tiny{0, 0, 5, 9};
  EXPECT_EQ(VolumeMeterRect(tiny, 5).height, 0);
  EXPECT_EQ(VolumeMeterRect(tiny, 100), tiny);
}

TEST(ShowTime, FormatsHoursMinutesSeconds) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {0, "00:00:00"},      {9, "00:00:09"},       {10, "00:00:10"},   {59, "00:00:59"},
      {60, "00:01:00"},     {3599, "00:59:59"},    {3600, "01:00:00"}, {36000, "10:00:00"},
      {359999, "99:59:59"}, {360000, "100:00:00"}, {-5, "00:00:00"},
  };
  for (const auto& [seconds, text] : cases) EXPECT_EQ(FormatShowTime(seconds), text) << seconds;
}

std::string LabelOf(const TimeDisplay& plan, int id) {
  for (const LabelText& label : plan.labels) {
    if (label.labelId == id) return label.text;
  }
  return "<untouched>";
}

TEST(ShowTime, ElapsedAreaShowsOneKindIndicator) {
  const char* names[] = {"LCD-PlayTime", "LCD-DelayTime", "LCD-RecordTime"};
  for (int kind = 0; kind < 3; ++kind) {
    const TimeDisplay plan = PlanShowTime(kAreaElapsed, true, kind, 61, false, 0);
    EXPECT_EQ(LabelOf(plan, 1014), "00:01:01");
    auto map = AsMap(plan.elements);
    for (int other = 0; other < 3; ++other) {
      EXPECT_EQ(map[names[other]], other == kind ? Visibility::kShow : Visibility::kHide);
    }
    EXPECT_EQ(map.count("LCD-RemainTime"), 0u);
    EXPECT_EQ(LabelOf(plan, 1015), "<untouched>");
  }
}

TEST(ShowTime, PartCounterOnlyForPlayAndRecordOfSplitRecordings) {
  EXPECT_EQ(LabelOf(PlanShowTime(kAreaElapsed, true, kKindRecord, 5, true, 3), 1016), "(3)");
  EXPECT_EQ(LabelOf(PlanShowTime(kAreaElapsed, true, kKindPlay, 5, true, 2), 1016), "(2)");
  EXPECT_EQ(LabelOf(PlanShowTime(kAreaElapsed, true, kKindDelay, 5, true, 2), 1016), "");
  EXPECT_EQ(LabelOf(PlanShowTime(kAreaElapsed, true, kKindRecord, 5, false, 2), 1016), "");
  EXPECT_EQ(LabelOf(PlanShowTime(kAreaElapsed, false, kKindRecord, 5, true, 2), 1016), "");
}

TEST(ShowTime, RemainingAreaAndHiddenAreas) {
  TimeDisplay plan = PlanShowTime(kAreaRemaining, true, kKindPlay, 3600, false, 0);
  EXPECT_EQ(LabelOf(plan, 1015), "01:00:00");
  EXPECT_EQ(AsMap(plan.elements)["LCD-RemainTime"], Visibility::kShow);
  EXPECT_EQ(LabelOf(plan, 1014), "<untouched>");

  plan = PlanShowTime(kAreaRemaining, false, kKindPlay, 3600, false, 0);
  EXPECT_EQ(LabelOf(plan, 1015), "");
  EXPECT_EQ(AsMap(plan.elements)["LCD-RemainTime"], Visibility::kHide);

  plan = PlanShowTime(kAreaElapsed, false, kKindRecord, 10, false, 0);
  EXPECT_EQ(LabelOf(plan, 1014), "");
  EXPECT_EQ(ShownCount(plan.elements), 0);
  EXPECT_EQ(plan.elements.size(), 3u);

  EXPECT_TRUE(PlanShowTime(2, true, 0, 1, false, 0).labels.empty());
}

}  // namespace
}  // namespace brontel::panel
