#include "app/panel/panel_actions.h"

#include <algorithm>
#include <cctype>

namespace brontel::panel {
namespace {

using Row = std::array<std::uint8_t, kActionCount>;

// Enable flags by lRunMode (live, prepared, recording, playback, time shift).
constexpr Row kModeTable[kRunModeCount] = {
    {1, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1},
    {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0},
    {0, 1, 1, 1, 1, 1, 1, 0, 1, 0, 1, 0, 0, 1, 1, 1, 0, 0},
    {1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0},
};

// Enable flags by source (TV, video, S-video, radio).
constexpr Row kSourceTable[kSourceCount] = {
    {1, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1},
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0},
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0},
    {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0, 1, 1, 0, 0, 1, 1},
};

constexpr std::int32_t kActionCodes[kActionCount] = {
    kCodeTimeShift,   kCodeSkipBack,    kCodeRewind,      kCodePlay,     kCodePause,
    kCodeFastForward, kCodeSkipForward, kCodeRecord,      kCodeStop,     kCodeInputSource,
    kCodeSoundMode,   kCodeRecQuality,  kCodeReservation, kCodeSettings, kCodeFullScreen,
    kCodeSnapshot,    kCodeChannelUp,   kCodeChannelDown,
};

ActionStates ToStates(const Row& row) {
  ActionStates states{};
  for (int i = 0; i < kActionCount; ++i) states[i] = row[i] != 0;
  return states;
}

// Classic buttons 1045 to 1068, each with the action it runs; -1 marks the
// buttons that skip the enable test.
struct ClassicButton {
  int id;
  std::int32_t code;
  int actionIndex;
};

constexpr int kClassicFirst = 1045;
constexpr int kClassicLast = 1068;
constexpr int kNoEnableTest = -1;

constexpr ClassicButton kClassicButtons[] = {
    {1045, kCodeTimeShift, kActTimeShift},
    {1046, kCodeSkipBack, kActSkipBack},
    {1047, kCodeRewind, kActRewind},
    {1048, kCodePlay, kActPlay},
    {1049, kCodePause, kActPause},
    {1050, kCodeFastForward, kActFastForward},
    {1051, kCodeSkipForward, kActSkipForward},
    {1052, kCodeRecord, kActRecord},
    {1053, kCodeStop, kActStop},
    {1054, kCodeInputSource, kActInputSource},
    {1055, kCodeSoundMode, kActSoundMode},
    {1056, kCodeRecQuality, kActRecQuality},
    {1057, kCodeSettings, kActSettings},
    {1058, kCodeFullScreen, kActFullScreen},
    {1059, kCodeSnapshot, kActSnapshot},
    {1060, kCodeChannelUp, kActChannelUp},
    {1061, kCodeVolumeUpRelease, kNoEnableTest},
    {1062, kCodeChannelDown, kActChannelDown},
    {1063, kCodeVolumeDownRelease, kNoEnableTest},
    {1064, kCodeSoundToggle, kNoEnableTest},
    {1065, kCodeReservation, kActReservation},
    {1066, kCodeExit, kNoEnableTest},
    {1067, kCodeMinimise, kNoEnableTest},
};

// Menu commands that behave exactly as a classic button.
struct MenuAsButton {
  int id;
  int button;
};

constexpr MenuAsButton kMenuAsButton[] = {
    {40011, 1054}, {40012, 1055}, {40013, 1059}, {40015, 1045}, {40018, 1060}, {40019, 1062},
    {40020, 1061}, {40021, 1063}, {40022, 1058}, {40023, 1048}, {40025, 1049}, {40026, 1052},
    {40027, 1046}, {40028, 1051}, {40029, 1050}, {40042, 1066}, {40045, 1057},
};

constexpr int kMenuFirst = 40007;
constexpr int kMenuLast = 40045;
constexpr int kMenuPresetFirst = 40007;
constexpr int kMenuPresetLast = 40010;
constexpr std::uint32_t kPresetMaskBits[] = {1, 6, 24, 32};
constexpr int kMenuSoundToggle = 40014;
constexpr int kMenuPip = 40016;
constexpr int kMenuPreviousChannel = 40017;
constexpr int kMenuStop = 40024;
constexpr int kMenuRewind = 40030;
constexpr int kMenuDigitFirst = 40031;
constexpr int kMenuDigitLast = 40040;
constexpr int kMenuDigitKey = 40041;
constexpr int kMenuPlayLast = 40043;

