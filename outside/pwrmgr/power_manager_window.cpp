#include "power_manager_window.h"

namespace brontel::pwrmgr {
namespace {

constexpr wchar_t kClassName[] = L"kxPwrMgrWindow";
constexpr wchar_t kTitle[] = L"kxPwrMgr";
constexpr int kWidth = 560;
constexpr int kHeight = 150;
constexpr int kLineHeight = 32;
constexpr int kMargin = 8;

}  // namespace

bool PowerManagerWindow::Create(HINSTANCE instance, int showCommand) {
  WNDCLASSW cls = {};
  cls.lpfnWndProc = Proc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = kClassName;
  if (!RegisterClassW(&cls)) return false;
  m_hwnd =
      CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                      CW_USEDEFAULT, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
  if (m_hwnd == nullptr) return false;
  const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (int id : {kItemCommandLine, kItemRequest, kItemStatus}) {
    const int row = id - kItemCommandLine;
    HWND item =
        CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, kMargin,
                        kMargin + row * kLineHeight, kWidth - 3 * kMargin, kLineHeight, m_hwnd,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  ShowWindow(m_hwnd, showCommand);
  UpdateWindow(m_hwnd);
  return true;
}

void PowerManagerWindow::SetItem(int id, const std::wstring& text) {
  SetDlgItemTextW(m_hwnd, id, text.c_str());
}

void PowerManagerWindow::Report(const std::wstring& text) {
  SetItem(kItemStatus, text);
  OutputDebugStringW((L"kxPwrMgr: " + text + L"\r\n").c_str());
}

LRESULT CALLBACK PowerManagerWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace brontel::pwrmgr
