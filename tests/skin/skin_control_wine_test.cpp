// The skin control hosted in a window, as the main dialog hosts it: loading,
// element access, clicks raising event 1, volume press and release, bad
// files and label controls.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/panel/panel_actions.h"
#include "app/panel/panel_display.h"
#include "app/panel/panel_elements.h"
#include "skin/skin_control.h"
#include "support/png_writer.h"
#include "support/test_paths_win.h"
#include "support/windows_win.h"

namespace brontel::skin {
namespace {

constexpr int kSkinId = 1000;
constexpr wchar_t kHostClass[] = L"BrontelSkinTestHost";

struct Event {
  UINT_PTR id;
  int eventId;
  std::wstring arg1;
  std::wstring arg2;
};

std::vector<Event> g_events;
bool g_destroyOnEvent = false;

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == kSkinNotifyEvent) {
      const auto* event = reinterpret_cast<const SkinEventNotify*>(lParam);
      g_events.push_back({header->idFrom, event->eventId, event->arg1, event->arg2});
      if (g_destroyOnEvent) DestroyWindow(header->hwndFrom);
      return 0;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::wstring AppSkinPath() {
  return test_support::UnixToWinePath(BRONTEL_APPSKIN_PATH);
}

std::wstring WriteTempSkin(const wchar_t* name, const std::string& text) {
  const std::wstring path = test_support::TempDir() + name;
  test_support::WriteFileBytes(path, text);
  return path;
}

// Dispatches what is queued now.
void Pump() {
  test_support::PumpMessages(0);
}

class SkinControlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(RegisterSkinControlClass(GetModuleHandleW(nullptr)));
    ASSERT_TRUE(RegisterSkinControlClass(GetModuleHandleW(nullptr)));  // twice is fine
    WNDCLASSEXW cls = {};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = HostProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = kHostClass;
    RegisterClassExW(&cls);
  }

