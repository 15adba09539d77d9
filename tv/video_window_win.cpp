#include "tv/video_window_win.h"

#include "win32/resource_module.h"

namespace brontel {
namespace {

constexpr UINT_PTR kTimerHidePointer = 100;
constexpr UINT_PTR kTimerMoveOffScreen = 200;
constexpr UINT kMoveOffScreenMs = 100;
// In full screen the pointer goes after this long without a move.
constexpr UINT kHidePointerMs = 3000;
constexpr int kHideInset = 10;
constexpr DWORD kVideoStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_THICKFRAME;
constexpr DWORD kPipStyle = WS_POPUP | WS_CLIPCHILDREN;
// Asked of the board's picture window; both are answered with 1.
constexpr UINT kMsgBoardQuery1 = 0x401;
constexpr UINT kMsgBoardQuery2 = 0x402;
// A press becomes a caption drag once the press itself has been handled,
// and only while the button is still held.
constexpr UINT kMsgStartDrag = WM_APP + 0x20;
constexpr UINT kCursorKeep16x9 = 130;
constexpr UINT kCursorKeep4x3 = 115;

static_assert(video::kThickFrameStyle == WS_THICKFRAME, "the frame full screen removes");
static_assert(video::kModalFrameExStyle == WS_EX_DLGMODALFRAME, "the frame full screen removes");

video::Spot SpotOf(LRESULT hit) {
  switch (hit) {
    case HTTOPLEFT:
      return video::Spot::kTopLeft;
    case HTTOPRIGHT:
      return video::Spot::kTopRight;
    case HTBOTTOMLEFT:
      return video::Spot::kBottomLeft;
    case HTBOTTOMRIGHT:
      return video::Spot::kBottomRight;
    default:
      return video::Spot::kElsewhere;
  }
}

HCURSOR PointerCursor(video::SizePointer pointer) {
  const auto system = [](LPCWSTR id) { return LoadCursorW(nullptr, id); };
  switch (pointer) {
    case video::SizePointer::kKeep16x9: {
      HCURSOR own = LoadCursorW(ResourceModule(), MAKEINTRESOURCEW(kCursorKeep16x9));
      return own ? own : system(IDC_SIZENWSE);
    }
    case video::SizePointer::kKeep4x3: {
      HCURSOR own = LoadCursorW(ResourceModule(), MAKEINTRESOURCEW(kCursorKeep4x3));
      return own ? own : system(IDC_SIZENESW);
    }
    case video::SizePointer::kNorthWestSouthEast:
      return system(IDC_SIZENWSE);
    case video::SizePointer::kNorthEastSouthWest:
      return system(IDC_SIZENESW);
    case video::SizePointer::kArrow:
      break;
  }
  return system(IDC_ARROW);
}

POINT ScreenPoint(HWND window, LPARAM clientPoint) {
  POINT point{static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
  ClientToScreen(window, &point);
  return point;
}

// Starts the system's move loop as if the press were on a caption. A press
// that was already let go is a click: a move loop then would wait for a
// release that has happened, perhaps in the queue of another thread.
void DragByCaption(HWND window) {
  if ((GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  ReleaseCapture();
  SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(cursor.x, cursor.y));
}

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

// ---- The picture-in-picture window

CPipWnd::~CPipWnd() {
  if (m_hwnd) DestroyWindow(m_hwnd);
}

bool CPipWnd::Create(HINSTANCE instance, HWND owner, HBRUSH background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = kPipWindowClass;
  RegisterClassExW(&wc);  // fails harmlessly when already registered
  return CreateWindowExW(0, kPipWindowClass, kPipWindowTitle, kPipStyle, 0, 0, kPipWidth,
                         kPipHeight, owner, nullptr, instance, this) != nullptr;
}

void CPipWnd::OnPress() {
  m_host.OnPicturePress(true);
  PostMessageW(m_hwnd, kMsgStartDrag, 0, 0);
}

LRESULT CPipWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      // A click on the picture moves the window without taking the focus
      // from the full-screen picture; the press itself follows.
      return LOWORD(lParam) == HTCLIENT ? MA_NOACTIVATE : MA_ACTIVATE;
    case WM_LBUTTONDOWN:
      OnPress();
      return 0;
    case WM_PARENTNOTIFY:
      // The board's renderer covers the window; its presses come here.
      if (LOWORD(wParam) == WM_LBUTTONDOWN) OnPress();
      return 0;
    case kMsgStartDrag:
      DragByCaption(m_hwnd);
      return 0;
    case WM_CLOSE:
      return 0;
    default:
      return DefWindowProcW(m_hwnd, message, wParam, lParam);
  }
}

// ---- The video window

CVideoScreenWnd::~CVideoScreenWnd() {
  Destroy();
}

bool CVideoScreenWnd::Create(HINSTANCE instance, HWND owner, const RECT& saved,
                             HACCEL accelerators) {
  hBlackBrush.Reset(CreateSolidBrush(RGB(0, 0, 0)));
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = hBlackBrush.Get();
  wc.lpszClassName = kVideoWindowClass;
  RegisterClassExW(&wc);  // fails harmlessly when already registered

  pOwner = owner;
  hAccel = accelerators;
  const RECT place =
      PlaceVideoWindow(saved, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  ptSaved = POINT{place.left, place.top};
  m_size = SIZE{place.right - place.left, place.bottom - place.top};
  CreateWindowExW(0, kVideoWindowClass, kVideoWindowTitle, kVideoStyle, place.left, place.top,
                  m_size.cx, m_size.cy, owner, nullptr, instance, this);
  if (m_hwnd && !PipWnd.hwnd()) Destroy();
  return m_hwnd != nullptr;
}

void CVideoScreenWnd::OnCreate() {
  bSizing = false;
  lSizeMode = video::kSizeFree;
  bShown = false;
  bPipVisible = false;
  m_pointerHidden = false;
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_hwnd, GWLP_HINSTANCE));
  PipWnd.Create(instance, m_hwnd, hBlackBrush.Get());
}

void CVideoScreenWnd::Destroy() {
  ShowPointer();
  if (m_hwnd) DestroyWindow(m_hwnd);  // takes the owned picture-in-picture window along
  m_hwnd = nullptr;
  hBlackBrush.Reset();
}

RECT CVideoScreenWnd::SavedRect() const {
  RECT rect{ptSaved.x, ptSaved.y, ptSaved.x + m_size.cx, ptSaved.y + m_size.cy};
  if (m_hwnd && bShown) GetWindowRect(m_hwnd, &rect);
  return rect;
}

void CVideoScreenWnd::ShowVideo(bool show, bool fullScreen) {
  if (!m_hwnd) return;
  KillTimer(m_hwnd, kTimerHidePointer);
  if (show) {
    // A full-screen window kept its full-screen rectangle while hidden;
    // maximising it would shrink it to the work area and lose the look
    // that leaving full screen gives back.
    (void)fullScreen;
    SetWindowPos(m_hwnd, nullptr, ptSaved.x, ptSaved.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
    bShown = true;
    return;
  }
  ShowPointer();
  RECT rect{};
  GetWindowRect(m_hwnd, &rect);
  ptSaved = POINT{rect.left, rect.top};
  bShown = false;
  // Parked in the corner first so the board's picture stops cleanly, then
  // moved off screen and hidden.
  SetWindowPos(m_hwnd, nullptr, GetSystemMetrics(SM_CXSCREEN) - kHideInset,
               GetSystemMetrics(SM_CYSCREEN) - kHideInset, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetTimer(m_hwnd, kTimerMoveOffScreen, kMoveOffScreenMs, nullptr);
}

void CVideoScreenWnd::EnterFullScreen() {
  if (!m_hwnd) return;
  RECT rect{};
  GetWindowRect(m_hwnd, &rect);
  video::WindowLook before;
  before.rect = video::Rect{rect.left, rect.top, rect.right, rect.bottom};
  before.style = static_cast<std::uint32_t>(GetWindowLongW(m_hwnd, GWL_STYLE));
  before.exStyle = static_cast<std::uint32_t>(GetWindowLongW(m_hwnd, GWL_EXSTYLE));
  const video::WindowLook full =
      m_fullScreen.Enter(before, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SetWindowLongW(m_hwnd, GWL_STYLE, static_cast<LONG>(full.style));
  SetWindowLongW(m_hwnd, GWL_EXSTYLE, static_cast<LONG>(full.exStyle));
  SetWindowPos(m_hwnd, HWND_TOPMOST, 0, 0, full.rect.Width(), full.rect.Height(),
               SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  if (bShown) OnPointerMoved();
}

void CVideoScreenWnd::LeaveFullScreen(bool topmost) {
  if (!m_hwnd || !m_fullScreen.active()) return;
  KillTimer(m_hwnd, kTimerHidePointer);
  ShowPointer();
  const video::WindowLook before = m_fullScreen.Leave();
  SetWindowLongW(m_hwnd, GWL_STYLE, static_cast<LONG>(before.style));
  SetWindowLongW(m_hwnd, GWL_EXSTYLE, static_cast<LONG>(before.exStyle));
  SetWindowPos(m_hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, before.rect.left, before.rect.top,
               before.rect.Width(), before.rect.Height(), SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

void CVideoScreenWnd::ShowPip(bool show, POINT point) {
  HWND pip = PipWnd.hwnd();
  if (!pip) return;
  if (show) {
    ptPip = point;
    SetWindowPos(pip, HWND_TOPMOST, point.x, point.y, kPipWidth, kPipHeight,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    bPipVisible = true;
  } else {
    ShowWindow(pip, SW_HIDE);
    bPipVisible = false;
  }
}

video::TrackingLimits CVideoScreenWnd::Limits() const {
  std::int32_t board[4] = {0, 0, 0, 0};
  m_host.BoardVideoLimits(board);
  return video::LimitsForBoard(board);
}

void CVideoScreenWnd::ApplySizePreset(int preset) {
  if (!m_hwnd) return;
  const video::Size size = video::PresetSize(preset);
  RECT rect{0, 0, size.width, size.height};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongW(m_hwnd, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(m_hwnd, GWL_EXSTYLE)));
  SetWindowPos(m_hwnd, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::uint32_t CVideoScreenWnd::PresetMask() const {
  return video::PresetMask(Limits(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

bool CVideoScreenWnd::TranslateKeys(MSG* msg) {
  if (!hAccel || !pOwner || msg->hwnd == nullptr) return false;
  if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
  const bool ours = msg->hwnd == m_hwnd || IsChild(m_hwnd, msg->hwnd) ||
                    (PipWnd.hwnd() && msg->hwnd == PipWnd.hwnd());
  if (!ours) return false;
  return TranslateAcceleratorW(pOwner, hAccel, msg) != 0;
}

void CVideoScreenWnd::OnTimer(UINT_PTR id) {
  if (id == kTimerMoveOffScreen) {
    KillTimer(m_hwnd, id);
    SetWindowPos(m_hwnd, nullptr, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(m_hwnd, SW_HIDE);
  } else if (id == kTimerHidePointer) {
    KillTimer(m_hwnd, id);
    if (!m_pointerHidden) {
      do {
        lCursorCount = ShowCursor(FALSE);
      } while (lCursorCount >= 0);
      m_pointerHidden = true;
    }
  }
}

void CVideoScreenWnd::OnPointerMoved() {
  ShowPointer();
  if (m_host.InFullScreen()) SetTimer(m_hwnd, kTimerHidePointer, kHidePointerMs, nullptr);
}

void CVideoScreenWnd::ShowPointer() {
  if (!m_pointerHidden) return;
  do {
    lCursorCount = ShowCursor(TRUE);
  } while (lCursorCount < 0);
  m_pointerHidden = false;
}

void CVideoScreenWnd::OnSize(int width, int height) {
  RECT rect{};
  GetWindowRect(m_hwnd, &rect);
  // Only an on-screen corner is worth returning to: a hidden window sits
  // off screen.
  if (bShown) ptSaved = POINT{rect.left, rect.top};
  if (!m_fullScreen.active()) m_size = SIZE{rect.right - rect.left, rect.bottom - rect.top};
  // The board's picture window fills the client area.
  HWND picture = GetWindow(m_hwnd, GW_CHILD);
  if (picture) MoveWindow(picture, 0, 0, width, height, TRUE);
  m_host.OnVideoSized();
}

void CVideoScreenWnd::OnMove() {
  if (!bShown) return;
  RECT rect{};
  GetWindowRect(m_hwnd, &rect);
  ptSaved = POINT{rect.left, rect.top};
}

void CVideoScreenWnd::OnLeftPress(POINT screen, bool ownDoubleClicks) {
  if (!ownDoubleClicks) {
    const DWORD now = GetTickCount();
    const bool twice = m_lastPressValid && now - m_lastPressTime <= GetDoubleClickTime() &&
                       abs(screen.x - m_lastPressPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
                       abs(screen.y - m_lastPressPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK);
    if (twice) {
      m_lastPressValid = false;
      m_host.OnVideoDoubleClick();
      return;
    }
    m_lastPressValid = true;
    m_lastPressTime = now;
    m_lastPressPoint = screen;
  }
  m_host.OnPicturePress(false);
  if (!m_host.InFullScreen()) PostMessageW(m_hwnd, kMsgStartDrag, 0, 0);
}

void CVideoScreenWnd::OnParentNotify(WPARAM wParam, LPARAM lParam) {
  // The board's picture window covers the client area: its presses reach
  // us only as notifications, with the point in our client coordinates.
  switch (LOWORD(wParam)) {
    case WM_LBUTTONDOWN:
      OnLeftPress(ScreenPoint(m_hwnd, lParam), false);
      break;
    case WM_RBUTTONDOWN:
      m_host.OnVideoRightPress(ScreenPoint(m_hwnd, lParam));
      break;
    default:
      break;
  }
}

void CVideoScreenWnd::ChooseSizeMode(LRESULT hit) {
  if (bSizing) return;
  lSizeMode = video::ChooseSizeMode(SpotOf(hit)).mode;
}

bool CVideoScreenWnd::SetSizeCursor(LRESULT hit) {
  if (bSizing || m_fullScreen.active()) return false;
  const video::SpotChoice choice = video::ChooseSizeMode(SpotOf(hit));
  if (hit == HTCLIENT) return false;
  SetCursor(PointerCursor(choice.pointer));
  return true;
}

void CVideoScreenWnd::OnSizing(WPARAM, RECT* rect) {
  bSizing = true;
  if (lSizeMode == video::kSizeFree || rect == nullptr) return;
  const video::Rect shaped =
      video::KeepShape(video::Rect{rect->left, rect->top, rect->right, rect->bottom},
                       static_cast<video::SizeMode>(lSizeMode));
  *rect = RECT{shaped.left, shaped.top, shaped.right, shaped.bottom};
}

void CVideoScreenWnd::OnGetMinMaxInfo(MINMAXINFO* info) const {
  const video::TrackingLimits limits = Limits();
  info->ptMinTrackSize = POINT{limits.minWidth, limits.minHeight};
  info->ptMaxTrackSize = POINT{limits.maxWidth, limits.maxHeight};
}

LRESULT CVideoScreenWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_CLOSE:
      return 0;  // the window lives as long as the main dialog
    case WM_MOUSEACTIVATE:
      // A first click on the picture of an inactive window is a press like
      // any other: it activates the window and goes on to start the drag.
      return MA_ACTIVATE;
    case WM_LBUTTONDOWN:
      OnLeftPress(ScreenPoint(m_hwnd, lParam), true);
      return 0;
    case WM_LBUTTONDBLCLK:
      m_host.OnVideoDoubleClick();
      return 0;
    case WM_RBUTTONDOWN:
      m_host.OnVideoRightPress(ScreenPoint(m_hwnd, lParam));
      return 0;
    case WM_PARENTNOTIFY:
      OnParentNotify(wParam, lParam);
      return 0;
    case kMsgStartDrag:
      if (!m_host.InFullScreen()) DragByCaption(m_hwnd);
      return 0;
    case WM_NCHITTEST: {
      const LRESULT hit = DefWindowProcW(m_hwnd, message, wParam, lParam);
      ChooseSizeMode(hit);
      return hit;
    }
    case WM_NCMOUSEMOVE:
      ChooseSizeMode(static_cast<LRESULT>(wParam));
      SetSizeCursor(static_cast<LRESULT>(wParam));
      return DefWindowProcW(m_hwnd, message, wParam, lParam);
    case WM_SETCURSOR:
      // Sent for every move over the picture too, which is the board's
      // window and keeps its mouse moves to itself.
      if (HIWORD(lParam) == WM_MOUSEMOVE) OnPointerMoved();
      if (SetSizeCursor(static_cast<short>(LOWORD(lParam)))) return TRUE;
      return DefWindowProcW(m_hwnd, message, wParam, lParam);
    case WM_NCLBUTTONDOWN:
      ChooseSizeMode(static_cast<LRESULT>(wParam));
      return DefWindowProcW(m_hwnd, message, wParam, lParam);
    case WM_NCLBUTTONUP:
      bSizing = false;
      return DefWindowProcW(m_hwnd, message, wParam, lParam);
    case WM_EXITSIZEMOVE:
      bSizing = false;
      return 0;
    case WM_SIZING:
      OnSizing(wParam, reinterpret_cast<RECT*>(lParam));
      return TRUE;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_MOVE:
      OnMove();
      return 0;
    case WM_MOUSEMOVE:
      OnPointerMoved();
      return 0;
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      return 0;
    case kMsgBoardQuery1:
    case kMsgBoardQuery2:
      return 1;
    default:
      return DefWindowProcW(m_hwnd, message, wParam, lParam);
  }
}

}  // namespace brontel
