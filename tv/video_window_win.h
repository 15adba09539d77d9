#pragma once
// The video window: a captionless pop-up on black in which the board draws
// its picture window. It is dragged by its picture, resized by its frame and
// hidden while the radio plays.

#include "win32/handles.h"
#include "win32/window_base.h"
#include "win32/windows_include.h"

namespace brontel {

constexpr wchar_t kVideoWindowClass[] = L"BrontelVideoScreen";
constexpr wchar_t kVideoWindowTitle[] = L"Video Screen";
constexpr int kDefaultVideoWidth = 640;
constexpr int kDefaultVideoHeight = 480;

class CVideoScreenWnd : public WindowBase {
 public:
  CVideoScreenWnd() = default;
  ~CVideoScreenWnd() override;

  // Creates the window at the saved rectangle, or centred at 640 x 480 when
  // that rectangle does not overlap the screen. `accelerators` (may be null)
  // makes the panel's keys work while the picture has the focus.
  bool Create(HINSTANCE instance, HWND owner, const RECT& saved, HACCEL accelerators);
  void Destroy();

  // Shows the window at its last position (maximised when fullScreen) or
  // hides it off screen.
  void ShowVideo(bool show, bool fullScreen);

  bool shown() const { return m_shown; }
  // The window rectangle to save in AppSet.
  RECT SavedRect() const;
  // Translates key messages through the accelerator table for the owner.
  bool TranslateKeys(MSG* msg);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnTimer(UINT_PTR id);

  HWND m_owner = nullptr;
  HACCEL m_accelerators = nullptr;
  UniqueGdi<HBRUSH> m_blackBrush;
  bool m_shown = false;
  POINT m_ptSaved{};
  SIZE m_size{};
};

// Where the video window goes: the saved rectangle when it overlaps the
// screen, else 640 x 480 centred.
RECT PlaceVideoWindow(const RECT& saved, int screenWidth, int screenHeight);

}  // namespace brontel
