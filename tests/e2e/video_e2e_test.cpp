// The video window of the real Brontel.exe, driven with the mouse the way a
// user drives it: corner drags that keep the picture's shape, full screen by
// double-click and back, the picture-in-picture window on a right-click
// during a picture-in-picture playback, and the window's place across the
// radio. The mouse comes from SendInput, so Wine routes it as real input.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "e2e/board_e2e_fixture.h"

namespace brontel::e2e {
namespace {

using test_support::Capture;
using test_support::CaptureScreenOf;
using test_support::SaveCapture;

constexpr wchar_t kVideoTitle[] = L"Video Screen";
constexpr wchar_t kPipTitle[] = L"P-In-P ScrnWnd";
constexpr DWORD kStepMs = 250;
constexpr DWORD kRecordTimeoutMs = 20000;
constexpr int kPipCheckBox = 3001;
constexpr int kOpenFileNameCombo = 1148;
constexpr int kOpenFileNameEdit = 1152;
constexpr DWORD kWindowTimeoutMs = 5000;

// Absolute SendInput coordinates for a screen pixel. Wine and Windows scale
// them slightly differently, so the first that lands exactly on a few test
// points is kept.
class Mouse {
 public:
  Mouse() : m_width(GetSystemMetrics(SM_CXSCREEN)), m_height(GetSystemMetrics(SM_CYSCREEN)) {}

  bool Calibrate() {
    const POINT probes[] = {{5, 7}, {511, 383}, {1000, 700}, {333, 222}};
    for (m_formula = 0; m_formula < kFormulas; ++m_formula) {
      bool exact = true;
      for (const POINT& p : probes) {
        MoveTo(p.x, p.y);
        exact = exact && Reached(p.x, p.y);
      }
      if (exact) return true;
    }
    return false;
  }

  // The pointer arrives a moment after the input on a busy machine.
  bool Reached(int x, int y) const {
    return WaitUntil(
        [&] {
          POINT at{};
          GetCursorPos(&at);
          return at.x == x && at.y == y;
        },
        1000);
  }
  // Under Wine the X pointer follows SendInput only later, and a window
  // moving under a stale X pointer brings in a move back to it; putting the
  // pointer there ourselves as well keeps both in one place.
  void MoveTo(int x, int y) {
    Send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
    SetCursorPos(x, y);
    Reached(x, y);
  }
  // A button at wherever the pointer is.
  void Button(DWORD flag) { Send(flag, 0, 0); }

  // Press at `from`, one move to `to`, release: one step of a drag, so that
  // the window sees exactly the rectangle the test means.
  void Drag(POINT from, POINT to) {
    MoveTo(from.x, from.y);
    Sleep(kStepMs);
    Button(MOUSEEVENTF_LEFTDOWN);
    Sleep(kStepMs);
    MoveTo(to.x, to.y);
    Sleep(kStepMs);
    Button(MOUSEEVENTF_LEFTUP);
    Sleep(kStepMs);
  }

  void DoubleClick(POINT at) {
    MoveTo(at.x, at.y);
    Sleep(kStepMs);
    for (int i = 0; i < 2; ++i) {
      Button(MOUSEEVENTF_LEFTDOWN);
      Sleep(20);
      Button(MOUSEEVENTF_LEFTUP);
      Sleep(60);
    }
    Sleep(kStepMs);
  }

  void RightClick(POINT at) {
    MoveTo(at.x, at.y);
    Sleep(kStepMs);
    Button(MOUSEEVENTF_RIGHTDOWN);
    Sleep(20);
    Button(MOUSEEVENTF_RIGHTUP);
    Sleep(kStepMs);
  }

 private:
  static constexpr int kFormulas = 3;

  LONG Scale(int value, int extent) const {
    const long long v = value;
    switch (m_formula) {
      case 0:
        return static_cast<LONG>((v * 65536 + extent - 1) / extent);
      case 1:
        return static_cast<LONG>((v * 65535 + (extent - 1) / 2) / (extent - 1));
      default:
        return static_cast<LONG>(v * 65536 / extent);
    }
  }

  void Send(DWORD flags, int x, int y) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
      input.mi.dx = Scale(x, m_width);
      input.mi.dy = Scale(y, m_height);
    }
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
    Sleep(30);
  }

  int m_width;
  int m_height;
  int m_formula = 0;
};

