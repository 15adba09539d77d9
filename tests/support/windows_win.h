#pragma once
// Finding, reading and working the windows of programs under test, as a
// user would, and waiting for what can be seen instead of sleeping.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace brontel::test_support {

// Top-level windows of a process (0: of any process) with the given class
// ("#32770"; null: any) and, when `title` is not null, exactly that title.
std::vector<HWND> FindTopWindows(DWORD pid, const wchar_t* className, const wchar_t* title);
// Waits until such a window exists; null on time-out.
HWND WaitForTopWindow(DWORD pid, const wchar_t* className, const wchar_t* title, DWORD timeoutMs);
// Waits for a visible dialog ("#32770") of the process (0: any) that is not
// `exclude` and holds a control with this id (0 accepts any dialog).
HWND WaitForOtherDialog(DWORD pid, HWND exclude, int controlId, DWORD timeoutMs);
// Waits for a visible dialog of any process with exactly this title.
HWND WaitForDialog(const std::wstring& title, DWORD timeoutMs);

std::wstring WindowText(HWND window);
std::wstring ItemText(HWND dialog, int id);
// The texts of a dialog's static controls, joined with newlines: for a
// message box, its message.
std::wstring StaticTexts(HWND dialog);
// Presses a dialog button as a user would, without waiting.
void ClickButton(HWND dialog, int id);

// Polls `condition` until it holds; false on time-out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// Dispatches this thread's messages until `condition` holds; false on
// time-out.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// Dispatches this thread's messages for the given time.
void PumpMessages(DWORD milliseconds);
// Paints the window and its children now and dispatches what is queued, so
// that a screenshot shows the finished picture.
void PaintNow(HWND window);

}  // namespace brontel::test_support
