// Start-up and shutdown of the real Brontel.exe under Wine, seen from the
// outside: windows, message boxes, the registry and the process's life.

#include <gtest/gtest.h>

#include <string>

#include "e2e/e2e_harness.h"
#include "lang/resource_ids.h"
#include "skin/skin_control.h"

namespace brontel::e2e {
namespace {

constexpr wchar_t kBrontel[] = L"Brontel.exe";
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr wchar_t kMainTitle[] = L"Brontel";
constexpr wchar_t kJapanese[] = L"BrontelResJapan.dll";
constexpr wchar_t kEnglish[] = L"BrontelResEnglh.dll";
constexpr DWORD kWindowTimeoutMs = 20000;
// The start-up continuation runs about a second after the dialog appears.
constexpr DWORD kMessageTimeoutMs = 20000;
// Shutdown waits one second for the final clean-up.
constexpr DWORD kExitTimeoutMs = 10000;

// Hidden helper windows (COM, input methods) do not count as windows the
// user could see.
bool AnyVisibleWindow(DWORD pid) {
  for (HWND window : FindTopWindows(pid, nullptr, nullptr)) {
    if (IsWindowVisible(window)) return true;
  }
  return false;
}

void WaitUntilGone(HWND window) {
  for (int i = 0; i < 200 && IsWindow(window); ++i) Sleep(25);
}

class StartupTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { UnregisterApiManager(); }
  static void TearDownTestSuite() { RegisterApiManager(); }

  void SetUp() override {
    KillProcessesNamed(kBrontel);
    ResetProductSettings();
    ASSERT_FALSE(ApiManagerRegistered());
  }
  void TearDown() override {
    KillProcessesNamed(kBrontel);
    ResetProductSettings();
  }

  // Starts Brontel with the overlay notice already declined, as on a PC
  // where the user ticked "do not show again" before.
  void StartWithoutOverlayNotice(Program& program, const std::wstring& arguments) {
    WriteAppSetLong(L"bHideNoOvrlaySpt", 1);
    ASSERT_TRUE(program.Start(kBrontel, arguments));
  }

  // Waits for the main dialog and for the message box that follows it.
  void WaitForMessage(Program& program, HWND* mainDialog, HWND* box) {
    *mainDialog = WaitForTopWindow(program.pid(), kDialogClass, kMainTitle, kWindowTimeoutMs);
    ASSERT_NE(*mainDialog, nullptr) << "no main dialog";
    *box = WaitForOtherDialog(program.pid(), *mainDialog, IDOK, kMessageTimeoutMs);
    ASSERT_NE(*box, nullptr) << "no message box";
  }