  void SetUp() override {
    g_events.clear();
    g_destroyOnEvent = false;
    m_host = CreateWindowExW(0, kHostClass, L"Brontel", WS_POPUP | WS_VISIBLE, 40, 40, 460, 180,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(m_host, nullptr);
    m_skin = CreateWindowExW(0, kSkinControlClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 460, 180,
                             m_host, reinterpret_cast<HMENU>(kSkinId), GetModuleHandleW(nullptr),
                             nullptr);
    ASSERT_NE(m_skin, nullptr);
    for (const auto& area : panel::kLabelAreas) {
      HWND label = CreateWindowExW(0, kSkinLabelClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                   m_host, reinterpret_cast<HMENU>(area.labelId),
                                   GetModuleHandleW(nullptr), nullptr);
      ASSERT_NE(label, nullptr);
    }
  }

  void TearDown() override {
    if (m_host) DestroyWindow(m_host);
  }

  SkinControl Control() const { return SkinControl(m_skin); }

  int Find(const char* name) const {
    std::wstring wide(name, name + strlen(name));
    return Control().FindElement(wide.c_str());
  }

  void Show(const char* name, bool shown) {
    SkinControl control = Control();
    const int element = Find(name);
    ASSERT_GE(element, 0) << name;
    control.SetWidth(element, shown ? m_design[element].right : 0);
    control.SetHeight(element, shown ? m_design[element].bottom : 0);
  }

  void LoadAppSkin() {
    ASSERT_EQ(Control().Load(AppSkinPath().c_str()), kSkinLoaded);
    m_design.clear();
    SkinControl control = Control();
    for (int i = 0; control.Get(i, kFieldWidth) != kSkinNoValue; ++i) {
      m_design.push_back(
          RECT{control.GetLeft(i), control.GetTop(i), control.GetWidth(i), control.GetHeight(i)});
    }
    for (const auto& area : panel::kLabelAreas) {
      std::wstring name(area.element, area.element + strlen(area.element));
      ASSERT_TRUE(PlaceSkinLabel(GetDlgItem(m_host, area.labelId), m_skin, name.c_str()));
      SetDlgItemTextW(m_host, area.labelId, L" ");
    }
  }

  // The state the panel has after start-up: main face, every disabled
  // overlay following the enable rule.
  void ShowPanelState(const panel::PanelState& state, bool audioOn) {
    Show("Splash", false);
    Show("MainPanel", true);
    auto apply = [this](const std::vector<panel::ElementVisibility>& list) {
      for (const auto& entry : list) {
        if (entry.visibility != panel::Visibility::kLeave) {
          Show(entry.element, entry.visibility == panel::Visibility::kShow);
        }
      }
    };
    apply(panel::SourceIndicators(state.msCurrSrc));
    apply(panel::SoundIndicators(2));
    apply(panel::QualityIndicators(state.msCurrSrc, 1));
    apply(panel::DisabledOverlays(panel::GetActionStates(state)));
    apply(panel::SoundButtons(audioOn));
  }

  void ClickAt(int x, int y) {
    SendMessageW(m_skin, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    SendMessageW(m_skin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(m_skin, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }

  POINT CentreOf(const char* name) const {
    const int e = Find(name);
    SkinControl control = Control();
    return POINT{control.GetLeft(e) + control.GetWidth(e) / 2,
                 control.GetTop(e) + control.GetHeight(e) / 2};
  }

  std::vector<std::wstring> Codes() const {
    std::vector<std::wstring> codes;
    for (const Event& event : g_events) codes.push_back(event.arg2);
    return codes;
  }

  // A 32-bit top-down DIB section of the control's size, selected into a DC.
  struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    const std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;

    Canvas(int w, int h) : width(w), height(h) {
      BITMAPINFO info = {};
      info.bmiHeader.biSize = sizeof(info.bmiHeader);
      info.bmiHeader.biWidth = w;
      info.bmiHeader.biHeight = -h;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      void* pixels = nullptr;
      HDC screen = GetDC(nullptr);
      bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
      dc = CreateCompatibleDC(screen);
      ReleaseDC(nullptr, screen);
      old = SelectObject(dc, bitmap);
      bits = static_cast<const std::uint8_t*>(pixels);
    }
    ~Canvas() {
      SelectObject(dc, old);
      DeleteDC(dc);
      DeleteObject(bitmap);
    }
    std::vector<std::uint8_t> Rgb() const {
      GdiFlush();
      std::vector<std::uint8_t> rgb;
      for (int i = 0; i < width * height; ++i) {
        rgb.push_back(bits[i * 4 + 2]);
        rgb.push_back(bits[i * 4 + 1]);
        rgb.push_back(bits[i * 4 + 0]);
      }
      return rgb;
    }
  };

  // The control and its labels drawn through WM_PRINTCLIENT.
  std::vector<std::uint8_t> Printed() {
    RECT client;
    GetClientRect(m_skin, &client);
    Canvas canvas(client.right, client.bottom);
    SendMessageW(m_skin, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc), PRF_CLIENT);
    for (const auto& area : panel::kLabelAreas) {
      HWND label = GetDlgItem(m_host, area.labelId);
      RECT rect;
      GetWindowRect(label, &rect);
      MapWindowPoints(nullptr, m_skin, reinterpret_cast<POINT*>(&rect), 2);
      const int saved = SaveDC(canvas.dc);
      SetViewportOrgEx(canvas.dc, rect.left, rect.top, nullptr);
      IntersectClipRect(canvas.dc, 0, 0, rect.right - rect.left, rect.bottom - rect.top);
      SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc), PRF_CLIENT);
      RestoreDC(canvas.dc, saved);
    }
    return canvas.Rgb();
  }

