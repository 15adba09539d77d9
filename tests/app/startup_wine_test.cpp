// The Win32 pieces of start-up under Wine: the instance checker, the
// DirectX probe and the two notice dialogs with the real language libraries.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "support/screenshot_win.h"
#include "support/windows_win.h"

#include <cstdio>
#include <string>
#include <thread>

#include "app/directx_probe.h"
#include "app/instance_checker.h"
#include "app/notice_dialogs.h"
#include "win32/resource_module.h"
#include "app/system_tray.h"
#include "lang/resource_ids.h"

namespace brontel {
namespace {

using test_support::ExeDir;
using test_support::ItemText;
using test_support::WaitUntil;

HWND CreateOwner() {
  return CreateWindowExW(0, L"Static", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                         nullptr);
}

TEST(InstanceChecker, MappingIsNamedAfterTheProgram) {
  CInstanceChecker checker;
  EXPECT_EQ(checker.GetMMFFilename(), L"CInstanceChecker_MMF_app_startup_wine_tests");
}

// Before the first registration: a registered first instance keeps its
// mapping until its process ends, so this runs ahead of the test below.
TEST(InstanceChecker, NoPreviousInstanceGivesNoWindow) {
  CInstanceChecker checker;
  EXPECT_FALSE(checker.PreviousInstanceRunning());
  EXPECT_EQ(checker.ActivatePreviousInstance(), nullptr);
  EXPECT_EQ(checker.GetWindowToTrack(), nullptr);
}

TEST(InstanceChecker, FirstRegistersAndASecondFindsItsWindow) {
  HWND window = CreateOwner();
  CInstanceChecker first;
  ASSERT_FALSE(first.PreviousInstanceRunning());
  ASSERT_TRUE(first.TrackFirstInstanceRunning(window));
  EXPECT_EQ(first.GetWindowToTrack(), window);

  CInstanceChecker second;
  EXPECT_TRUE(second.PreviousInstanceRunning());
  EXPECT_FALSE(second.TrackFirstInstanceRunning(CreateOwner()));
  EXPECT_EQ(second.ActivatePreviousInstance(), window);
  DestroyWindow(window);
}

TEST(DirectXProbe, WithoutComOnlyLevel6IsFound) {
  // DirectMusic is created through COM, which the program initialises first.
  EXPECT_EQ(ProbeDirectXLevel(), kDirectXLevel6);
}

TEST(DirectXProbe, WineOffersLevel8WithoutHardwareOverlay) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  EXPECT_EQ(ProbeDirectXLevel(), kDirectXLevel8);
  CoUninitialize();
  bool hasOverlay = true;
  EXPECT_TRUE(ReadDisplayOverlaySupport(&hasOverlay));
  EXPECT_FALSE(hasOverlay);
}

TEST(SystemTray, IconIsAddedHiddenAndRemoved) {
  HWND owner = CreateOwner();
  CSystemTray tray;
  HICON icon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  ASSERT_TRUE(tray.Create(owner, 0x800A, L"Brontel TV", icon, 122));
  EXPECT_FALSE(tray.IsRemoved());
  EXPECT_FALSE(tray.IsHidden());
  tray.HideIcon();
  EXPECT_TRUE(tray.IsHidden());
  tray.RemoveIcon();
  EXPECT_TRUE(tray.IsRemoved());
  // A tip longer than the taskbar holds is cut, not refused.
  EXPECT_TRUE(tray.Create(owner, 0x800A, std::wstring(300, L'x'), icon, 122));
  tray.RemoveIcon();
  DestroyWindow(owner);
}

class LanguageModule {
 public:
  explicit LanguageModule(const wchar_t* name) {
    m_module = LoadLibraryW((ExeDir() + name).c_str());
    SetResourceModule(m_module);
  }
  ~LanguageModule() {
    SetResourceModule(nullptr);
    if (m_module != nullptr) FreeLibrary(m_module);
  }
  HMODULE get() const { return m_module; }

