#pragma once
// Names of the skin elements the panel binds, in the skin file's spelling.

#include <array>

namespace brontel::panel {

constexpr const char* kElementMainPanel = "MainPanel";
constexpr const char* kElementSplash = "Splash";
constexpr const char* kElementSchedule = "LCD-Schedule";
constexpr const char* kElementRemainTime = "LCD-RemainTime";
constexpr const char* kElementPlayTime = "LCD-PlayTime";
constexpr const char* kElementDelayTime = "LCD-DelayTime";
constexpr const char* kElementRecordTime = "LCD-RecordTime";
constexpr const char* kElementVolUpDisabled = "VolUpBtn-D";
constexpr const char* kElementVolDownDisabled = "VolDnBtn-D";
constexpr const char* kElementAudioOn = "AudioOnBtn";
constexpr const char* kElementAudioOff = "AudioOffBtn";
// Looked up each time the meter is drawn, not at binding.
constexpr const char* kElementVolMeter = "VolMeter";
constexpr const char* kElementVolMeterRegion = "VolMeterRgn";

// Source indicators by msCurrSrc.
constexpr std::array<const char*, 4> kSourceIndicators = {"LCD-Src-TV", "LCD-Src-Video",
                                                          "LCD-Src-SVideo", "LCD-Src-Radio"};

// Sound-mode indicators and the amCurrAudioMode value each stands for.
struct SoundIndicator {
  const char* name;
  int mode;
};
constexpr std::array<SoundIndicator, 5> kSoundIndicators = {{
    {"LCD-Sound-Mono", 1},
    {"LCD-Sound-Stereo", 2},
    {"LCD-Sound-A", 4},
    {"LCD-Sound-B", 8},
    {"LCD-Sound-AB", 16},
}};

// Recording-quality indicators by cmCurrRecMode (0 Long, 1 Normal, 2 High,
// 3 Custom), and the radio's own.
constexpr std::array<const char*, 4> kQualityIndicators = {
    "LCD-PVRMode-Long", "LCD-PVRMode-Normal", "LCD-PVRMode-High", "LCD-PVRMode-Custom"};
constexpr const char* kElementQualityWma = "LCD-PVRMode-WMA";

// The disabled overlays of the 18 enable-controlled actions, in action order.
constexpr std::array<const char*, 18> kDisabledOverlays = {
    "TimeShiftBtn-D", "SkipPrevBtn-D", "FastRevBtn-D",  "PlayBtn-D",    "PauseBtn-D",
    "FastFwdBtn-D",   "SkipNextBtn-D", "RecordBtn-D",   "StopBtn-D",    "InputSrcBtn-D",
    "SndModeBtn-D",   "RecModeBtn-D",  "RsvpModeBtn-D", "SettingBtn-D", "FullScrnBtn-D",
    "SnapBtn-D",      "ChnUpBtn-D",    "ChnDnBtn-D"};

// Label controls and the label-area elements they are laid on, in the order
// the labels are placed.
constexpr int kLabelChannelName = 1012;
constexpr int kLabelChannelNumber = 1013;
constexpr int kLabelElapsed = 1014;
constexpr int kLabelRemaining = 1015;
constexpr int kLabelPart = 1016;

struct LabelArea {
  int labelId;
  const char* element;
};
constexpr std::array<LabelArea, 5> kLabelAreas = {{
    {kLabelChannelName, "LCD-ChnNameLabelArea"},
    {kLabelChannelNumber, "LCD-ChnNumLabelArea"},
    {kLabelElapsed, "LCD-RecordTimeLabelArea"},
    {kLabelPart, "LCD-RecordMltplLabelArea"},
    {kLabelRemaining, "LCD-RemainTimeLabelArea"},
}};

// Every element that must exist for the skin to bind.
constexpr std::array<const char*, 48> kRequiredElements = {"MainPanel",
                                                           "Splash",
                                                           "LCD-Src-TV",
                                                           "LCD-Src-Video",
                                                           "LCD-Src-SVideo",
                                                           "LCD-Src-Radio",
                                                           "LCD-Sound-Mono",
                                                           "LCD-Sound-Stereo",
                                                           "LCD-Sound-A",
                                                           "LCD-Sound-B",
                                                           "LCD-Sound-AB",
                                                           "LCD-PVRMode-Normal",
                                                           "LCD-PVRMode-High",
                                                           "LCD-PVRMode-Long",
                                                           "LCD-PVRMode-Custom",
                                                           "LCD-PVRMode-WMA",
                                                           "LCD-Schedule",
                                                           "LCD-RemainTime",
                                                           "LCD-PlayTime",
                                                           "LCD-DelayTime",
                                                           "LCD-RecordTime",
                                                           "TimeShiftBtn-D",
                                                           "SkipPrevBtn-D",
                                                           "FastRevBtn-D",
                                                           "PlayBtn-D",
                                                           "PauseBtn-D",
                                                           "FastFwdBtn-D",
                                                           "SkipNextBtn-D",
                                                           "RecordBtn-D",
                                                           "StopBtn-D",
                                                           "InputSrcBtn-D",
                                                           "SndModeBtn-D",
                                                           "RecModeBtn-D",
                                                           "RsvpModeBtn-D",
                                                           "SettingBtn-D",
                                                           "FullScrnBtn-D",
                                                           "SnapBtn-D",
                                                           "ChnUpBtn-D",
                                                           "ChnDnBtn-D",
                                                           "VolUpBtn-D",
                                                           "VolDnBtn-D",
                                                           "AudioOnBtn",
                                                           "AudioOffBtn",
                                                           "LCD-ChnNameLabelArea",
                                                           "LCD-ChnNumLabelArea",
                                                           "LCD-RecordTimeLabelArea",
                                                           "LCD-RecordMltplLabelArea",
                                                           "LCD-RemainTimeLabelArea"};

}  // namespace brontel::panel
