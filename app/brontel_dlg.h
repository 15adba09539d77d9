#pragma once
// The main panel dialog. It owns the settings, the instance checker, the tray
// icon, the board object and every window timer of the program.

#include "win32/windows_include.h"
#include <unknwn.h>

#include <memory>

#include "app/scheduler/scheduler_tick.h"
#include "app/settings/app_settings.h"
#include "app/command_line.h"
#include "app/instance_checker.h"
#include "app/panel/digit_entry.h"
#include "app/panel/panel_skin_win.h"
#include "app/startup_steps.h"
#include "app/system_tray.h"
#include "win32/handles.h"
#include "win32/window_base.h"
#include "app/vocabulary/message_ids.h"
#include "app/vocabulary/run_modes.h"
#include "app/vocabulary/source_numbers.h"
#include "app/vocabulary/timer_ids.h"
#include "tv/board_client_win.h"
#include "tv/video_window_win.h"

namespace brontel {

class SettingsStore;

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

class CBrontelDlg : public DialogBase, public BoardClientHost {
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

  // Recording, time shift and playback. The recorder is not part of the
  // program yet: these operations exist so that the panel dispatches to
  // them, and do nothing until it arrives.
  static constexpr std::int32_t kCaptureRecord = 0;
  static constexpr std::int32_t kCaptureTimeShift = 2;
  bool StartCapture(std::int32_t kind, bool scheduled);
  void StopMedia();
  void TimeShiftButton();
  void OpenPlayback();
  void TogglePause();
  void SeekMedia(std::int32_t command);
  // Long, Normal, High, Custom in turn.
  void CycleRecordMode();
  // Not built yet: the power manager hand-over, the settings sheet and snapshots.
  void HandOverToPowerManager();
  void OpenSettingsSheet();
  void TakeSnapshot();

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

  bool m_ended = false;
  HACCEL m_accelerators = nullptr;
  UniqueIcon m_bigIcon;
  UniqueIcon m_smallIcon;
  CInstanceChecker m_instanceChecker;
  CSystemTray m_tray;
  CAppSettings m_settings;
  std::unique_ptr<SettingsStore> m_store;
  panel::PanelSkin m_panel;
  panel::DigitEntry m_digits;
  CVideoScreenWnd m_videoWnd;
  CBoardClient m_board{m_settings, *this};
};

}  // namespace brontel