  void ExpectMessage(HWND box, const wchar_t* library, UINT textId) {
    const std::wstring text = LoadLibraryString(library, textId);
    const std::wstring caption = LoadLibraryString(library, IDS_CAPTION);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(WindowText(box), caption);
    EXPECT_NE(StaticTexts(box).find(text), std::wstring::npos)
        << "message box says: " << std::string(StaticTexts(box).begin(), StaticTexts(box).end());
  }
};

TEST_F(StartupTest, MissingApiManagerShowsMessage170ThenExitsAfterOk) {
  Program program;
  StartWithoutOverlayNotice(program, L"");
  HWND mainDialog = nullptr;
  HWND box = nullptr;
  WaitForMessage(program, &mainDialog, &box);
  ExpectMessage(box, kJapanese, IDS_ERR_APIMGR_MISSING);
  EXPECT_TRUE(program.IsRunning());
  // The iEPG handler finds the main dialog this way; the message box in
  // front of it must not be taken for it.
  EXPECT_EQ(FindWindowW(kDialogClass, kMainTitle), mainDialog);

  ClickButton(box, IDOK);
  EXPECT_TRUE(program.WaitForExit(kExitTimeoutMs)) << "the program did not end after OK";
}

TEST_F(StartupTest, MissingLanguageLibraryEndsAtOnceWithoutWindow) {
  // 1170 selects the Korean library, which this build does not have.
  Program program;
  ASSERT_TRUE(program.Start(kBrontel, L"L:1170"));
  const DWORD start = GetTickCount();
  bool sawWindow = false;
  while (program.IsRunning() && GetTickCount() - start < kExitTimeoutMs) {
    if (AnyVisibleWindow(program.pid())) sawWindow = true;
    Sleep(20);
  }
  EXPECT_TRUE(program.WaitForExit(0)) << "still running without its language library";
  EXPECT_FALSE(sawWindow);
}

TEST_F(StartupTest, SecondStartRestoresTheMinimisedFirstAndShowsItsMessage) {
  Program first;
  StartWithoutOverlayNotice(first, L"");
  HWND mainDialog = nullptr;
  HWND box = nullptr;
  WaitForMessage(first, &mainDialog, &box);
  ShowWindow(mainDialog, SW_MINIMIZE);
  for (int i = 0; i < 100 && !IsIconic(mainDialog); ++i) Sleep(20);
  ASSERT_TRUE(IsIconic(mainDialog));

  Program second;
  ASSERT_TRUE(second.Start(kBrontel, L""));
  EXPECT_TRUE(second.WaitForExit(kExitTimeoutMs)) << "the second copy kept running";
  EXPECT_FALSE(AnyVisibleWindow(second.pid()));
  for (int i = 0; i < 100 && IsIconic(mainDialog); ++i) Sleep(20);
  EXPECT_FALSE(IsIconic(mainDialog));
  // The first copy's last active pop-up, its message box, comes to the
  // front (activation between processes settles asynchronously).
  for (int i = 0; i < 100 && GetForegroundWindow() != box; ++i) Sleep(20);
  EXPECT_EQ(GetForegroundWindow(), box) << "main dialog is " << mainDialog;
  ClickButton(box, IDOK);
  EXPECT_TRUE(first.WaitForExit(kExitTimeoutMs));
}

TEST_F(StartupTest, WakeStartGivesZeroSizeMainDialog) {
  Program program;
  StartWithoutOverlayNotice(program, L"/w");
  HWND mainDialog = nullptr;
  HWND box = nullptr;
  WaitForMessage(program, &mainDialog, &box);
  RECT rect;
  ASSERT_TRUE(GetWindowRect(mainDialog, &rect));
  EXPECT_EQ(rect.right - rect.left, 0);
  EXPECT_EQ(rect.bottom - rect.top, 0);
  ClickButton(box, IDOK);
  EXPECT_TRUE(program.WaitForExit(kExitTimeoutMs));
}

TEST_F(StartupTest, NormalStartGivesFullSizeMainDialog) {
  Program program;
  StartWithoutOverlayNotice(program, L"l:1000");
  HWND mainDialog = nullptr;
  HWND box = nullptr;
  WaitForMessage(program, &mainDialog, &box);
  // With the installed skin the client area is the skin's panel, covered by
  // the splash until the picture runs (which it never does here).
  HWND skinControl = GetDlgItem(mainDialog, IDC_SKIN);
  const LRESULT panelWidth = skin::QuerySkinElement(skinControl, L"Splash", skin::kFieldWidth);
  const LRESULT panelHeight = skin::QuerySkinElement(skinControl, L"Splash", skin::kFieldHeight);
  ASSERT_GT(panelWidth, 0);
  ASSERT_GT(panelHeight, 0);
  RECT rect;
  ASSERT_TRUE(GetClientRect(mainDialog, &rect));
  EXPECT_EQ(rect.right - rect.left, panelWidth);
  EXPECT_EQ(rect.bottom - rect.top, panelHeight);
  // The classic buttons stay hidden behind the skin.
  for (int id = IDC_BTN_FIRST; id <= IDC_BTN_LAST; ++id) {
    HWND button = GetDlgItem(mainDialog, id);
    ASSERT_NE(button, nullptr) << id;
    EXPECT_FALSE(IsWindowVisible(button)) << id;
  }
  ClickButton(box, IDOK);
  EXPECT_TRUE(program.WaitForExit(kExitTimeoutMs));
}

TEST_F(StartupTest, CloseOkAndCancelDoNotEndTheProgramWhileNotShuttingDown) {
  Program program;
  StartWithoutOverlayNotice(program, L"l:1000");
  HWND mainDialog = nullptr;
  HWND box = nullptr;
  WaitForMessage(program, &mainDialog, &box);

  // The window's close command, then Enter and Escape.
  PostMessageW(mainDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  PostMessageW(mainDialog, WM_CLOSE, 0, 0);
  PostMessageW(mainDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  PostMessageW(mainDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_FALSE(program.WaitForExit(2000)) << "the close command ended the program";
  EXPECT_TRUE(IsWindow(mainDialog));

  // After the message the shutdown sequence ends it.
  ClickButton(box, IDOK);
  EXPECT_TRUE(program.WaitForExit(kExitTimeoutMs));
}

// Seconds from the main dialog's appearance to the first message.
double SecondsToFirstMessage(Program& program, HWND* box) {
  HWND mainDialog = WaitForTopWindow(program.pid(), kDialogClass, kMainTitle, kWindowTimeoutMs);
  if (mainDialog == nullptr) return -1;
  const DWORD start = GetTickCount();
  *box = WaitForOtherDialog(program.pid(), mainDialog, IDOK, kMessageTimeoutMs);
  return *box == nullptr ? -1 : (GetTickCount() - start) / 1000.0;
}

TEST_F(StartupTest, WithoutScreenSaverStartupContinuesAfterAboutOneSecond) {
  Program program;
  StartWithoutOverlayNotice(program, L"");
  HWND box = nullptr;
  const double seconds = SecondsToFirstMessage(program, &box);
  ASSERT_NE(box, nullptr);
  EXPECT_GE(seconds, 0.5);
  EXPECT_LT(seconds, 4.0);
  ClickButton(box, IDOK);
  EXPECT_TRUE(program.WaitForExit(kExitTimeoutMs));
}

TEST_F(StartupTest, RunningScreenSaverIsClosedAndStartupWaitsFourSecondsMore) {
  TitledWindow saver(L"screensaver");  // titles compare without regard to case
  Program program;
  StartWithoutOverlayNotice(program, L"");
  HWND box = nullptr;
  const double seconds = SecondsToFirstMessage(program, &box);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(saver.closeCount(), 1);
  EXPECT_GE(seconds, 4.5);
  EXPECT_LT(seconds, 10.0);
  ClickButton(box, IDOK);
  EXPECT_TRUE(program.WaitForExit(kExitTimeoutMs));
}

TEST_F(StartupTest, PowerManagerLeftFromEarlierIsAskedToClose) {
  TitledWindow first(L"KXPWRMGR");
  TitledWindow other(L"kxPwrMgr helper");  // only the exact title counts
  Program program;
  StartWithoutOverlayNotice(program, L"");
  HWND mainDialog = nullptr;
  HWND box = nullptr;
  WaitForMessage(program, &mainDialog, &box);
  EXPECT_EQ(first.closeCount(), 1);
  EXPECT_EQ(other.closeCount(), 0);
  ClickButton(box, IDOK);
  EXPECT_TRUE(program.WaitForExit(kExitTimeoutMs));
}

struct NoticeCase {
  const wchar_t* arguments;
  const wchar_t* library;
  const wchar_t* screenshot;
};

class NoOverlayNoticeTest : public StartupTest, public testing::WithParamInterface<NoticeCase> {};

TEST_P(NoOverlayNoticeTest, TickedBoxIsStoredAndTheNoticeStaysAway) {
  const NoticeCase& c = GetParam();
  {
    Program program;
    ASSERT_TRUE(program.Start(kBrontel, c.arguments));
    HWND mainDialog = WaitForTopWindow(program.pid(), kDialogClass, kMainTitle, kWindowTimeoutMs);
    ASSERT_NE(mainDialog, nullptr);
    // Wine's DirectDraw offers no hardware overlay, so the notice comes.
    HWND notice =
        WaitForOtherDialog(program.pid(), mainDialog, IDC_NO_OVERLAY_HIDE, kMessageTimeoutMs);
    ASSERT_NE(notice, nullptr) << "no overlay notice";
    EXPECT_EQ(FindWindowW(kDialogClass, kMainTitle), mainDialog);
    PaintNow(notice);
    EXPECT_TRUE(SaveWindowScreenshot(notice, TestOutputDir() + c.screenshot));

    SendMessageW(GetDlgItem(notice, IDC_NO_OVERLAY_HIDE), BM_CLICK, 0, 0);
    ClickButton(notice, IDOK);
    WaitUntilGone(notice);
    HWND box = WaitForOtherDialog(program.pid(), mainDialog, IDOK, kMessageTimeoutMs);
    ASSERT_NE(box, nullptr);
    ExpectMessage(box, c.library, IDS_ERR_APIMGR_MISSING);
    std::wstring stored;
    ASSERT_TRUE(ReadAppSetText(L"bHideNoOvrlaySpt", &stored));
    EXPECT_EQ(stored, L"1");
    ClickButton(box, IDOK);
    EXPECT_TRUE(program.WaitForExit(kExitTimeoutMs));
  }
  {
    // The next start goes straight to the message.
    Program program;
    ASSERT_TRUE(program.Start(kBrontel, c.arguments));
    HWND mainDialog = nullptr;
    HWND box = nullptr;
    WaitForMessage(program, &mainDialog, &box);
    EXPECT_EQ(GetDlgItem(box, IDC_NO_OVERLAY_HIDE), nullptr);
    ClickButton(box, IDOK);
    EXPECT_TRUE(program.WaitForExit(kExitTimeoutMs));
  }
}

TEST_F(StartupTest, NoticeClosedWithoutTickStoresZero) {
  Program program;
  ASSERT_TRUE(program.Start(kBrontel, L"l:1000"));
  HWND mainDialog = WaitForTopWindow(program.pid(), kDialogClass, kMainTitle, kWindowTimeoutMs);
  ASSERT_NE(mainDialog, nullptr);
  HWND notice =
      WaitForOtherDialog(program.pid(), mainDialog, IDC_NO_OVERLAY_HIDE, kMessageTimeoutMs);
  ASSERT_NE(notice, nullptr);
  WriteAppSetLong(L"bHideNoOvrlaySpt", 7);  // overwritten by the answer
  ClickButton(notice, IDOK);
  WaitUntilGone(notice);
  HWND box = WaitForOtherDialog(program.pid(), mainDialog, IDOK, kMessageTimeoutMs);
  ASSERT_NE(box, nullptr);
  std::wstring stored;
  ASSERT_TRUE(ReadAppSetText(L"bHideNoOvrlaySpt", &stored));
  EXPECT_EQ(stored, L"0");
  ClickButton(box, IDOK);
  EXPECT_TRUE(program.WaitForExit(kExitTimeoutMs));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, NoOverlayNoticeTest,
    testing::Values(NoticeCase{L"", kJapanese, L"no_overlay_notice_japanese.bmp"},
                    NoticeCase{L"l:1000", kEnglish, L"no_overlay_notice_english.bmp"}),
    [](const testing::TestParamInfo<NoticeCase>& info) {
      return info.index == 0 ? std::string("Japanese") : std::string("English");
    });

}  // namespace
}  // namespace brontel::e2e