std::string RectText(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ") " +
         std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class VideoSession {
 public:
  explicit VideoSession(BrontelSession& session) : m_session(session) {}

  HWND Find(const wchar_t* title) const {
    const std::vector<HWND> found = FindTopWindows(m_session.program().pid(), nullptr, title);
    return found.size() == 1 ? found[0] : nullptr;
  }
  HWND video() const { return Find(kVideoTitle); }
  // Made with the video window; waited for, as a busy machine may be
  // slow to list it.
  HWND pip() const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = Find(kPipTitle)) != nullptr; }, kWindowTimeoutMs);
    return found;
  }

  RECT Rect() const {
    RECT r{};
    GetWindowRect(video(), &r);
    return r;
  }
  POINT Centre() const {
    const RECT r = Rect();
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  bool WaitForRect(const std::function<bool(const RECT&)>& good) const {
    return WaitUntil([&] { return good(Rect()); }, kWindowTimeoutMs);
  }

 private:
  BrontelSession& m_session;
};

// Where the video window starts: 640 x 480 with room around it.
void PlaceVideoWindow(long left, long top) {
  WriteAppSetLong(L"lScreenXPos", left);
  WriteAppSetLong(L"lScreenYPos", top);
  WriteAppSetLong(L"lScreenXSize", 640);
  WriteAppSetLong(L"lScreenYSize", 480);
  // The panel out of the way of the drags.
  WriteAppSetLong(L"lPanelXPos", 0);
  WriteAppSetLong(L"lPanelYPos", 0);
}

class VideoE2E : public BoardE2ETest {
 protected:
  // Starts Brontel with its video window at left, top (640 x 480) and
  // calibrates the mouse; use with ASSERT_NO_FATAL_FAILURE.
  void StartAt(long left, long top) {
    PlaceVideoWindow(left, top);
    m_session = std::make_unique<BrontelSession>(JournalName());
    m_video = std::make_unique<VideoSession>(*m_session);
    StartToPanel(*m_session, L"");
    if (HasFatalFailure()) return;
    ASSERT_NE(m_video->video(), nullptr);
    ASSERT_TRUE(m_mouse.Calibrate()) << "SendInput does not reach exact pixels";
  }

  BrontelSession& session() { return *m_session; }
  VideoSession& video() { return *m_video; }
  Mouse& mouse() { return m_mouse; }

 private:
  std::unique_ptr<BrontelSession> m_session;
  std::unique_ptr<VideoSession> m_video;
  Mouse m_mouse;
};

TEST_F(VideoE2E, CornerDragsKeepFourThreeOrSixteenNineAndBottomCornersAreFree) {
  ASSERT_NO_FATAL_FAILURE(StartAt(200, 150));
  ASSERT_TRUE(SameRect(video().Rect(), RECT{200, 150, 840, 630})) << RectText(video().Rect());

  struct Case {
    const char* name;
    bool top, left;  // the corner grabbed
    int dx, dy;      // the one move of the drag
    RECT expected;
  } cases[] = {
      // Proposed 800 x 300: too wide for 16:9, so the height becomes
      // 800 / 1.778 = 449 and the bottom edge stays.
      {"top-left to 800x300", true, true, -160, 180, {40, 181, 840, 630}},
      // Proposed 400 x 400: too tall for 4:3, so the width becomes
      // 400 x 1.333 = 533 and the left edge stays.
      {"top-right to 400x400", true, false, -400, 49, {40, 230, 573, 630}},
      {"bottom-right freely", false, false, 100, -50, {40, 230, 673, 580}},
      {"bottom-left freely", false, true, -20, 30, {20, 230, 673, 610}},
  };
  for (const Case& c : cases) {
    const RECT r = video().Rect();
    const POINT grab{c.left ? r.left + 1 : r.right - 2, c.top ? r.top + 1 : r.bottom - 2};
    mouse().Drag(grab, POINT{grab.x + c.dx, grab.y + c.dy});
    EXPECT_TRUE(video().WaitForRect([&](const RECT& now) { return SameRect(now, c.expected); }))
        << c.name << ": " << RectText(video().Rect()) << " instead of " << RectText(c.expected);
  }

  // Dragging the picture moves the window, size unchanged.
  const RECT before = video().Rect();
  const POINT centre = video().Centre();
  mouse().Drag(centre, POINT{centre.x + 70, centre.y - 40});
  const RECT moved{before.left + 70, before.top - 40, before.right + 70, before.bottom - 40};
  EXPECT_TRUE(video().WaitForRect([&](const RECT& now) { return SameRect(now, moved); }))
      << RectText(video().Rect()) << " instead of " << RectText(moved);

  // What the user sized is what the next start shows.
  const RECT last = video().Rect();
  ExitProgram(session());
  std::wstring x, width;
  ASSERT_TRUE(ReadAppSetText(L"lScreenXPos", &x));
  ASSERT_TRUE(ReadAppSetText(L"lScreenXSize", &width));
  EXPECT_EQ(x, std::to_wstring(last.left));
  EXPECT_EQ(width, std::to_wstring(last.right - last.left));
}

