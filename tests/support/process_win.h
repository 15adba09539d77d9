#pragma once
// Programs started by Wine tests.

#include <windows.h>

#include <string>

namespace brontel::test_support {

// Runs a command line to its end and returns its exit code; -1 when it
// cannot start or does not end in time.
DWORD RunProcess(const std::wstring& commandLine, const std::wstring& workingDirectory = L"",
                 DWORD timeoutMs = 60000);

// Ends every process whose executable has this name (e.g. L"Brontel.exe").
void KillProcessesNamed(const wchar_t* exeName);

// A started program; ended (killed) on destruction when still running.
class Program {
 public:
  Program() = default;
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Starts ExeDir()\exeName with the arguments, in that folder. A program
  // started before is ended and let go first.
  bool Start(const std::wstring& exeName, const std::wstring& arguments);
  bool WaitForExit(DWORD timeoutMs);
  bool IsRunning() const;
  DWORD pid() const { return m_info.dwProcessId; }
  HANDLE process() const { return m_info.hProcess; }
  void Kill();

 private:
  void Release();

  PROCESS_INFORMATION m_info = {};
};

}  // namespace brontel::test_support
