// Reservation mode: the power library, and handing the next recording over
// to the power manager, which sleeps the PC and wakes it in time.

#include "app/brontel_dlg.h"

#include "app/power/handover.h"
#include "win32/resource_module.h"
#include "app/scheduler/schedule_times.h"
#include "lang/resource_ids.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

DateTime LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return MakeLocalDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

std::wstring ProgramPath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(path, length);
}

// The power manager lies beside the program. Its path is named as the
// application so that a folder with spaces cannot start a different
// program; the command line itself stays exactly as the manager expects it.
void StartPowerManager(const std::wstring& program, std::int32_t langCode, DateTime wakeTime) {
  const std::string programUtf8 = Narrow(program);
  const std::wstring exe = Widen(power::PowerManagerPath(programUtf8));
  std::wstring line = Widen(power::PowerManagerCommandLine(programUtf8, langCode, wakeTime));
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION info = {};
  // A missing power manager is not reported: the program ends all the same.
  if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &info)) {
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
}

}  // namespace

bool CBrontelDlg::LoadPowerLibrary() {
  const bool complete = m_powerLibrary.Load();
  if (!complete) m_powerLibrary.Free();
  return complete;
}

void CBrontelDlg::FreePowerLibrary() {
  m_powerLibrary.Free();
}

void CBrontelDlg::HandOverToPowerManager() {
  const DateTime now = LocalNow();
  std::optional<std::int64_t> secondsToNext;
  if (const std::optional<NextScheItem> next = FindNextScheItem(m_settings.scheSet, now)) {
    secondsToNext = next->seconds;
  }
  const power::HandOverPlan plan =
      power::PlanHandOver(GetOsClass(), m_powerLibrary.IsHibernateAllowed(), secondsToNext, now);
  if (!plan.handOver()) {
    ShowResMessage(m_hwnd, static_cast<UINT>(plan.messageId), IDS_CAPTION,
                   MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  StartPowerManager(ProgramPath(), lLangCode, plan.wakeTime);
  StartShutdown();
}

}  // namespace brontel
