#pragma once
// The about box of the system menu.

#include "win32/window_base.h"
#include "win32/windows_include.h"

namespace brontel {

class CIepgAboutDlg : public DialogBase {
 public:
  explicit CIepgAboutDlg(HINSTANCE instance) : m_instance(instance) {}
  INT_PTR DoModal(HWND owner);

 private:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  HINSTANCE m_instance;
};

}  // namespace brontel