bool IsTvOrRadio(std::int32_t source) {
  return source == kSourceTv || source == kSourceRadio;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

ActionStates ModeTableRow(std::int32_t lRunMode) {
  if (lRunMode < 0 || lRunMode >= kRunModeCount) return ActionStates{};
  return ToStates(kModeTable[lRunMode]);
}

ActionStates SourceTableRow(std::int32_t msCurrSrc) {
  if (msCurrSrc < 0 || msCurrSrc >= kSourceCount) return ActionStates{};
  return ToStates(kSourceTable[msCurrSrc]);
}

ActionStates GetActionStates(const PanelState& state) {
  ActionStates states = ModeTableRow(state.lRunMode);
  if (state.msCurrSrc < 0 || state.msCurrSrc >= kSourceCount) return ActionStates{};
  if (state.lRunMode == kRunLive) {
    const ActionStates source = SourceTableRow(state.msCurrSrc);
    for (int i = 0; i < kActionCount; ++i) states[i] = states[i] && source[i];
  } else if (state.msCurrSrc == kSourceRadio) {
    states[kActSoundMode] = false;
    states[kActFullScreen] = false;
    states[kActSnapshot] = false;
    if (state.lRunMode != kRunPlayback) states[kActPause] = false;
  }
  if (!state.overlayMode) states[kActSnapshot] = false;
  if (!state.reservationAvailable) states[kActReservation] = false;
  return states;
}

std::int32_t ActionCodeOf(ActionIndex index) {
  if (index < 0 || index >= kActionCount) return 0;
  return kActionCodes[index];
}

std::optional<ActionIndex> ActionIndexOf(std::int32_t code) {
  for (int i = 0; i < kActionCount; ++i) {
    if (kActionCodes[i] == code) return static_cast<ActionIndex>(i);
  }
  return std::nullopt;
}

std::optional<std::int32_t> ParseActionCodeText(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  if (begin == end || end - begin > 9) return std::nullopt;
  std::int32_t value = 0;
  for (std::size_t i = begin; i < end; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  if (value < kFirstActionCode || value > kLastActionCode) return std::nullopt;
  return value;
}

PanelActionResult DecidePanelAction(std::int32_t code, PanelGates* gates) {
  PanelActionResult result;
  switch (code) {
    case kCodeActionsOn:
      gates->bActionAllowed = gates->bPanelEnabled;
      break;
    case kCodeActionsOff:
      gates->bPanelEnabled = 0;
      gates->bActionAllowed = 0;
      result.op = PanelOp::kStopVolumeRepeat;
      break;
    case kCodePanelOff:
      gates->bPanelEnabled = 0;
      break;
    case kCodePanelOn:
      gates->bPanelEnabled = 1;
      gates->bActionAllowed = 1;
      break;
    case kCodeVolumeUpPress:
      // The press only arms the hold repeat; it is not gated.
      result.op = PanelOp::kStartVolumeUpHold;
      break;
    case kCodeVolumeDownPress:
      result.op = PanelOp::kStartVolumeDownHold;
      break;
    default: {
      if (!gates->bActionAllowed) break;
      switch (code) {
        case kCodeTimeShift:
          result.op = PanelOp::kTimeShift;
          break;
        case kCodeSkipBack:
          result.op = PanelOp::kSkipBack;
          break;
        case kCodeRewind:
          result.op = PanelOp::kRewind;
          break;
        case kCodePlay:
          result.op = PanelOp::kPlay;
          break;
        case kCodePause:
          result.op = PanelOp::kPause;
          break;
        case kCodeFastForward:
          result.op = PanelOp::kFastForward;
          break;
        case kCodeSkipForward:
          result.op = PanelOp::kSkipForward;
          break;
        case kCodeRecord:
          result.op = PanelOp::kRecord;
          break;
        case kCodeStop:
          result.op = PanelOp::kStop;
          break;
        case kCodeInputSource:
          result.op = PanelOp::kNextSource;
          break;
        case kCodeSoundMode:
          result.op = PanelOp::kNextSoundMode;
          break;
        case kCodeRecQuality:
          result.op = PanelOp::kNextRecQuality;
          break;
        case kCodeReservation:
          result.op = PanelOp::kReservationMode;
          break;
        case kCodeSettings:
          result.op = PanelOp::kOpenSettings;
          break;
        case kCodeFullScreen:
          result.op = PanelOp::kToggleFullScreen;
          break;
        case kCodeSnapshot:
          result.op = PanelOp::kSnapshot;
          break;
        case kCodeChannelUp:
          result.op = PanelOp::kChannelUp;
          break;
        case kCodeChannelDown:
          result.op = PanelOp::kChannelDown;
          break;
        case kCodeVolumeUpRelease:
          result.op = PanelOp::kVolumeUpStep;
          break;
        case kCodeVolumeDownRelease:
          result.op = PanelOp::kVolumeDownStep;
          break;
        case kCodeSoundToggle:
          result.op = PanelOp::kToggleSound;
          break;
        case kCodeExit:
          result.op = PanelOp::kExit;
          break;
        case kCodeMinimise:
          result.op = PanelOp::kMinimiseToTray;
          break;
        default:
          break;
      }
      break;
    }
  }
  result.refresh = gates->bActionAllowed != 0;
  return result;
}

CommandRoute RouteClassicButton(int id, const ActionStates& states) {
  CommandRoute route;
  if (id < kClassicFirst || id > kClassicLast) return route;
  route.kind = CommandKind::kNothing;
  route.setActionAllowed = true;
  for (const ClassicButton& button : kClassicButtons) {
    if (button.id != id) continue;
    if (button.actionIndex != kNoEnableTest && !states[button.actionIndex]) return route;
    route.kind = CommandKind::kAction;
    route.actionCode = button.code;
    return route;
  }
  return route;  // 1068
}

CommandRoute RouteMenuCommand(int id, const CommandContext& context) {
  CommandRoute route;
  if (id < kMenuFirst || id > kMenuLast) return route;
  const ActionStates& states = context.states;
  route.kind = CommandKind::kNothing;
  route.refreshAfter = true;

  for (const MenuAsButton& entry : kMenuAsButton) {
    if (entry.id == id) {
      CommandRoute button = RouteClassicButton(entry.button, states);
      button.refreshAfter = true;
      return button;
    }
  }
  if (id >= kMenuPresetFirst && id <= kMenuPresetLast) {
    const int preset = id - kMenuPresetFirst;
    if (states[kActInputSource] && (context.videoPresetMask & kPresetMaskBits[preset]) != 0) {
      route.kind = CommandKind::kVideoSizePreset;
      route.arg = preset;
    }
    return route;
  }
  const bool channelEntry = states[kActChannelUp] && IsTvOrRadio(context.msCurrSrc);
  switch (id) {
    case kMenuSoundToggle:
      route.kind = CommandKind::kMenuSoundToggle;
      route.setActionAllowed = true;
      return route;
    case kMenuPip:
      route.kind = CommandKind::kTogglePip;
      return route;
    case kMenuPreviousChannel:
      if (channelEntry) route.kind = CommandKind::kPreviousChannel;
      return route;
    case kMenuStop: {
      const int button = context.lRunMode == kRunTimeShift ? 1049 : 1053;
      CommandRoute routed = RouteClassicButton(button, states);
      routed.refreshAfter = true;
      return routed;
    }
    case kMenuRewind: {
      const bool liveRadio = context.lRunMode == kRunLive && context.msCurrSrc == kSourceRadio;
      CommandRoute routed = RouteClassicButton(liveRadio ? 1062 : 1047, states);
      routed.refreshAfter = true;
      return routed;
    }
    case kMenuDigitKey:
      route.kind = CommandKind::kDigitEntryKey;
      return route;
    case kMenuPlayLast: {
      if (context.lRunMode != kRunLive) {
        CommandRoute routed = RouteClassicButton(1051, states);
        routed.refreshAfter = true;
        return routed;
      }
      if (states[kActPlay] &&
          IsPlayableRecordingName(context.lastRecordingName, context.msCurrSrc)) {
        route.kind = CommandKind::kPlayLastRecording;
      }
      return route;
    }
    default:
      break;
  }
  if (id >= kMenuDigitFirst && id <= kMenuDigitLast) {
    if (channelEntry) {
      route.kind = CommandKind::kDigit;
      route.arg = id - kMenuDigitFirst;
    }
    return route;
  }
  return route;
}

CommandRoute RouteCommand(int id, const CommandContext& context) {
  if (id >= kClassicFirst && id <= kClassicLast) return RouteClassicButton(id, context.states);
  return RouteMenuCommand(id, context);
}

bool WaitsForPicture(const CommandRoute& route) {
  switch (route.kind) {
    case CommandKind::kNotOurs:
    case CommandKind::kNothing:
    case CommandKind::kMenuSoundToggle:
    case CommandKind::kRestoreFromTray:
      return false;
    case CommandKind::kAction:
      switch (route.actionCode) {
        case kCodeVolumeUpRelease:
        case kCodeVolumeUpPress:
        case kCodeVolumeDownRelease:
        case kCodeVolumeDownPress:
        case kCodeSoundToggle:
        case kCodeExit:
        case kCodeMinimise:
          return false;
        default:
          return true;
      }
    default:
      return true;
  }
}

VolumeTimerAction OnVolumeTimer(unsigned timerId) {
  VolumeTimerAction action;
  switch (timerId) {
    case kTimerVolumeUpHold:
      action.killTimer = kTimerVolumeUpHold;
      action.startTimer = kTimerVolumeUpRepeat;
      break;
    case kTimerVolumeDownHold:
      action.killTimer = kTimerVolumeDownHold;
      action.startTimer = kTimerVolumeDownRepeat;
      break;
    case kTimerVolumeUpRepeat:
      action.step = 1;
      break;
    case kTimerVolumeDownRepeat:
      action.step = -1;
      break;
    default:
      break;
  }
  return action;
}

bool IsPlayableRecordingName(const std::string& name, std::int32_t msCurrSrc) {
  std::size_t begin = 0;
  std::size_t end = name.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(name[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(name[end - 1]))) --end;
  std::string lowered = name.substr(begin, end - begin);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return EndsWith(lowered, msCurrSrc == kSourceRadio ? ".wma" : ".mpg");
}

}  // namespace brontel::panel
