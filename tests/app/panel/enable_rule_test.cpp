// The enable tables and the rule that combines them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/panel/panel_actions.h"

namespace brontel::panel {
namespace {

ActionStates Parse(const std::string& row) {
  std::istringstream in(row);
  ActionStates states{};
  for (int i = 0; i < kActionCount; ++i) {
    int flag = -1;
    in >> flag;
    states[i] = flag == 1;
  }
  return states;
}

std::string Describe(const ActionStates& states) {
  std::string out;
  for (bool flag : states) out += flag ? "1 " : "0 ";
  return out;
}

// Every mode with every source, as the panel must show it with overlay on.
// Live ANDs the mode row with the source row; elsewhere the radio loses
// sound mode, full screen, snapshot, and pause outside playback.
struct RuleRow {
  std::int32_t mode;
  std::int32_t source;
  const char* actions;
};

const RuleRow kRuleRows[] = {
    {kRunLive, kSourceTv, "1 0 0 1 0 0 0 1 0 1 1 1 1 1 1 1 1 1"},
    {kRunLive, kSourceVideo, "1 0 0 1 0 0 0 1 0 1 1 1 1 1 1 1 0 0"},
    {kRunLive, kSourceSVideo, "1 0 0 1 0 0 0 1 0 1 1 1 1 1 1 1 0 0"},
    {kRunLive, kSourceRadio, "0 0 0 1 0 0 0 1 0 1 1 0 1 1 0 0 1 1"},
    {kRunSchedulePrepared, kSourceTv, "0 0 0 0 0 0 0 0 1 0 0 0 0 1 1 0 0 0"},
    {kRunSchedulePrepared, kSourceVideo, "0 0 0 0 0 0 0 0 1 0 0 0 0 1 1 0 0 0"},
    {kRunSchedulePrepared, kSourceSVideo, "0 0 0 0 0 0 0 0 1 0 0 0 0 1 1 0 0 0"},
    {kRunSchedulePrepared, kSourceRadio, "0 0 0 0 0 0 0 0 1 0 0 0 0 1 0 0 0 0"},
    {kRunRecording, kSourceTv, "0 0 0 0 0 0 0 0 1 0 0 0 0 1 1 0 0 0"},
    {kRunRecording, kSourceVideo, "0 0 0 0 0 0 0 0 1 0 0 0 0 1 1 0 0 0"},
    {kRunRecording, kSourceSVideo, "0 0 0 0 0 0 0 0 1 0 0 0 0 1 1 0 0 0"},
    {kRunRecording, kSourceRadio, "0 0 0 0 0 0 0 0 1 0 0 0 0 1 0 0 0 0"},
    {kRunPlayback, kSourceTv, "0 1 1 1 1 1 1 0 1 0 1 0 0 1 1 1 0 0"},
    {kRunPlayback, kSourceVideo, "0 1 1 1 1 1 1 0 1 0 1 0 0 1 1 1 0 0"},
    {kRunPlayback, kSourceSVideo, "0 1 1 1 1 1 1 0 1 0 1 0 0 1 1 1 0 0"},
    {kRunPlayback, kSourceRadio, "0 1 1 1 1 1 1 0 1 0 0 0 0 1 0 0 0 0"},
    {kRunTimeShift, kSourceTv, "1 1 1 1 1 1 1 0 0 0 0 0 0 1 1 0 0 0"},
    {kRunTimeShift, kSourceVideo, "1 1 1 1 1 1 1 0 0 0 0 0 0 1 1 0 0 0"},
    {kRunTimeShift, kSourceSVideo, "1 1 1 1 1 1 1 0 0 0 0 0 0 1 1 0 0 0"},
    {kRunTimeShift, kSourceRadio, "1 1 1 1 0 1 1 0 0 0 0 0 0 1 0 0 0 0"},
};

TEST(EnableRule, EveryModeAndSourceGivesItsRowAndSnapshotNeedsOverlay) {
  for (const RuleRow& row : kRuleRows) {
    PanelState state;
    state.lRunMode = row.mode;
    state.msCurrSrc = row.source;
    state.overlayMode = true;
    ActionStates expected = Parse(row.actions);
    EXPECT_EQ(Describe(GetActionStates(state)), Describe(expected))
        << "mode " << row.mode << " source " << row.source;
    state.overlayMode = false;
    expected[kActSnapshot] = false;
    EXPECT_EQ(Describe(GetActionStates(state)), Describe(expected))
        << "mode " << row.mode << " source " << row.source << " without overlay";
  }
}

TEST(EnableRule, MissingPowerLibrarySwitchesReservationOffEverywhere) {
  for (int mode = 0; mode < kRunModeCount; ++mode) {
    for (int source = 0; source < kSourceCount; ++source) {
      PanelState state;
      state.lRunMode = mode;
      state.msCurrSrc = source;
      state.overlayMode = true;
      state.reservationAvailable = false;
      EXPECT_FALSE(GetActionStates(state)[kActReservation]) << mode << "/" << source;
    }
  }
  PanelState live;
  EXPECT_TRUE(GetActionStates(live)[kActReservation]);
}

TEST(EnableRule, UnknownModeOrSourceEnablesNothing) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {{-1, 0}, {5, 0}, {0, -1}, {0, 4}, {3, 9}};
  for (const auto& [mode, source] : cases) {
    PanelState state;
    state.lRunMode = mode;
    state.msCurrSrc = source;
    state.overlayMode = true;
    EXPECT_EQ(Describe(GetActionStates(state)), Describe(ActionStates{})) << mode << "/" << source;
  }
}

TEST(ActionCodes, IndexAndCodeRoundTrip) {
  for (int i = 0; i < kActionCount; ++i) {
    const std::int32_t code = ActionCodeOf(static_cast<ActionIndex>(i));
    ASSERT_TRUE(ActionIndexOf(code).has_value()) << i;
    EXPECT_EQ(*ActionIndexOf(code), i);
  }
  EXPECT_EQ(ActionCodeOf(kActChannelDown), 10270);
  EXPECT_EQ(ActionCodeOf(kActTimeShift), 10100);
  EXPECT_FALSE(ActionIndexOf(10280).has_value());
}

TEST(ActionCodes, EventTextParsesOnlyCodesInRange) {
  EXPECT_EQ(ParseActionCodeText("10130"), 10130);
  EXPECT_EQ(ParseActionCodeText(" 10001 "), 10001);
  EXPECT_EQ(ParseActionCodeText("10330"), 10330);
  EXPECT_FALSE(ParseActionCodeText("10000").has_value());
  EXPECT_FALSE(ParseActionCodeText("10331").has_value());
  EXPECT_FALSE(ParseActionCodeText("").has_value());
  EXPECT_FALSE(ParseActionCodeText("-10130").has_value());
  EXPECT_FALSE(ParseActionCodeText("10130x").has_value());
  EXPECT_FALSE(ParseActionCodeText("99999999999999").has_value());
}

}  // namespace
}  // namespace brontel::panel
