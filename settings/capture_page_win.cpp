#include "settings/capture_page_win.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>

#include "app/recording/disk_checks_win.h"
#include "app/recording/record_limits.h"
#include "app/recording/record_profiles.h"
#include "app/settings/app_settings.h"
#include "lang/resource_ids.h"
#include "settings/capture_page_rules.h"
#include "tv/board_client_win.h"
#include "win32/handles.h"
#include "win32/resource_module.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

constexpr UINT_PTR kTimerFolderCheck = 100;
constexpr UINT kFolderCheckMs = 500;

constexpr UINT kStringBrowseRecording = 185;
constexpr UINT kStringBrowseTimeShift = 186;
constexpr UINT kStringFirstRecordProfile = 214;
constexpr UINT kStringFirstTimeShiftProfile = 270;
constexpr UINT kStringSpaceBelowSizeLimit = 258;
constexpr UINT kStringSpaceBelowBuffer = 260;
constexpr UINT kStringFolderMissing = 278;
constexpr UINT kStringFolderReplaced = 279;
constexpr UINT kStringTimeBeyondSpace = 299;
constexpr UINT kStringSizeOverFree = 300;
constexpr UINT kStringTimeUnderMinute = 301;
constexpr UINT kStringBufferOverFree = 302;
constexpr UINT kCaptionNotice = 197;

constexpr char kFallbackFolder[] = "C:\\";

int LimitButton(std::int32_t kind) {
  switch (kind) {
    case recording::kLimitSize:
      return IDC_CP_LIMIT_SIZE;
    case recording::kLimitTime:
      return IDC_CP_LIMIT_TIME;
    default:
      return IDC_CP_LIMIT_NONE;
  }
}

std::string Number(std::int64_t value, const char* format = "%lld") {
  char text[32];
  std::snprintf(text, sizeof(text), format, static_cast<long long>(value));
  return text;
}

// Starts the folder browser at the stored folder.
int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data != 0) {
    SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
  }
  return 0;
}

void ResetCombo(HWND combo) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
}

