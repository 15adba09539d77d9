// The second half of start-up, run from timer 20 or 10 once a screen saver
// had its chance to close.

#include "app/brontel_dlg.h"

#include "app/board_start.h"
#include "app/directx_probe.h"
#include "app/notice_dialogs.h"
#include "app/resource_module.h"
#include "app/skin_binding.h"
#include "lang/resource_ids.h"

namespace brontel {

void CBrontelDlg::RunStartupContinuation() {
  if (!CheckDirectX()) return;
  RunOverlayTest();

  BOOL saverActive = FALSE;
  SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &saverActive, 0);
  bScreenSaverWasActive = saverActive != FALSE;

  const int created = CreateBoard(&m_board);
  if (created == kBoardClassMissing) {
    FailStartup(IDS_ERR_APIMGR_MISSING);
    return;
  }
  if (created != kBoardCreated) {
    FailStartup(IDS_ERR_APIMGR_FAILED);
    return;
  }
  if (!CheckBoardStart(m_board)) {
    FailStartup(IDS_ERR_BOARD_START);
    return;
  }

  // Without the tray icon the program goes on running without a picture:
  // this is how it has always behaved, and no message is defined for it.
  if (!CreateTrayIcon()) return;

  if (!StartVideoAndPicture(m_hwnd, m_board)) {
    FailStartup(IDS_ERR_VIDEO_START);
    return;
  }
  bVideoWndExists = true;
  SetTimer(m_hwnd, kTimerScheduler, kSchedulerTickMs, nullptr);
  if (!bWakeStart) ShowPanel(m_hwnd, false);
  if (bWakeNotice) ShowWakeNotice();
}

bool CBrontelDlg::CheckDirectX() {
  if (ProbeDirectXLevel() != kRequiredDirectXLevel) {
    FailStartup(IDS_ERR_DIRECTX);
    return false;
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

bool CBrontelDlg::CreateTrayIcon() {
  const std::wstring tip = LoadResString(IDS_TRAY_TIP);
  HICON icon = static_cast<HICON>(LoadImageW(ResourceModule(), MAKEINTRESOURCEW(IDI_TRAY),
                                             IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (icon == nullptr) return false;
  if (!m_tray.Create(m_hwnd, kTrayCallbackMessage, tip, icon, kTrayIconId)) return false;
  // Shown only while the panel is minimised to the tray.
  m_tray.HideIcon();
  return true;
}

void CBrontelDlg::ShowWakeNotice() {
  RunWakeNotice(m_hwnd);
}

void CBrontelDlg::FailStartup(UINT messageId) {
  ShowResMessage(m_hwnd, messageId, IDS_CAPTION, MB_OK | MB_ICONSTOP);
  StartShutdown();
}

}  // namespace brontel
