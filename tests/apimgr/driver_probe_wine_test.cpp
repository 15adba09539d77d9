// The manager against a missing, failing or scripted board driver library,
// each in a child process running from a folder of its own. Message boxes are
// real: the test finds, reads and closes them.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "apimgr/wine_test_support.h"

namespace {

using apimgr_test::ExeDir;

class ProbeFolder {
 public:
  // With a driver: the scripted driver is copied in as KXTVA.DLL.
  explicit ProbeFolder(bool withDriver) {
    wchar_t name[MAX_PATH] = {};
    GetTempFileNameW(apimgr_test::TempDir().c_str(), L"kxm", 0, name);
    DeleteFileW(name);
    m_dir = name;
    CreateDirectoryW(m_dir.c_str(), nullptr);
    m_ok = Copy(L"KXApiMgr.dll", L"KXApiMgr.dll") &&
           Copy(L"driver_probe.exe", L"driver_probe.exe") &&
           (!withDriver || Copy(L"scripted_driver.dll", L"KXTVA.DLL"));
  }
  ~ProbeFolder() {
    for (const wchar_t* file :
         {L"KXApiMgr.dll", L"driver_probe.exe", L"KXTVA.DLL", L"stdout.txt"}) {
      DeleteFileW((m_dir + L"\\" + file).c_str());
    }
    RemoveDirectoryW(m_dir.c_str());
  }
  bool ok() const { return m_ok; }

  // Runs the probe; when a caption is given, waits for that message box and
  // returns its text after closing it.
  DWORD Run(const std::wstring& mode, const std::wstring& driverSetting, const wchar_t* caption,
            std::wstring* boxText, std::string* output = nullptr) {
    SetEnvironmentVariableW(L"SCRIPTED_DRIVER",
                            driverSetting.empty() ? nullptr : driverSetting.c_str());
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const std::wstring outputPath = m_dir + L"\\stdout.txt";
    HANDLE outputFile = INVALID_HANDLE_VALUE;
    if (output != nullptr) {
      SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
      outputFile = CreateFileW(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, 0, nullptr);
      si.dwFlags = STARTF_USESTDHANDLES;
      si.hStdOutput = outputFile;
      si.hStdError = outputFile;
      si.hStdInput = nullptr;
    }
    std::wstring line = L"\"" + m_dir + L"\\driver_probe.exe\" " + mode;
    const BOOL started = CreateProcessW(nullptr, &line[0], nullptr, nullptr, output != nullptr, 0,
                                        nullptr, m_dir.c_str(), &si, &pi);
    if (outputFile != INVALID_HANDLE_VALUE) CloseHandle(outputFile);
    SetEnvironmentVariableW(L"SCRIPTED_DRIVER", nullptr);
    if (!started) return 1000;
    if (caption != nullptr) {
      HWND box = apimgr_test::WaitForDialog(caption, 20000);
      if (box != nullptr) {
        *boxText = apimgr_test::StaticTexts(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      } else {
        *boxText = L"<no message box>";
      }
    }
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
      TerminateProcess(pi.hProcess, 1001);
      WaitForSingleObject(pi.hProcess, 5000);
    }
    DWORD exitCode = 1002;
    GetExitCodeProcess(pi.hProcess, &exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (output != nullptr) *output = ReadAll(outputPath);
    return exitCode;
  }

 private:
  static std::string ReadAll(const std::wstring& path) {
    std::string content;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return content;
    char buffer[1024];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
      content.append(buffer, read);
    }
    CloseHandle(file);
    return content;
  }
  bool Copy(const wchar_t* from, const wchar_t* to) {
    return CopyFileW((ExeDir() + from).c_str(), (m_dir + L"\\" + to).c_str(), FALSE) != FALSE;
  }
  std::wstring m_dir;
  bool m_ok = false;
};

TEST(DriverProbe, MissingDriverShowsError4AndEveryCommandFails) {
  ProbeFolder folder(false);
  ASSERT_TRUE(folder.ok());
  std::wstring text;
  const DWORD exitCode = folder.Run(L"missing", L"", L"kxTV API Manager", &text);
  EXPECT_EQ(apimgr_test::Narrow(text), "Error 4 : Missing DLL !\n");
  EXPECT_EQ(exitCode, 0u) << "line of the failed check in driver_probe.cpp";
}

TEST(DriverProbe, EachObjectWritesOneTraceLineToStandardOutput) {
  ProbeFolder folder(false);
  ASSERT_TRUE(folder.ok());
  std::string output;
  EXPECT_EQ(folder.Run(L"trace", L"", nullptr, nullptr, &output), 0u);
  EXPECT_EQ(output,
            "CKXUnknown: \tNot aggregating; delegate to nondelegating IUnknown.\r\n"
            "CKXUnknown: \tAggregating; delegate to outer IUnknown.\r\n");
}

TEST(DriverProbe, FailedInitialisationShowsError5AndLeavesTheList) {
  ProbeFolder folder(true);
  ASSERT_TRUE(folder.ok());
  std::wstring text;
  const DWORD exitCode = folder.Run(L"init-fails", L"init-fails", L"kxTV API Manager", &text);
  EXPECT_EQ(apimgr_test::Narrow(text), "Error 5 : Initialisation Error !\n");
  EXPECT_EQ(exitCode, 0u) << "line of the failed check in driver_probe.cpp";
}

TEST(DriverProbe, ReadResultsReachTheCallerAsTheDriverWroteThem) {
  ProbeFolder folder(true);
  ASSERT_TRUE(folder.ok());
  EXPECT_EQ(folder.Run(L"reads", L"", nullptr, nullptr), 0u)
      << "line of the failed check in driver_probe.cpp";
}

TEST(DriverProbe, AudioNameCountsStayWithinTheCallersArrays) {
  // No device at all, an ordinary count, and counts beyond both arrays.
  for (const wchar_t* reported : {L"0", L"3", L"12", L"31", L"-4"}) {
    ProbeFolder folder(true);
    ASSERT_TRUE(folder.ok());
    const std::wstring setting = std::wstring(L"devices=") + reported;
    EXPECT_EQ(folder.Run(setting, setting, nullptr, nullptr), 0u)
        << apimgr_test::Narrow(setting) << ": line of the failed check in driver_probe.cpp";
  }
}

}  // namespace
