// The scheduler runtime of the main dialog: the one-second tick that
// prepares, starts and ends scheduled recordings, the warning before an
// entry while something else runs, the decision after a recording that woke
// the PC, the disk check while recording, and the entries the iEPG handler
// hands over.

#include "app/brontel_dlg.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "settings/setting_ps_dlg_win.h"
#include "app/countdown.h"
#include "app/recording/disk_checks_win.h"
#include "app/recording/disk_space.h"
#include "win32/resource_module.h"
#include "app/scheduler/schedule_validation.h"
#include "lang/resource_ids.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

constexpr UINT kWakeEndDelayMs = 2000;
constexpr UINT kStopForScheduleDelayMs = 1000;
constexpr int kBusyWarningSeconds = 60;
// Shown when the free space stopped a recording or a time shift.
constexpr UINT kMsgLowDiskStopped = 277;

constexpr UINT_PTR kCountdownTimer = 1;
constexpr UINT kCountdownTickMs = 1000;

DateTime LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return MakeLocalDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

void SetCountdownNumber(HWND dialog, int seconds) {
  SetDlgItemTextW(dialog, IDC_COUNTDOWN_NUMBER, std::to_wstring(seconds).c_str());
}

void SetWarningIcon(HWND dialog, LPCWSTR systemIcon) {
  HWND iconControl = GetDlgItem(dialog, IDC_NOTICE_ICON);
  if (iconControl == nullptr) return;
  SendMessageW(iconControl, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, systemIcon)),
               0);
}

// Dialog 147: something runs while an entry is three minutes away. Counts
// down a minute in item 1229 and closes as if cancelled at 0.
class BusyWarningDlg : public DialogBase {
 private:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) override {
    switch (message) {
      case WM_INITDIALOG:
        SetWindowPos(m_hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetWarningIcon(m_hwnd, reinterpret_cast<LPCWSTR>(IDI_WARNING));
        SetCountdownNumber(m_hwnd, m_countdown.SecondsLeft());
        SetTimer(m_hwnd, kCountdownTimer, kCountdownTickMs, nullptr);
        return TRUE;
      case WM_TIMER:
        if (wParam != kCountdownTimer) return FALSE;
        m_countdown.Tick();
        SetCountdownNumber(m_hwnd, m_countdown.SecondsLeft());
        if (m_countdown.Finished()) Close(IDCANCEL);
        return TRUE;
      case WM_COMMAND:
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
        Close(LOWORD(wParam));
        return TRUE;
      default:
        return FALSE;
    }
  }
  void Close(INT_PTR result) {
    KillTimer(m_hwnd, kCountdownTimer);
    EndDialog(m_hwnd, result);
  }

  Countdown m_countdown{kBusyWarningSeconds};
};

// Dialog 149: after a recording that woke the PC, ten seconds to keep the
// PC from going to sleep or off. The countdown's end means go ahead; its
// button means not. Run by RunWakeEndDialog, which keeps Enter and Escape
// from answering for the user.
class WakeEndDlg : public DialogBase {
 public:
  explicit WakeEndDlg(std::string format) : m_format(std::move(format)) {}
  bool done() const { return m_done; }
  bool goAhead() const { return m_goAhead; }

 private:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) override {
    switch (message) {
      case WM_INITDIALOG:
        SetWindowPos(m_hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetWarningIcon(m_hwnd, reinterpret_cast<LPCWSTR>(IDI_INFORMATION));
        SendDlgItemMessageW(m_hwnd, IDC_COUNTDOWN_PROGRESS, PBM_SETRANGE32, 0, m_countdown.Total());
        Show();
        SetTimer(m_hwnd, kCountdownTimer, kCountdownTickMs, nullptr);
        return TRUE;
      case WM_TIMER:
        if (wParam != kCountdownTimer) return FALSE;
        m_countdown.Tick();
        Show();
        if (m_countdown.Finished()) Close(true);
        return TRUE;
      case WM_COMMAND:
        if (LOWORD(wParam) != IDCANCEL) return FALSE;
        Close(false);
        return TRUE;
      default:
        return FALSE;
    }
  }
  void Show() {
    const int left = m_countdown.SecondsLeft();
    SetDlgItemTextW(m_hwnd, IDC_COUNTDOWN_TEXT, Widen(FormatWithInteger(m_format, left)).c_str());
    SetCountdownNumber(m_hwnd, left);
    SendDlgItemMessageW(m_hwnd, IDC_COUNTDOWN_PROGRESS, PBM_SETPOS,
                        static_cast<WPARAM>(m_countdown.ProgressPosition()), 0);
  }
  void Close(bool goAhead) {
    KillTimer(m_hwnd, kCountdownTimer);
    m_goAhead = goAhead;
    m_done = true;
  }

  Countdown m_countdown{kWakeEndCountdownSeconds};
  std::string m_format;  // string 297 or 298, UTF-8
  bool m_done = false;
  bool m_goAhead = false;
};

