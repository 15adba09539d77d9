// A windowed program that asks for the power-off the way Brontel does at
// the end of a wake-up run, and logs the end-session messages it gets to
// "power_off_probe.log" beside itself.
#include <windows.h>

#include <string>

#include "app/power_off.h"

namespace {

constexpr UINT kAskPowerOff = WM_APP + 1;
HANDLE g_log = INVALID_HANDLE_VALUE;

void Log(const std::string& line) {
  DWORD written = 0;
  const std::string text = line + "\n";
  WriteFile(g_log, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  FlushFileBuffers(g_log);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kAskPowerOff:
      Log(brontel::PowerOffPc() ? "requested" : "refused");
      return 0;
    case WM_QUERYENDSESSION:
      Log("query");
      return TRUE;
    case WM_ENDSESSION:
      Log(wParam ? "end" : "end cancelled");
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring log = path;
  log = log.substr(0, log.find_last_of(L'\\') + 1) + L"power_off_probe.log";
  g_log =
      CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  WNDCLASSW cls = {};
  cls.lpfnWndProc = Proc;
  cls.hInstance = instance;
  cls.lpszClassName = L"PowerOffProbe";
  RegisterClassW(&cls);
  CreateWindowExW(0, cls.lpszClassName, L"PowerOffProbe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                  200, 100, nullptr, nullptr, instance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