TEST_F(VideoE2E, DoubleClickEntersFullScreenAndLeavesToTheExactRectangleAndStyles) {
  ASSERT_NO_FATAL_FAILURE(StartAt(150, 120));
  HWND window = video().video();
  const RECT before = video().Rect();
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
  ASSERT_NE(style & WS_THICKFRAME, 0);

  mouse().DoubleClick(video().Centre());
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  ASSERT_TRUE(video().WaitForRect([&](const RECT& now) { return SameRect(now, screen); }))
      << RectText(video().Rect());
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME, 0) << "the sizing frame stays";
  EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "not topmost";
  // In full screen a press on the picture does not move it.
  mouse().Drag(POINT{500, 400}, POINT{560, 440});
  EXPECT_TRUE(SameRect(video().Rect(), screen)) << RectText(video().Rect());

  // A right-click without a picture-in-picture playback does nothing.
  mouse().RightClick(POINT{300, 200});
  HWND pip = video().pip();
  ASSERT_NE(pip, nullptr) << "no picture-in-picture window was made";
  EXPECT_FALSE(IsWindowVisible(pip));
  EXPECT_TRUE(SameRect(video().Rect(), screen));

  mouse().DoubleClick(POINT{512, 384});
  ASSERT_TRUE(video().WaitForRect([&](const RECT& now) { return SameRect(now, before); }))
      << RectText(video().Rect()) << " instead of " << RectText(before);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE), style);
  // AlwaysOnTop (1 by default) keeps the window topmost after full screen.
  EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & ~WS_EX_TOPMOST, exStyle & ~WS_EX_TOPMOST);
  EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

  // The panel's command does the same.
  ASSERT_TRUE(session().Command(IDC_BTN_FULL_SCREEN));
  EXPECT_TRUE(SameRect(video().Rect(), screen)) << RectText(video().Rect());
  ASSERT_TRUE(session().Command(IDC_BTN_FULL_SCREEN));
  EXPECT_TRUE(SameRect(video().Rect(), before)) << RectText(video().Rect());
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE), style);
  ExitProgram(session());
}

// The share of pixels of a capture that are not black.
double LitShare(const Capture& capture) {
  if (capture.pixels.empty()) return 0;
  size_t lit = 0;
  for (std::uint32_t p : capture.pixels) {
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    if (r + g + b > 60) ++lit;
  }
  return static_cast<double>(lit) / capture.pixels.size();
}

TEST_F(VideoE2E, RightClickInFullScreenShowsTheRecordingPlayingInPictureInPicture) {
  // A clip made on the host by ffmpeg (the test's fixture), played the
  // way a user plays a recording: the play button's open dialog, with its
  // picture-in-picture box preset from the user's choice.
  const std::wstring clip = TestOutputDir() + L"video-pip\\clip.mpg";
  ASSERT_NE(GetFileAttributesW(clip.c_str()), INVALID_FILE_ATTRIBUTES) << "no clip from ffmpeg";
  WriteAppSetLong(L"bPlaybackInPIP", 1);
  ASSERT_NO_FATAL_FAILURE(StartAt(150, 120));

  const size_t first = session().journal().Size();
  PostMessageW(session().dialog(), WM_COMMAND, MAKEWPARAM(IDC_BTN_PLAY, BN_CLICKED), 0);
  HWND open = WaitForOtherDialog(session().program().pid(), session().dialog(), kPipCheckBox,
                                 kWindowTimeoutMs);
  ASSERT_NE(open, nullptr) << "no open dialog with the picture-in-picture box";
  EXPECT_EQ(IsDlgButtonChecked(open, kPipCheckBox), BST_CHECKED);
  HWND nameBox = GetDlgItem(open, kOpenFileNameCombo);
  if (nameBox == nullptr) nameBox = GetDlgItem(open, kOpenFileNameEdit);
  ASSERT_NE(nameBox, nullptr);
  SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(clip.c_str()));
  ClickButton(open, IDOK);
  std::vector<JournalLine> opened;
  ASSERT_TRUE(WaitUntil(
      [&] {
        opened = session().journal().ReadFrom(first, 500);
        return !opened.empty();
      },
      kRecordTimeoutMs));
  HWND pip = video().pip();
  if (pip == nullptr) {
    for (HWND w : FindTopWindows(session().program().pid(), nullptr, nullptr)) {
      wchar_t cls[64] = {};
      GetClassNameW(w, cls, 64);
      ADD_FAILURE() << Narrow(WindowText(w)) << " / " << Narrow(cls) << " visible "
                    << IsWindowVisible(w);
    }
  }
  ASSERT_NE(pip, nullptr);
  char pipHex[16];
  snprintf(pipHex, sizeof pipHex, "0x%X", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(pip)));
  EXPECT_NE(opened[0].block.find(pipHex), std::string::npos)
      << "the board was not given the picture-in-picture window: " << opened[0].text;
  EXPECT_FALSE(IsWindowVisible(pip)) << "shown outside full screen";

  ASSERT_TRUE(session().Command(IDC_BTN_FULL_SCREEN));
  const POINT at{600, 420};
  mouse().RightClick(at);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(pip) != FALSE; }, kWindowTimeoutMs));
  RECT r{};
  GetWindowRect(pip, &r);
  EXPECT_TRUE(SameRect(r, RECT{at.x, at.y, at.x + 320, at.y + 240})) << RectText(r);
  EXPECT_NE(GetWindowLongW(pip, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

  // The recording plays in it: the station's colour bars, not black.
  Capture shown;
  ASSERT_TRUE(WaitUntil(
      [&] {
        shown = CaptureScreenOf(pip);
        return LitShare(shown) > 0.5;
      },
      kWindowTimeoutMs))
      << "the picture-in-picture window stays dark: " << LitShare(shown);
  SaveCapture(CaptureScreenOf(video().video()), TestOutputDir() + L"video-pip-fullscreen.png");

  // A second right-click hides it; leaving full screen keeps it hidden.
  mouse().RightClick(POINT{100, 100});
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(pip) == FALSE; }, kWindowTimeoutMs));
  mouse().RightClick(at);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(pip) != FALSE; }, kWindowTimeoutMs));
  ASSERT_TRUE(session().Command(IDC_BTN_FULL_SCREEN));
  EXPECT_FALSE(IsWindowVisible(pip)) << "left standing after full screen";
  ASSERT_TRUE(session().Command(IDC_BTN_STOP));
  ExitProgram(session());
}

