#pragma once
// The panel's command vocabulary: action codes, the 18 enable-controlled
// actions, the enable tables and the routing of skin events, classic buttons
// and menu or accelerator commands into one dispatcher.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/vocabulary/run_modes.h"
#include "app/vocabulary/source_numbers.h"
#include "app/vocabulary/timer_ids.h"

namespace brontel::panel {

// Action codes carried by skin events, classic buttons and menu commands.
enum PanelActionCode : std::int32_t {
  kCodeActionsOn = 10001,   // bActionAllowed = bPanelEnabled
  kCodeActionsOff = 10002,  // panel and actions off, volume repeat stopped
  kCodePanelOff = 10003,
  kCodePanelOn = 10004,
  kCodeTimeShift = 10100,
  kCodeSkipBack = 10110,
  kCodeRewind = 10120,
  kCodePlay = 10130,
  kCodePause = 10140,
  kCodeFastForward = 10150,
  kCodeSkipForward = 10160,
  kCodeRecord = 10170,
  kCodeStop = 10180,
  kCodeInputSource = 10190,
  kCodeSoundMode = 10200,
  kCodeRecQuality = 10210,
  kCodeReservation = 10220,
  kCodeSettings = 10230,
  kCodeFullScreen = 10240,
  kCodeSnapshot = 10250,
  kCodeChannelUp = 10260,
  kCodeChannelDown = 10270,
  kCodeVolumeUpRelease = 10280,
  kCodeVolumeUpPress = 10281,
  kCodeVolumeDownRelease = 10290,
  kCodeVolumeDownPress = 10291,
  kCodeSoundToggle = 10300,
  kCodeExit = 10310,
  kCodeMinimise = 10320,
};

constexpr std::int32_t kFirstActionCode = 10001;
constexpr std::int32_t kLastActionCode = 10330;

// The 18 actions governed by the enable tables, in table order.
enum ActionIndex : int {
  kActTimeShift = 0,
  kActSkipBack,
  kActRewind,
  kActPlay,
  kActPause,
  kActFastForward,
  kActSkipForward,
  kActRecord,
  kActStop,
  kActInputSource,
  kActSoundMode,
  kActRecQuality,
  kActReservation,
  kActSettings,
  kActFullScreen,
  kActSnapshot,
  kActChannelUp,
  kActChannelDown,
  kActionCount
};

using ActionStates = std::array<bool, kActionCount>;

// Window timer periods of the panel.
constexpr unsigned kVolumeHoldMs = 500;
constexpr unsigned kDigitEntryMs = 3000;

// Inputs of the enable rule.
struct PanelState {
  std::int32_t lRunMode = kRunLive;
  std::int32_t msCurrSrc = kSourceTv;
  bool overlayMode = false;
  // False once the power library failed to load: reservation stays off.
  bool reservationAvailable = true;
};

// One row of the mode table and of the source table (out-of-range rows are
// all zero, so an unknown mode or source enables nothing).
ActionStates ModeTableRow(std::int32_t lRunMode);
ActionStates SourceTableRow(std::int32_t msCurrSrc);

// The 18 enable flags for the current state.
ActionStates GetActionStates(const PanelState& state);

// Action code of each enable-controlled action, and the reverse.
std::int32_t ActionCodeOf(ActionIndex index);
std::optional<ActionIndex> ActionIndexOf(std::int32_t code);

// The decimal action code in a skin event's second argument; nullopt for
// anything that is not a whole number inside the action code range.
std::optional<std::int32_t> ParseActionCodeText(const std::string& text);

// Gates of skin-originated actions.
struct PanelGates {
  std::int32_t bActionAllowed = 0;
  std::int32_t bPanelEnabled = 0;
};

// What DoPanelAction does for one code, after the gates were updated.
enum class PanelOp {
  kNone,
  kStopVolumeRepeat,  // kill timers 100, 101, 200, 201
  kTimeShift,
  kSkipBack,
  kRewind,
  kPlay,
  kPause,
  kFastForward,
  kSkipForward,
  kRecord,
  kStop,
  kNextSource,
  kNextSoundMode,
  kNextRecQuality,
  kReservationMode,
  kOpenSettings,
  kToggleFullScreen,
  kSnapshot,
  kChannelUp,
  kChannelDown,
  kVolumeUpStep,         // kill timers 100 and 200, then one step up
  kStartVolumeUpHold,    // start timer 100
  kVolumeDownStep,       // kill timers 101 and 201, then one step down
  kStartVolumeDownHold,  // start timer 101
  kToggleSound,
  kExit,
  kMinimiseToTray,
};

struct PanelActionResult {
  PanelOp op = PanelOp::kNone;
  bool refresh = false;  // RefreshPanel afterwards
};

// The gate logic of DoPanelAction: updates `gates` for codes 10001 to 10004
// and says which operation to run. Gated codes run only with bActionAllowed.
PanelActionResult DecidePanelAction(std::int32_t code, PanelGates* gates);

// Where a WM_COMMAND id (classic button or menu/accelerator command) leads.
enum class CommandKind {
  kNotOurs,          // not a panel command id
  kNothing,          // ours, but nothing to do now
  kAction,           // DoPanelAction(actionCode)
  kMenuSoundToggle,  // the menu's sound command: toggle bAudioOn, SetSound(0 or 1) only
  kVideoSizePreset,  // video window size preset `arg` (0 to 3)
  kTogglePip,
  kPreviousChannel,
  kDigit,  // digit `arg` of the channel number entry
  kDigitEntryKey,
  kPlayLastRecording,
  kRestoreFromTray,
};

struct CommandRoute {
  CommandKind kind = CommandKind::kNotOurs;
  std::int32_t actionCode = 0;  // for kAction
  std::int32_t arg = 0;
  bool setActionAllowed = false;  // bActionAllowed = 1 before the action
  bool refreshAfter = false;      // RefreshPanel afterwards
};

// What routing a command looks at besides the enable flags.
struct CommandContext {
  ActionStates states{};
  std::int32_t lRunMode = kRunLive;
  std::int32_t msCurrSrc = kSourceTv;
  std::uint32_t videoPresetMask = 0;  // the video window's size preset mask
  std::string lastRecordingName;      // the dialog's last-recording slot (UTF-8)
};

// Classic dialog buttons 1045 to 1068.
CommandRoute RouteClassicButton(int id, const ActionStates& states);
// Menu and accelerator commands 40001 to 40003 and 40007 to 40045.
CommandRoute RouteMenuCommand(int id, const CommandContext& context);
// Either of the above, by id range.
CommandRoute RouteCommand(int id, const CommandContext& context);

// Whether a routed command has to wait until the picture runs: board
// operations do. Exit, minimise and the tray's restore, the volume and the
// sound keys need no picture and run at once, also on the splash.
bool WaitsForPicture(const CommandRoute& route);

// What a volume timer does when it fires: the hold timers 100 and 101 give
// way to the repeat timers 200 and 201, which step the volume each tick.
struct VolumeTimerAction {
  unsigned killTimer = 0;   // 0: none
  unsigned startTimer = 0;  // 0: none; else start it with kVolumeHoldMs
  int step = 0;             // +1 volume up, -1 volume down, 0 nothing
};
VolumeTimerAction OnVolumeTimer(unsigned timerId);

// True when `name` after trimming and lower-casing ends in ".mpg" (".wma" for
// the radio).
bool IsPlayableRecordingName(const std::string& name, std::int32_t msCurrSrc);

}  // namespace brontel::panel