bool IsEnterOrEscape(const MSG& msg) {
  const bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR;
  return key && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
}

// A modal run of dialog 149 with its own loop: the dialog manager would turn
// Enter and Escape into the Cancel button, which must not answer for a user
// who merely touched the keyboard. True when the PC is to go ahead.
bool RunWakeEndDialog(HWND owner, int textId) {
  WakeEndDlg dialog(Narrow(LoadResString(static_cast<UINT>(textId))));
  HWND window = CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(IDD_WAKE_END), owner,
                                   DialogBase::DialogProc, reinterpret_cast<LPARAM>(&dialog));
  if (window == nullptr) return false;
  const bool ownerWasEnabled = owner != nullptr && !EnableWindow(owner, FALSE);
  ShowWindow(window, SW_SHOW);
  MSG msg;
  while (!dialog.done()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1) break;
    if (IsEnterOrEscape(msg) && (msg.hwnd == window || IsChild(window, msg.hwnd))) continue;
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (ownerWasEnabled) EnableWindow(owner, TRUE);
  DestroyWindow(window);
  return dialog.goAhead();
}

// Free bytes available to this user on the volume of `folder`; 0 when the
// folder cannot be found, since nothing can be written there either.
}  // namespace

void CBrontelDlg::OnSchedulerTick() {
  SchedulerView view;
  view.now = LocalNow();
  view.lRunMode = lRunMode;
  view.bScheRecording = bScheRecording != 0;
  view.bScheBlocked = bScheBlocked != 0;
  view.bAskingBusy = bAskingBusy != 0;
  ApplySchedulerPlan(PlanSchedulerTick(m_settings.scheSet, view, &m_scheMemory));
}

void CBrontelDlg::ApplySchedulerPlan(const SchedulerPlan& plan) {
  if (plan.indicator == IndicatorPlan::kHide) BlinkScheduleIndicator(kBlinkOff);
  // A blink shows the indicator in its own rhythm.
  if (plan.indicator == IndicatorPlan::kShow && m_blinkKind == kBlinkOff) {
    m_panel.ShowSchedule(true);
  }
  if (plan.preparationStopped) {
    bScheBlocked = 1;
    BlinkScheduleIndicator(kBlinkOff);
    m_panel.ShowSchedule(true);
  }
  if (plan.clearBlocked) bScheBlocked = 0;
  if (plan.prepare) PrepareScheItem(plan.next->item);
  if (plan.startRecording) StartScheRecording();
  if (plan.endRecording) EndScheRecording();
  // Last, because the dialog runs a message loop of its own in which
  // further ticks come.
  if (plan.warnBusy) WarnBusyBeforeScheItem();
}

void CBrontelDlg::WarnBusyBeforeScheItem() {
  bAskingBusy = 1;
  BusyWarningDlg warning;
  const INT_PTR answer =
      DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(IDD_BUSY_WARNING), m_hwnd,
                      DialogBase::DialogProc, reinterpret_cast<LPARAM>(&warning));
  if (answer == IDOK) SetTimer(m_hwnd, kTimerStopForSchedule, kStopForScheduleDelayMs, nullptr);
  bAskingBusy = 0;
}

void CBrontelDlg::PrepareScheItem(const ScheItem& item) {
  lRunMode = kRunSchedulePrepared;
  BlinkScheduleIndicator(kBlinkFast);
  ActiveScheItem = item;
  RestoreFromTrayForScheItem();
  m_settings.appSet.bAudioOn = 1;
  m_board.SetSound(kSoundOn);
  // The list entry first, so that the source switch tunes the entry's
  // channel rather than the one the user watched.
  const std::int32_t source = item.msSrcType;
  if (source == kSourceTv || source == kSourceRadio)
    m_board.Lists().SelectByNumber(source, item.lChn);
  m_board.SelectSource(source, true);
  m_settings.appSet.cmCurrRecMode = item.lCaptMode;
  if (source == kSourceTv || source == kSourceRadio) m_board.TuneCurrentEntry();
  RefreshPanel();
}

