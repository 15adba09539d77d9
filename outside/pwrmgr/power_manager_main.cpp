// kxPwrMgr.exe: takes the main program's hand-over, waits for the wake-up
// time and starts the program again with the wake-up switch. These PCs must
// not sleep, so the stand-in arms the wake-up timer a real power manager
// would arm and says what it would have done, but never suspends.

#include "win32/windows_include.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/power/power_manager_line.h"
#include "power_manager_window.h"
#include "win32/handles.h"
#include "win32/text_convert.h"

namespace brontel::pwrmgr {
namespace {

constexpr wchar_t kTitle[] = L"kxPwrMgr";
constexpr int kExitRefused = 2;
constexpr std::int64_t kHundredNsPerSecond = 10000000;

DateTime LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return MakeLocalDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

std::wstring FormatWake(const power::PowerManagerRequest& r) {
  wchar_t text[64];
  swprintf(text, 64, L"%04d-%02d-%02d %02d:%02d", r.year, r.month, r.day, r.hour, r.minute);
  return text;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// Starts the program as the PC would after waking; the result for the window.
std::wstring StartProgram(const power::PowerManagerRequest& request) {
  const std::wstring program = Widen(request.program);
  const std::wstring arguments = Widen(power::WakeStartArguments(request.langCode));
  std::wstring line = L"\"" + program + L"\" " + arguments;
  const std::wstring folder = FolderOf(program);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    return L"Could not start " + program + L" (error " + std::to_wstring(GetLastError()) + L").";
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return L"Woke up: started " + line;
}

int Run(HINSTANCE instance, int showCommand) {
  const std::wstring commandLine = GetCommandLineW();
  const power::PowerManagerParse parse = power::ParsePowerManagerLine(Narrow(commandLine));
  if (!parse.ok) {
    const std::wstring text =
        L"kxPwrMgr cannot use this command line:\n" + commandLine + L"\n\n" + Widen(parse.error);
    OutputDebugStringW((L"kxPwrMgr: refused: " + Widen(parse.error) + L"\r\n").c_str());
    MessageBoxW(nullptr, text.c_str(), kTitle, MB_OK | MB_ICONSTOP);
    return kExitRefused;
  }
  const power::PowerManagerRequest& request = parse.request;

  PowerManagerWindow window;
  if (!window.Create(instance, showCommand)) return 1;
  window.SetItem(kItemCommandLine, commandLine);
  window.SetItem(kItemRequest, L"Start " + Widen(request.program) + L" at " + FormatWake(request));

  UniqueHandle timer(CreateWaitableTimerW(nullptr, TRUE, nullptr));
  if (!timer) {
    window.Report(L"No wake-up timer (error " + std::to_wstring(GetLastError()) + L").");
  } else {
    const std::int64_t seconds = std::max<std::int64_t>(0, request.WakeTime() - LocalNow());
    LARGE_INTEGER due;
    due.QuadPart = -seconds * kHundredNsPerSecond;  // relative, in 100 ns units
    SetLastError(ERROR_SUCCESS);
    const BOOL armed = SetWaitableTimer(timer.Get(), &due, 0, nullptr, nullptr, TRUE);
    const DWORD error = GetLastError();
    std::wstring report = armed ? L"Wake-up timer armed for " + FormatWake(request)
                                : L"Could not arm the wake-up timer";
    if (error != ERROR_SUCCESS) report += L" (error " + std::to_wstring(error) + L")";
    report += L"; a real power manager would now put the PC to sleep. Waiting.";
    window.Report(report);
  }

  MSG msg;
  bool started = false;
  while (true) {
    const DWORD count = timer && !started ? 1 : 0;
    HANDLE handles[1] = {timer.Get()};
    const DWORD wait = MsgWaitForMultipleObjects(count, handles, FALSE, INFINITE, QS_ALLINPUT);
    if (count == 1 && wait == WAIT_OBJECT_0) {
      started = true;
      window.Report(StartProgram(request));
      continue;
    }
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

}  // namespace
}  // namespace brontel::pwrmgr

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  return brontel::pwrmgr::Run(instance, showCommand);
}