  // What the window shows on the display after it painted itself.
  std::vector<std::uint8_t> OnScreen() {
    RedrawWindow(m_host, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    RECT client;
    GetClientRect(m_skin, &client);
    Canvas canvas(client.right, client.bottom);
    HDC window = GetDC(m_skin);
    BitBlt(canvas.dc, 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
    ReleaseDC(m_skin, window);
    return canvas.Rgb();
  }

  HWND m_host = nullptr;
  HWND m_skin = nullptr;
  std::vector<RECT> m_design;  // left, top, width, height at load time
};

TEST_F(SkinControlTest, LoadsAppSkinAndFindsEveryElementThePanelNeeds) {
  LoadAppSkin();
  for (const char* name : panel::kRequiredElements) EXPECT_GE(Find(name), 0) << name;
  EXPECT_GE(Find("VolMeter"), 0);
  EXPECT_GE(Find("VolMeterRgn"), 0);
  const SIZE size = Control().SkinSize();
  EXPECT_EQ(size.cx, 460);
  EXPECT_EQ(size.cy, 180);
}

TEST_F(SkinControlTest, MissingElementAndMissingFileAreTellApart) {
  LoadAppSkin();
  EXPECT_EQ(Control().FindElement(L"LCD-Sound-XY"), -1);
  EXPECT_EQ(Control().FindElement(nullptr), -1);
  EXPECT_EQ(Control().Load(L"Z:\\no\\such\\folder\\AppSkin.skn"), kSkinFileMissing);
  EXPECT_EQ(Control().Load(L"C:\\windows\\NoSuchSkin.skn"), kSkinFileMissing);
  EXPECT_EQ(Control().Load(L""), kSkinFileMissing);
  // The skin shown before stays.
  EXPECT_GE(Find("MainPanel"), 0);
}

TEST_F(SkinControlTest, MalformedFileIsRefusedAsAWholeWithItsLine) {
  LoadAppSkin();
  const std::wstring path = WriteTempSkin(L"brontel-bad.skn",
                                          "brontel-skin 1\nelement Other panel 0 0 10 10\nfill 0 0 "
                                          "5 5 #12\nelement More panel 0 0 1 1\n");
  EXPECT_EQ(Control().Load(path.c_str()), kSkinMalformed);
  int line = 0;
  const std::wstring message = Control().LoadError(&line);
  EXPECT_EQ(line, 3);
  EXPECT_NE(message.find(L"brontel-bad.skn(3)"), std::wstring::npos) << message;
  // Nothing of the bad file was taken; the old skin still answers, and a
  // good load clears the error.
  EXPECT_EQ(Find("Other"), -1);
  EXPECT_GE(Find("PlayBtn"), 0);
  DeleteFileW(path.c_str());
  LoadAppSkin();
  EXPECT_EQ(Control().LoadError(&line), L"");
  EXPECT_EQ(line, 0);
}

// Which files the parser refuses is checked natively; a control without a
// skin must still draw and answer without crashing.
TEST_F(SkinControlTest, ControlWithoutASkinAnswersWithoutHarm) {
  EXPECT_EQ(Control().Get(0, kFieldLeft), kSkinNoValue);
  EXPECT_FALSE(Control().Set(0, kFieldLeft, 5));
  ClickAt(10, 10);
  UpdateWindow(m_skin);
  EXPECT_TRUE(g_events.empty());
}

TEST_F(SkinControlTest, ElementRectanglesCanBeReadAndSet) {
  LoadAppSkin();
  SkinControl control = Control();
  const int play = Find("PlayBtn");
  EXPECT_EQ(control.GetLeft(play), 12 + 3 * 36);
  EXPECT_EQ(control.GetTop(play), 116);
  EXPECT_EQ(control.GetWidth(play), 34);
  EXPECT_EQ(control.GetHeight(play), 26);
  EXPECT_TRUE(control.SetLeft(play, 20));
  EXPECT_TRUE(control.SetTop(play, 30));
  EXPECT_TRUE(control.SetWidth(play, 0));
  EXPECT_TRUE(control.SetHeight(play, -4));  // below 0 counts as 0
  EXPECT_EQ(control.GetLeft(play), 20);
  EXPECT_EQ(control.GetTop(play), 30);
  EXPECT_EQ(control.GetHeight(play), 0);
  EXPECT_FALSE(control.IsVisible(play));
  EXPECT_FALSE(control.Set(9999, kFieldLeft, 1));
  EXPECT_FALSE(control.Set(play, kFieldVisible, 1));
  EXPECT_EQ(control.Get(-1, kFieldLeft), kSkinNoValue);
}

TEST_F(SkinControlTest, ClickOnAButtonRaisesEventOneWithItsCode) {
  LoadAppSkin();
  panel::PanelState state;
  state.overlayMode = true;
  ShowPanelState(state, true);
  const POINT play = CentreOf("PlayBtn");
  ClickAt(play.x, play.y);
  ASSERT_EQ(g_events.size(), 1u);
  EXPECT_EQ(g_events[0].id, static_cast<UINT_PTR>(kSkinId));
  EXPECT_EQ(g_events[0].eventId, 1);
  EXPECT_EQ(g_events[0].arg1, L"PlayBtn");
  EXPECT_EQ(g_events[0].arg2, L"10130");
  EXPECT_EQ(panel::ParseActionCodeText("10130"), panel::kCodePlay);

  g_events.clear();
  for (const char* name : {"ExitBtn", "MinimizeBtn", "AudioOnBtn", "ChnUpBtn", "InputSrcBtn"}) {
    const POINT at = CentreOf(name);
    ClickAt(at.x, at.y);
  }
  EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"10310", L"10320", L"10300", L"10260", L"10190"}));
}

