#include "support/windows_win.h"

#include <cwchar>

namespace brontel::test_support {
namespace {

constexpr DWORD kPollMs = 20;

struct FindState {
  DWORD pid;
  const wchar_t* className;
  const wchar_t* title;
  std::vector<HWND>* found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<FindState*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (state->pid != 0 && pid != state->pid) return TRUE;
  wchar_t cls[64] = {};
  GetClassNameW(window, cls, 64);
  if (state->className != nullptr && wcscmp(cls, state->className) != 0) return TRUE;
  if (state->title != nullptr && WindowText(window) != state->title) return TRUE;
  state->found->push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param) {
  auto* texts = reinterpret_cast<std::wstring*>(param);
  wchar_t cls[32] = {};
  GetClassNameW(child, cls, 32);
  if (_wcsicmp(cls, L"Static") != 0) return TRUE;
  if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return TRUE;
  const std::wstring text = WindowText(child);
  if (text.empty()) return TRUE;
  if (!texts->empty()) *texts += L"\n";
  *texts += text;
  return TRUE;
}

void DispatchQueued() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

std::vector<HWND> FindTopWindows(DWORD pid, const wchar_t* className, const wchar_t* title) {
  std::vector<HWND> found;
  FindState state{pid, className, title, &found};
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&state));
  return found;
}

HWND WaitForTopWindow(DWORD pid, const wchar_t* className, const wchar_t* title, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const std::vector<HWND> windows = FindTopWindows(pid, className, title);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

HWND WaitForOtherDialog(DWORD pid, HWND exclude, int controlId, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND dialog : FindTopWindows(pid, L"#32770", nullptr)) {
          if (dialog == exclude || !IsWindowVisible(dialog)) continue;
          if (controlId == 0 || GetDlgItem(dialog, controlId) != nullptr) {
            found = dialog;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

HWND WaitForDialog(const std::wstring& title, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND dialog : FindTopWindows(0, L"#32770", title.c_str())) {
          if (IsWindowVisible(dialog)) {
            found = dialog;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

std::wstring WindowText(HWND window) {
  wchar_t text[4096] = {};
  // SendMessageTimeout: reading the text of a hung window must not hang
  // the test.
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, &length);
  return text;
}

std::wstring ItemText(HWND dialog, int id) {
  return WindowText(GetDlgItem(dialog, id));
}

std::wstring StaticTexts(HWND dialog) {
  std::wstring texts;
  EnumChildWindows(dialog, CollectStaticText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

void ClickButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kPollMs);
  }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    DispatchQueued();
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
  }
}

void PumpMessages(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

void PaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  DispatchQueued();
  GdiFlush();
}

}  // namespace brontel::test_support
