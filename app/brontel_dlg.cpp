#include "app/brontel_dlg.h"

#include "app/settings/registry_store_win.h"
#include "win32/resource_module.h"
#include "win32/text_convert.h"
#include "skin/skin_control.h"
#include "lang/resource_ids.h"

namespace brontel {
namespace {

constexpr wchar_t kPowerManagerTitle[] = L"kxPwrMgr";
constexpr const wchar_t* kScreenSaverTitles[] = {L"Screen Saver", L"Screen-Saver", L"ScreenSaver"};
// A window that does not answer its close message within this time is left
// alone rather than hanging the start-up.
constexpr UINT kCloseMessageTimeoutMs = 5000;
constexpr int kTitleLength = 256;

std::wstring WindowTitle(HWND window) {
  wchar_t title[kTitleLength] = {};
  GetWindowTextW(window, title, kTitleLength);
  return title;
}

void SendCloseMessage(HWND window) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, kCloseMessageTimeoutMs, &result);
}

BOOL CALLBACK CloseIfPowerManager(HWND window, LPARAM) {
  if (lstrcmpiW(WindowTitle(window).c_str(), kPowerManagerTitle) == 0) SendCloseMessage(window);
  return TRUE;
}

HICON LoadWindowIcon(int sizeMetricX, int sizeMetricY) {
  return static_cast<HICON>(LoadImageW(ResourceModule(), MAKEINTRESOURCEW(IDI_BRONTEL), IMAGE_ICON,
                                       GetSystemMetrics(sizeMetricX), GetSystemMetrics(sizeMetricY),
                                       0));
}

}  // namespace

CBrontelDlg::CBrontelDlg() = default;

CBrontelDlg::~CBrontelDlg() {
  if (m_hwnd != nullptr) DestroyWindow(m_hwnd);
}

void CBrontelDlg::SetStartValues(const StartOptions& options) {
  bFullScreenStart = options.fullScreenStart;
  bWakeStart = options.wakeStart;
  bWakeNotice = options.wakeNotice;
  lLangCode = options.langCode;
}

void CBrontelDlg::RunModal() {
  m_ended = false;
  HWND dialog = CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(IDD_BRONTEL_MAIN), nullptr,
                                   DialogProc, reinterpret_cast<LPARAM>(this));
  if (dialog == nullptr) return;
  if (!m_ended) ShowWindow(dialog, SW_SHOW);
  // Our own modal loop, so that key messages pass the accelerators first.
  MSG msg;
  while (!m_ended) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1) break;
    if (PreTranslateMessage(&msg)) continue;
    if (m_hwnd != nullptr && IsDialogMessageW(m_hwnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool CBrontelDlg::PreTranslateMessage(MSG* msg) {
  if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
  if (m_accelerators == nullptr || m_hwnd == nullptr) return false;
  return TranslateAcceleratorW(m_hwnd, m_accelerators, msg) != 0;
}

INT_PTR CBrontelDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_TIMER:
      OnTimer(wParam);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          OnOK();
          break;
        case IDCANCEL:
          OnCancel();
          break;
        default:
          if (!OnTrayCommand(LOWORD(wParam))) OnCommand(LOWORD(wParam));
          break;
      }
      return TRUE;
    case WM_CLOSE:
      OnClose();
      return TRUE;
    case WM_PAINT:
      if (IsIconic(m_hwnd)) {
        OnPaint();
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header != nullptr && header->idFrom == static_cast<UINT_PTR>(panel::kSkinItemId) &&
          header->code == skin::kSkinNotifyEvent) {
        const auto* event = reinterpret_cast<const skin::SkinEventNotify*>(lParam);
        if (event->eventId == 1) OnSkinEvent(Narrow(event->arg2 ? event->arg2 : L""));
        return TRUE;
      }
      return FALSE;
    }
    case kMsgStopMedia:
      OnStopMediaMessage(wParam);
      SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, 0);
      return TRUE;
    case kTrayCallbackMessage:
      SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, OnTrayCallback(wParam, lParam));
      return TRUE;
    case WM_ENDSESSION:
      // Powering off was asked for but the session goes on (a program
      // refused to end): with the board already closed, the program ends.
      if (wParam == FALSE && bPowerOffAtExit && bShuttingDown) EndDialog();
      return TRUE;
    case WM_IEPG_RESERVE:
      OnIepgReserve();
      SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, 0);
      return TRUE;
    case kMsgBoardEvent:
      // Board events carry nothing the panel acts on yet; they arrive here on
      // the user-interface thread.
      return TRUE;
    case WM_QUERYDRAGICON:
      // One of the messages whose answer a dialog procedure returns itself,
      // not through DWLP_MSGRESULT.
      return reinterpret_cast<INT_PTR>(m_bigIcon.Get());
    case WM_NCDESTROY:
      // The modal loop ends with the window.
      m_ended = true;
      return FALSE;
    default:
      return FALSE;
  }
}

