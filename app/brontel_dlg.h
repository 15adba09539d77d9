#pragma once
// The main panel dialog. It owns the settings, the instance checker, the tray
// icon, the board object and every window timer of the program.

#include "win32/windows_include.h"
#include <unknwn.h>

#include <memory>

#include "app/scheduler/scheduler_tick.h"
#include "app/settings/app_settings.h"
#include "app/capture_size_watch.h"
#include "app/command_line.h"
#include "app/recording/record_limits.h"
#include "app/instance_checker.h"
#include "app/panel/digit_entry.h"
#include "app/panel/panel_skin_win.h"
#include "app/startup_steps.h"
#include "app/power_library_win.h"
#include "app/system_tray.h"
#include "win32/activex_host.h"
#include "win32/handles.h"
#include "win32/window_base.h"
#include "app/vocabulary/message_ids.h"
#include "app/vocabulary/run_modes.h"
#include "app/vocabulary/source_numbers.h"
#include "app/vocabulary/timer_ids.h"
#include "tv/board_client_win.h"
#include "tv/video_window_win.h"
#include "settings/sheet_host.h"

namespace brontel {

class SettingsStore;
class CSettingPSDlg;

// Periods of the main dialog's timers.
constexpr UINT kScreenSaverSweepMs = 1000;
constexpr UINT kStartupAfterSaverMs = 4000;
constexpr UINT kSchedulerTickMs = 1000;
constexpr UINT kFinalCleanupMs = 1000;

// The tray icon's identifier.
constexpr UINT kTrayIconId = 122;

// The main panel's size before the skin gives its own.
constexpr int kPanelWidth = 450;
constexpr int kPanelHeight = 350;

class CBrontelDlg : public DialogBase, public BoardClientHost, public SettingsSheetHost {
 public:
  CBrontelDlg();
  ~CBrontelDlg() override;

  // The start values from the command line.
  void SetStartValues(const StartOptions& options);
  // Creates the dialog from template 102 and runs it until it ends.
  void RunModal();

  CInstanceChecker& instanceChecker() { return m_instanceChecker; }
  CAppSettings& settings() { return m_settings; }

  // The shutdown sequence: saves, quiets the board and starts timer 700.
  void StartShutdown();

  std::int32_t bFullScreenStart = 0;
  std::int32_t bWakeStart = 0;
  std::int32_t bWakeNotice = 0;
  std::int32_t lLangCode = kDefaultLanguageCode;

  bool bScrSaverClosed = false;
  bool bScreenSaverWasActive = false;
  bool overlayMode = false;
  bool bShuttingDown = false;
  bool bPowerOffAtExit = false;
  bool bVideoWndExists = false;
  bool bFullScreen = false;

  // lRunMode: 0 live, 1 a scheduled entry is prepared, 2 recording,
  // 3 playback, 4 time shift.
  std::int32_t lRunMode = 0;
  panel::PanelGates gates;

  // The panel action dispatcher shared by skin events, classic buttons and
  // menu commands.
  void DoPanelAction(std::int32_t code);
  void RefreshPanel();

