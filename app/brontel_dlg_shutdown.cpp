// The shutdown sequence every orderly exit goes through.

#include "app/brontel_dlg.h"

#include "app/power_off.h"

namespace brontel {
namespace {

// Timers 10 and 20, then 400 + 100 * k for k = 0..6 (400 to 1000), and the
// volume repeat timers. 710, 1100 and 2000 are left running on purpose.
constexpr UINT_PTR kTimersKilledAtCleanup[] = {10,  20,  100, 101, 200, 201, 300, 301,
                                               400, 500, 600, 700, 800, 900, 1000};

}  // namespace

void CBrontelDlg::StartShutdown() {
  if (bVideoWndExists) {
    GatherCurrentState();
    if (m_store) m_settings.SaveAll(*m_store);
  }
  bShuttingDown = true;
  m_board.QuietForShutdown();
  // A recording or time shift is closed before the board goes, so that its
  // file ends properly.
  if (lRunMode == kRunRecording || lRunMode == kRunTimeShift) StopMedia();
  SetTimer(m_hwnd, kTimerFinalCleanup, kFinalCleanupMs, nullptr);
}

// Source, channel and volume live in the settings object already; the
// window positions are read here.
void CBrontelDlg::GatherCurrentState() {
  AppSetGroup& app = m_settings.appSet;
  if (m_videoWnd.hwnd() != nullptr && !bFullScreen) {
    const RECT video = m_videoWnd.SavedRect();
    app.lScreenXPos = video.left;
    app.lScreenYPos = video.top;
    app.lScreenXSize = video.right - video.left;
    app.lScreenYSize = video.bottom - video.top;
  }
  if (m_hwnd != nullptr && !bWakeStart && !IsIconic(m_hwnd)) {
    RECT panelRect{};
    GetWindowRect(m_hwnd, &panelRect);
    app.lPanelXPos = panelRect.left;
    app.lPanelYPos = panelRect.top;
  }
  app.lVolLevel = m_board.VolumeStep() * 10;
}

void CBrontelDlg::RunFinalCleanup() {
  for (UINT_PTR id : kTimersKilledAtCleanup) KillTimer(m_hwnd, id);
  FreePowerLibrary();
  m_board.CloseBoard();
  m_videoWnd.Destroy();
  bVideoWndExists = false;
  m_tray.RemoveIcon();

  if (bScreenSaverWasActive) {
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_SENDWININICHANGE);
  }

  // When the PC cannot be powered off, the board and the video window are
  // already closed, so the program ends as it would have otherwise.
  if (bPowerOffAtExit && PowerOffPc()) return;
  SendMessageW(m_hwnd, WM_CLOSE, 0, 0);
}

}  // namespace brontel
