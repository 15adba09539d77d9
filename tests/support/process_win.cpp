#include "support/process_win.h"

#include <tlhelp32.h>

#include "support/test_paths_win.h"

namespace brontel::test_support {

DWORD RunProcess(const std::wstring& commandLine, const std::wstring& workingDirectory,
                 DWORD timeoutMs) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  std::wstring line = commandLine;
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                      workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup,
                      &info)) {
    return static_cast<DWORD>(-1);
  }
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(info.hProcess, &code);
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return code;
}

void KillProcessesNamed(const wchar_t* exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    if (_wcsicmp(entry.szExeFile, exeName) != 0) continue;
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  }
  CloseHandle(snapshot);
}

Program::~Program() {
  Release();
}

void Program::Release() {
  Kill();
  if (m_info.hThread != nullptr) CloseHandle(m_info.hThread);
  if (m_info.hProcess != nullptr) CloseHandle(m_info.hProcess);
  m_info = PROCESS_INFORMATION{};
}

bool Program::Start(const std::wstring& exeName, const std::wstring& arguments) {
  Release();
  const std::wstring exe = ExeDir() + exeName;
  std::wstring line = L"\"" + exe + L"\"";
  if (!arguments.empty()) line += L" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  return CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        ExeDir().c_str(), &startup, &m_info) != 0;
}

bool Program::WaitForExit(DWORD timeoutMs) {
  return m_info.hProcess != nullptr &&
         WaitForSingleObject(m_info.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool Program::IsRunning() const {
  return m_info.hProcess != nullptr && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

void Program::Kill() {
  if (IsRunning()) {
    TerminateProcess(m_info.hProcess, 1);
    WaitForSingleObject(m_info.hProcess, 5000);
  }
}

}  // namespace brontel::test_support
