#pragma once
// The about box of the system menu.

#include "win32/windows_include.h"

namespace brontel {

class CIepgAboutDlg {
 public:
  explicit CIepgAboutDlg(HINSTANCE instance) : m_instance(instance) {}
  INT_PTR DoModal(HWND owner);

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HINSTANCE m_instance;
};

}  // namespace brontel
