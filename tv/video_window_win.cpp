#include "tv/video_window_win.h"

namespace brontel {
namespace {

constexpr UINT_PTR kTimerHidePointer = 100;
constexpr UINT_PTR kTimerMoveOffScreen = 200;
constexpr UINT kMoveOffScreenMs = 100;
constexpr int kHideInset = 10;
constexpr DWORD kVideoStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_THICKFRAME;

}  // namespace

RECT PlaceVideoWindow(const RECT& saved, int screenWidth, int screenHeight) {
  const RECT screen{0, 0, screenWidth, screenHeight};
  RECT overlap{};
  if (saved.right > saved.left && saved.bottom > saved.top &&
      IntersectRect(&overlap, &saved, &screen)) {
    return saved;
  }
  const int left = (screenWidth - kDefaultVideoWidth) / 2;
  const int top = (screenHeight - kDefaultVideoHeight) / 2;
  return RECT{left, top, left + kDefaultVideoWidth, top + kDefaultVideoHeight};
}

CVideoScreenWnd::~CVideoScreenWnd() {
  Destroy();
}

bool CVideoScreenWnd::Create(HINSTANCE instance, HWND owner, const RECT& saved,
                             HACCEL accelerators) {
  m_blackBrush.Reset(CreateSolidBrush(RGB(0, 0, 0)));
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = m_blackBrush.Get();
  wc.lpszClassName = kVideoWindowClass;
  RegisterClassExW(&wc);  // fails harmlessly when already registered

  m_owner = owner;
  m_accelerators = accelerators;
  const RECT place =
      PlaceVideoWindow(saved, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  m_ptSaved = POINT{place.left, place.top};
  m_size = SIZE{place.right - place.left, place.bottom - place.top};
  m_hwnd = CreateWindowExW(0, kVideoWindowClass, kVideoWindowTitle, kVideoStyle, place.left,
                           place.top, m_size.cx, m_size.cy, owner, nullptr, instance, this);
  return m_hwnd != nullptr;
}

void CVideoScreenWnd::Destroy() {
  if (m_hwnd) DestroyWindow(m_hwnd);
  m_hwnd = nullptr;
  m_blackBrush.Reset();
}

RECT CVideoScreenWnd::SavedRect() const {
  RECT rect{m_ptSaved.x, m_ptSaved.y, m_ptSaved.x + m_size.cx, m_ptSaved.y + m_size.cy};
  if (m_hwnd && m_shown) GetWindowRect(m_hwnd, &rect);
  return rect;
}

void CVideoScreenWnd::ShowVideo(bool show, bool fullScreen) {
  if (!m_hwnd) return;
  KillTimer(m_hwnd, kTimerHidePointer);
  if (show) {
    SetWindowPos(m_hwnd, nullptr, m_ptSaved.x, m_ptSaved.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(m_hwnd, fullScreen ? SW_SHOWMAXIMIZED : SW_SHOWNOACTIVATE);
    m_shown = true;
    return;
  }
  RECT rect{};
  GetWindowRect(m_hwnd, &rect);
  m_ptSaved = POINT{rect.left, rect.top};
  m_shown = false;
  // Parked in the corner first so the board's picture stops cleanly, then
  // moved off screen and hidden.
  SetWindowPos(m_hwnd, nullptr, GetSystemMetrics(SM_CXSCREEN) - kHideInset,
               GetSystemMetrics(SM_CYSCREEN) - kHideInset, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetTimer(m_hwnd, kTimerMoveOffScreen, kMoveOffScreenMs, nullptr);
}

bool CVideoScreenWnd::TranslateKeys(MSG* msg) {
  if (!m_accelerators || !m_owner || msg->hwnd == nullptr) return false;
  if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
  if (msg->hwnd != m_hwnd && !IsChild(m_hwnd, msg->hwnd)) return false;
  return TranslateAcceleratorW(m_owner, m_accelerators, msg) != 0;
}

void CVideoScreenWnd::OnTimer(UINT_PTR id) {
  if (id == kTimerMoveOffScreen) {
    KillTimer(m_hwnd, id);
    SetWindowPos(m_hwnd, nullptr, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(m_hwnd, SW_HIDE);
  } else if (id == kTimerHidePointer) {
    KillTimer(m_hwnd, id);
    while (ShowCursor(FALSE) >= 0) {
    }
  }
}

LRESULT CVideoScreenWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      return 0;  // the window lives as long as the main dialog
    case WM_LBUTTONDOWN:
      // Dragging the picture moves the window.
      ReleaseCapture();
      SendMessageW(m_hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
      return 0;
    case WM_MOVE:
      if (m_shown) {
        RECT rect{};
        GetWindowRect(m_hwnd, &rect);
        m_ptSaved = POINT{rect.left, rect.top};
      }
      return 0;
    case WM_SIZE: {
      RECT rect{};
      GetWindowRect(m_hwnd, &rect);
      if (m_shown) m_ptSaved = POINT{rect.left, rect.top};
      m_size = SIZE{rect.right - rect.left, rect.bottom - rect.top};
      // The board's picture window fills the client area.
      HWND picture = GetWindow(m_hwnd, GW_CHILD);
      if (picture) {
        MoveWindow(picture, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      }
      return 0;
    }
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      return 0;
    case 0x401:
    case 0x402:
      return 1;
    case WM_NCDESTROY:
      return 0;
    default:
      return DefWindowProcW(m_hwnd, message, wParam, lParam);
  }
}

}  // namespace brontel
