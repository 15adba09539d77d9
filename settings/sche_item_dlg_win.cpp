#include "settings/sche_item_dlg_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/scheduler/schedule_validation.h"
#include "lang/resource_ids.h"
#include "settings/schedule_table.h"
#include "win32/resource_module.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

constexpr int kRepeatKinds = 3;
constexpr int kWeekdays = 7;
constexpr std::int32_t kCaptureModes = 4;
constexpr int kMaxSplitHours = 99;
constexpr int kMaxSplitMinutes = 59;

const struct {
  int id;
  std::int32_t source;
} kSourceButtons[] = {
    {IDC_SE_TV, kSourceTv},
    {IDC_SE_RADIO, kSourceRadio},
    {IDC_SE_VIDEO1, kSourceVideo},
    {IDC_SE_VIDEO2, kSourceSVideo},
};

DateTime FromSystemTime(const SYSTEMTIME& time) {
  return MakeLocalDateTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute);
}

DateTime PickerValue(HWND picker) {
  SYSTEMTIME time{};
  if (DateTime_GetSystemtime(picker, &time) != GDT_VALID) GetLocalTime(&time);
  return FromSystemTime(time);
}

void AddComboText(HWND combo, const std::wstring& text) {
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int ComboSelection(HWND combo) {
  return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

std::wstring WindowTextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], length + 1)));
  return text;
}

}  // namespace

SYSTEMTIME ToSystemTime(DateTime value) {
  const LocalTimeParts parts = SplitLocalDateTime(value);
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(parts.year);
  time.wMonth = static_cast<WORD>(parts.month);
  time.wDay = static_cast<WORD>(parts.day);
  time.wDayOfWeek = static_cast<WORD>(parts.weekday);
  time.wHour = static_cast<WORD>(parts.hour);
  time.wMinute = static_cast<WORD>(parts.minute);
  return time;
}

DateTime LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return MakeLocalDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

CScheItemDlg::CScheItemDlg(const ScheItemRequest& request, const CAppSettings& working)
    : m_request(request), m_working(working) {}

bool CScheItemDlg::Run(HWND owner) {
  return DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(IDD_SCHE_ITEM), owner,
                         &DialogBase::DialogProc, reinterpret_cast<LPARAM>(this)) == IDOK;
}

INT_PTR CScheItemDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

void CScheItemDlg::OnInitDialog() {
  const bool editing = m_request.index != kScheNewEntry;
  SetWindowTextW(m_hwnd, LoadResString(editing ? kCaptionScheEdit : kCaptionScheAdd).c_str());

  EnableWindow(GetDlgItem(m_hwnd, IDC_SE_TV),
               !ChannelChoices(kSourceTv, m_working.tvSet, m_working.rdSet).empty());
  EnableWindow(GetDlgItem(m_hwnd, IDC_SE_RADIO),
               !ChannelChoices(kSourceRadio, m_working.tvSet, m_working.rdSet).empty());
  ChooseSource(m_request.source, m_request.channel);

  SetDlgItemTextW(m_hwnd, IDC_SE_DESCRIPTION, Widen(m_request.description).c_str());

  HWND repeat = GetDlgItem(m_hwnd, IDC_SE_REPEAT);
  for (int i = 0; i < kRepeatKinds; ++i) AddComboText(repeat, LoadResString(kTextRepeatFirst + i));
  SendMessageW(repeat, CB_SETCURSEL, static_cast<WPARAM>(m_request.repetition), 0);
  for (int id : {IDC_SE_START_WEEKDAY, IDC_SE_STOP_WEEKDAY}) {
    HWND combo = GetDlgItem(m_hwnd, id);
    for (int i = 0; i < kWeekdays; ++i) AddComboText(combo, LoadResString(kTextWeekdayFirst + i));
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(m_request.weekday), 0);
  }
  CheckDlgButton(m_hwnd, IDC_SE_OVERNIGHT, m_request.overnight ? BST_CHECKED : BST_UNCHECKED);

  const struct {
    int id;
    DateTime value;
  } pickers[] = {{IDC_SE_START_DATE, m_request.startDate},
                 {IDC_SE_START_TIME, m_request.startTime},
                 {IDC_SE_STOP_DATE, m_request.stopDate},
                 {IDC_SE_STOP_TIME, m_request.stopTime}};
  for (const auto& picker : pickers) {
    SYSTEMTIME time = ToSystemTime(picker.value);
    DateTime_SetSystemtime(GetDlgItem(m_hwnd, picker.id), GDT_VALID, &time);
  }
  // Hours and minutes only: an entry keeps no seconds.
  for (int id : {IDC_SE_START_TIME, IDC_SE_STOP_TIME}) {
    DateTime_SetFormat(GetDlgItem(m_hwnd, id), L"HH':'mm");
  }

  HWND quality = GetDlgItem(m_hwnd, IDC_SE_QUALITY);
  for (std::int32_t mode = 0; mode < kCaptureModes; ++mode) {
    AddComboText(quality, LoadResString(static_cast<UINT>(CaptureModeTextId(mode))));
  }
  SendMessageW(quality, CB_SETCURSEL, static_cast<WPARAM>(m_request.captureMode), 0);

  CheckRadioButton(m_hwnd, IDC_SE_SPLIT_OFF, IDC_SE_SPLIT_ON,
                   m_request.multiple ? IDC_SE_SPLIT_ON : IDC_SE_SPLIT_OFF);
  CheckRadioButton(m_hwnd, IDC_SE_SPLIT_SIZE, IDC_SE_SPLIT_TIME,
                   m_request.splitKind == kSplitBySize ? IDC_SE_SPLIT_SIZE : IDC_SE_SPLIT_TIME);
  SetDlgItemInt(m_hwnd, IDC_SE_SIZE_LIMIT, static_cast<UINT>(m_request.sizeLimitMB), FALSE);
  SendDlgItemMessageW(m_hwnd, IDC_SE_HOURS_SPIN, UDM_SETBUDDY,
                      reinterpret_cast<WPARAM>(GetDlgItem(m_hwnd, IDC_SE_HOURS)), 0);
  SendDlgItemMessageW(m_hwnd, IDC_SE_MINUTES_SPIN, UDM_SETBUDDY,
                      reinterpret_cast<WPARAM>(GetDlgItem(m_hwnd, IDC_SE_MINUTES)), 0);
  SendDlgItemMessageW(m_hwnd, IDC_SE_HOURS_SPIN, UDM_SETRANGE32, 0, kMaxSplitHours);
  SendDlgItemMessageW(m_hwnd, IDC_SE_MINUTES_SPIN, UDM_SETRANGE32, 0, kMaxSplitMinutes);
  const std::int32_t seconds = m_request.timeLimitSec > 0 ? m_request.timeLimitSec : 0;
  SendDlgItemMessageW(m_hwnd, IDC_SE_HOURS_SPIN, UDM_SETPOS32, 0,
                      std::min(seconds / 3600, kMaxSplitHours));
  SendDlgItemMessageW(m_hwnd, IDC_SE_MINUTES_SPIN, UDM_SETPOS32, 0, seconds % 3600 / 60);

  ShowRepetition();
  ShowSplit();
}

