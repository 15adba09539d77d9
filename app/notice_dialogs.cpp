#include "app/notice_dialogs.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "app/countdown.h"
#include "win32/resource_module.h"
#include "win32/text_convert.h"
#include "win32/window_base.h"
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

// Dialog 132; hideFromNowOn is written when it is closed with OK.
class NoOverlayNotice : public DialogBase {
 public:
  explicit NoOverlayNotice(std::int32_t* hideFromNowOn) : m_hide(hideFromNowOn) {}

 private:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) override {
    switch (message) {
      case WM_INITDIALOG:
        return OnInitDialog();
      case WM_COMMAND:
        return OnCommand(LOWORD(wParam));
      default:
        return FALSE;
    }
  }
  INT_PTR OnInitDialog() {
    SetNoticeIcon(m_hwnd, reinterpret_cast<LPCWSTR>(IDI_INFORMATION));
    CheckDlgButton(m_hwnd, IDC_NO_OVERLAY_HIDE, BST_UNCHECKED);
    return TRUE;
  }
  INT_PTR OnCommand(WORD id) {
    if (id == IDOK) {
      *m_hide = IsDlgButtonChecked(m_hwnd, IDC_NO_OVERLAY_HIDE) == BST_CHECKED ? 1 : 0;
      EndDialog(m_hwnd, IDOK);
      return TRUE;
    }
    if (id == IDCANCEL) {
      EndDialog(m_hwnd, IDCANCEL);
      return TRUE;
    }
    return FALSE;
  }

  std::int32_t* m_hide;
};

// Dialog 151: counts down and then closes itself as if OK were pressed.
class WakeNotice : public DialogBase {
 public:
  explicit WakeNotice(std::string format) : m_format(std::move(format)) {}

 private:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) override {
    switch (message) {
      case WM_INITDIALOG:
        return OnInitDialog();
      case WM_TIMER:
        return OnTimer(static_cast<UINT_PTR>(wParam));
      case WM_COMMAND:
        return OnCommand(LOWORD(wParam));
      default:
        return FALSE;
    }
  }
  INT_PTR OnInitDialog() {
    SetWindowPos(m_hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetNoticeIcon(m_hwnd, reinterpret_cast<LPCWSTR>(IDI_INFORMATION));
    SendDlgItemMessageW(m_hwnd, IDC_COUNTDOWN_PROGRESS, PBM_SETRANGE32, 0, m_countdown.Total());
    ShowCountdown();
    SetTimer(m_hwnd, kCountdownTimer, kCountdownTickMs, nullptr);
    return TRUE;
  }
  INT_PTR OnTimer(UINT_PTR id) {
    if (id != kCountdownTimer) return FALSE;
    m_countdown.Tick();
    ShowCountdown();
    if (m_countdown.Finished()) {
      KillTimer(m_hwnd, kCountdownTimer);
      SendMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return TRUE;
  }
  INT_PTR OnCommand(WORD id) {
    if (id == IDOK || id == IDCANCEL) {
      KillTimer(m_hwnd, kCountdownTimer);
      EndDialog(m_hwnd, id);
      return TRUE;
    }
    return FALSE;
  }
  void ShowCountdown() {
    const std::wstring text = Widen(FormatWithInteger(m_format, m_countdown.SecondsLeft()));
    SetDlgItemTextW(m_hwnd, IDC_COUNTDOWN_TEXT, text.c_str());
    SendDlgItemMessageW(m_hwnd, IDC_COUNTDOWN_PROGRESS, PBM_SETPOS,
                        static_cast<WPARAM>(m_countdown.ProgressPosition()), 0);
  }

  Countdown m_countdown{kWakeNoticeSeconds};
  std::string m_format;  // string 305, UTF-8
};

}  // namespace

bool RunNoOverlayNotice(HWND owner, std::int32_t* hideFromNowOn) {
  std::int32_t hide = 0;
  NoOverlayNotice notice(&hide);
  const INT_PTR result = DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(IDD_NO_OVERLAY), owner,
                                         DialogBase::DialogProc, reinterpret_cast<LPARAM>(&notice));
  if (result != IDOK) return false;
  *hideFromNowOn = hide;
  return true;
}

void RunWakeNotice(HWND owner) {
  WakeNotice notice(Narrow(LoadResString(IDS_WAKE_NOTICE)));
  DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(IDD_WAKE_NOTICE), owner,
                  DialogBase::DialogProc, reinterpret_cast<LPARAM>(&notice));
}

}  // namespace brontel