void WriteOneStation() {
  WriteSettingLong(L"RdSet", L"lRDStnCount", 1);
  WriteSettingLong(L"RdSet", L"lCurrStn", 1);
  WriteSettingLong(L"RdSet\\StnInfo01", L"lStn", 1);
  WriteSettingText(L"RdSet\\StnInfo01", L"dPresetFreq", L"80.000");
  WriteSettingText(L"RdSet\\StnInfo01", L"dFreqOffset", L"0.000");
  WriteSettingText(L"RdSet\\StnInfo01", L"szRDStnName", L"FM Kanto");
}

TEST_F(VideoE2E, RadioHidesTheWindowAndTvBringsItBackWhereItWas) {
  WriteOneStation();
  ASSERT_NO_FATAL_FAILURE(StartAt(150, 120));
  HWND window = video().video();
  const POINT centre = video().Centre();
  mouse().Drag(centre, POINT{centre.x + 90, centre.y + 50});
  const RECT placed{240, 170, 880, 650};
  ASSERT_TRUE(video().WaitForRect([&](const RECT& now) { return SameRect(now, placed); }))
      << RectText(video().Rect());

  // TV, two video inputs, two S-Video inputs, then the radio.
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(session().Command(IDC_BTN_SOURCE));
  ASSERT_TRUE(WaitUntil([&] { return session().SkinVisible(L"LCD-Src-Radio"); }, kWindowTimeoutMs));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) == FALSE; }, kWindowTimeoutMs))
      << "the radio has no picture";

  ASSERT_TRUE(session().Command(IDC_BTN_SOURCE));
  ASSERT_TRUE(WaitUntil([&] { return session().SkinVisible(L"LCD-Src-TV"); }, kWindowTimeoutMs));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, kWindowTimeoutMs));
  EXPECT_TRUE(SameRect(video().Rect(), placed)) << RectText(video().Rect());
  ExitProgram(session());
}

TEST_F(VideoE2E, SizePresetKeysSizeThePictureAndLeaveFullScreen) {
  ASSERT_NO_FATAL_FAILURE(StartAt(150, 120));
  HWND window = video().video();
  const struct {
    int command;
    LONG width, height;
  } presets[] = {{ID_SIZE_PRESET0, 320, 240}, {ID_SIZE_PRESET2, 800, 600}};
  for (const auto& p : presets) {
    ASSERT_TRUE(session().Command(p.command));
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, p.width);
    EXPECT_EQ(client.bottom, p.height);
    EXPECT_EQ(video().Rect().left, 150) << "the corner moved";
  }
  ASSERT_TRUE(session().Command(IDC_BTN_FULL_SCREEN));
  ASSERT_TRUE(session().Command(ID_SIZE_PRESET1));
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  EXPECT_NE(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME, 0) << "still in full screen";
  ExitProgram(session());
}

}  // namespace
}  // namespace brontel::e2e
