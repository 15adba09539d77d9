#include "iepg/iepg_about_dlg_win.h"

#include "iepg/resource.h"

namespace brontel {

INT_PTR CIepgAboutDlg::DoModal(HWND owner) {
  return DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_IEPG_ABOUT), owner, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CIepgAboutDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(m_hwnd, LOWORD(wParam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace brontel