void CBrontelDlg::StartScheRecording() {
  BlinkScheduleIndicator(kBlinkOff);
  m_panel.ShowSchedule(true);
  if (StartCapture(kCaptureRecord, true)) {
    bScheRecording = 1;
    bScheBlocked = 0;
    RefreshPanel();
    return;
  }
  // Left prepared, the program would never take another entry: back to
  // live, with this occurrence blocked so that it is not prepared again.
  if (lRunMode == kRunSchedulePrepared) {
    lRunMode = kRunLive;
    bScheBlocked = 1;
  }
  RefreshPanel();
  if (bWakeStart) SetTimer(m_hwnd, kTimerWakeEnd, kWakeEndDelayMs, nullptr);
}

void CBrontelDlg::EndScheRecording() {
  m_settings.MarkScheItemCompleted(ActiveScheItem);
  StopMedia();
  bScheRecording = 0;
  m_panel.ShowTime(
      panel::PlanShowTime(panel::kAreaRemaining, false, panel::kKindPlay, 0, false, 0));
  m_panel.ShowTime(panel::PlanShowTime(panel::kAreaElapsed, false, panel::kKindPlay, 0, false, 0));
  RefreshPanel();
  if (bWakeStart) SetTimer(m_hwnd, kTimerWakeEnd, kWakeEndDelayMs, nullptr);
}

void CBrontelDlg::CancelSchePreparation() {
  if (lRunMode != kRunSchedulePrepared) return;
  lRunMode = kRunLive;
  BlinkScheduleIndicator(kBlinkOff);
  m_panel.ShowSchedule(true);
  bScheBlocked = 1;
}

void CBrontelDlg::BlinkScheduleIndicator(int kind) {
  m_blinkKind = kind;
  const unsigned period = BlinkPeriodMs(kind);
  if (period == 0) {
    KillTimer(m_hwnd, kTimerScheduleBlink);
    m_blinkKind = kBlinkOff;
    m_blinkShown = false;
    m_panel.ShowSchedule(false);
    return;
  }
  m_blinkShown = true;
  m_panel.ShowSchedule(true);
  SetTimer(m_hwnd, kTimerScheduleBlink, period, nullptr);
}

void CBrontelDlg::OnScheduleBlinkTimer() {
  m_blinkShown = !m_blinkShown;
  m_panel.ShowSchedule(m_blinkShown);
}

// Restores a panel that was minimised to the tray, so that whoever comes
// back to the PC sees what records.
void CBrontelDlg::RestoreFromTrayForScheItem() {
  if (bInTray) RestoreFromTray();
}

void CBrontelDlg::OnWakeEndTimer() {
  KillTimer(m_hwnd, kTimerWakeEnd);
  const WakeEndPlan plan = PlanWakeEnd(m_settings.scheSet, LocalNow(), bWakeNotice != 0);
  if (!plan.ask) return;
  if (!RunWakeEndDialog(m_hwnd, plan.textId)) return;
  if (plan.laterEntry) {
    HandOverToPowerManager();
    return;
  }
  bPowerOffAtExit = true;
  StartShutdown();
}

void CBrontelDlg::CheckRecordingDiskSpace() {
  if (lRunMode != kRunRecording && lRunMode != kRunTimeShift) return;
  if (recording::EnoughFreeSpace(GetFreeBytes(m_settings.captSet.szRecDestDir))) return;
  StopMedia();
  RefreshPanel();
  ShowResMessage(m_hwnd, kMsgLowDiskStopped, kCaptionNotice, MB_OK | MB_ICONINFORMATION);
}

// While the sheet is open its scheduler page becomes the active page and
// imports the scratch entry into the sheet's copy; a sheet without that page
// (opened while media ran) leaves the entry to the live schedule, which OK
// of such a sheet keeps.
bool CBrontelDlg::HandIepgEntryToSettingsSheet() {
  return m_settingsSheet != nullptr && m_settingsSheet->ShowSchedulerImport();
}

void CBrontelDlg::OnIepgReserve() {
  if (HandIepgEntryToSettingsSheet()) return;
  ScheItem entry;
  if (!m_store || !m_settings.ReadTempScheItem(*m_store, &entry)) return;
  const DateTime now = LocalNow();
  const IepgIntake intake = TakeIepgEntry(entry, m_settings.tvSet, &m_settings.scheSet, now);
  if (intake.validationMessage != 0) {
    ShowResMessage(GetFocus(), static_cast<UINT>(intake.validationMessage),
                   static_cast<UINT>(ValidationCaption(kScheNewEntry)), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (intake.startsSoonNotice) {
    ShowResMessage(m_hwnd, static_cast<UINT>(kMsgScheStartsSoon), kCaptionNotice, MB_OK);
  }
}

}  // namespace brontel
