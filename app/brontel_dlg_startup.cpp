// The second half of start-up, run from timer 20 or 10 once a screen saver
// had its chance to close.

#include "app/brontel_dlg.h"

#include "app/directx_probe.h"
#include "app/notice_dialogs.h"
#include "win32/resource_module.h"
#include "lang/resource_ids.h"

namespace brontel {

void CBrontelDlg::RunStartupContinuation() {
  if (!ContinueStartup(StartupStep::kDirectX, static_cast<long>(ProbeDirectXLevel()))) return;
  // The no-overlay notice is a dialog of its own: the user may leave from it.
  RunOverlayTest();
  if (!ContinueStartup(StartupStep::kOverlayTest, 1)) return;

  BOOL saverActive = FALSE;
  SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &saverActive, 0);
  bScreenSaverWasActive = saverActive != FALSE;

  m_board.overlayMode = overlayMode;
  m_board.screenSaverWasActive = bScreenSaverWasActive;
  m_board.bWakeStart = bWakeStart != 0;
  if (!ContinueStartup(StartupStep::kCreateBoard, m_board.CreateBoard())) return;
  if (!ContinueStartup(StartupStep::kBoardStart, m_board.CheckBoardStart() ? 1 : 0)) return;
  LoadPowerLibrary();

  const bool trayCreated = CreateTrayIcon();
  if (!trayCreated) OutputDebugStringW(L"Brontel: the tray icon could not be created\r\n");
  if (!ContinueStartup(StartupStep::kTrayIcon, trayCreated ? 1 : 0)) return;

  if (!ContinueStartup(StartupStep::kVideoWindow, CreateVideoAndStartPicture() ? 1 : 0)) return;
  bVideoWndExists = true;
  if (bWakeNotice) ShowWakeNotice();
}

bool CBrontelDlg::ContinueStartup(StartupStep step, long result) {
  const StartupVerdict verdict = AfterStartupStep(step, result, bShuttingDown);
  if (verdict.next == StartupNext::kFail) FailStartup(static_cast<UINT>(verdict.messageId));
  return verdict.next == StartupNext::kNextStep || verdict.next == StartupNext::kDone;
}

bool CBrontelDlg::CreateVideoAndStartPicture() {
  const AppSetGroup& app = m_settings.appSet;
  const RECT saved{app.lScreenXPos, app.lScreenYPos, app.lScreenXPos + app.lScreenXSize,
                   app.lScreenYPos + app.lScreenYSize};
  if (!m_videoWnd.Create(GetModuleHandleW(nullptr), m_hwnd, saved, m_accelerators)) return false;
  if (m_settings.appSet.msCurrSrc != kSourceRadio) m_videoWnd.ShowVideo(true, false);
  if (!m_board.StartPicture(0)) return false;
  // The picture starts with live sound; a mute kept from the last run must
  // reach the board too, or the panel would show muted while sound plays.
  if (m_settings.appSet.bAudioOn == 0) m_board.SetSound(kSoundMute);
  // The panel's first state, at the volume the board was given.
  ShowVolume(m_board.VolumeStep());
  m_panel.ShowTime(
      panel::PlanShowTime(panel::kAreaRemaining, false, panel::kKindPlay, 0, false, 0));
  m_panel.ShowTime(panel::PlanShowTime(panel::kAreaElapsed, false, panel::kKindPlay, 0, false, 0));
  m_panel.ShowSchedule(m_settings.scheSet.lScheItemCount > 0);
  SetTimer(m_hwnd, kTimerScheduler, kSchedulerTickMs, nullptr);
  if (!bWakeStart) m_panel.ShowPanel(false);
  gates.bPanelEnabled = 1;
  gates.bActionAllowed = 1;
  RefreshPanel();
  if (bFullScreenStart && m_settings.appSet.msCurrSrc != kSourceRadio) {
    SetFullScreen(true);
  }
  return true;
}

void CBrontelDlg::RunOverlayTest() {
  bool hasOverlay = false;
  if (!ReadDisplayOverlaySupport(&hasOverlay) || hasOverlay) {
    overlayMode = true;
    StoreHideNoOverlayNotice(0);
    return;
  }
  overlayMode = false;
  if (m_settings.appSet.bHideNoOvrlaySpt != 0) return;
  std::int32_t hide = 0;
  if (RunNoOverlayNotice(m_hwnd, &hide)) StoreHideNoOverlayNotice(hide);
}

void CBrontelDlg::StoreHideNoOverlayNotice(std::int32_t value) {
  m_settings.appSet.bHideNoOvrlaySpt = value;
  if (!m_store) return;
  StoreKey key = OpenSettingsKey(*m_store, GroupPath(SettingsGroup::kAppSet));
  if (key) WriteLong(key, "bHideNoOvrlaySpt", value);
}

void CBrontelDlg::ShowWakeNotice() {
  RunWakeNotice(m_hwnd);
}

void CBrontelDlg::FailStartup(UINT messageId) {
  ShowResMessage(m_hwnd, messageId, IDS_CAPTION, MB_OK | MB_ICONSTOP);
  StartShutdown();
}

}  // namespace brontel
