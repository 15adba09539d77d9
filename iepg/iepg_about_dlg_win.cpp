#include "iepg/iepg_about_dlg_win.h"

#include "iepg/resource.h"

namespace brontel {

INT_PTR CIepgAboutDlg::DoModal(HWND owner) {
  return DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_IEPG_ABOUT), owner, DialogProc, 0);
}

INT_PTR CALLBACK CIepgAboutDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace brontel
