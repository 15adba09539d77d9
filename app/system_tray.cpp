#include "app/system_tray.h"

#include <cwchar>
#include <string>

#include "app/power/tray_rect.h"
#include "win32/resource_module.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

constexpr wchar_t kTrayWindowClass[] = L"BrontelTrayIconWnd";
// SPI_SETWORKAREA: the taskbar moved or came back.
constexpr WPARAM kWorkAreaChanged = 47;
constexpr int kClassNameLength = 64;

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

// Copies at most `capacity - 1` characters and always ends the text.
template <size_t N>
void CopyText(wchar_t (&target)[N], const std::wstring& text) {
  wcsncpy(target, text.c_str(), N - 1);
  target[N - 1] = L'\0';
}

power::Rect FromRect(const RECT& r) {
  return power::Rect{r.left, r.top, r.right, r.bottom};
}

bool AnimationsOn() {
  ANIMATIONINFO animation = {};
  animation.cbSize = sizeof(animation);
  if (!SystemParametersInfoW(SPI_GETANIMATION, sizeof(animation), &animation, 0)) return false;
  return animation.iMinAnimate != 0;
}

HWND g_parkingWindow = nullptr;

BOOL CALLBACK CollectTrayChild(HWND child, LPARAM param) {
  auto* children = reinterpret_cast<std::vector<power::ChildWindow>*>(param);
  wchar_t name[kClassNameLength] = {};
  GetClassNameW(child, name, kClassNameLength);
  RECT rect{};
  GetWindowRect(child, &rect);
  children->push_back(power::ChildWindow{Narrow(name), FromRect(rect)});
  return TRUE;
}

}  // namespace

CSystemTray::CSystemTray() {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  if (GetVersionExW(&version)) {
    bEnabled = version.dwMajorVersion >= 4;
    bShellV5 = version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion > 4;
  }
  TaskbarCreatedMessage();
}

CSystemTray::~CSystemTray() {
  RemoveIcon();
  if (m_hwnd != nullptr) DestroyWindow(m_hwnd);
}

