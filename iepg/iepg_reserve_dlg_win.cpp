#include "iepg/iepg_reserve_dlg_win.h"

#include <utility>

#include "win32/text_convert.h"
#include "iepg/channel_match.h"
#include "iepg/date_field_text.h"
#include "iepg/iepg_about_dlg_win.h"
#include "iepg/line_reader.h"
#include "iepg/line_source_win.h"
#include "iepg/reservation_store.h"
#include "iepg/resource.h"
#include "iepg/schedule_overlap.h"

namespace brontel {
namespace {

constexpr int kTextBufferChars = 128;
constexpr int kStringBufferChars = 512;

void ShowOverflowWarning(const std::string& message) {
  MessageBoxW(nullptr, Widen(message).c_str(), L"Warning !", MB_OK | MB_ICONEXCLAMATION);
}

bool IsAnsiLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) != FALSE;
}

// The local clock as a 64-bit wall-clock time (the C runtime's time() ends
// in 2038).
DateTime LocalNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return MakeLocalDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

SYSTEMTIME ToSystemTime(DateTime value) {
  const LocalTimeParts parts = SplitLocalDateTime(value);
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(parts.year);
  st.wMonth = static_cast<WORD>(parts.month);
  st.wDay = static_cast<WORD>(parts.day);
  st.wDayOfWeek = static_cast<WORD>(parts.weekday);
  st.wHour = static_cast<WORD>(parts.hour);
  st.wMinute = static_cast<WORD>(parts.minute);
  st.wSecond = static_cast<WORD>(parts.second);
  return st;
}

// Shows the file's bytes (system ANSI code page).
std::wstring FromAnsi(const std::string& ansi) {
  return Widen(AnsiToUtf8(ansi));
}

}  // namespace

CIepgReserveDlg::CIepgReserveDlg(HINSTANCE instance, std::wstring path)
    : m_instance(instance),
      m_path(std::move(path)),
      m_parser([this](const std::string& station) { return MatchStation(station); }) {}

INT_PTR CIepgReserveDlg::DoModal(HWND owner) {
  return DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_IEPG_RESERVE), owner, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CIepgReserveDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return TRUE;
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam) ? TRUE : FALSE;
    case WM_PAINT:
      return OnPaint() ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
      // Returned directly, not through DWLP_MSGRESULT.
      return reinterpret_cast<INT_PTR>(m_icon);
  }
  return FALSE;
}

