// OpenBoard without the board driver library: a real message box, found,
// read and closed by the test.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "apimgr/wine_test_support.h"

namespace {

using apimgr_test::BinDirectory;

struct ProbeFolder {
  std::wstring dir;
  ProbeFolder() {
    wchar_t name[MAX_PATH] = {};
    GetTempFileNameW(apimgr_test::TempDirectory().c_str(), L"kxm", 0, name);
    DeleteFileW(name);
    dir = name;
    CreateDirectoryW(dir.c_str(), nullptr);
  }
  ~ProbeFolder() {
    DeleteFileW((dir + L"\\KXApiMgr.dll").c_str());
    DeleteFileW((dir + L"\\missing_driver_probe.exe").c_str());
    RemoveDirectoryW(dir.c_str());
  }
};

TEST(MissingDriver, OpenBoardShowsError4AndEveryCommandFails) {
  ProbeFolder folder;
  ASSERT_TRUE(CopyFileW((BinDirectory() + L"\\KXApiMgr.dll").c_str(),
                        (folder.dir + L"\\KXApiMgr.dll").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((BinDirectory() + L"\\missing_driver_probe.exe").c_str(),
                        (folder.dir + L"\\missing_driver_probe.exe").c_str(), FALSE));

  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::wstring line = L"\"" + folder.dir + L"\\missing_driver_probe.exe\"";
  ASSERT_TRUE(CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                             folder.dir.c_str(), &si, &pi));

  HWND box = apimgr_test::WaitForDialog(L"kxTV API Manager", 20000);
  std::wstring text;
  if (box != nullptr) {
    text = apimgr_test::DialogStaticText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  const DWORD waited = WaitForSingleObject(pi.hProcess, 20000);
  if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 99);
  DWORD exitCode = 99;
  GetExitCodeProcess(pi.hProcess, &exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);

  ASSERT_NE(box, nullptr) << "no message box captioned \"kxTV API Manager\"";
  EXPECT_EQ(apimgr_test::Narrow(text), "Error 4 : Missing DLL !\n");
  EXPECT_EQ(exitCode, 0u) << "see missing_driver_probe.cpp for the failed step";
}

}  // namespace