void CBrontelDlg::OnInitDialog() {
  m_instanceChecker.TrackFirstInstanceRunning(m_hwnd);

  m_accelerators = LoadAcceleratorsW(ResourceModule(), MAKEINTRESOURCEW(IDR_MAIN_ACCEL));
  m_bigIcon.Reset(LoadWindowIcon(SM_CXICON, SM_CYICON));
  m_smallIcon.Reset(LoadWindowIcon(SM_CXSMICON, SM_CYSMICON));
  SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.Get()));
  SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));
  CreateMediaPlayer();

  // A wake-up start keeps the panel out of sight while it records.
  const int width = bWakeStart ? 0 : kPanelWidth;
  const int height = bWakeStart ? 0 : kPanelHeight;
  SetWindowPos(m_hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (int id = IDC_BTN_FIRST; id <= IDC_BTN_LAST; ++id) {
    if (HWND button = GetDlgItem(m_hwnd, id)) ShowWindow(button, SW_HIDE);
  }

  const panel::SkinBindResult bound = m_panel.LoadAndBind(m_hwnd, panel::DefaultSkinPath());
  if (bound != panel::SkinBindResult::kBound) {
    ShowResMessage(m_hwnd, panel::MessageForBindResult(bound), IDS_CAPTION,
                   MB_OK | MB_ICONEXCLAMATION);
    StartShutdown();
    return;
  }
  const SIZE panelSize = m_panel.MainPanelSize();
  if (!bWakeStart) {
    // The skin is the panel's whole face, with its own title strip, buttons
    // to minimise and exit, and a face that drags the window: the window
    // keeps no caption or frame of its own.
    const LONG_PTR style = GetWindowLongPtrW(m_hwnd, GWL_STYLE);
    SetWindowLongPtrW(m_hwnd, GWL_STYLE, style & ~(WS_CAPTION | WS_THICKFRAME));
    const LONG_PTR exStyle = GetWindowLongPtrW(m_hwnd, GWL_EXSTYLE);
    SetWindowLongPtrW(m_hwnd, GWL_EXSTYLE,
                      exStyle & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE));
    // The dialog's client area is the skin's main panel.
    SetWindowPos(GetDlgItem(m_hwnd, panel::kSkinItemId), nullptr, 0, 0, panelSize.cx, panelSize.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT frame{0, 0, panelSize.cx, panelSize.cy};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(m_hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(m_hwnd, GWL_EXSTYLE)));
    SetWindowPos(m_hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_panel.ShowPanel(true);
  }

  m_store = std::make_unique<RegistryStore>();
  m_settings.SetScreenGeometry(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                               panelSize.cx);
  m_settings.LoadAll(*m_store);
  m_settings.WriteOutsidePlayerKey(*m_store);
  if (!bWakeStart) {
    SetWindowPos(m_hwnd, nullptr, m_settings.appSet.lPanelXPos, m_settings.appSet.lPanelYPos, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  CloseOldPowerManagers();
  SweepScreenSavers();
}

void CBrontelDlg::CloseOldPowerManagers() {
  EnumWindows(CloseIfPowerManager, 0);
}

void CBrontelDlg::SweepScreenSavers() {
  EnumWindows(SweepWindow, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK CBrontelDlg::SweepWindow(HWND window, LPARAM param) {
  CBrontelDlg* self = reinterpret_cast<CBrontelDlg*>(param);
  // Restarted for every window, so it fires one second after the sweep.
  SetTimer(self->m_hwnd, kTimerScreenSaverSweep, kScreenSaverSweepMs, nullptr);
  const std::wstring title = WindowTitle(window);
  for (const wchar_t* saverTitle : kScreenSaverTitles) {
    if (lstrcmpiW(title.c_str(), saverTitle) == 0) {
      self->bScrSaverClosed = true;
      SendCloseMessage(window);
      return FALSE;
    }
  }
  return TRUE;
}

// Every timer of the main window comes here. Timers of the program's other
// parts (the board client, the recorder) go on through the default path.
void CBrontelDlg::OnTimer(UINT_PTR id) {
  switch (id) {
    case kTimerScreenSaverSweep:
      KillTimer(m_hwnd, kTimerScreenSaverSweep);
      if (bScrSaverClosed) {
        SetTimer(m_hwnd, kTimerStartupAfterSaver, kStartupAfterSaverMs, nullptr);
      } else {
        RunStartupContinuation();
      }
      break;
    case kTimerStartupAfterSaver:
      KillTimer(m_hwnd, kTimerStartupAfterSaver);
      RunStartupContinuation();
      break;
    case kTimerFinalCleanup:
      RunFinalCleanup();
      break;
    case kTimerDigitEntry:
      RunDigitStep(m_digits.OnTimer());
      break;
    case kTimerVolumeUpHold:
    case kTimerVolumeDownHold:
    case kTimerVolumeUpRepeat:
    case kTimerVolumeDownRepeat:
      OnVolumeTimer(static_cast<unsigned>(id));
      break;
    case kTimerScheduler:
      OnSchedulerTick();
      break;
    case kTimerWakeEnd:
      OnWakeEndTimer();
      break;
    case kTimerScheduleBlink:
      OnScheduleBlinkTimer();
      break;
    case kTimerStopForSchedule:
      KillTimer(m_hwnd, kTimerStopForSchedule);
      StopMedia();
      RefreshPanel();
      break;
    default:
      if (OnMediaTimer(id)) break;
      m_board.OnTimer(id);
      break;
  }
  // The disk check closes every recording status tick, whoever runs it.
  if (id == kTimerRecordStatus) CheckRecordingDiskSpace();
}

// The window's close command, Enter and Escape never end the program by
// themselves: the user leaves through the exit action, which shuts down.
void CBrontelDlg::OnClose() {
  if (bShuttingDown) EndDialog();
}

void CBrontelDlg::OnOK() {
  if (bShuttingDown) EndDialog();
}

void CBrontelDlg::OnCancel() {
  if (bShuttingDown) EndDialog();
}

void CBrontelDlg::EndDialog() {
  m_ended = true;
  if (m_hwnd != nullptr) DestroyWindow(m_hwnd);
}

void CBrontelDlg::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(m_hwnd, &paint);
  SendMessageW(m_hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(m_hwnd, &client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, m_bigIcon.Get());
  EndPaint(m_hwnd, &paint);
}

// Holding a volume button: the hold timer gives way to the repeat timer,
// whose every tick is one step.
void CBrontelDlg::OnVolumeTimer(unsigned id) {
  const panel::VolumeTimerAction action = panel::OnVolumeTimer(id);
  if (action.killTimer != 0) KillTimer(m_hwnd, action.killTimer);
  if (action.startTimer != 0) SetTimer(m_hwnd, action.startTimer, panel::kVolumeHoldMs, nullptr);
  if (action.step > 0) m_board.VolumeUp();
  if (action.step < 0) m_board.VolumeDown();
}

}  // namespace brontel
