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

const char* const kModeRows[] = {
    "1 0 0 1 0 0 0 1 0 1 1 1 1 1 1 1 1 1",  // live
    "0 0 0 0 0 0 0 0 1 0 0 0 0 1 1 0 0 0",  // scheduled entry prepared
    "0 0 0 0 0 0 0 0 1 0 0 0 0 1 1 0 0 0",  // recording
    "0 1 1 1 1 1 1 0 1 0 1 0 0 1 1 1 0 0",  // playback
    "1 1 1 1 1 1 1 0 0 0 0 0 0 1 1 0 0 0",  // time shift
};

const char* const kSourceRows[] = {
    "1 0 0 1 0 0 0 1 0 1 1 1 1 1 1 1 1 1",  // TV
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 0 0",  // video
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 0 0",  // S-video
    "0 0 0 1 0 0 0 1 0 1 1 0 1 1 0 0 1 1",  // radio
};

std::string Describe(const ActionStates& states) {
  std::string out;
  for (bool flag : states) out += flag ? "1 " : "0 ";
  return out;
}

TEST(EnableTables, RowsMatchTheTables) {
  for (int mode = 0; mode < kRunModeCount; ++mode) {
    EXPECT_EQ(Describe(ModeTableRow(mode)), Describe(Parse(kModeRows[mode]))) << "mode " << mode;
  }
  for (int source = 0; source < kSourceCount; ++source) {
    EXPECT_EQ(Describe(SourceTableRow(source)), Describe(Parse(kSourceRows[source])))
        << "source " << source;
  }
}

TEST(EnableRule, EveryModeAndSourceFollowsTheRule) {
  for (int mode = 0; mode < kRunModeCount; ++mode) {
    for (int source = 0; source < kSourceCount; ++source) {
      ActionStates expected = Parse(kModeRows[mode]);
      const ActionStates sourceRow = Parse(kSourceRows[source]);
      if (mode == kRunLive) {
        for (int i = 0; i < kActionCount; ++i) expected[i] = expected[i] && sourceRow[i];
      } else if (source == kSourceRadio) {
        expected[kActSoundMode] = false;
        expected[kActFullScreen] = false;
        expected[kActSnapshot] = false;
        if (mode != kRunPlayback) expected[kActPause] = false;
      }
      PanelState state;
      state.lRunMode = mode;
      state.msCurrSrc = source;
      state.overlayMode = true;
      EXPECT_EQ(Describe(GetActionStates(state)), Describe(expected))
          << "mode " << mode << " source " << source;
    }
  }
}

TEST(EnableRule, LiveVideoHasNoChannelButtonsButAllTransport) {
  PanelState state;
  state.msCurrSrc = kSourceVideo;
  state.overlayMode = true;
  EXPECT_EQ(Describe(GetActionStates(state)),
            Describe(Parse("1 0 0 1 0 0 0 1 0 1 1 1 1 1 1 1 0 0")));
}

struct RadioCase {
  std::int32_t mode;
  bool pause;
};

TEST(EnableRule, RadioPauseOnlyInPlaybackOutsideLive) {
  const RadioCase cases[] = {
      {kRunSchedulePrepared, false},
      {kRunRecording, false},
      {kRunPlayback, true},
      {kRunTimeShift, false},
  };
  for (const RadioCase& c : cases) {
    PanelState state;
    state.lRunMode = c.mode;
    state.msCurrSrc = kSourceRadio;
    state.overlayMode = true;
    const ActionStates states = GetActionStates(state);
    EXPECT_EQ(states[kActPause], c.pause) << "mode " << c.mode;
    EXPECT_FALSE(states[kActSoundMode]) << "mode " << c.mode;
    EXPECT_FALSE(states[kActFullScreen]) << "mode " << c.mode;
    EXPECT_FALSE(states[kActSnapshot]) << "mode " << c.mode;
    // What the mode row allows otherwise stays.
    EXPECT_TRUE(states[kActSettings]) << "mode " << c.mode;
  }
}

TEST(EnableRule, RadioExceptionsDoNotTouchOtherSources) {
  PanelState state;
  state.lRunMode = kRunTimeShift;
  state.msCurrSrc = kSourceTv;
  state.overlayMode = true;
  const ActionStates states = GetActionStates(state);
  EXPECT_TRUE(states[kActPause]);
  EXPECT_TRUE(states[kActFullScreen]);
}

TEST(EnableRule, SnapshotNeedsOverlayInEveryModeAndSource) {
  for (int mode = 0; mode < kRunModeCount; ++mode) {
    for (int source = 0; source < kSourceCount; ++source) {
      PanelState state;
      state.lRunMode = mode;
      state.msCurrSrc = source;
      state.overlayMode = false;
      ActionStates withOverlayOff = GetActionStates(state);
      EXPECT_FALSE(withOverlayOff[kActSnapshot]) << mode << "/" << source;
      state.overlayMode = true;
      ActionStates withOverlayOn = GetActionStates(state);
      withOverlayOn[kActSnapshot] = false;
      EXPECT_EQ(Describe(withOverlayOff), Describe(withOverlayOn)) << mode << "/" << source;
    }
  }
}

TEST(EnableRule, LiveTvWithOverlayAllowsSnapshot) {
  PanelState state;
  state.overlayMode = true;
  EXPECT_TRUE(GetActionStates(state)[kActSnapshot]);
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
