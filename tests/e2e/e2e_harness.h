#pragma once
// Helpers for end-to-end tests that drive the real Brontel programs under
// Wine from the outside: processes, windows, message boxes, the registry and
// screenshots. Nothing here talks to the product through a back door.

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "support/board_journal_win.h"
#include "support/process_win.h"
#include "support/screenshot_win.h"
#include "support/test_paths_win.h"
#include "support/windows_win.h"

namespace brontel::e2e {

// The shared Wine-test helpers, under the names the end-to-end tests use.
using test_support::BoardJournal;
using test_support::ClickButton;
using test_support::FindTopWindows;
using test_support::JournalLine;
using test_support::KillProcessesNamed;
using test_support::PaintNow;
using test_support::Program;
using test_support::SaveWindowScreenshot;
using test_support::StaticTexts;
using test_support::TestOutputDir;
using test_support::WaitForOtherDialog;
using test_support::WaitForTopWindow;
using test_support::WaitUntil;
using test_support::WindowText;

// The folder holding the product and the tests (<build>/bin), with a
// trailing backslash.
std::wstring ProductDir();

// Deletes the product's settings and puts back AppSet "InstallPath" as the
// installation does.
void ResetProductSettings();
// Writes one AppSet integer the way the product stores it (decimal text).
void WriteAppSetLong(const wchar_t* name, long value);
// Reads one AppSet value as text; false when it is missing.
bool ReadAppSetText(const wchar_t* name, std::wstring* text);

// Any value under SOFTWARE\Kestrova\Pellamy\App\<group> ("TVSet",
// "TVSet\\ChnInfo001"), written and read as the product stores it: text.
void WriteSettingText(const std::wstring& group, const wchar_t* name, const std::wstring& text);
void WriteSettingLong(const std::wstring& group, const wchar_t* name, long value);
bool ReadSettingText(const std::wstring& group, const wchar_t* name, std::wstring* text);
bool SettingKeyExists(const std::wstring& group);
void DeleteSettingValue(const std::wstring& group, const wchar_t* name);

// A one-time TV entry in ScheSet record `number` (1 to 10) on channel
// `channel` ("lFreqChn"), lasting `minutes` from `start`, with the normal
// recording quality, written as the program stores it. The caller sets
// "lScheItemCount".
void WriteOnceScheItem(int number, const SYSTEMTIME& start, int minutes, long channel,
                       const wchar_t* description);

// A folder of test-output for one test's recordings, emptied of the MPEG
// files an earlier run of that test left; with a trailing backslash.
std::wstring FreshRecordFolder(const wchar_t* name);

// kxPwrMgr.exe seen from outside: its window, and the hand-over line it
// shows in item 100 for a wake-up at `wake` (the whole minute) from
// Brontel.exe of ProductDir() in language `langCode`.
constexpr wchar_t kPowerManagerExe[] = L"kxPwrMgr.exe";
constexpr wchar_t kPowerManagerClass[] = L"kxPwrMgrWindow";
constexpr wchar_t kPowerManagerTitle[] = L"kxPwrMgr";
constexpr int kPowerManagerCommandLineItem = 100;
std::wstring PowerManagerLine(const SYSTEMTIME& wake, int langCode);

// The board API manager's COM registration: removed for tests that need it
// missing, and put back afterwards when the DLL exists.
void UnregisterApiManager();
void RegisterApiManager();
bool ApiManagerRegistered();

// A string of a language library, loaded as data.
std::wstring LoadLibraryString(const std::wstring& dllName, UINT id);

// A top-level window of the test process with a given title, run on a
// thread of its own; it counts the close messages it receives and stays.
// Stands in for a screen saver or an old power manager.
class TitledWindow {
 public:
  explicit TitledWindow(const wchar_t* title);
  ~TitledWindow();
  TitledWindow(const TitledWindow&) = delete;
  TitledWindow& operator=(const TitledWindow&) = delete;
  LONG closeCount() const { return m_closeCount; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Run();

  const wchar_t* m_title;
  HANDLE m_ready = nullptr;
  DWORD m_threadId = 0;
  volatile LONG m_closeCount = 0;
  std::thread m_thread;
};

// Whole-string match where '*' stands for any run of characters.
bool MatchesPattern(const std::string& text, const std::string& pattern);

// Sends a command to a window and waits until it has been handled (a
// classic button passes its own window as lParam, as a click does).
bool SendCommand(HWND dialog, int id);

// Brontel started on the virtual board with the board journal switched on.
class BrontelSession {
 public:
  // The journal is written to <test-output>\\<journalName>.
  explicit BrontelSession(const std::wstring& journalName);

  // Starts Brontel.exe and waits for its main dialog.
  bool Start(const std::wstring& arguments);
  // Waits until the start-up continuation has revealed the main panel.
  bool WaitForPanel(DWORD timeoutMs);

  HWND dialog() const { return m_dialog; }
  // The skin control, dialog item 1000.
  HWND skin() const;
  // A field (skin::SkinField) of a skin element; INT_MIN when missing.
  long SkinField(const wchar_t* element, int field) const;
  bool SkinVisible(const wchar_t* element) const;
  // The text of a dialog item (the labels 1012 to 1016).
  std::wstring ItemText(int id) const;
  // A classic button or menu command, handled before this returns.
  bool Command(int id) const { return SendCommand(m_dialog, id); }
  // A visible dialog of the program other than the main one, or null.
  HWND OtherDialog() const;

  Program& program() { return m_program; }
  const BoardJournal& journal() const { return m_journal; }

 private:
  BoardJournal m_journal;
  Program m_program;
  HWND m_dialog = nullptr;
};

}  // namespace brontel::e2e