void CScheItemDlg::ChooseSource(std::int32_t source, std::int32_t channel) {
  int button = IDC_SE_VIDEO1;
  for (const auto& entry : kSourceButtons) {
    if (entry.source == source) button = entry.id;
  }
  CheckRadioButton(m_hwnd, IDC_SE_TV, IDC_SE_VIDEO2, button);

  HWND combo = GetDlgItem(m_hwnd, IDC_SE_CHANNEL);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  const std::vector<std::int32_t> numbers =
      ChannelChoices(source, m_working.tvSet, m_working.rdSet);
  int selected = 0;
  for (size_t i = 0; i < numbers.size(); ++i) {
    AddComboText(combo, std::to_wstring(numbers[i]));
    if (numbers[i] == channel) selected = static_cast<int>(i);
  }
  if (!numbers.empty()) SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  EnableWindow(combo, !numbers.empty());
}

std::int32_t CScheItemDlg::ChosenSource() const {
  for (const auto& entry : kSourceButtons) {
    if (IsDlgButtonChecked(m_hwnd, entry.id) == BST_CHECKED) return entry.source;
  }
  return kSourceVideo;
}

void CScheItemDlg::ShowRepetition() {
  const int kind = ComboSelection(GetDlgItem(m_hwnd, IDC_SE_REPEAT));
  const bool weekly = kind == kScheWeekly;
  for (int id : {IDC_SE_START_DATE, IDC_SE_STOP_DATE}) {
    ShowWindow(GetDlgItem(m_hwnd, id), weekly ? SW_HIDE : SW_SHOW);
    EnableWindow(GetDlgItem(m_hwnd, id), kind == kScheOnce);
  }
  for (int id : {IDC_SE_START_WEEKDAY, IDC_SE_STOP_WEEKDAY}) {
    ShowWindow(GetDlgItem(m_hwnd, id), weekly ? SW_SHOW : SW_HIDE);
  }
  EnableWindow(GetDlgItem(m_hwnd, IDC_SE_OVERNIGHT), kind == kScheWeekly || kind == kScheDaily);
}

void CScheItemDlg::ShowSplit() {
  const bool on = IsDlgButtonChecked(m_hwnd, IDC_SE_SPLIT_ON) == BST_CHECKED;
  const bool bySize = IsDlgButtonChecked(m_hwnd, IDC_SE_SPLIT_SIZE) == BST_CHECKED;
  EnableWindow(GetDlgItem(m_hwnd, IDC_SE_SPLIT_SIZE), on);
  EnableWindow(GetDlgItem(m_hwnd, IDC_SE_SPLIT_TIME), on);
  EnableWindow(GetDlgItem(m_hwnd, IDC_SE_SIZE_LIMIT), on && bySize);
  for (int id : {IDC_SE_HOURS, IDC_SE_HOURS_SPIN, IDC_SE_MINUTES, IDC_SE_MINUTES_SPIN}) {
    EnableWindow(GetDlgItem(m_hwnd, id), on && !bySize);
  }
}