bool CSystemTray::Create(HWND owner, UINT callbackMessage, const std::wstring& tip, HICON icon,
                         UINT id, bool hidden, const std::wstring& balloonText,
                         const std::wstring& balloonTitle, DWORD balloonFlags,
                         UINT balloonTimeoutSeconds) {
  if (!bEnabled) return false;
  if (m_hwnd == nullptr) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW cls = {};
    cls.lpfnWndProc = WindowProc;
    cls.hInstance = instance;
    cls.lpszClassName = kTrayWindowClass;
    RegisterClassW(&cls);  // a second icon finds the class registered
    m_hwnd = CreateWindowExW(0, kTrayWindowClass, L"", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (m_hwnd == nullptr) return false;
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  m_data = {};
  m_data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  m_data.hWnd = owner != nullptr ? owner : m_hwnd;
  m_data.uID = id;
  m_data.hIcon = icon;
  m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  m_data.uCallbackMessage = callbackMessage;
  CopyText(m_data.szTip, tip);
  if (bShellV5 && !balloonText.empty()) {
    m_data.uFlags |= NIF_INFO;
    CopyText(m_data.szInfo, balloonText);
    CopyText(m_data.szInfoTitle, balloonTitle);
    m_data.uTimeout = balloonTimeoutSeconds * 1000;
    m_data.dwInfoFlags = balloonFlags;
  }
  if (hidden && bShellV5) {
    m_data.uFlags |= NIF_STATE;
    m_data.dwState = NIS_HIDDEN;
    m_data.dwStateMask = NIS_HIDDEN;
  }
  m_creationFlags = m_data.uFlags;
  bool added = true;
  if (!hidden || bShellV5) {
    added = Notify(NIM_ADD);
    bHidden = bRemoved = bShowIconPending = !added;
  }
  // A balloon is shown once, not again with every later change.
  m_data.szInfo[0] = L'\0';
  return added;
}

bool CSystemTray::Notify(DWORD action) {
  return Shell_NotifyIconW(action, &m_data) != FALSE;
}

bool CSystemTray::AddIcon() {
  if (!bRemoved) RemoveIcon();
  m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  if (!Notify(NIM_ADD)) {
    bShowIconPending = true;
    return false;
  }
  bHidden = bRemoved = false;
  return true;
}

bool CSystemTray::RemoveIcon() {
  bShowIconPending = false;
  if (!bEnabled || bRemoved) return true;
  m_data.uFlags = 0;
  if (!Notify(NIM_DELETE)) return false;
  bHidden = bRemoved = true;
  return true;
}

bool CSystemTray::HideIcon() {
  if (!bEnabled || bRemoved || bHidden) return true;
  if (!bShellV5) return RemoveIcon();
  m_data.uFlags = NIF_STATE;
  m_data.dwState = NIS_HIDDEN;
  m_data.dwStateMask = NIS_HIDDEN;
  bHidden = Notify(NIM_MODIFY);
  return bHidden;
}

bool CSystemTray::ShowIcon() {
  if (bRemoved) return AddIcon();
  if (!bHidden) return true;
  if (!bShellV5) return AddIcon();
  m_data.uFlags = NIF_STATE;
  m_data.dwState = 0;
  m_data.dwStateMask = NIS_HIDDEN;
  bHidden = !Notify(NIM_MODIFY);
  return !bHidden;
}

void CSystemTray::InstallIconPending() {
  if (!bShowIconPending || bHidden) return;
  m_data.uFlags = m_creationFlags;
  bHidden = !Notify(NIM_ADD);
  bShowIconPending = !bHidden;
}

HWND CSystemTray::CommandWindow() const {
  return m_data.hWnd;
}

LRESULT CSystemTray::OnTrayNotification(WPARAM id, LPARAM mouseMessage) {
  if (id != m_data.uID) return 0;
  HWND target = CommandWindow();
  switch (LOWORD(mouseMessage)) {
    case WM_LBUTTONUP: {
      HMENU menu = LoadMenuW(ResourceModule(), MAKEINTRESOURCEW(m_data.uID));
      if (menu == nullptr) return 0;
      HMENU sub = GetSubMenu(menu, 0);
      if (sub == nullptr) {
        DestroyMenu(menu);
        return 0;
      }
      SetMenuDefaultItem(sub, nDefaultMenuItem, bDefaultByPos ? TRUE : FALSE);
      SetForegroundWindow(target);
      if (nCheckedMenuItem != 0) CheckMenuItem(sub, nCheckedMenuItem, MF_BYCOMMAND | MF_CHECKED);
      POINT cursor{};
      GetCursorPos(&cursor);
      TrackPopupMenu(sub, TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, target, nullptr);
      // Without a message after it, the menu would not close when the user
      // clicks elsewhere.
      PostMessageW(target, WM_NULL, 0, 0);
      DestroyMenu(menu);
      RedrawWindow(target, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      break;
    }
    case WM_LBUTTONDBLCLK: {
      SetForegroundWindow(target);
      UINT command = nDefaultMenuItem;
      if (bDefaultByPos) {
        HMENU menu = LoadMenuW(ResourceModule(), MAKEINTRESOURCEW(m_data.uID));
        if (menu == nullptr) return 0;
        HMENU sub = GetSubMenu(menu, 0);
        command = sub != nullptr ? GetMenuItemID(sub, static_cast<int>(nDefaultMenuItem)) : 0;
        DestroyMenu(menu);
        if (sub == nullptr) return 0;
      }
      SendMessageW(target, WM_COMMAND, command, 0);
      break;
    }
    default:
      break;
  }
  return 1;
}

LRESULT CALLBACK CSystemTray::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<CSystemTray*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self != nullptr) {
    // The tray's own window stays top-level while the main window is parked
    // in the tray, so it is the one that hears the taskbar come back.
    if (message == TaskbarCreatedMessage() ||
        (message == WM_SETTINGCHANGE && wParam == kWorkAreaChanged)) {
      self->InstallIconPending();
      return 0;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

RECT GetTrayWndRect() {
  power::TaskbarFacts facts;
  if (HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr)) {
    RECT rect{};
    GetWindowRect(tray, &rect);
    facts.trayWindow = FromRect(rect);
    EnumChildWindows(tray, CollectTrayChild, reinterpret_cast<LPARAM>(&facts.trayChildren));
  } else {
    APPBARDATA bar = {};
    bar.cbSize = sizeof(bar);
    if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar)) {
      facts.taskbar = FromRect(bar.rc);
      switch (bar.uEdge) {
        case ABE_LEFT:
          facts.edge = power::TaskbarEdge::kLeft;
          break;
        case ABE_RIGHT:
          facts.edge = power::TaskbarEdge::kRight;
          break;
        case ABE_TOP:
          facts.edge = power::TaskbarEdge::kTop;
          break;
        default:
          facts.edge = power::TaskbarEdge::kBottom;
          break;
      }
    }
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    facts.workArea = FromRect(work);
  }
  const power::Rect r = power::TrayWndRect(facts);
  return RECT{r.left, r.top, r.right, r.bottom};
}

void MinimiseToTray(HWND window) {
  if (AnimationsOn()) {
    RECT from{};
    GetWindowRect(window, &from);
    const RECT to = GetTrayWndRect();
    DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
  }
  // A window with a hidden parent has no taskbar button.
  if (g_parkingWindow == nullptr) {
    g_parkingWindow =
        CreateWindowExW(0, L"Static", L"", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  if (g_parkingWindow != nullptr) SetParent(window, g_parkingWindow);
  SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) & ~WS_VISIBLE);
}

void MaximiseFromTray(HWND window) {
  if (AnimationsOn()) {
    RECT to{};
    GetWindowRect(window, &to);
    const RECT from = GetTrayWndRect();
    SetParent(window, nullptr);
    DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
  } else {
    SetParent(window, nullptr);
  }
  SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_VISIBLE);
  RedrawWindow(window, nullptr, nullptr,
               RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
  if (g_parkingWindow != nullptr) SetActiveWindow(g_parkingWindow);
  SetActiveWindow(window);
  SetForegroundWindow(window);
}

}  // namespace brontel