void AddComboText(HWND combo, const std::wstring& text) {
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int ComboSelection(HWND combo) {
  return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

void SetSpin(HWND spin, std::int32_t highest, std::int32_t position) {
  SendMessageW(spin, UDM_SETRANGE32, 0, highest);
  SendMessageW(spin, UDM_SETPOS32, 0, position);
}

}  // namespace

CCaptSetPtyPage::CCaptSetPtyPage(CAppSettings& working, SettingsSheetHost& host)
    : SettingsPage(IDD_SET_CAPTURE, working, host) {}

void CCaptSetPtyPage::OnInitDialog() {
  CaptSetGroup& capt = Working().captSet;
  SetItemText(IDC_CP_REC_FOLDER, capt.szRecDestDir);
  SetItemText(IDC_CP_TS_FOLDER, capt.szTimeShiftDestDir);
  ShowLimitKind(capt.Rec_clt);
  CheckRadioButton(hwnd(), IDC_CP_SINGLE_FILE, IDC_CP_MULTIPLE_FILES,
                   capt.bMultiple ? IDC_CP_MULTIPLE_FILES : IDC_CP_SINGLE_FILE);

  // The preview choice is read before the profiles' values replace the
  // records, whose copies would otherwise clear it.
  SetChecked(IDC_CP_PREVIEW, PreviewTicked(capt.Rec_spc.dwcappreview));
  FillProfiles();

  capt.lRecSizeLimitMB = std::max(capt.lRecSizeLimitMB, 1);
  capt.lTSBufferSizeMB = std::max(capt.lTSBufferSizeMB, 1);
  SetItemText(IDC_CP_SIZE_LIMIT, Number(capt.lRecSizeLimitMB));
  SetItemText(IDC_CP_TS_SIZE, Number(capt.lTSBufferSizeMB));

  // The spins carry no buddy in the template; until the figures limit them
  // they take the longest time there is.
  SendDlgItemMessageW(hwnd(), IDC_CP_HOURS_SPIN, UDM_SETBUDDY,
                      reinterpret_cast<WPARAM>(Item(IDC_CP_HOURS)), 0);
  SendDlgItemMessageW(hwnd(), IDC_CP_MINUTES_SPIN, UDM_SETBUDDY,
                      reinterpret_cast<WPARAM>(Item(IDC_CP_MINUTES)), 0);
  const TimeSpins spins = TimeSpinsFor(kMaxRecordableSec, capt.lRecTimeLimitSec);
  SetSpin(Item(IDC_CP_HOURS_SPIN), spins.hoursMax, spins.hours);
  SetSpin(Item(IDC_CP_MINUTES_SPIN), spins.minutesMax, spins.minutes);
  EnableLimitControls();

  FillAudioDevices();

  SetTimer(hwnd(), kTimerFolderCheck, kFolderCheckMs, nullptr);
  ShowNtfsNotice();
  m_initialised = true;
  UpdateRecordFigures(true);
  UpdateTimeShiftFigures(true);
}

void CCaptSetPtyPage::ShowLimitKind(std::int32_t kind) {
  CheckRadioButton(hwnd(), IDC_CP_LIMIT_SIZE, IDC_CP_LIMIT_NONE, LimitButton(kind));
}

void CCaptSetPtyPage::EnableLimitControls() {
  const std::int32_t kind = ReadLimitFields().Rec_clt;
  const bool bySize = kind == recording::kLimitSize;
  const bool byTime = kind == recording::kLimitTime;
  EnableItem(IDC_CP_SIZE_LIMIT, bySize);
  for (int id : {IDC_CP_HOURS, IDC_CP_HOURS_SPIN, IDC_CP_MINUTES, IDC_CP_MINUTES_SPIN}) {
    EnableItem(id, byTime);
  }
  // Without a limit there is no new file to go on in.
  EnableItem(IDC_CP_SINGLE_FILE, kind != recording::kLimitNone);
  EnableItem(IDC_CP_MULTIPLE_FILES, kind != recording::kLimitNone);
}

CCaptSetPtyPage::LimitFields CCaptSetPtyPage::ReadLimitFields() const {
  LimitFields fields;
  if (IsChecked(IDC_CP_LIMIT_SIZE)) {
    fields.Rec_clt = recording::kLimitSize;
  } else if (IsChecked(IDC_CP_LIMIT_TIME)) {
    fields.Rec_clt = recording::kLimitTime;
  } else {
    fields.Rec_clt = recording::kLimitNone;
  }
  fields.bMultiple = IsChecked(IDC_CP_MULTIPLE_FILES) ? 1 : 0;
  fields.lRecSizeLimitMB = ParseMegabytes(ItemText(IDC_CP_SIZE_LIMIT));
  fields.lTSBufferSizeMB = ParseMegabytes(ItemText(IDC_CP_TS_SIZE));
  BOOL hoursRead = FALSE;
  BOOL minutesRead = FALSE;
  const UINT hours = GetDlgItemInt(hwnd(), IDC_CP_HOURS, &hoursRead, FALSE);
  const UINT minutes = GetDlgItemInt(hwnd(), IDC_CP_MINUTES, &minutesRead, FALSE);
  fields.lRecTimeLimitSec =
      SpinSeconds(hoursRead ? static_cast<std::int32_t>(std::min<UINT>(hours, kMaxLimitHours)) : 0,
                  minutesRead ? static_cast<std::int32_t>(std::min<UINT>(minutes, 59)) : 0);
  return fields;
}

void CCaptSetPtyPage::FillProfiles() {
  CaptSetGroup& capt = Working().captSet;
  const bool aviCapture = Working().appSet.bHasAVICapt != 0;
  HWND recCombo = Item(IDC_CP_REC_PROFILE);
  ResetCombo(recCombo);
  for (int i = 0; i < recording::kQuickProfileCount; ++i) {
    if (i == recording::kQuickProfileAvi && !aviCapture) continue;
    AddComboText(recCombo, LoadResString(kStringFirstRecordProfile + i));
  }
  const int recIndex = RecordProfileIndex(capt.iRecQuickProfile, aviCapture);
  SendMessageW(recCombo, CB_SETCURSEL, recIndex, 0);
  ApplyRecordProfile(recIndex);

  HWND tsCombo = Item(IDC_CP_TS_PROFILE);
  ResetCombo(tsCombo);
  for (int i = 0; i < recording::kTimeShiftProfileCount; ++i) {
    AddComboText(tsCombo, LoadResString(kStringFirstTimeShiftProfile + i));
  }
  const int tsIndex = TimeShiftProfileIndex(capt.iTSQuickProfile);
  SendMessageW(tsCombo, CB_SETCURSEL, tsIndex, 0);
  ApplyTimeShiftProfile(tsIndex);
}

std::uint32_t CCaptSetPtyPage::PreviewWord() const {
  return IsChecked(IDC_CP_PREVIEW) ? kPreviewOn : kPreviewOff;
}

void CCaptSetPtyPage::ApplyRecordProfile(int index) {
  CaptSetGroup& capt = Working().captSet;
  capt.iRecQuickProfile = index;
  capt.Rec_spc = ProfileRecordWithPreview(recording::QuickProfileRecord(index), PreviewWord());
}

void CCaptSetPtyPage::ApplyTimeShiftProfile(int index) {
  CaptSetGroup& capt = Working().captSet;
  capt.iTSQuickProfile = index;
  capt.TS_spc = ProfileRecordWithPreview(recording::TimeShiftProfileRecord(index), PreviewWord());
}

void CCaptSetPtyPage::FillAudioDevices() {
  CBoardClient* board = Host().Board();
  m_devices = board ? OfferedAudioDevices(board->AudioDevices()) : std::vector<std::string>();
  HWND combo = Item(IDC_CP_AUDIO_DEVICE);
  ResetCombo(combo);
  for (const std::string& name : m_devices) AddComboText(combo, Widen(name));
  const std::optional<std::size_t> pick = PickByName(m_devices, Working().captSet.szAudioDevice);
  if (pick) {
    SendMessageW(combo, CB_SETCURSEL, *pick, 0);
    Working().captSet.szAudioDevice = m_devices[*pick];
  }
  FillAudioInputs();
}

void CCaptSetPtyPage::FillAudioInputs() {
  CaptSetGroup& capt = Working().captSet;
  CBoardClient* board = Host().Board();
  const int device = ComboSelection(Item(IDC_CP_AUDIO_DEVICE));
  m_inputs.clear();
  if (board && device >= 0 && static_cast<std::size_t>(device) < m_devices.size()) {
    m_inputs = board->AudioInputs(m_devices[device]);
  }
  HWND combo = Item(IDC_CP_AUDIO_INPUT);
  ResetCombo(combo);
  for (const std::string& name : m_inputs) AddComboText(combo, Widen(name));
  const std::optional<std::size_t> pick = PickByName(m_inputs, capt.szAudioInputSrc);
  if (pick) {
    SendMessageW(combo, CB_SETCURSEL, *pick, 0);
    capt.szAudioInputSrc = m_inputs[*pick];
  }
}

void CCaptSetPtyPage::OnAudioDeviceChosen() {
  const int device = ComboSelection(Item(IDC_CP_AUDIO_DEVICE));
  if (device < 0 || static_cast<std::size_t>(device) >= m_devices.size()) return;
  Working().captSet.szAudioDevice = m_devices[device];
  FillAudioInputs();
}

void CCaptSetPtyPage::OnAudioInputChosen() {
  const int input = ComboSelection(Item(IDC_CP_AUDIO_INPUT));
  if (input < 0 || static_cast<std::size_t>(input) >= m_inputs.size()) return;
  Working().captSet.szAudioInputSrc = m_inputs[input];
}

void CCaptSetPtyPage::OnCommand(WORD id, WORD code, HWND) {
  if (!m_initialised) return;
  switch (id) {
    case IDC_CP_REC_BROWSE:
    case IDC_CP_TS_BROWSE:
      if (code == BN_CLICKED) Browse(id == IDC_CP_REC_BROWSE);
      break;
    case IDC_CP_LIMIT_SIZE:
    case IDC_CP_LIMIT_TIME:
    case IDC_CP_LIMIT_NONE:
      if (code == BN_CLICKED) {
        EnableLimitControls();
        UpdateRecordFigures(true);
      }
      break;
    case IDC_CP_PREVIEW:
      if (code == BN_CLICKED) {
        Working().captSet.Rec_spc.dwcappreview = PreviewWord();
        Working().captSet.TS_spc.dwcappreview = PreviewWord();
      }
      break;
    case IDC_CP_REC_PROFILE:
      if (code == CBN_SELCHANGE) {
        const int index = ComboSelection(Item(IDC_CP_REC_PROFILE));
        if (index >= 0) ApplyRecordProfile(index);
        UpdateRecordFigures(true);
      }
      break;
    case IDC_CP_TS_PROFILE:
      if (code == CBN_SELCHANGE) {
        const int index = ComboSelection(Item(IDC_CP_TS_PROFILE));
        if (index >= 0) ApplyTimeShiftProfile(index);
        UpdateTimeShiftFigures(true);
      }
      break;
    case IDC_CP_AUDIO_DEVICE:
      if (code == CBN_SELCHANGE) OnAudioDeviceChosen();
      break;
    case IDC_CP_AUDIO_INPUT:
      if (code == CBN_SELCHANGE) OnAudioInputChosen();
      break;
    // A typed limit counts once the field is left, so that a notice does
    // not interrupt the typing.
    case IDC_CP_SIZE_LIMIT:
    case IDC_CP_HOURS:
    case IDC_CP_MINUTES:
      if (code == EN_KILLFOCUS && TakeEdited(id)) UpdateRecordFigures(true);
      break;
    case IDC_CP_TS_SIZE:
      if (code == EN_KILLFOCUS && TakeEdited(id)) UpdateTimeShiftFigures(true);
      break;
    default:
      break;
  }
}

bool CCaptSetPtyPage::TakeEdited(int id) {
  // Only a field the user typed into counts, so that passing through it
  // does not raise its notice again.
  const bool edited = SendDlgItemMessageW(hwnd(), id, EM_GETMODIFY, 0, 0) != 0;
  SendDlgItemMessageW(hwnd(), id, EM_SETMODIFY, FALSE, 0);
  return edited;
}

void CCaptSetPtyPage::OnScroll(HWND control, WORD code) {
  if (!m_initialised || code == SB_ENDSCROLL) return;
  if (control == Item(IDC_CP_HOURS_SPIN) || control == Item(IDC_CP_MINUTES_SPIN)) {
    UpdateRecordFigures(true);
  }
}

void CCaptSetPtyPage::OnTimer(UINT_PTR id) {
  if (id == kTimerFolderCheck) CheckFoldersStillExist();
}

void CCaptSetPtyPage::OnDestroy() {
  KillTimer(hwnd(), kTimerFolderCheck);
}

void CCaptSetPtyPage::Notice(unsigned textId, unsigned captionId) {
  // The box runs its own message loop, in which the timer and the fields
  // would otherwise raise the same notice again.
  m_inNotice = true;
  ShowResMessage(Sheet(), textId, captionId, MB_OK | MB_ICONEXCLAMATION);
  m_inNotice = false;
}

void CCaptSetPtyPage::CheckFoldersStillExist() {
  if (m_inNotice) return;
  CaptSetGroup& capt = Working().captSet;
  bool replaced = false;
  if (!RecordFolderExists(capt.szRecDestDir)) {
    capt.szRecDestDir = kFallbackFolder;
    SetItemText(IDC_CP_REC_FOLDER, capt.szRecDestDir);
    ShowNtfsNotice();
    replaced = true;
  }
  if (!RecordFolderExists(capt.szTimeShiftDestDir)) {
    capt.szTimeShiftDestDir = kFallbackFolder;
    SetItemText(IDC_CP_TS_FOLDER, capt.szTimeShiftDestDir);
    replaced = true;
  }
  if (!replaced) return;
  Notice(kStringFolderReplaced, IDS_CAPTION);
  UpdateRecordFigures(false);
  UpdateTimeShiftFigures(false);
}

void CCaptSetPtyPage::Browse(bool forRecording) {
  CaptSetGroup& capt = Working().captSet;
  std::string& folder = forRecording ? capt.szRecDestDir : capt.szTimeShiftDestDir;
  const std::wstring start = Widen(RecordFolderExists(folder) ? folder : kFallbackFolder);
  const std::wstring title =
      LoadResString(forRecording ? kStringBrowseRecording : kStringBrowseTimeShift);

  BROWSEINFOW info{};
  info.hwndOwner = Sheet();
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = &BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  CoTaskMem<ITEMIDLIST> chosen(SHBrowseForFolderW(&info));
  if (!chosen) return;
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(chosen.Get(), path) || path[0] == L'\0') return;

  folder = Narrow(path);
  SetItemText(forRecording ? IDC_CP_REC_FOLDER : IDC_CP_TS_FOLDER, folder);
  if (forRecording) {
    ShowNtfsNotice();
    UpdateRecordFigures(true);
  }
  UpdateTimeShiftFigures(!forRecording);
}