  // ---- Recording, time shift, playback and snapshots (brontel_dlg_media.cpp)
  static constexpr std::int32_t kCaptureRecord = 0;
  static constexpr std::int32_t kCaptureTimeShift = 2;
  // kind 0 records, 2 starts the time shift; `scheduled` when the scheduler
  // starts the recording. True when it runs.
  bool StartCapture(std::int32_t kind, bool scheduled);
  // Back to live from recording, time shift or playback.
  void StopMedia();
  void TimeShiftButton();
  // The play button: resumes, or asks for a file in the live state.
  void OpenPlayback();
  bool StartPlayback(const std::string& path, bool inPIP);
  // The next or previous part of a playback; false when that file is missing.
  bool StepPlaybackPart(bool forward);
  void TogglePause();
  void PauseMedia();
  // 10110 to the start, 10120 back 5 s, 10150 forward 5 s, 10160 to the end.
  void SeekMedia(std::int32_t command);
  void NextRecordPart();
  // Long, Normal, High, Custom in turn.
  void CycleRecordMode();
  // The recording status tick of timer 500.
  void SuperviseMedia();
  // The snapshot button: 1 when the board accepted the picture, else 0.
  int TakeSnapshotToFile();
  // Radio playback through the media player control (brontel_dlg_radio.cpp).
  bool StartRadioPlayback(const std::string& path);
  void CreateMediaPlayer();
  bool OpenRadioFile(const std::string& path);
  void PlayRadio();
  void PauseRadio();
  void StopRadio();
  void SeekRadio(std::int64_t seconds);
  void OnRadioPositionTick();
  // Timers 500, 800 and 900; false for any other id.
  bool OnMediaTimer(UINT_PTR id);
  // Message 0x465: stop whatever runs.
  void OnStopMediaMessage(WPARAM sender);

  LONG hCapture = 0;
  std::string szRecFile;
  std::string szPartTemplate;
  std::int32_t lPartNo = 0;
  std::int32_t lEndPartNo = 0;
  // The part a playback was opened at; stepping back stops there.
  std::int32_t lFirstPartNo = 0;
  bool bMultiPart = false;
  bool bAtEnd = false;
  bool bPaused = false;
  bool bPlayInPIP = false;
  bool bAviRecording = false;
  std::int32_t lElapsedSec = 0;
  std::int32_t lRemainSec = 0;
  std::int32_t lEstimatedSec = 0;

  // The settings sheet (brontel_dlg_settings.cpp): opened with the pages
  // the current state allows; after OK the new settings reach the board and
  // the panel.
  void OpenSettingsSheet();

  // SettingsSheetHost (MainWindow is shared with BoardClientHost)
  CBoardClient* Board() override { return &m_board; }
  std::int32_t LiveSource() override { return m_settings.appSet.msCurrSrc; }
  bool DeinterlacerAvailable() override;
  bool ReadTempScheItem(ScheItem* item) override;

  // Reservation mode and the tray. The power library is loaded when the
  // board starts; without it reservation mode stays off for the run.
  bool LoadPowerLibrary();
  void FreePowerLibrary();
  // Refuses with a message, or starts the power manager and shuts down.
  void HandOverToPowerManager();
  void MinimisePanelToTray();
  // Brings the panel and the video window back from the tray.
  void RestoreFromTray();
  // Tray menu commands 40001 to 40003; false for any other id.
  bool OnTrayCommand(UINT id);
  LRESULT OnTrayCallback(WPARAM id, LPARAM mouseMessage);
  bool bInTray = false;

  // BoardClientHost
  HWND MainWindow() override { return m_hwnd; }
  HWND VideoWindow() override { return m_videoWnd.hwnd(); }
  void ShowBoardError() override;
  void ShowVolume(std::int32_t step) override;
  void ShowAudioMode(std::int32_t mode) override;
  void ShowChannelTexts(const std::string& name, const std::string& number) override;
  void ShowPendingSource(std::int32_t source) override;
  bool VideoWindowVisible() override { return m_videoWnd.shown(); }
  void ShowVideoWindow(bool show) override { m_videoWnd.ShowVideo(show, bFullScreen); }
  std::int32_t RunMode() override { return lRunMode; }
  void SetRecorderAudioMode(std::int32_t mode) override;
  void SetCaptureAudioMode(std::int32_t mode) override;

  // The scheduler runtime (brontel_dlg_scheduler.cpp).
  // The entry that is prepared or recorded.
  ScheItem ActiveScheItem;
  // A recording started by the scheduler runs.
  std::int32_t bScheRecording = 0;
  // The user stopped the preparation: that occurrence is not prepared again.
  std::int32_t bScheBlocked = 0;
  // The warning before an entry is shown.
  std::int32_t bAskingBusy = 0;
  // The stop of the media while an entry is prepared: back to live, and
  // that occurrence stays blocked. The recorder's stop calls it.
  void CancelSchePreparation();
  // Kind 2 blinks every 1000 ms, kind 3 every 500 ms; any other kind stops
  // blinking and hides the indicator.
  void BlinkScheduleIndicator(int kind);

