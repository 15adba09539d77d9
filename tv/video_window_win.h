#pragma once
// The video window: a captionless pop-up on black in which the board draws
// its picture window. It is dragged by its picture, resized by its corners
// (two of them keep the picture's shape), switched to full screen and back,
// and hidden while the radio plays. It owns the picture-in-picture window,
// into which the board plays a recording while the live picture stays here.

#include <cstdint>

#include "tv/video_geometry.h"
#include "win32/handles.h"
#include "win32/window_base.h"
#include "win32/windows_include.h"

namespace brontel {

constexpr wchar_t kVideoWindowClass[] = L"BrontelVideoScreen";
constexpr wchar_t kVideoWindowTitle[] = L"Video Screen";
constexpr wchar_t kPipWindowClass[] = L"BrontelPipScreen";
constexpr wchar_t kPipWindowTitle[] = L"P-In-P ScrnWnd";
constexpr int kDefaultVideoWidth = 640;
constexpr int kDefaultVideoHeight = 480;
constexpr int kPipWidth = 320;
constexpr int kPipHeight = 240;

// What the video window asks of the main dialog.
class VideoWindowHost {
 public:
  virtual ~VideoWindowHost() = default;
  // A double-click on the picture: full screen on or off.
  virtual void OnVideoDoubleClick() = 0;
  // A right-button press on the picture, in screen coordinates.
  virtual void OnVideoRightPress(POINT screen) = 0;
  // A left press on the main picture (pip false) or on the
  // picture-in-picture window (pip true): whose sound is heard.
  virtual void OnPicturePress(bool pip) = 0;
  // After every size change: the board fits its picture.
  virtual void OnVideoSized() = 0;
  virtual bool InFullScreen() = 0;
  // The board's minimum width and height and maximum width and height.
  virtual void BoardVideoLimits(std::int32_t limits[4]) = 0;
};

// The picture-in-picture window: 320 x 240, owned by the video window,
// dragged by its picture.
class CPipWnd : public WindowBase {
 public:
  explicit CPipWnd(VideoWindowHost& host) : m_host(host) {}
  ~CPipWnd() override;
  bool Create(HINSTANCE instance, HWND owner, HBRUSH background);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnPress();

  VideoWindowHost& m_host;
};

class CVideoScreenWnd : public WindowBase {
 public:
  explicit CVideoScreenWnd(VideoWindowHost& host) : m_host(host), PipWnd(host) {}
  ~CVideoScreenWnd() override;

  // Creates the window at the saved rectangle, or centred at 640 x 480 when
  // that rectangle does not overlap the screen, with its hidden
  // picture-in-picture window. `accelerators` (may be null) makes the
  // panel's keys work while the picture has the focus.
  bool Create(HINSTANCE instance, HWND owner, const RECT& saved, HACCEL accelerators);
  void Destroy();

  // Shows the window at its last position or hides it off screen. A window
  // in full screen keeps its full-screen rectangle while it is hidden.
  void ShowVideo(bool show, bool fullScreen);

  // Fills the screen, topmost, without its sizing frame; remembers the
  // rectangle and both styles, and gives them back exactly on leaving.
  void EnterFullScreen();
  void LeaveFullScreen(bool topmost);

  // Shows the picture-in-picture window at a screen point (topmost,
  // 320 x 240) or hides it.
  void ShowPip(bool show, POINT point);
  bool pipVisible() const { return bPipVisible; }
  // Where the picture-in-picture window was last shown.
  POINT pipPoint() const { return ptPip; }
  HWND pipWindow() const { return PipWnd.hwnd(); }

  // Size preset 0 to 3: the picture becomes that size, the top-left
  // corner stays.
  void ApplySizePreset(int preset);
  // The presets that fit the tracking limits and the screen.
  std::uint32_t PresetMask() const;

  bool shown() const { return bShown; }
  // The window rectangle to save in AppSet.
  RECT SavedRect() const;
  // Translates key messages through the accelerator table for the owner.
  bool TranslateKeys(MSG* msg);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCreate();
  void OnTimer(UINT_PTR id);
  void OnSize(int width, int height);
  void OnMove();
  // A left or right press on the picture, in screen coordinates.
  // `ownDoubleClicks` is false for presses that reach us from the board's
  // picture window, whose class counts no double-clicks.
  void OnLeftPress(POINT screen, bool ownDoubleClicks);
  void OnParentNotify(WPARAM wParam, LPARAM lParam);
  void ChooseSizeMode(LRESULT hit);
  bool SetSizeCursor(LRESULT hit);
  void OnSizing(WPARAM edge, RECT* rect);
  void OnGetMinMaxInfo(MINMAXINFO* info) const;
  void OnPointerMoved();
  void ShowPointer();
  video::TrackingLimits Limits() const;

  VideoWindowHost& m_host;
  HWND pOwner = nullptr;
  HACCEL hAccel = nullptr;
  UniqueGdi<HBRUSH> hBlackBrush;
  CPipWnd PipWnd;
  bool bSizing = false;
  std::int32_t lSizeMode = video::kSizeFree;
  bool bShown = false;
  POINT ptSaved{};
  SIZE m_size{};
  POINT ptPip{};
  bool bPipVisible = false;
  int lCursorCount = 0;
  bool m_pointerHidden = false;
  video::FullScreenMemory m_fullScreen;
  // The last press that came from the board's picture window, to tell a
  // double-click.
  DWORD m_lastPressTime = 0;
  POINT m_lastPressPoint{};
  bool m_lastPressValid = false;
};

// Where the video window goes: the saved rectangle when it overlaps the
// screen, else 640 x 480 centred.
RECT PlaceVideoWindow(const RECT& saved, int screenWidth, int screenHeight);

}  // namespace brontel
