#pragma once
// Helpers for end-to-end tests that drive the real Brontel programs under
// Wine from the outside: processes, windows, message boxes, the registry and
// screenshots. Nothing here talks to the product through a back door.

#include <windows.h>

#include <string>
#include <vector>

namespace brontel::e2e {

// The folder holding the product and the tests (<build>/bin), with a
// trailing backslash.
std::wstring ProductDir();
// <build>/test-output, created when missing, with a trailing backslash.
std::wstring TestOutputDir();

// Deletes the product's settings and puts back AppSet "InstallPath" as the
// installation does.
void ResetProductSettings();
// Writes one AppSet integer the way the product stores it (decimal text).
void WriteAppSetLong(const wchar_t* name, long value);
// Reads one AppSet value as text; false when it is missing.
bool ReadAppSetText(const wchar_t* name, std::wstring* text);

// Ends every process whose executable has this name (e.g. L"Brontel.exe").
void KillProcessesNamed(const wchar_t* exeName);

// The board API manager's COM registration: removed for tests that need it
// missing, and put back afterwards when the DLL exists.
void UnregisterApiManager();
void RegisterApiManager();
bool ApiManagerRegistered();

// A started program; ended (killed) on destruction when still running.
class Program {
 public:
  Program() = default;
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Starts <ProductDir>\exeName with the arguments.
  bool Start(const std::wstring& exeName, const std::wstring& arguments);
  bool WaitForExit(DWORD timeoutMs);
  bool IsRunning() const;
  DWORD pid() const { return m_info.dwProcessId; }
  void Kill();

 private:
  PROCESS_INFORMATION m_info = {};
};

// Top-level windows of a process with the given class ("#32770") and, when
// `title` is not null, exactly that title.
std::vector<HWND> FindTopWindows(DWORD pid, const wchar_t* className, const wchar_t* title);
// Waits until such a window exists; null on time-out.
HWND WaitForTopWindow(DWORD pid, const wchar_t* className, const wchar_t* title, DWORD timeoutMs);
// Waits for a dialog of the process that is not `exclude` and holds a
// control with this id (0 accepts any dialog); null on time-out.
HWND WaitForOtherDialog(DWORD pid, HWND exclude, int controlId, DWORD timeoutMs);

std::wstring WindowText(HWND window);
// The texts of a dialog's static controls, joined with newlines: for a
// message box, its message.
std::wstring StaticTexts(HWND dialog);
// Presses a dialog button as a user would.
void ClickButton(HWND dialog, int id);

// A string of a language library, loaded as data.
std::wstring LoadLibraryString(const std::wstring& dllName, UINT id);

// Saves what the screen shows of `window` as a 24-bit BMP.
bool SaveWindowScreenshot(HWND window, const std::wstring& path);

}  // namespace brontel::e2e
