#pragma once
// The picture window: a child of the caller's window that shows the board's
// synthetic picture about 30 times a second.

#include "win32/windows_include.h"

#include <string>

#include "outside/virtualboard/picture_synth.h"

class VirtualBoard;

class PictureWindow {
 public:
  // Null when the window cannot be created.
  static PictureWindow* Create(VirtualBoard* board, HWND parent, const std::wstring& title,
                               DWORD style, int left, int top, int width, int height);
  ~PictureWindow();
  PictureWindow(const PictureWindow&) = delete;
  PictureWindow& operator=(const PictureWindow&) = delete;

  bool Move(int left, int top, int width, int height);
  HWND Handle() const { return m_hwnd; }
  void Restart() { m_frameNumber = 0; }
  // Client size packed as width in the low word and height in the high word.
  uint32_t PackedSize() const;

 private:
  explicit PictureWindow(VirtualBoard* board);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void OnTimer();
  void OnPaint();
  void RenderFrame();

  VirtualBoard* m_board;
  HWND m_hwnd = nullptr;
  HDC m_memoryDc = nullptr;
  HBITMAP m_dib = nullptr;
  HGDIOBJ m_oldBitmap = nullptr;
  uint32_t* m_bits = nullptr;
  uint32_t m_frameNumber = 0;
  Frame m_frame;
};
