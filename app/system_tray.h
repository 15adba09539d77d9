#pragma once
// One notification-area icon with its hidden and removed states, its menu
// and its return after the taskbar was re-created; and the animation of a
// window into the notification area and back.

#include "win32/windows_include.h"
#include <shellapi.h>

#include <string>

namespace brontel {

class CSystemTray {
 public:
  CSystemTray();
  ~CSystemTray();
  CSystemTray(const CSystemTray&) = delete;
  CSystemTray& operator=(const CSystemTray&) = delete;

  // Creates the class's own hidden window and adds the icon (owned by
  // `owner`, else by that window); with `hidden` the icon is added in the
  // hidden state where the shell knows it. False when the taskbar refuses it.
  bool Create(HWND owner, UINT callbackMessage, const std::wstring& tip, HICON icon, UINT id,
              bool hidden = false, const std::wstring& balloonText = L"",
              const std::wstring& balloonTitle = L"", DWORD balloonFlags = 0,
              UINT balloonTimeoutSeconds = 10);
  bool AddIcon();
  // Deletes the icon from the notification area.
  bool RemoveIcon();
  bool HideIcon();
  bool ShowIcon();
  void SetMenuCheck(UINT item, bool on) { nCheckedMenuItem = on ? item : 0; }
  // The icon's callback: `id` and the mouse message as the shell sends them.
  LRESULT OnTrayNotification(WPARAM id, LPARAM mouseMessage);

  bool IsHidden() const { return bHidden; }
  bool IsRemoved() const { return bRemoved; }
  HWND hwnd() const { return m_hwnd; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // After the taskbar came back: adds the icon again when an add had failed.
  void InstallIconPending();
  HWND CommandWindow() const;
  bool Notify(DWORD action);

  // The version-5 record (the Unicode one is larger than the 488-byte ANSI
  // record of the same version).
  NOTIFYICONDATAW m_data = {};
  bool bEnabled = false;
  bool bHidden = true;
  bool bRemoved = true;
  bool bShowIconPending = false;
  bool bShellV5 = false;
  UINT nDefaultMenuItem = 0;
  bool bDefaultByPos = true;
  UINT nCheckedMenuItem = 0;
  UINT m_creationFlags = 0;
  HWND m_hwnd = nullptr;
};

// Animates `window` into the notification area and takes it off the screen
// and the taskbar; MaximiseFromTray brings it back, active and in front.
void MinimiseToTray(HWND window);
void MaximiseFromTray(HWND window);
// Where the notification area is, or the best guess at it.
RECT GetTrayWndRect();

}  // namespace brontel