void CCaptSetPtyPage::ShowNtfsNotice() {
  const bool ntfs = IsNtfsVolume(Working().captSet.szRecDestDir);
  ShowWindow(Item(IDC_CP_NTFS_NOTICE), ntfs ? SW_HIDE : SW_SHOW);
}

void CCaptSetPtyPage::UpdateRecordFigures(bool warn) {
  const CaptSetGroup& capt = Working().captSet;
  const LimitFields fields = ReadLimitFields();
  RecordFiguresInput input;
  input.freeMB = WholeMegabytes(GetFreeBytes(capt.szRecDestDir));
  input.Rec_clt = fields.Rec_clt;
  input.lRecSizeLimitMB = fields.lRecSizeLimitMB;
  input.lRecTimeLimitSec = fields.lRecTimeLimitSec;
  input.profile = capt.Rec_spc;
  const RecordFigures figures = RecordFiguresFor(input);
  SetItemText(IDC_CP_REC_FIGURES, Number(figures.usableMB));
  if (figures.spaceBelowSizeLimit) {
    if (warn && !m_inNotice) Notice(kStringSpaceBelowSizeLimit, kCaptionNotice);
    return;
  }
  SetSpin(Item(IDC_CP_HOURS_SPIN), figures.spins.hoursMax, figures.spins.hours);
  SetSpin(Item(IDC_CP_MINUTES_SPIN), figures.spins.minutesMax, figures.spins.minutes);
  if (figures.timeBeyondSpace && warn && !m_inNotice) {
    Notice(kStringTimeBeyondSpace, kCaptionNotice);
  }
}

