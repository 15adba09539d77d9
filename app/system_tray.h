#pragma once
// One notification-area icon of the main window.

#include "win32/windows_include.h"
#include <shellapi.h>

#include <string>

namespace brontel {

class CSystemTray {
 public:
  CSystemTray() = default;
  ~CSystemTray();
  CSystemTray(const CSystemTray&) = delete;
  CSystemTray& operator=(const CSystemTray&) = delete;

  // Adds the icon; false when the taskbar refuses it.
  bool Create(HWND owner, UINT callbackMessage, const std::wstring& tip, HICON icon, UINT id);
  void HideIcon();
  void ShowIcon();
  // Removes the icon from the taskbar.
  void RemoveIcon();
  bool IsCreated() const { return m_created; }
  bool IsHidden() const { return m_hidden; }

 private:
  bool SetHidden(bool hidden);

  NOTIFYICONDATAW m_data = {};
  bool m_created = false;
  bool m_hidden = false;
};

}  // namespace brontel
