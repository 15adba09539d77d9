// The panel in Wine's notification area: minimising shows the icon, its
// menu carries the mute check, restoring deletes it, and a taskbar that
// comes back gets an icon whose first add had failed.

#include "e2e/board_e2e_fixture.h"

#include <shellapi.h>

namespace brontel::e2e {
namespace {

constexpr UINT kTrayIconId = 122;
constexpr UINT kTrayCallback = 0x800A;
constexpr DWORD kTrayTimeoutMs = 5000;

NOTIFYICONDATAW IconRecord(HWND owner) {
  NOTIFYICONDATAW data = {};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = owner;
  data.uID = kTrayIconId;
  return data;
}

// Whether the notification area holds the program's icon: changing nothing
// succeeds only for an icon that exists.
bool IconExists(HWND owner) {
  NOTIFYICONDATAW data = IconRecord(owner);
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// Under the virtual desktop the taskbar shows only while an icon is visible.
bool TrayBarShown() {
  HWND bar = FindWindowW(L"Shell_TrayWnd", nullptr);
  return bar != nullptr && IsWindowVisible(bar);
}

HWND VisibleMenu() {
  for (HWND window : FindTopWindows(0, L"#32768", nullptr)) {
    if (IsWindowVisible(window)) return window;
  }
  return nullptr;
}

// Opens the icon's menu with a left click, counts the dark pixels in its
// check-mark column and closes it again; -1 when no menu came.
int CheckColumnDarkPixels(HWND dialog) {
  PostMessageW(dialog, kTrayCallback, kTrayIconId, WM_LBUTTONUP);
  HWND menu = nullptr;
  if (!WaitUntil([&] { return (menu = VisibleMenu()) != nullptr; }, kTrayTimeoutMs)) return -1;
  Sleep(300);  // drawn
  const test_support::Capture shot = test_support::CaptureScreenOf(menu);
  test_support::SaveCapture(shot, TestOutputDir() + L"TrayE2E.menu.png");
  const int column = GetSystemMetrics(SM_CXMENUCHECK) + 2;
  int dark = 0;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 2; x < column && x < shot.width; ++x) {
      const std::uint32_t p = shot.pixels[static_cast<size_t>(y) * shot.width + x];
      const int luminance = (((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF)) / 10;
      if (luminance < 100) ++dark;
    }
  }
  PostMessageW(dialog, WM_CANCELMODE, 0, 0);
  WaitUntil([] { return VisibleMenu() == nullptr; }, kTrayTimeoutMs);
  return dark;
}

class TrayE2ETest : public BoardE2ETest {};

TEST_F(TrayE2ETest, MinimiseMenuRestoreAndReaddWhenTheTaskbarReturns) {
  WriteAppSetLong(L"bAudioOn", 0);
  BrontelSession session(JournalName());
  ASSERT_TRUE(session.Start(L""));
  HWND dialog = session.dialog();
  // Taken before the program's own add a second later, so that its add
  // fails and the icon stays pending.
  NOTIFYICONDATAW blocker = IconRecord(dialog);
  blocker.uFlags = NIF_TIP;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &blocker));
  ASSERT_TRUE(session.WaitForPanel(kPanelTimeoutMs));
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &blocker));
  EXPECT_FALSE(IconExists(dialog));

  ASSERT_TRUE(session.Command(IDC_BTN_TO_TRAY));
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_TRUE(IconExists(dialog));
  EXPECT_TRUE(WaitUntil(TrayBarShown, kTrayTimeoutMs)) << "the icon is not shown";

  // A left click on the icon opens its menu. Menus of another process
  // cannot be read under Wine, so the check mark is seen on the screen: the
  // check column holds more dark pixels while muted than after unmuting
  // through the menu's own sound command.
  const int mutedDark = CheckColumnDarkPixels(dialog);
  ASSERT_TRUE(session.Command(ID_TRAY_SOUND));
  const int unmutedDark = CheckColumnDarkPixels(dialog);
  EXPECT_GT(mutedDark, unmutedDark + 4) << mutedDark << " vs " << unmutedDark;

  // The shell restarts: its icons are gone, and it announces itself.
  NOTIFYICONDATAW gone = IconRecord(dialog);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &gone));
  SendNotifyMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return IconExists(dialog); }, kTrayTimeoutMs))
      << "the icon was not added again";

  ASSERT_TRUE(session.Command(ID_TRAY_RESTORE));
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_FALSE(IconExists(dialog)) << "the icon was hidden, not deleted";
  EXPECT_EQ(GetParent(dialog), nullptr);
  ExitProgram(session);
  std::wstring audioOn;
  ASSERT_TRUE(ReadAppSetText(L"bAudioOn", &audioOn));
  EXPECT_EQ(audioOn, L"1") << "the menu's sound command did not unmute";
}

}  // namespace
}  // namespace brontel::e2e
