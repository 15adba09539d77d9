// The panel in the notification area: the icon made at start-up, minimising
// to it and coming back, and the icon's menu.

#include "app/brontel_dlg.h"

#include "win32/resource_module.h"
#include "lang/resource_ids.h"

namespace brontel {

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

void CBrontelDlg::MinimisePanelToTray() {
  MinimiseToTray(m_hwnd);
  m_tray.ShowIcon();
  bInTray = true;
}

void CBrontelDlg::RestoreFromTray() {
  m_tray.HideIcon();
  MaximiseFromTray(m_hwnd);
  // Deleted, not merely hidden, while the panel is on the screen.
  m_tray.RemoveIcon();
  ShowWindow(m_hwnd, SW_SHOWNORMAL);
  ShowWindow(m_hwnd, SW_RESTORE);
  if (m_settings.appSet.msCurrSrc != kSourceRadio) ShowVideoWindow(true);
  bInTray = false;
}

bool CBrontelDlg::OnTrayCommand(UINT id) {
  switch (id) {
    case ID_TRAY_RESTORE:
      RestoreFromTray();
      return true;
    case ID_TRAY_SOUND: {
      std::int32_t& on = m_settings.appSet.bAudioOn;
      on = on ? 0 : 1;
      m_board.SetSound(on ? kSoundOn : kSoundMute);
      RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      RefreshPanel();
      return true;
    }
    case ID_TRAY_EXIT:
      RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      if (!bShuttingDown) StartShutdown();
      return true;
    default:
      return false;
  }
}

LRESULT CBrontelDlg::OnTrayCallback(WPARAM id, LPARAM mouseMessage) {
  m_tray.SetMenuCheck(ID_TRAY_SOUND, m_settings.appSet.bAudioOn == 0);
  return m_tray.OnTrayNotification(id, mouseMessage);
}

}  // namespace brontel
