#pragma once
// The picture window: a child of the caller's window that shows the board's
// synthetic picture about 30 times a second.

#include "win32/windows_include.h"

#include <optional>
#include <string>

#include "dshow/critical_section.h"
#include "outside/virtualboard/picture_renderer_win.h"
#include "outside/virtualboard/picture_synth.h"
#include "win32/handles.h"
#include "win32/window_base.h"

class VirtualBoard;

class PictureWindow : public brontel::WindowBase, public PictureSink {
 public:
  // Null when the window cannot be created.
  static PictureWindow* Create(VirtualBoard* board, HWND parent, const std::wstring& title,
                               DWORD style, int left, int top, int width, int height);
  ~PictureWindow() override;

  bool Move(int left, int top, int width, int height);
  HWND Handle() const { return m_hwnd; }
  void Restart() { m_frameNumber = 0; }
  // Client size packed as width in the low word and height in the high word.
  uint32_t PackedSize() const;
  // A picture of the board's live graph; shown instead of the window's own
  // drawing while they keep coming.
  void ShowYuy2(const uint8_t* data, int width, int height) override;

 private:
  explicit PictureWindow(VirtualBoard* board);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnTimer();
  void OnPaint();
  void RenderFrame();

  VirtualBoard* m_board;
  // Destroyed in reverse: the old bitmap goes back before the DC and the
  // picture are deleted.
  brontel::UniqueGdi<HBITMAP> m_dib;
  brontel::UniqueMemoryDc m_memoryDc;
  std::optional<brontel::DcSelection> m_dibSelection;
  uint32_t* m_bits = nullptr;
  uint32_t m_frameNumber = 0;
  Frame m_frame;
  // Guards the two below against the streaming thread. A critical section:
  // it is deleted with the window, and so is what contention made for it.
  brontel::dshow::CriticalSection m_graphLock;
  Frame m_graphFrame;
  DWORD m_graphTick = 0;  // when the last graph picture came; 0: none
};