void CScheItemDlg::OnCommand(WORD id, WORD code) {
  switch (id) {
    case IDOK:
      OnOK();
      return;
    case IDCANCEL:
      EndDialog(m_hwnd, IDCANCEL);
      return;
    case IDC_SE_TV:
    case IDC_SE_RADIO:
    case IDC_SE_VIDEO1:
    case IDC_SE_VIDEO2:
      if (code == BN_CLICKED) ChooseSource(ChosenSource(), 0);
      return;
    case IDC_SE_REPEAT:
      if (code == CBN_SELCHANGE) ShowRepetition();
      return;
    case IDC_SE_START_WEEKDAY:
    case IDC_SE_STOP_WEEKDAY:
      // One weekday for both: an entry starts and stops on the same one.
      if (code == CBN_SELCHANGE) {
        const int other = id == IDC_SE_START_WEEKDAY ? IDC_SE_STOP_WEEKDAY : IDC_SE_START_WEEKDAY;
        SendDlgItemMessageW(m_hwnd, other, CB_SETCURSEL,
                            static_cast<WPARAM>(ComboSelection(GetDlgItem(m_hwnd, id))), 0);
      }
      return;
    case IDC_SE_SPLIT_OFF:
    case IDC_SE_SPLIT_ON:
    case IDC_SE_SPLIT_SIZE:
    case IDC_SE_SPLIT_TIME:
      if (code == BN_CLICKED) ShowSplit();
      return;
    default:
      return;
  }
}

ScheItemRequest CScheItemDlg::Gather() const {
  ScheItemRequest request = m_request;
  request.source = ChosenSource();
  if (request.source == kSourceTv || request.source == kSourceRadio) {
    HWND combo = GetDlgItem(m_hwnd, IDC_SE_CHANNEL);
    const std::string text = Narrow(WindowTextOf(combo));
    request.channel =
        ComboSelection(combo) < 0 || text.empty() ? kScheChannelNone : ParseLong(text);
  } else {
    request.channel = kVideoInputChannel;
  }
  request.description = Narrow(WindowTextOf(GetDlgItem(m_hwnd, IDC_SE_DESCRIPTION)));
  const int kind = ComboSelection(GetDlgItem(m_hwnd, IDC_SE_REPEAT));
  request.repetition = kind < 0 ? kScheOnce : kind;
  const int weekday = ComboSelection(GetDlgItem(m_hwnd, IDC_SE_START_WEEKDAY));
  request.weekday = weekday < 0 ? 0 : weekday;
  request.startDate = PickerValue(GetDlgItem(m_hwnd, IDC_SE_START_DATE));
  request.startTime = PickerValue(GetDlgItem(m_hwnd, IDC_SE_START_TIME));
  request.stopDate = PickerValue(GetDlgItem(m_hwnd, IDC_SE_STOP_DATE));
  request.stopTime = PickerValue(GetDlgItem(m_hwnd, IDC_SE_STOP_TIME));
  request.overnight = IsDlgButtonChecked(m_hwnd, IDC_SE_OVERNIGHT) == BST_CHECKED;
  const int mode = ComboSelection(GetDlgItem(m_hwnd, IDC_SE_QUALITY));
  request.captureMode = mode < 0 ? 1 : mode;
  request.multiple = IsDlgButtonChecked(m_hwnd, IDC_SE_SPLIT_ON) == BST_CHECKED;
  request.splitKind =
      IsDlgButtonChecked(m_hwnd, IDC_SE_SPLIT_SIZE) == BST_CHECKED ? kSplitBySize : kSplitByTime;
  request.sizeLimitMB =
      ParseSizeLimitText(Narrow(WindowTextOf(GetDlgItem(m_hwnd, IDC_SE_SIZE_LIMIT))));
  const auto spin = [&](int id) {
    return static_cast<std::int32_t>(SendDlgItemMessageW(m_hwnd, id, UDM_GETPOS32, 0, 0));
  };
  request.timeLimitSec = SplitSeconds(spin(IDC_SE_HOURS_SPIN), spin(IDC_SE_MINUTES_SPIN));
  return request;
}

void CScheItemDlg::OnOK() {
  const ScheItemRequest request = Gather();
  const DateTime now = LocalNow();
  const ScheItem item = ScheItemFromRequest(request, now);
  const int message = ValidateScheItem(item, now, m_working.scheSet, request.index);
  if (message != 0) {
    // The editor stays open, so that the entry can be put right.
    ShowResMessage(m_hwnd, static_cast<UINT>(message),
                   static_cast<UINT>(ValidationCaption(request.index)), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (StartsWithinNotice(item, now)) {
    ShowResMessage(m_hwnd, kMsgScheStartsSoon, kCaptionNotice, MB_OK);
  }
  m_item = item;
  EndDialog(m_hwnd, IDOK);
}

}  // namespace brontel
