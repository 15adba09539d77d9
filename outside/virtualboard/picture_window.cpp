#include "outside/virtualboard/picture_window.h"

#include "outside/virtualboard/picture_yuy2.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "outside/virtualboard/virtual_board.h"
#include "win32/text_convert.h"

extern HINSTANCE g_boardInstance;

namespace {

constexpr wchar_t kPictureClass[] = L"KXTVA Picture";
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFrameMilliseconds = 33;  // about 30 frames a second
constexpr int kFrameWidth = 320;
constexpr int kFrameHeight = 240;
// A graph that has sent nothing for this long no longer owns the picture.
constexpr DWORD kGraphPictureTimeoutMs = 250;

bool RegisterPictureClass() {
  WNDCLASSW wc = {};
  if (GetClassInfoW(g_boardInstance, kPictureClass, &wc)) {
    if (wc.lpfnWndProc == brontel::WindowBase::WindowProc) return true;
    // Left by an earlier load of this library at another address: a class
    // outlives the library that registered it.
    UnregisterClassW(kPictureClass, g_boardInstance);
    wc = {};
  }
  wc.lpfnWndProc = brontel::WindowBase::WindowProc;
  wc.hInstance = g_boardInstance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kPictureClass;
  return RegisterClassW(&wc) != 0;
}

void DrawLabel(HDC dc, int x, int y, const std::wstring& text) {
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(0, 0, 0));
  SetTextColor(dc, RGB(255, 255, 255));
  TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

}  // namespace

PictureWindow::PictureWindow(VirtualBoard* board)
    : m_board(board), m_frame(kFrameWidth, kFrameHeight), m_graphFrame(kFrameWidth, kFrameHeight) {}

PictureWindow* PictureWindow::Create(VirtualBoard* board, HWND parent, const std::wstring& title,
                                     DWORD style, int left, int top, int width, int height) {
  if (!RegisterPictureClass()) return nullptr;
  if (width <= 0 || height <= 0) {
    RECT client = {0, 0, kFrameWidth, kFrameHeight};
    if (parent != nullptr) GetClientRect(parent, &client);
    width = client.right - client.left;
    height = client.bottom - client.top;
  }
  auto* window = new PictureWindow(board);

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kFrameWidth;
  info.bmiHeader.biHeight = -kFrameHeight;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  window->m_memoryDc.Reset(CreateCompatibleDC(nullptr));
  window->m_dib.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!window->m_memoryDc || !window->m_dib) {
    delete window;
    return nullptr;
  }
  window->m_bits = static_cast<uint32_t*>(bits);
  window->m_dibSelection.emplace(window->m_memoryDc.Get(), window->m_dib.Get());

  if (CreateWindowExW(0, kPictureClass, title.c_str(), style, left, top, width, height, parent,
                      nullptr, g_boardInstance, window) == nullptr) {
    delete window;
    return nullptr;
  }
  window->RenderFrame();
  SetTimer(window->m_hwnd, kFrameTimer, kFrameMilliseconds, nullptr);
  return window;
}

PictureWindow::~PictureWindow() {
  if (m_hwnd != nullptr) {
    KillTimer(m_hwnd, kFrameTimer);
    // Detached first so that the window's last messages do not reach a
    // half-destroyed object.
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hwnd);
  }
}

void PictureWindow::ShowYuy2(const uint8_t* data, int width, int height) {
  brontel::dshow::AutoLock guard(m_graphLock);
  Yuy2ToFrame(data, width, height, m_graphFrame);
  m_graphTick = GetTickCount() | 1;
}

bool PictureWindow::Move(int left, int top, int width, int height) {
  return MoveWindow(m_hwnd, left, top, width, height, TRUE) != FALSE;
}

uint32_t PictureWindow::PackedSize() const {
  RECT client = {};
  GetClientRect(m_hwnd, &client);
  return static_cast<uint32_t>(client.right & 0xFFFF) |
         (static_cast<uint32_t>(client.bottom & 0xFFFF) << 16);
}

LRESULT PictureWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kFrameTimer) {
        OnTimer();
        return 0;
      }
      break;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      break;
  }
  return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

void PictureWindow::OnTimer() {
  ++m_frameNumber;
  RenderFrame();
  m_board->CountFrame();
  InvalidateRect(m_hwnd, nullptr, FALSE);
}

void PictureWindow::RenderFrame() {
  const PictureState state = m_board->CurrentPicture();
  bool fromGraph = false;
  {
    brontel::dshow::AutoLock guard(m_graphLock);
    if (m_graphTick != 0 && GetTickCount() - m_graphTick < kGraphPictureTimeoutMs) {
      m_frame.pixels = m_graphFrame.pixels;
      fromGraph = true;
    }
  }
  if (!fromGraph) DrawBoardPicture(m_frame, state, m_frameNumber);
  GdiFlush();
  std::memcpy(m_bits, m_frame.pixels.data(), m_frame.pixels.size() * sizeof(uint32_t));

  if (state.content == PictureState::Content::kBlack) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t clock[32];
  swprintf(clock, 32, L"%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
  wchar_t line[96];
  switch (state.content) {
    case PictureState::Content::kStation:
      DrawLabel(m_memoryDc.Get(), 8, 8, brontel::AnsiToWide(state.stationName));
      swprintf(line, 96, L"CH %d  %.2f MHz", static_cast<int>(state.channel), state.hertz / 1e6);
      DrawLabel(m_memoryDc.Get(), 8, 28, line);
      break;
    case PictureState::Content::kNoise:
      swprintf(line, 96, L"NO SIGNAL  %.2f MHz", state.hertz / 1e6);
      DrawLabel(m_memoryDc.Get(), 8, 8, line);
      break;
    default:
      swprintf(line, 96, L"%ls %d", state.inputType == 3 ? L"S-VIDEO" : L"VIDEO",
               state.connector + 1);
      DrawLabel(m_memoryDc.Get(), 8, 8, line);
      break;
  }
  swprintf(line, 96, L"B%d C%d H%d S%d %ls", static_cast<int>(state.properties.brightness),
           static_cast<int>(state.properties.contrast), static_cast<int>(state.properties.hue),
           static_cast<int>(state.properties.saturation),
           state.deinterlaceBypass ? L"DI off" : L"DI on");
  DrawLabel(m_memoryDc.Get(), 8, kFrameHeight - 44, line);
  DrawLabel(m_memoryDc.Get(), kFrameWidth - 72, kFrameHeight - 24, clock);
  GdiFlush();
}

void PictureWindow::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hwnd, &ps);
  RECT client;
  GetClientRect(m_hwnd, &client);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, client.right, client.bottom, m_memoryDc.Get(), 0, 0, kFrameWidth,
             kFrameHeight, SRCCOPY);
  EndPaint(m_hwnd, &ps);
}