TEST_F(SkinControlTest, DisabledOverlaySwallowsTheClick) {
  LoadAppSkin();
  panel::PanelState state;  // live TV without overlay: snapshot is disabled
  ShowPanelState(state, true);
  EXPECT_TRUE(Control().IsVisible(Find("SnapBtn-D")));
  EXPECT_EQ(QuerySkinElement(m_skin, L"SnapBtn-D", kFieldVisible), 1);
  const POINT snap = CentreOf("SnapBtn");
  ClickAt(snap.x, snap.y);
  // Rewind is disabled live too, play is not.
  const POINT rewind = CentreOf("FastRevBtn");
  ClickAt(rewind.x, rewind.y);
  EXPECT_TRUE(g_events.empty());
}

TEST_F(SkinControlTest, ReleaseOutsideTheButtonIsNoClick) {
  LoadAppSkin();
  ShowPanelState(panel::PanelState{}, true);
  const POINT play = CentreOf("PlayBtn");
  SendMessageW(m_skin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(play.x, play.y));
  SendMessageW(m_skin, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(m_skin, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(g_events.empty());
}

TEST_F(SkinControlTest, VolumeButtonsSendPressAndReleaseCodes) {
  LoadAppSkin();
  ShowPanelState(panel::PanelState{}, true);
  const POINT up = CentreOf("VolUpBtn");
  SendMessageW(m_skin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.x, up.y));
  EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"10281"}));
  SendMessageW(m_skin, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
  EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"10281", L"10280"}));

  g_events.clear();
  const POINT down = CentreOf("VolDnBtn");
  SendMessageW(m_skin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
  // Released far away: the release still arrives, so the repeat stops.
  SendMessageW(m_skin, WM_LBUTTONUP, 0, MAKELPARAM(2, 170));
  EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"10291", L"10290"}));

  g_events.clear();
  SendMessageW(m_skin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
  ReleaseCapture();  // another window takes the mouse
  SendMessageW(m_skin, WM_CAPTURECHANGED, 0, 0);
  EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"10291", L"10290"}));
}

TEST_F(SkinControlTest, SecondPressReleasesTheFirstHoldButton) {
  LoadAppSkin();
  ShowPanelState(panel::PanelState{}, true);
  const POINT up = CentreOf("VolUpBtn");
  const POINT down = CentreOf("VolDnBtn");
  SendMessageW(m_skin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.x, up.y));
  SendMessageW(m_skin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
  SendMessageW(m_skin, WM_LBUTTONUP, 0, MAKELPARAM(down.x, down.y));
  EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"10281", L"10280", L"10291", L"10290"}));
}

TEST_F(SkinControlTest, ParentMayDestroyTheControlInsideAnEvent) {
  LoadAppSkin();
  ShowPanelState(panel::PanelState{}, true);
  g_destroyOnEvent = true;
  const POINT up = CentreOf("VolUpBtn");
  SendMessageW(m_skin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.x, up.y));
  EXPECT_FALSE(IsWindow(m_skin));
  SendMessageW(m_skin, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
  EXPECT_EQ(Codes(), (std::vector<std::wstring>{L"10281"}));
}

