#include "app/notice_dialogs.h"

#include <commctrl.h>

#include "app/countdown.h"
#include "app/resource_module.h"
#include "win32/text_convert.h"
#include "lang/resource_ids.h"

namespace brontel {
namespace {

constexpr UINT_PTR kCountdownTimer = 1;
constexpr UINT kCountdownTickMs = 1000;

// Puts the system's icon of the given kind into the notice's icon control.
void SetNoticeIcon(HWND dialog, LPCWSTR systemIcon) {
  HWND iconControl = GetDlgItem(dialog, IDC_NOTICE_ICON);
  if (iconControl == nullptr) return;
  HICON icon = LoadIconW(nullptr, systemIcon);
  SendMessageW(iconControl, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

INT_PTR CALLBACK NoOverlayProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetNoticeIcon(dialog, reinterpret_cast<LPCWSTR>(IDI_INFORMATION));
      CheckDlgButton(dialog, IDC_NO_OVERLAY_HIDE, BST_UNCHECKED);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* hide = reinterpret_cast<std::int32_t*>(GetWindowLongPtrW(dialog, DWLP_USER));
        *hide = IsDlgButtonChecked(dialog, IDC_NO_OVERLAY_HIDE) == BST_CHECKED ? 1 : 0;
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

struct WakeNoticeState {
  Countdown countdown{kWakeNoticeSeconds};
  std::string format;  // string 305, UTF-8
};

void ShowWakeCountdown(HWND dialog, const WakeNoticeState& state) {
  const std::wstring text = Widen(FormatWithInteger(state.format, state.countdown.SecondsLeft()));
  SetDlgItemTextW(dialog, IDC_COUNTDOWN_TEXT, text.c_str());
  SendDlgItemMessageW(dialog, IDC_COUNTDOWN_PROGRESS, PBM_SETPOS,
                      static_cast<WPARAM>(state.countdown.ProgressPosition()), 0);
}

INT_PTR CALLBACK WakeNoticeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<WakeNoticeState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      state = reinterpret_cast<WakeNoticeState*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      SetNoticeIcon(dialog, reinterpret_cast<LPCWSTR>(IDI_INFORMATION));
      SendDlgItemMessageW(dialog, IDC_COUNTDOWN_PROGRESS, PBM_SETRANGE32, 0,
                          state->countdown.Total());
      ShowWakeCountdown(dialog, *state);
      SetTimer(dialog, kCountdownTimer, kCountdownTickMs, nullptr);
      return TRUE;
    case WM_TIMER:
      if (wParam != kCountdownTimer || state == nullptr) return FALSE;
      state->countdown.Tick();
      ShowWakeCountdown(dialog, *state);
      if (state->countdown.Finished()) {
        KillTimer(dialog, kCountdownTimer);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      }
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        KillTimer(dialog, kCountdownTimer);
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

bool RunNoOverlayNotice(HWND owner, std::int32_t* hideFromNowOn) {
  std::int32_t hide = 0;
  const INT_PTR result = DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(IDD_NO_OVERLAY), owner,
                                         NoOverlayProc, reinterpret_cast<LPARAM>(&hide));
  if (result != IDOK) return false;
  *hideFromNowOn = hide;
  return true;
}

void RunWakeNotice(HWND owner) {
  WakeNoticeState state;
  state.format = Narrow(LoadResString(IDS_WAKE_NOTICE));
  DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(IDD_WAKE_NOTICE), owner, WakeNoticeProc,
                  reinterpret_cast<LPARAM>(&state));
}

}  // namespace brontel