 private:
  HMODULE m_module;
};

// The visible dialog of this process that holds the control `id`.
HWND FindDialogWith(int id, DWORD timeoutMs) {
  return test_support::WaitForOtherDialog(GetCurrentProcessId(), nullptr, id, timeoutMs);
}

void SaveScreenshot(HWND window, const std::wstring& name) {
  test_support::PaintNow(window);
  test_support::SaveWindowScreenshot(window, test_support::TestOutputDir() + name);
}

struct WakeCase {
  const wchar_t* library;
  const wchar_t* screenshot;
};

class WakeNoticeTest : public testing::TestWithParam<WakeCase> {};

TEST_P(WakeNoticeTest, CountsDownFromTenThenClosesByItself) {
  // The program does this once at start-up.
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  LanguageModule language(GetParam().library);
  ASSERT_NE(language.get(), nullptr);
  const std::wstring format = LoadResString(IDS_WAKE_NOTICE);
  wchar_t expected10[512];
  wchar_t expected9[512];
  swprintf(expected10, 512, format.c_str(), 10);
  swprintf(expected9, 512, format.c_str(), 9);

  HWND owner = CreateOwner();
  std::wstring firstText;
  std::wstring secondText;
  bool topmost = false;
  int firstPosition = -1;
  int secondPosition = -1;
  std::thread watcher([&] {
    HWND notice = FindDialogWith(IDC_COUNTDOWN_PROGRESS, 5000);
    if (notice == nullptr) return;
    topmost = (GetWindowLongW(notice, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    firstText = ItemText(notice, IDC_COUNTDOWN_TEXT);
    firstPosition =
        static_cast<int>(SendDlgItemMessageW(notice, IDC_COUNTDOWN_PROGRESS, PBM_GETPOS, 0, 0));
    SaveScreenshot(notice, GetParam().screenshot);
    // The first tick moves the text and then the bar.
    WaitUntil(
        [&] {
          secondPosition = static_cast<int>(
              SendDlgItemMessageW(notice, IDC_COUNTDOWN_PROGRESS, PBM_GETPOS, 0, 0));
          return secondPosition != firstPosition;
        },
        3000);
    secondText = ItemText(notice, IDC_COUNTDOWN_TEXT);
  });
  const DWORD start = GetTickCount();
  RunWakeNotice(owner);
  const DWORD elapsed = GetTickCount() - start;
  watcher.join();
  DestroyWindow(owner);

  EXPECT_TRUE(topmost);
  EXPECT_EQ(firstText, expected10);
  EXPECT_EQ(firstPosition, 0);
  EXPECT_EQ(secondText, expected9);
  EXPECT_EQ(secondPosition, 1);
  // Ten one-second ticks, give or take the timer's slack.
  EXPECT_GE(elapsed, 9500u);
  EXPECT_LE(elapsed, 13000u);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, WakeNoticeTest,
    testing::Values(WakeCase{L"BrontelResJapan.dll", L"wake_notice_japanese.bmp"},
                    WakeCase{L"BrontelResEnglh.dll", L"wake_notice_english.bmp"}),
    [](const testing::TestParamInfo<WakeCase>& info) {
      return info.index == 0 ? std::string("Japanese") : std::string("English");
    });

TEST(NoOverlayNotice, OkReportsTheCheckBoxAndCancelReportsNothing) {
  LanguageModule language(L"BrontelResEnglh.dll");
  HWND owner = CreateOwner();
  for (const bool tick : {true, false}) {
    std::thread user([tick] {
      HWND notice = FindDialogWith(IDC_NO_OVERLAY_HIDE, 5000);
      if (notice == nullptr) return;
      if (tick) SendMessageW(GetDlgItem(notice, IDC_NO_OVERLAY_HIDE), BM_CLICK, 0, 0);
      PostMessageW(notice, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    std::int32_t hide = -1;
    EXPECT_TRUE(RunNoOverlayNotice(owner, &hide));
    user.join();
    EXPECT_EQ(hide, tick ? 1 : 0);
  }
  std::thread user([] {
    HWND notice = FindDialogWith(IDC_NO_OVERLAY_HIDE, 5000);
    if (notice == nullptr) return;
    SendMessageW(GetDlgItem(notice, IDC_NO_OVERLAY_HIDE), BM_CLICK, 0, 0);
    PostMessageW(notice, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  std::int32_t hide = -1;
  EXPECT_FALSE(RunNoOverlayNotice(owner, &hide));
  user.join();
  EXPECT_EQ(hide, -1);  // left alone
  DestroyWindow(owner);
}

}  // namespace
}  // namespace brontel
