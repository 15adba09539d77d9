#include "app/system_tray.h"

#include <cwchar>

namespace brontel {

CSystemTray::~CSystemTray() {
  RemoveIcon();
}

bool CSystemTray::Create(HWND owner, UINT callbackMessage, const std::wstring& tip, HICON icon,
                         UINT id) {
  RemoveIcon();
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = owner;
  data.uID = id;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = callbackMessage;
  data.hIcon = icon;
  // The tip is cut to what the taskbar holds rather than overrun.
  wcsncpy(data.szTip, tip.c_str(), sizeof(data.szTip) / sizeof(data.szTip[0]) - 1);
  if (!Shell_NotifyIconW(NIM_ADD, &data)) return false;
  m_data = data;
  m_created = true;
  m_hidden = false;
  return true;
}

bool CSystemTray::SetHidden(bool hidden) {
  if (!m_created) return false;
  NOTIFYICONDATAW data = m_data;
  data.uFlags = NIF_STATE;
  data.dwState = hidden ? NIS_HIDDEN : 0;
  data.dwStateMask = NIS_HIDDEN;
  if (!Shell_NotifyIconW(NIM_MODIFY, &data)) return false;
  m_hidden = hidden;
  return true;
}

void CSystemTray::HideIcon() {
  SetHidden(true);
}

void CSystemTray::ShowIcon() {
  SetHidden(false);
}

void CSystemTray::RemoveIcon() {
  if (!m_created) return;
  NOTIFYICONDATAW data = m_data;
  data.uFlags = 0;
  Shell_NotifyIconW(NIM_DELETE, &data);
  m_created = false;
}

}  // namespace brontel
