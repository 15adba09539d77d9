#pragma once
// Helpers of the board API manager's Wine tests; the general ones come from
// the shared test support library.

#include <windows.h>

#include <string>
#include <vector>

#include "support/board_journal_win.h"
#include "support/process_win.h"
#include "support/screenshot_win.h"
#include "support/test_paths_win.h"
#include "support/windows_win.h"

namespace apimgr_test {

using brontel::test_support::Capture;
using brontel::test_support::CaptureWindow;
using brontel::test_support::ExeDir;
using brontel::test_support::PumpMessages;
using brontel::test_support::PumpUntil;
using brontel::test_support::RunProcess;
using brontel::test_support::SaveCapture;
using brontel::test_support::StaticTexts;
using brontel::test_support::TempDir;
using brontel::test_support::TestOutputDir;
using brontel::test_support::WaitForDialog;

bool KeyExists(HKEY root, const std::wstring& path);
std::wstring KeyDefaultValue(HKEY root, const std::wstring& path);

// Registers KXApiMgr.dll from the bin folder through regsvr32.
bool RegisterManager();
bool UnregisterManager();

// The virtual board's journal in a temporary file, counted in whole lines;
// the board's own notes ("board ...") are not the manager's and are left out.
class JournalFile : public brontel::test_support::BoardJournal {
 public:
  std::vector<std::string> CallTexts() const;
  size_t Count() const { return CallTexts().size(); }
  // The line written since the given line count, or "" when there is none.
  std::string LineAfter(size_t previousCount) const;
};

// A plain top-level window to host the picture.
HWND CreateHostWindow(const wchar_t* title, int width, int height);

std::string Narrow(const std::wstring& text);
std::string HexValue(uint32_t value);

}  // namespace apimgr_test