 private:
  void OnSchedulerTick();
  void ApplySchedulerPlan(const SchedulerPlan& plan);
  void PrepareScheItem(const ScheItem& item);
  void StartScheRecording();
  void EndScheRecording();
  void WarnBusyBeforeScheItem();
  void OnScheduleBlinkTimer();
  void OnWakeEndTimer();
  // At the end of every recording status tick.
  void CheckRecordingDiskSpace();
  // Message 0x464 from the iEPG handler.
  void OnIepgReserve();
  // While the settings sheet is open its scheduler page takes the entry
  // over; true when it did.
  bool HandIepgEntryToSettingsSheet();
  void RestoreFromTrayForScheItem();
  SchedulerMemory m_scheMemory;
  // The settings sheet while it is open.
  CSettingPSDlg* m_settingsSheet = nullptr;
  void ApplySettingsAfterSheet();
  int m_blinkKind = kBlinkOff;
  bool m_blinkShown = false;

 public:
 private:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG* msg);

  // First stage of the dialog's initialisation.
  void OnInitDialog();
  void OnTimer(UINT_PTR id);
  void OnCommand(UINT id);
  void OnClose();
  void OnOK();
  void OnCancel();
  void OnPaint();
  void EndDialog();

  void CloseOldPowerManagers();
  void SweepScreenSavers();
  static BOOL CALLBACK SweepWindow(HWND window, LPARAM param);

  // Second half of start-up, after the screen saver had its chance to close.
  void RunStartupContinuation();
  // Acts on one step's result; true when the start goes on.
  bool ContinueStartup(StartupStep step, long result);
  void RunOverlayTest();
  void StoreHideNoOverlayNotice(std::int32_t value);
  bool CreateTrayIcon();
  void ShowWakeNotice();
  // Shows a message with caption 107 and the stop icon, then shuts down.
  void FailStartup(UINT messageId);

  void GatherCurrentState();
  bool CreateVideoAndStartPicture();
  void OnSkinEvent(const std::string& codeText);
  void RunPanelOp(panel::PanelOp op);
  void RunDigitStep(const panel::DigitEntry::Step& step);
  void OnVolumeTimer(unsigned id);
  panel::CommandContext MakeCommandContext() const;
  panel::PanelState MakePanelState() const;
  void RunFinalCleanup();

  // Media helpers (brontel_dlg_media.cpp).
  void ShowMediaTime(int area, bool visible, int kind, std::int64_t seconds);
  bool ReadCaptureTimes(recording::CaptureTimes* times);
  std::int64_t SecondsToActiveScheStop() const;
  bool RadioPlaybackRuns() const;
  // The picture-in-picture window a file plays in; none exists yet.
  HWND PipWindow() const { return nullptr; }
  CSizeWatch m_sizeWatch;
  bool m_stoppingMedia = false;
  bool m_inSizeWatchMessage = false;

  bool m_ended = false;
  HACCEL m_accelerators = nullptr;
  UniqueIcon m_bigIcon;
  UniqueIcon m_smallIcon;
  CInstanceChecker m_instanceChecker;
  CSystemTray m_tray;
  PowerLibrary m_powerLibrary;
  CAppSettings m_settings;
  std::unique_ptr<SettingsStore> m_store;
  panel::PanelSkin m_panel;
  panel::DigitEntry m_digits;
  CVideoScreenWnd m_videoWnd;
  ActiveXHost m_mediaPlayer;  // hidden; plays the radio's recordings
  CBoardClient m_board{m_settings, *this};
};

}  // namespace brontel
