// The power-off request seen from outside: this console test survives it,
// the windowed program that asked gets the end-session messages and is
// ended. Run in a wineserver of its own (see own-wineserver.sh), because
// the request ends every windowed program of its server.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/process_win.h"
#include "support/test_paths_win.h"
#include "support/windows_win.h"

namespace brontel::test_support {
namespace {

constexpr UINT kAskPowerOff = WM_APP + 1;

std::string ReadLog(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  char buffer[512] = {};
  DWORD read = 0;
  ReadFile(file, buffer, sizeof(buffer) - 1, &read, nullptr);
  CloseHandle(file);
  return std::string(buffer, read);
}

TEST(PowerOff, AskingProgramGetsEndSessionAndIsEnded) {
  Program probe;
  ASSERT_TRUE(probe.Start(L"power_off_probe.exe", L""));
  HWND window = WaitForTopWindow(probe.pid(), L"PowerOffProbe", L"PowerOffProbe", 15000);
  ASSERT_NE(window, nullptr);
  PostMessageW(window, kAskPowerOff, 0, 0);
  EXPECT_TRUE(probe.WaitForExit(15000)) << "the asking program was not ended";
  EXPECT_EQ(ReadLog(ExeDir() + L"power_off_probe.log"), "requested\nquery\nend\n");
}

}  // namespace
}  // namespace brontel::test_support