BOOL CIepgReserveDlg::OnInitDialog() {
  if (HMENU systemMenu = GetSystemMenu(m_hwnd, FALSE)) {
    const std::wstring about = LoadText(IDS_ABOUTBOX);
    if (!about.empty()) {
      AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
      AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
  }
  m_icon = LoadIconW(m_instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
  m_smallIcon.Reset(static_cast<HICON>(LoadImageW(m_instance, MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                  IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                  GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
  SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
  SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(m_smallIcon ? m_smallIcon.Get() : m_icon));

  if (!LoadChannelList(m_store, &m_tvSet)) {
    ShowError(IDS_NO_CHANNEL_INFO);
    EndDialog(m_hwnd, IDCANCEL);
    return TRUE;
  }
  for (std::size_t i = 0; i < m_ansiChannels.size(); ++i) {
    m_ansiChannels[i] = m_tvSet.channels[i];
    m_ansiChannels[i].szTVPIStnName = Utf8ToAnsi(m_tvSet.channels[i].szTVPIStnName);
  }

  const ScheduleLoad load = LoadSchedule(m_store, &m_scheSet);
  if (const int message = StartupScheduleMessage(load, m_scheSet)) {
    ShowError(message);
    EndDialog(m_hwnd, IDCANCEL);
    return TRUE;
  }

  m_sfType = kScheOnce;
  m_lCaptMode = 1;
  CheckRadioButton(m_hwnd, IDC_REPEAT_ONCE, IDC_REPEAT_DAILY, IDC_REPEAT_ONCE);
  CheckRadioButton(m_hwnd, IDC_CAPTURE_LONG, IDC_CAPTURE_CUSTOM, IDC_CAPTURE_STANDARD);
  m_parser.Reset();
  ParseFile();
  return TRUE;
}

bool CIepgReserveDlg::ParseFile() {
  CLineReader reader(kIepgLineBufferSize, ShowOverflowWarning);
  if (!reader.Open(OpenIepgFile(m_path))) return false;
  ParseIepgLines(reader, m_parser, [this] { RefreshDisplay(); });
  reader.Close();
  return true;
}

std::int32_t CIepgReserveDlg::MatchStation(const std::string& station) const {
  return FindChannel(station, m_ansiChannels.data(), m_ansiChannels.size(), m_tvSet.lTVChnCount,
                     IsAnsiLeadByte);
}

void CIepgReserveDlg::OnCommand(WORD id) {
  switch (id) {
    case IDC_REPEAT_ONCE:
      OnRepetition(kScheOnce);
      break;
    case IDC_REPEAT_WEEKLY:
      OnRepetition(kScheWeekly);
      break;
    case IDC_REPEAT_DAILY:
      OnRepetition(kScheDaily);
      break;
    case IDC_CAPTURE_LONG:
    case IDC_CAPTURE_STANDARD:
    case IDC_CAPTURE_HIGH:
    case IDC_CAPTURE_CUSTOM:
      m_lCaptMode = id - IDC_CAPTURE_LONG;
      break;
    case IDOK:
      OnOK();
      break;
    case IDCANCEL:
      EndDialog(m_hwnd, IDCANCEL);
      break;
  }
}

void CIepgReserveDlg::OnRepetition(std::int32_t sfType) {
  m_sfType = sfType;
  RefreshDisplay();
}

bool CIepgReserveDlg::OnSysCommand(WPARAM command) {
  if ((command & 0xFFF0) != IDM_ABOUTBOX) return false;
  CIepgAboutDlg about(m_instance);
  about.DoModal(m_hwnd);
  return true;
}

bool CIepgReserveDlg::OnPaint() {
  if (!IsIconic(m_hwnd)) return false;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hwnd, &ps);
  SendMessageW(m_hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(m_hwnd, &client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, m_icon);
  EndPaint(m_hwnd, &ps);
  return true;
}

void CIepgReserveDlg::OnOK() {
  const ScheItem item =
      MakePendingScheItem(m_parser.programme(), m_sfType, m_lCaptMode,
                          [](const std::string& ansi) { return AnsiToUtf8(ansi); });
  const HWND mainWindow = FindWindowW(kMainWindowClass, kMainWindowTitle);
  const ReserveOutcome outcome =
      ReserveScheItem(m_store, item, m_scheSet, LocalNow(), mainWindow != nullptr,
                      [mainWindow] { SendMessageW(mainWindow, WM_IEPG_RESERVE, 0, 0); });
  if (outcome.message != 0) ShowError(outcome.message);
  EndDialog(m_hwnd, IDOK);
}

void CIepgReserveDlg::RefreshDisplay() {
  const IepgProgramme& p = m_parser.programme();
  SetDlgItemTextW(m_hwnd, IDC_CHANNEL_NAME, FromAnsi(p.station).c_str());
  const std::wstring channel =
      p.channel == kNoChannel ? LoadText(IDS_NO_CHANNEL) : std::to_wstring(p.channel);
  SetDlgItemTextW(m_hwnd, IDC_CHANNEL_NUMBER, channel.c_str());
  SetDlgItemTextW(m_hwnd, IDC_PROGRAMME_TITLE, FromAnsi(p.title).c_str());

  const LocalTimeParts start = SplitLocalDateTime(p.startDateTime);
  const LocalTimeParts stop = SplitLocalDateTime(p.stopDateTime);
  const DateFieldTexts texts =
      DateFieldTextsFor(m_sfType, start.weekday, stop.weekday, p.overnight);
  const std::wstring startDate =
      texts.startStringId ? LoadText(texts.startStringId) : FormatDate(p.startDateTime);
  std::wstring stopDate =
      texts.stopStringId ? LoadText(texts.stopStringId) : FormatDate(p.stopDateTime);
  if (texts.lateNightSuffix) stopDate += L" " + LoadText(IDS_LATE_NIGHT);
  SetDlgItemTextW(m_hwnd, IDC_START_DATE, startDate.c_str());
  SetDlgItemTextW(m_hwnd, IDC_STOP_DATE, stopDate.c_str());
  SetDlgItemTextW(m_hwnd, IDC_START_TIME, FormatTime(p.startDateTime).c_str());
  SetDlgItemTextW(m_hwnd, IDC_STOP_TIME, FormatTime(p.stopDateTime).c_str());
}

std::wstring CIepgReserveDlg::FormatDate(DateTime value) const {
  const SYSTEMTIME st = ToSystemTime(value);
  wchar_t text[kTextBufferChars] = {};
  GetDateFormatW(LOCALE_SYSTEM_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, kTextBufferChars);
  return text;
}

std::wstring CIepgReserveDlg::FormatTime(DateTime value) const {
  const SYSTEMTIME st = ToSystemTime(value);
  wchar_t text[kTextBufferChars] = {};
  GetTimeFormatW(LOCALE_SYSTEM_DEFAULT, TIME_NOSECONDS | LOCALE_NOUSEROVERRIDE, &st, nullptr, text,
                 kTextBufferChars);
  return text;
}

std::wstring CIepgReserveDlg::LoadText(int id) const {
  wchar_t text[kStringBufferChars] = {};
  const int length = LoadStringW(m_instance, static_cast<UINT>(id), text, kStringBufferChars);
  return std::wstring(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

void CIepgReserveDlg::ShowError(int stringId) const {
  MessageBoxW(m_hwnd, LoadText(stringId).c_str(), LoadText(IDS_ERROR_CAPTION).c_str(),
              MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace brontel
