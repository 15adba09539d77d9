#pragma once
// One class per window or dialog: the static procedure recovers the object
// from the window and hands every message to its HandleMessage, which
// dispatches to typed OnXxx handlers.

#include "win32/windows_include.h"

#include <new>

namespace brontel {

// A window created with CreateWindowEx(..., lpParam = the object). Messages
// before WM_NCCREATE, and those HandleMessage leaves, go to DefWindowProc.
class WindowBase {
 public:
  HWND hwnd() const { return m_hwnd; }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  // For a class whose windows others create (from a dialog template, say):
  // each window makes its own T at WM_NCCREATE, and T deletes itself in
  // OnFinalMessage. A window whose object cannot be made is not created.
  template <typename T>
  static LRESULT CALLBACK SelfCreatingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE && !self) {
      self = new (std::nothrow) T();
      if (!self) return FALSE;
      Attach(hwnd, self);
    }
    return Dispatch(self, hwnd, message, wParam, lParam);
  }

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

 private:
  static void Attach(HWND hwnd, WindowBase* self);
  static LRESULT Dispatch(WindowBase* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
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
