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
constexpr unsigned kTimerScheduler = 600;
constexpr unsigned kTimerFinalCleanup = 700;
// The scheduler's timers: the recording status tick it checks the disk
// after, the wake-up end decision, the indicator's blink and the stop that
// the warning before an entry asks for.
constexpr unsigned kTimerRecordStatus = 500;
constexpr unsigned kTimerWakeEnd = 710;
constexpr unsigned kTimerScheduleBlink = 1000;
constexpr unsigned kTimerStopForSchedule = 1100;
constexpr unsigned kTimerPendingSource = 2000;

}  // namespace brontel
