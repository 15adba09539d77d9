// kxPwrMgr.exe from the outside: it refuses a line it cannot read, waits
// for the wake-up time with its timer armed, then restarts the program.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/process_win.h"
#include "support/test_paths_win.h"
#include "support/windows_win.h"

namespace brontel::test_support {
namespace {

constexpr wchar_t kPowerManager[] = L"kxPwrMgr.exe";
constexpr wchar_t kWindowClass[] = L"kxPwrMgrWindow";
constexpr wchar_t kTitle[] = L"kxPwrMgr";
constexpr int kItemCommandLine = 100;
constexpr int kItemStatus = 102;
constexpr DWORD kWindowMs = 15000;
constexpr DWORD kExitMs = 10000;

std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

// "D:<d>_<m>_<y> T:<h>_<min>" of the local time `minutes` from now.
std::wstring WakeFields(int minutes) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER value{{now.dwLowDateTime, now.dwHighDateTime}};
  value.QuadPart += static_cast<LONGLONG>(minutes) * 60 * 10000000LL;
  const FILETIME shifted{value.LowPart, value.HighPart};
  SYSTEMTIME utc, local;
  FileTimeToSystemTime(&shifted, &utc);
  SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
  wchar_t text[64];
  swprintf(text, 64, L"D:%d_%d_%d T:%d_%d", local.wDay, local.wMonth, local.wYear, local.wHour,
           local.wMinute);
  return text;
}

std::wstring ReadUtf16File(const std::wstring& path) {
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return L"";
  wchar_t buffer[1024] = {};
  DWORD read = 0;
  ReadFile(file, buffer, sizeof(buffer) - sizeof(wchar_t), &read, nullptr);
  CloseHandle(file);
  return std::wstring(buffer, read / sizeof(wchar_t));
}

class PowerManagerTest : public testing::Test {
 protected:
  void SetUp() override {
    KillProcessesNamed(kPowerManager);
    // A folder with spaces, as "Program Files" has.
    folder_ = TempDir() + L"wake probe folder\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    probe_ = folder_ + L"Brontel probe.exe";
    ASSERT_TRUE(CopyFileW((ExeDir() + L"wake_probe.exe").c_str(), probe_.c_str(), FALSE));
    DeleteFileW((folder_ + L"started.txt").c_str());
  }
  void TearDown() override { KillProcessesNamed(kPowerManager); }

  // The hand-over line after the power manager's own path.
  std::wstring Line(int minutes) const { return probe_ + L" L:1030 /w S:4 " + WakeFields(minutes); }

  std::wstring folder_;
  std::wstring probe_;
};

TEST_F(PowerManagerTest, MalformedLineIsRefusedNamingWhatItCouldNotRead) {
  Program manager;
  ASSERT_TRUE(manager.Start(kPowerManager, probe_ + L" L:1160 /w S:4 D:31_2_2027 T:1_1"));
  HWND box = WaitForOtherDialog(manager.pid(), nullptr, IDOK, kWindowMs);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), kTitle);
  EXPECT_NE(StaticTexts(box).find(L"D:31_2_2027"), std::wstring::npos) << Narrow(StaticTexts(box));
  EXPECT_TRUE(FindTopWindows(manager.pid(), kWindowClass, nullptr).empty());
  ClickButton(box, IDOK);
  ASSERT_TRUE(manager.WaitForExit(kExitMs));
  DWORD code = 0;
  GetExitCodeProcess(manager.process(), &code);
  EXPECT_NE(code, 0u);
}

TEST_F(PowerManagerTest, WaitsWithTimerArmedThenStartsTheProgramWithWakeSwitch) {
  {
    Program manager;
    ASSERT_TRUE(manager.Start(kPowerManager, Line(3)));
    HWND window = WaitForTopWindow(manager.pid(), kWindowClass, kTitle, kWindowMs);
    ASSERT_NE(window, nullptr);
    EXPECT_NE(ItemText(window, kItemCommandLine).find(Line(3)), std::wstring::npos);
    ASSERT_TRUE(WaitUntil([&] { return !ItemText(window, kItemStatus).empty(); }, kWindowMs));
    EXPECT_NE(ItemText(window, kItemStatus).find(L"armed"), std::wstring::npos)
        << Narrow(ItemText(window, kItemStatus));
    Sleep(1000);
    EXPECT_EQ(GetFileAttributesW((folder_ + L"started.txt").c_str()), INVALID_FILE_ATTRIBUTES)
        << "started before the wake-up time";
    // Brontel ends a power manager left from before this way.
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(manager.WaitForExit(kExitMs));
  }
  // A wake-up time already reached: the program starts at once.
  Program manager;
  ASSERT_TRUE(manager.Start(kPowerManager, Line(-1)));
  HWND window = WaitForTopWindow(manager.pid(), kWindowClass, kTitle, kWindowMs);
  ASSERT_NE(window, nullptr);
  std::wstring started;
  EXPECT_TRUE(WaitUntil(
      [&] {
        started = ReadUtf16File(folder_ + L"started.txt");
        return !started.empty();
      },
      kWindowMs));
  EXPECT_EQ(started, L"\"" + probe_ + L"\" /w l:1030");
  EXPECT_NE(ItemText(window, kItemStatus).find(L"started"), std::wstring::npos);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(manager.WaitForExit(kExitMs));
}

}  // namespace
}  // namespace brontel::test_support
