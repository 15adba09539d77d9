// The shutdown sequence every orderly exit goes through.

#include "app/brontel_dlg.h"

#include "app/board_start.h"
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
  if (m_board != nullptr) QuietBoardForShutdown(m_board);
  SetTimer(m_hwnd, kTimerFinalCleanup, kFinalCleanupMs, nullptr);
}

// Window positions, source, channel and volume live in the settings object
// already; the video window adds its rectangle here once it exists.
void CBrontelDlg::GatherCurrentState() {}

void CBrontelDlg::RunFinalCleanup() {
  for (UINT_PTR id : kTimersKilledAtCleanup) KillTimer(m_hwnd, id);
  FreePowerLibrary();
  CloseBoardAtExit(&m_board);
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
