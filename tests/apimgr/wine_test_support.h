#pragma once
// Helpers shared by the Wine tests of the board API manager.

#include <windows.h>

#include <string>
#include <vector>

#include "apimgr/kx_interfaces.h"

namespace apimgr_test {

// Folder of the running test program: <build>/bin, next to the product DLLs.
std::wstring BinDirectory();
// <build>/test-output, created when missing.
std::wstring TestOutputDirectory();
std::wstring TempDirectory();

// Runs a command line and returns its exit code (-1 when it cannot start).
DWORD RunProcess(const std::wstring& commandLine, const std::wstring& workingDirectory = L"");

bool KeyExists(HKEY root, const std::wstring& path);
std::wstring KeyDefaultValue(HKEY root, const std::wstring& path);

// Registers KXApiMgr.dll from the bin folder through regsvr32.
bool RegisterManager();
bool UnregisterManager();

// Points the virtual board's journal at a fresh file for its lifetime.
class JournalFile {
 public:
  JournalFile();
  ~JournalFile();
  std::vector<std::string> Lines() const;
  // The line written since the given line count, or "" when there is none.
  std::string LineAfter(size_t previousCount) const;
  size_t Count() const { return Lines().size(); }

 private:
  std::wstring m_path;
};

// Dispatches window messages for the given time.
void PumpMessages(DWORD milliseconds);

// A plain top-level window to host the picture.
HWND CreateHostWindow(const wchar_t* title, int width, int height);

// Finds a top-level dialog ("#32770") of this desktop whose texts satisfy the
// predicate, waiting up to the timeout. Returns null when none appears.
HWND WaitForDialog(const std::wstring& caption, DWORD timeoutMs);
// The texts of the static controls of a dialog, joined.
std::wstring DialogStaticText(HWND dialog);

// 32-bit top-down pixels of a window's client area.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};
Capture CaptureWindow(HWND hwnd);
bool SaveBitmap(const Capture& capture, const std::wstring& path);

std::string Narrow(const std::wstring& text);
std::string HexValue(uint32_t value);

}  // namespace apimgr_test