TEST_F(SkinControlTest, ButtonFacesFollowTheMouse) {
  LoadAppSkin();
  ShowPanelState(panel::PanelState{}, true);
  const POINT play = CentreOf("PlayBtn");
  const int element = Find("PlayBtn");
  EXPECT_EQ(Control().Get(element, kFieldFace), 0);
  SendMessageW(m_skin, WM_MOUSEMOVE, 0, MAKELPARAM(play.x, play.y));
  EXPECT_EQ(Control().Get(element, kFieldFace), 1);
  SendMessageW(m_skin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(play.x, play.y));
  EXPECT_EQ(QuerySkinElement(m_skin, L"PlayBtn", kFieldFace), 2);
  SendMessageW(m_skin, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(Control().Get(element, kFieldFace), 0);
  SendMessageW(m_skin, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  SendMessageW(m_skin, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Control().Get(element, kFieldFace), 0);
}

TEST_F(SkinControlTest, InspectionByNameWorksThroughAtoms) {
  LoadAppSkin();
  Show("Splash", true);
  Show("MainPanel", false);
  EXPECT_EQ(QuerySkinElement(m_skin, L"Splash", kFieldVisible), 1);
  EXPECT_EQ(QuerySkinElement(m_skin, L"MainPanel", kFieldWidth), 0);
  // Children of a hidden panel are not visible, whatever their size.
  EXPECT_EQ(QuerySkinElement(m_skin, L"PlayBtn", kFieldWidth), 34);
  EXPECT_EQ(QuerySkinElement(m_skin, L"PlayBtn", kFieldVisible), 0);
  EXPECT_EQ(QuerySkinElement(m_skin, L"PlayBtn", kFieldAction), 10130);
  EXPECT_EQ(QuerySkinElement(m_skin, L"PlayBtn", kFieldKind), 2);
  EXPECT_EQ(QuerySkinElement(m_skin, L"NoSuchElement", kFieldLeft), kSkinNoValue);
  EXPECT_EQ(QuerySkinElement(nullptr, L"PlayBtn", kFieldLeft), kSkinNoValue);
  EXPECT_EQ(SendMessageW(m_skin, kSkinMsgDump, 0, 0), static_cast<LRESULT>(m_design.size()));
}

TEST_F(SkinControlTest, LabelsSitOnTheirAreas) {
  LoadAppSkin();
  for (const auto& area : panel::kLabelAreas) {
    RECT rect;
    GetWindowRect(GetDlgItem(m_host, area.labelId), &rect);
    MapWindowPoints(nullptr, m_skin, reinterpret_cast<POINT*>(&rect), 2);
    const int element = Find(area.element);
    EXPECT_EQ(rect.left, Control().GetLeft(element)) << area.element;
    EXPECT_EQ(rect.top, Control().GetTop(element)) << area.element;
    EXPECT_EQ(rect.right - rect.left, Control().GetWidth(element)) << area.element;
    EXPECT_EQ(rect.bottom - rect.top, Control().GetHeight(element)) << area.element;
  }
  HWND outside = CreateWindowExW(0, kSkinLabelClassName, L"", WS_CHILD, 0, 0, 5, 5, m_host, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
  EXPECT_FALSE(PlaceSkinLabel(outside, m_skin, L"NoSuchArea"));
  EXPECT_FALSE(PlaceSkinLabel(outside, nullptr, L"LCD-ChnNumLabelArea"));
}

TEST_F(SkinControlTest, PaintedWindowShowsTheSamePictureAsPrinting) {
  LoadAppSkin();
  ShowPanelState(panel::PanelState{}, true);
  SetDlgItemTextW(m_host, panel::kLabelChannelNumber, L"Ch 4");
  SetDlgItemTextW(m_host, panel::kLabelChannelName, L"Test station");
  const std::vector<std::uint8_t> printed = Printed();
  const std::vector<std::uint8_t> screen = OnScreen();
  ASSERT_EQ(printed.size(), screen.size());
  test_support::WritePng(test_support::TestOutputDir() + L"skin-on-screen.png", 460, 180, screen);
  std::size_t differing = 0;
  for (std::size_t i = 0; i < printed.size(); i += 3) {
    differing += printed[i] != screen[i] || printed[i + 1] != screen[i + 1] ||
                 printed[i + 2] != screen[i + 2];
  }
  // Labels included: the skin does not paint over them.
  EXPECT_LT(differing, printed.size() / 3 / 100) << differing << " pixels differ";
}

}  // namespace
}  // namespace brontel::skin
