#pragma once
// Timers of the main window. The main dialog, its panel and the board client
// share that one window, so their ids are kept apart here.

namespace brontel {

constexpr unsigned kTimerStartupAfterSaver = 10;
constexpr unsigned kTimerScreenSaverSweep = 20;
constexpr unsigned kTimerVolumeUpHold = 100;
constexpr unsigned kTimerVolumeDownHold = 101;
constexpr unsigned kTimerVolumeUpRepeat = 200;
constexpr unsigned kTimerVolumeDownRepeat = 201;
constexpr unsigned kTimerAudioModeChoice = 300;
constexpr unsigned kTimerAudioModeCheck = 301;
constexpr unsigned kTimerDigitEntry = 400;
// The media: the recording status tick, the playback position shown once,
// and the radio playback's position tick.
constexpr unsigned kTimerMediaSupervision = 500;
constexpr unsigned kTimerPlaybackShow = 800;
constexpr unsigned kTimerRadioPosition = 900;
constexpr unsigned kTimerScheduler = 600;
constexpr unsigned kTimerFinalCleanup = 700;
constexpr unsigned kTimerPendingSource = 2000;

}  // namespace brontel
