// The panel's binding to the skin, in a window laid out like the main
// dialog: what the user sees after binding, refreshing, the meter and times.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/panel/panel_elements.h"
#include "app/panel/panel_skin_win.h"
#include "skin/skin_control.h"
#include "support/test_paths_win.h"

namespace brontel::panel {
namespace {

constexpr wchar_t kHostClass[] = L"BrontelPanelTestHost";

std::wstring WriteTempSkin(const wchar_t* name, const std::string& text) {
  const std::wstring path = test_support::TempDir() + name;
  test_support::WriteFileBytes(path, text);
  return path;
}

std::string ReadAppSkin() {
  std::ifstream in(BRONTEL_APPSKIN_PATH, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class PanelSkinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(skin::RegisterSkinControlClass(GetModuleHandleW(nullptr)));
    WNDCLASSEXW cls = {};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = kHostClass;
    RegisterClassExW(&cls);
  }

  void SetUp() override {
    m_dialog = CreateWindowExW(0, kHostClass, L"Brontel", WS_POPUP | WS_VISIBLE, 60, 60, 460, 180,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(m_dialog, nullptr);
    CreateWindowExW(0, skin::kSkinControlClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 460, 180,
                    m_dialog, reinterpret_cast<HMENU>(kSkinItemId), GetModuleHandleW(nullptr),
                    nullptr);
    for (const LabelArea& area : kLabelAreas) {
      CreateWindowExW(0, skin::kSkinLabelClassName, L"x", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                      m_dialog, reinterpret_cast<HMENU>(area.labelId), GetModuleHandleW(nullptr),
                      nullptr);
    }
  }

  void TearDown() override { DestroyWindow(m_dialog); }

  void Bind() {
    ASSERT_EQ(m_panel.LoadAndBind(m_dialog, test_support::UnixToWinePath(BRONTEL_APPSKIN_PATH)),
              SkinBindResult::kBound);
  }

  // What the skin shows, asked the way a skin author (or another process) asks.
  bool Visible(const wchar_t* name) const {
    return skin::QuerySkinElement(GetDlgItem(m_dialog, kSkinItemId), name, skin::kFieldVisible) ==
           1;
  }
  LRESULT Field(const wchar_t* name, skin::SkinField field) const {
    return skin::QuerySkinElement(GetDlgItem(m_dialog, kSkinItemId), name, field);
  }
  std::wstring Label(int id) const {
    wchar_t text[256] = {};
    GetDlgItemTextW(m_dialog, id, text, 256);
    return text;
  }

  static PanelView LiveTv() {
    PanelView view;
    view.amCurrAudioMode = 2;
    view.cmCurrRecMode = 1;
    view.channel = ChannelInfo{true, 12, "NHK"};
    return view;
  }

  HWND m_dialog = nullptr;
  PanelSkin m_panel;
};

TEST_F(PanelSkinTest, BindsAppSkinAndBlanksTheLabels) {
  Bind();
  EXPECT_TRUE(m_panel.IsBound());
  EXPECT_EQ(Label(kLabelChannelName), L" ");
  EXPECT_EQ(Label(kLabelRemaining), L" ");
  EXPECT_EQ(Label(kLabelPart), L"x");  // 1016 is left as it is
  EXPECT_EQ(m_panel.MainPanelSize().cx, 460);
  EXPECT_EQ(m_panel.MainPanelSize().cy, 180);
}

TEST_F(PanelSkinTest, MissingFileGivesMessage152) {
  const SkinBindResult result = m_panel.LoadAndBind(m_dialog, L"C:\\windows\\NoSkinHere.skn");
  EXPECT_EQ(result, SkinBindResult::kFileMissing);
  EXPECT_EQ(MessageForBindResult(result), 152u);
  EXPECT_FALSE(m_panel.IsBound());
}

TEST_F(PanelSkinTest, SkinLackingOnlyLcdSoundAbGivesMessage151) {
  std::string text = ReadAppSkin();
  const std::string element = "element LCD-Sound-AB ";
  text.replace(text.find(element), element.size(), "element LCD-Sound-AnB ");
  const std::wstring path = WriteTempSkin(L"brontel-no-ab.skn", text);
  const SkinBindResult result = m_panel.LoadAndBind(m_dialog, path);
  EXPECT_EQ(result, SkinBindResult::kElementMissing);
  EXPECT_EQ(m_panel.missingElement(), "LCD-Sound-AB");
  EXPECT_EQ(MessageForBindResult(result), 151u);
  EXPECT_FALSE(m_panel.IsBound());
  // Refused as a whole: nothing was bound, the labels were not touched.
  EXPECT_EQ(Label(kLabelChannelName), L"x");
  DeleteFileW(path.c_str());
}

TEST_F(PanelSkinTest, MalformedFileIsRefused) {
  const std::wstring path = WriteTempSkin(L"brontel-broken.skn", "brontel-skin 1\nelement\n");
  const SkinBindResult result = m_panel.LoadAndBind(m_dialog, path);
  EXPECT_EQ(result, SkinBindResult::kFileMalformed);
  EXPECT_EQ(MessageForBindResult(result), 151u);
  DeleteFileW(path.c_str());
}

TEST_F(PanelSkinTest, DialogWithoutSkinControlIsNoCrash) {
  HWND bare = CreateWindowExW(0, kHostClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  PanelSkin panel;
  EXPECT_EQ(panel.LoadAndBind(bare, test_support::UnixToWinePath(BRONTEL_APPSKIN_PATH)),
            SkinBindResult::kNoControl);
  panel.Refresh(LiveTv());
  panel.ShowPanel(true);
  panel.ShowVolume(5);
  DestroyWindow(bare);
}

TEST_F(PanelSkinTest, SplashAndMainPanelTakeTurns) {
  Bind();
  m_panel.ShowPanel(true);
  EXPECT_TRUE(Visible(L"Splash"));
  EXPECT_FALSE(Visible(L"MainPanel"));
  EXPECT_FALSE(Visible(L"PlayBtn"));
  EXPECT_EQ(Field(L"Splash", skin::kFieldLeft), 0);
  m_panel.ShowPanel(false);
  EXPECT_FALSE(Visible(L"Splash"));
  EXPECT_TRUE(Visible(L"MainPanel"));
  EXPECT_TRUE(Visible(L"PlayBtn"));
}

TEST_F(PanelSkinTest, SourcesChangeIndicatorsAndLabels) {
  Bind();
  m_panel.ShowPanel(false);
  PanelView view = LiveTv();
  view.state.msCurrSrc = kSourceVideo;
  m_panel.Refresh(view);
  EXPECT_TRUE(Visible(L"LCD-Src-Video"));
  EXPECT_FALSE(Visible(L"LCD-Src-TV"));
  EXPECT_EQ(Label(kLabelChannelNumber), L"");
  EXPECT_TRUE(Visible(L"ChnUpBtn-D"));

  view.state.msCurrSrc = kSourceRadio;
  view.channel = ChannelInfo{true, 3, "J-WAVE"};
  m_panel.Refresh(view);
  EXPECT_TRUE(Visible(L"LCD-Src-Radio"));
  EXPECT_TRUE(Visible(L"LCD-PVRMode-WMA"));
  EXPECT_EQ(Label(kLabelChannelNumber), L"St 3");
  EXPECT_EQ(Label(kLabelChannelName), L"J-WAVE");

  // While a source change waits, only the source indicator moves.
  view.sourceChangePending = true;
  view.pendingSource = kSourceSVideo;
  m_panel.Refresh(view);
  EXPECT_TRUE(Visible(L"LCD-Src-SVideo"));
  EXPECT_FALSE(Visible(L"LCD-Src-Radio"));
  EXPECT_EQ(Label(kLabelChannelNumber), L"St 3");
}

TEST_F(PanelSkinTest, TimesShowInTheirAreas) {
  Bind();
  m_panel.ShowPanel(false);
  m_panel.ShowTime(PlanShowTime(kAreaElapsed, true, kKindDelay, 3600, false, 0));
  EXPECT_EQ(Label(kLabelElapsed), L"01:00:00");
  EXPECT_TRUE(Visible(L"LCD-DelayTime"));
  EXPECT_FALSE(Visible(L"LCD-RecordTime"));
  m_panel.ShowTime(PlanShowTime(kAreaRemaining, false, 0, 0, false, 0));
  EXPECT_EQ(Label(kLabelRemaining), L"");
  EXPECT_FALSE(Visible(L"LCD-RemainTime"));
  m_panel.ShowSchedule(false);
  EXPECT_FALSE(Visible(L"LCD-Schedule"));
  m_panel.ShowSchedule(true);
  EXPECT_TRUE(Visible(L"LCD-Schedule"));
}

}  // namespace
}  // namespace brontel::panel
