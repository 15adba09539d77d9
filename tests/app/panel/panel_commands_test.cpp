// DoPanelAction's gates and the routing of classic buttons and menu commands.
#include <gtest/gtest.h>

#include "app/panel/panel_actions.h"

namespace brontel::panel {
namespace {

TEST(PanelGates, SkinCodesSwitchTheGates) {
  PanelGates gates;
  DecidePanelAction(kCodePanelOn, &gates);
  EXPECT_EQ(gates.bPanelEnabled, 1);
  EXPECT_EQ(gates.bActionAllowed, 1);
  DecidePanelAction(kCodePanelOff, &gates);
  EXPECT_EQ(gates.bPanelEnabled, 0);
  EXPECT_EQ(gates.bActionAllowed, 1);
  DecidePanelAction(kCodeActionsOn, &gates);  // takes the panel's state
  EXPECT_EQ(gates.bActionAllowed, 0);
  gates.bPanelEnabled = 1;
  DecidePanelAction(kCodeActionsOn, &gates);
  EXPECT_EQ(gates.bActionAllowed, 1);
  const PanelActionResult off = DecidePanelAction(kCodeActionsOff, &gates);
  EXPECT_EQ(off.op, PanelOp::kStopVolumeRepeat);
  EXPECT_EQ(gates.bActionAllowed, 0);
  EXPECT_EQ(gates.bPanelEnabled, 0);
  EXPECT_FALSE(off.refresh);
}

TEST(PanelGates, GatedCodesNeedActionAllowed) {
  PanelGates closed;
  const PanelActionResult blocked = DecidePanelAction(kCodePlay, &closed);
  EXPECT_EQ(blocked.op, PanelOp::kNone);
  EXPECT_FALSE(blocked.refresh);

  PanelGates open{1, 1};
  const PanelActionResult play = DecidePanelAction(kCodePlay, &open);
  EXPECT_EQ(play.op, PanelOp::kPlay);
  EXPECT_TRUE(play.refresh);
}

TEST(PanelGates, VolumePressIsNotGatedButReleaseIs) {
  PanelGates closed;
  EXPECT_EQ(DecidePanelAction(kCodeVolumeUpPress, &closed).op, PanelOp::kStartVolumeUpHold);
  EXPECT_EQ(DecidePanelAction(kCodeVolumeDownPress, &closed).op, PanelOp::kStartVolumeDownHold);
  EXPECT_EQ(DecidePanelAction(kCodeVolumeUpRelease, &closed).op, PanelOp::kNone);
  PanelGates open{1, 1};
  EXPECT_EQ(DecidePanelAction(kCodeVolumeUpRelease, &open).op, PanelOp::kVolumeUpStep);
  EXPECT_EQ(DecidePanelAction(kCodeVolumeDownRelease, &open).op, PanelOp::kVolumeDownStep);
}

TEST(PanelGates, EveryCodeMapsToItsOperation) {
  const std::pair<std::int32_t, PanelOp> cases[] = {
      {10100, PanelOp::kTimeShift},
      {10110, PanelOp::kSkipBack},
      {10120, PanelOp::kRewind},
      {10130, PanelOp::kPlay},
      {10140, PanelOp::kPause},
      {10150, PanelOp::kFastForward},
      {10160, PanelOp::kSkipForward},
      {10170, PanelOp::kRecord},
      {10180, PanelOp::kStop},
      {10190, PanelOp::kNextSource},
      {10200, PanelOp::kNextSoundMode},
      {10210, PanelOp::kNextRecQuality},
      {10220, PanelOp::kReservationMode},
      {10230, PanelOp::kOpenSettings},
      {10240, PanelOp::kToggleFullScreen},
      {10250, PanelOp::kSnapshot},
      {10260, PanelOp::kChannelUp},
      {10270, PanelOp::kChannelDown},
      {10300, PanelOp::kToggleSound},
      {10310, PanelOp::kExit},
      {10320, PanelOp::kMinimiseToTray},
      {10330, PanelOp::kNone},
      {10005, PanelOp::kNone},
  };
  for (const auto& [code, op] : cases) {
    PanelGates gates{1, 1};
    EXPECT_EQ(DecidePanelAction(code, &gates).op, op) << code;
  }
}

TEST(VolumeTimers, HoldGivesWayToRepeatWhichSteps) {
  struct Case {
    unsigned id;
    unsigned kill;
    unsigned start;
    int step;
  };
  const Case cases[] = {
      {100, 100, 200, 0}, {101, 101, 201, 0}, {200, 0, 0, 1},
      {201, 0, 0, -1},    {400, 0, 0, 0},     {0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const VolumeTimerAction action = OnVolumeTimer(c.id);
    EXPECT_EQ(action.killTimer, c.kill) << c.id;
    EXPECT_EQ(action.startTimer, c.start) << c.id;
    EXPECT_EQ(action.step, c.step) << c.id;
  }
}

ActionStates AllOn() {
  ActionStates states;
  states.fill(true);
  return states;
}

TEST(ClassicButtons, EnabledButtonsRunTheirAction) {
  const std::pair<int, std::int32_t> cases[] = {
      {1045, 10100}, {1046, 10110}, {1047, 10120}, {1048, 10130}, {1049, 10140}, {1050, 10150},
      {1051, 10160}, {1052, 10170}, {1053, 10180}, {1054, 10190}, {1055, 10200}, {1056, 10210},
      {1057, 10230}, {1058, 10240}, {1059, 10250}, {1060, 10260}, {1061, 10280}, {1062, 10270},
      {1063, 10290}, {1064, 10300}, {1065, 10220}, {1066, 10310}, {1067, 10320},
  };
  for (const auto& [id, code] : cases) {
    const CommandRoute route = RouteClassicButton(id, AllOn());
    EXPECT_EQ(route.kind, CommandKind::kAction) << id;
    EXPECT_EQ(route.actionCode, code) << id;
    EXPECT_TRUE(route.setActionAllowed) << id;
  }
  EXPECT_EQ(RouteClassicButton(1068, AllOn()).kind, CommandKind::kNothing);
  EXPECT_EQ(RouteClassicButton(1044, AllOn()).kind, CommandKind::kNotOurs);
  EXPECT_EQ(RouteClassicButton(1069, AllOn()).kind, CommandKind::kNotOurs);
}

TEST(ClassicButtons, DisabledActionsDoNothingButVolumeSoundExitMinimiseAlwaysRun) {
  const ActionStates none{};
  for (int id = 1045; id <= 1068; ++id) {
    const CommandRoute route = RouteClassicButton(id, none);
    const bool always = id == 1061 || id == 1063 || id == 1064 || id == 1066 || id == 1067;
    EXPECT_EQ(route.kind, always ? CommandKind::kAction : CommandKind::kNothing) << id;
    EXPECT_TRUE(route.setActionAllowed) << id;
  }
}

TEST(ClassicButtons, SnapshotButtonDoesNothingLiveWithoutOverlay) {
  PanelState state;  // live TV, no overlay
  EXPECT_EQ(RouteClassicButton(1059, GetActionStates(state)).kind, CommandKind::kNothing);
  state.overlayMode = true;
  EXPECT_EQ(RouteClassicButton(1059, GetActionStates(state)).kind, CommandKind::kAction);
}

CommandContext Context(std::int32_t mode, std::int32_t source) {
  CommandContext context;
  context.lRunMode = mode;
  context.msCurrSrc = source;
  PanelState state;
  state.lRunMode = mode;
  state.msCurrSrc = source;
  state.overlayMode = true;
  context.states = GetActionStates(state);
  return context;
}

TEST(MenuCommands, SameAsTheClassicButtonAndAlwaysRefresh) {
  const std::pair<int, std::int32_t> cases[] = {
      {40011, 10190}, {40012, 10200}, {40013, 10250}, {40015, 10100}, {40018, 10260},
      {40019, 10270}, {40020, 10280}, {40021, 10290}, {40022, 10240}, {40023, 10130},
      {40026, 10170}, {40042, 10310}, {40045, 10230}, {40024, 10180},
  };
  CommandContext context = Context(kRunLive, kSourceVideo);
  context.states.fill(true);
  for (const auto& [id, code] : cases) {
    const CommandRoute route = RouteMenuCommand(id, context);
    EXPECT_EQ(route.kind, CommandKind::kAction) << id;
    EXPECT_EQ(route.actionCode, code) << id;
    EXPECT_TRUE(route.refreshAfter) << id;
  }
  // Disabled: nothing, but still a refresh.
  const CommandRoute disabled = RouteMenuCommand(40013, Context(kRunLive, kSourceRadio));
  EXPECT_EQ(disabled.kind, CommandKind::kNothing);
  EXPECT_TRUE(disabled.refreshAfter);
}

TEST(MenuCommands, StopPausesInTimeShift) {
  const CommandRoute route = RouteMenuCommand(40024, Context(kRunTimeShift, kSourceTv));
  EXPECT_EQ(route.actionCode, kCodePause);
  EXPECT_EQ(RouteMenuCommand(40024, Context(kRunPlayback, kSourceTv)).actionCode, kCodeStop);
}

TEST(MenuCommands, RewindIsChannelDownLiveOnTheRadio) {
  EXPECT_EQ(RouteMenuCommand(40030, Context(kRunLive, kSourceRadio)).actionCode, kCodeChannelDown);
  EXPECT_EQ(RouteMenuCommand(40030, Context(kRunPlayback, kSourceRadio)).actionCode, kCodeRewind);
  // Live TV: rewind is disabled.
  EXPECT_EQ(RouteMenuCommand(40030, Context(kRunLive, kSourceTv)).kind, CommandKind::kNothing);
}

TEST(MenuCommands, VideoSizePresetsNeedSourceSwitchingAndTheMaskBit) {
  const std::uint32_t bits[] = {1, 6, 24, 32};
  for (int preset = 0; preset < 4; ++preset) {
    CommandContext context = Context(kRunLive, kSourceTv);
    context.videoPresetMask = bits[preset];
    CommandRoute route = RouteMenuCommand(40007 + preset, context);
    EXPECT_EQ(route.kind, CommandKind::kVideoSizePreset) << preset;
    EXPECT_EQ(route.arg, preset);
    context.videoPresetMask = ~bits[preset] & 63u;
    EXPECT_EQ(RouteMenuCommand(40007 + preset, context).kind, CommandKind::kNothing) << preset;
  }
  CommandContext recording = Context(kRunRecording, kSourceTv);
  recording.videoPresetMask = 63;
  EXPECT_EQ(RouteMenuCommand(40007, recording).kind, CommandKind::kNothing);
  // Either bit of a two-bit preset is enough.
  CommandContext one = Context(kRunLive, kSourceTv);
  one.videoPresetMask = 4;
  EXPECT_EQ(RouteMenuCommand(40008, one).kind, CommandKind::kVideoSizePreset);
}

TEST(MenuCommands, DigitsAndPreviousChannelOnlyForTvAndRadioWithChannelUp) {
  for (int digit = 0; digit <= 9; ++digit) {
    const CommandRoute route = RouteMenuCommand(40031 + digit, Context(kRunLive, kSourceTv));
    EXPECT_EQ(route.kind, CommandKind::kDigit);
    EXPECT_EQ(route.arg, digit);
  }
  EXPECT_EQ(RouteMenuCommand(40035, Context(kRunLive, kSourceRadio)).kind, CommandKind::kDigit);
  EXPECT_EQ(RouteMenuCommand(40035, Context(kRunLive, kSourceVideo)).kind, CommandKind::kNothing);
  EXPECT_EQ(RouteMenuCommand(40035, Context(kRunRecording, kSourceTv)).kind, CommandKind::kNothing);
  EXPECT_EQ(RouteMenuCommand(40017, Context(kRunLive, kSourceTv)).kind,
            CommandKind::kPreviousChannel);
  EXPECT_EQ(RouteMenuCommand(40017, Context(kRunLive, kSourceSVideo)).kind, CommandKind::kNothing);
  EXPECT_EQ(RouteMenuCommand(40041, Context(kRunLive, kSourceTv)).kind,
            CommandKind::kDigitEntryKey);
}

TEST(MenuCommands, PlayLastRecordingOnlyLiveWithAMatchingName) {
  struct Case {
    std::int32_t source;
    const char* name;
    bool plays;
  };
  const Case cases[] = {
      {kSourceTv, "C:\\rec\\news.mpg", true},
      {kSourceTv, "  C:\\REC\\NEWS.MPG  ", true},
      {kSourceTv, "C:\\rec\\news.wma", false},
      {kSourceRadio, "C:\\rec\\fm.WMA", true},
      {kSourceRadio, "C:\\rec\\fm.mpg", false},
      {kSourceTv, "", false},
      {kSourceTv, "mpg", false},
  };
  for (const Case& c : cases) {
    CommandContext context = Context(kRunLive, c.source);
    context.lastRecordingName = c.name;
    EXPECT_EQ(RouteMenuCommand(40043, context).kind,
              c.plays ? CommandKind::kPlayLastRecording : CommandKind::kNothing)
        << c.name;
  }
  const CommandRoute playback = RouteMenuCommand(40043, Context(kRunPlayback, kSourceTv));
  EXPECT_EQ(playback.kind, CommandKind::kAction);
  EXPECT_EQ(playback.actionCode, kCodeSkipForward);
}

TEST(MenuCommands, TrayAndForeignIdsAreNotOurs) {
  const CommandContext context = Context(kRunLive, kSourceTv);
  for (int id : {40001, 40002, 40003, 40006, 40046, 1000}) {
    EXPECT_EQ(RouteCommand(id, context).kind, CommandKind::kNotOurs) << id;
  }
  EXPECT_EQ(RouteCommand(1048, context).actionCode, kCodePlay);
  EXPECT_EQ(RouteCommand(40014, context).kind, CommandKind::kMenuSoundToggle);
  EXPECT_EQ(RouteCommand(40016, context).kind, CommandKind::kTogglePip);
}

// While the splash shows, only what needs no board runs.
TEST(SplashGuard, OnlyBoardCommandsWaitForThePicture) {
  CommandContext live;
  live.states = GetActionStates(PanelState{});
  const struct {
    int id;
    bool waits;
  } cases[] = {
      {1066, false},  {1067, false},  {1061, false},  {1063, false}, {1064, false}, {40042, false},
      {40020, false}, {40021, false}, {40014, false}, {1045, true},  {1054, true},  {1055, true},
      {1058, true},   {1060, true},   {1062, true},   {40011, true}, {40017, true}, {40018, true},
      {40031, true},  {40041, true},  {40045, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WaitsForPicture(RouteCommand(c.id, live)), c.waits) << c.id;
  }
}

}  // namespace
}  // namespace brontel::panel