void CCaptSetPtyPage::UpdateTimeShiftFigures(bool warn) {
  const CaptSetGroup& capt = Working().captSet;
  const TimeShiftFigures figures =
      TimeShiftFiguresFor(WholeMegabytes(GetFreeBytes(capt.szTimeShiftDestDir)),
                          ReadLimitFields().lTSBufferSizeMB, capt.TS_spc);
  SetItemText(IDC_CP_TS_FIGURES, Number(figures.usableMB));
  SetItemText(IDC_CP_TS_HOURS, Number(figures.hours));
  SetItemText(IDC_CP_TS_MINUTES, Number(figures.minutes, "%02lld"));
  SetItemText(IDC_CP_TS_SECONDS, Number(figures.secs, "%02lld"));
  if (figures.spaceBelowBuffer && warn && !m_inNotice) {
    Notice(kStringSpaceBelowBuffer, kCaptionNotice);
  }
}

bool CCaptSetPtyPage::OnKillActive() {
  if (!m_initialised) return true;
  CaptSetGroup& capt = Working().captSet;
  const LimitFields fields = ReadLimitFields();
  CapturePageCheckInput check;
  check.recFolderExists = RecordFolderExists(capt.szRecDestDir);
  check.tsFolderExists = RecordFolderExists(capt.szTimeShiftDestDir);
  check.recFreeBytes = GetFreeBytes(capt.szRecDestDir);
  check.tsFreeBytes = GetFreeBytes(capt.szTimeShiftDestDir);
  check.Rec_clt = fields.Rec_clt;
  check.lRecSizeLimitMB = fields.lRecSizeLimitMB;
  check.lRecTimeLimitSec = fields.lRecTimeLimitSec;
  check.lTSBufferSizeMB = fields.lTSBufferSizeMB;
  switch (CheckCapturePage(check)) {
    case CapturePageRefusal::kFolderMissing:
      Notice(kStringFolderMissing, IDS_CAPTION);
      return false;
    case CapturePageRefusal::kSizeOverFree:
      Notice(kStringSizeOverFree, IDS_CAPTION);
      return false;
    case CapturePageRefusal::kTimeUnderMinute:
      Notice(kStringTimeUnderMinute, IDS_CAPTION);
      return false;
    case CapturePageRefusal::kBufferOverFree:
      Notice(kStringBufferOverFree, IDS_CAPTION);
      return false;
    case CapturePageRefusal::kNone:
      break;
  }

  capt.lRecSizeLimitMB = fields.lRecSizeLimitMB;
  capt.lTSBufferSizeMB = fields.lTSBufferSizeMB;
  capt.lRecTimeLimitSec = fields.lRecTimeLimitSec;
  capt.Rec_clt = fields.Rec_clt;
  // The file-continuation choice is kept with the limit it belongs to.
  capt.bMultiple = fields.bMultiple;
  const int recIndex = ComboSelection(Item(IDC_CP_REC_PROFILE));
  if (recIndex >= 0) ApplyRecordProfile(recIndex);
  const int tsIndex = ComboSelection(Item(IDC_CP_TS_PROFILE));
  if (tsIndex >= 0) ApplyTimeShiftProfile(tsIndex);
  UpdateRecordFigures(false);
  UpdateTimeShiftFigures(false);
  return true;
}

}  // namespace brontel
