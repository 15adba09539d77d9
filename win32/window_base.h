#pragma once
// One class per window or dialog: the static procedure recovers the object
// from the window and hands every message to its HandleMessage, which
// dispatches to typed OnXxx handlers.

#include "win32/windows_include.h"

namespace brontel {

// A window created with CreateWindowEx(..., lpParam = the object). Messages
// before WM_NCCREATE, and those HandleMessage leaves, go to DefWindowProc.
class WindowBase {
 public:
  HWND hwnd() const { return m_hwnd; }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  WindowBase() = default;
  virtual ~WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
  }
  // After WM_NCDESTROY: the window is gone; the object may delete itself.
  virtual void OnFinalMessage() {}

  HWND m_hwnd = nullptr;
};

// A dialog created with DialogBoxParam or CreateDialogParam, lParam = the
// object. HandleMessage returns what a dialog procedure returns.
class DialogBase {
 public:
  HWND hwnd() const { return m_hwnd; }

  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  DialogBase() = default;
  virtual ~DialogBase() = default;
  DialogBase(const DialogBase&) = delete;
  DialogBase& operator=(const DialogBase&) = delete;

  virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  HWND m_hwnd = nullptr;
};

}  // namespace brontel
