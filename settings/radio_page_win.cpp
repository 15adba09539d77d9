#include "settings/radio_page_win.h"

#include <string>

#include "app/settings/app_settings.h"
#include "lang/resource_ids.h"
#include "settings/page_controls_win.h"
#include "tv/board_client_win.h"
#include "win32/resource_module.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

// Timers of the page window.
constexpr UINT_PTR kTimerScan = 100;
constexpr UINT_PTR kTimerSeek = 200;
constexpr UINT kStepPeriodMs = 500;
// The tuner needs a moment at a new frequency before its lock means anything.
constexpr DWORD kSettleMs = 100;

constexpr UINT kStringScanIdle = 193;
constexpr UINT kStringScanRunning = 194;
constexpr UINT kStringTooManyStations = 196;
constexpr UINT kStringNoticeCaption = 197;
constexpr UINT kStringStationName = 198;
constexpr UINT kStringScanRefused = 284;
// The number column shares its title with the scheduler page's list.
constexpr UINT kStringColumnNumber = 330;
constexpr UINT kStringColumnFrequency = 327;
constexpr UINT kStringColumnName = 328;

// Controls that tune by hand, idle while a scan runs.
constexpr int kTuningControls[] = {IDC_RD_FREQUENCY, IDC_RD_SEEK_UP, IDC_RD_SEEK_DOWN, IDC_RD_TUNE,
                                   IDC_RD_ADD};

// A new row's name: "Channel 3" for its number 3.
std::string NewStationName(int number) {
  return StationName(Narrow(LoadResString(kStringStationName)), number);
}

}  // namespace

CRDSetPtyPage::CRDSetPtyPage(CAppSettings& working, SettingsSheetHost& host)
    : SettingsPage(IDD_SET_RADIO, working, host) {}

void CRDSetPtyPage::OnInitDialog() {
  m_band = RadioBandFor(Working().appSet.lCountryCode);
  InitReportList(hwnd(), Item(IDC_RD_LIST),
                 {{LoadResString(kStringColumnNumber), 40},
                  {LoadResString(kStringColumnFrequency), 80},
                  {LoadResString(kStringColumnName), 130}});
  m_rows = StationRowsOf(Working().rdSet);
  FillList();
  SendMessageW(Item(IDC_RD_PROGRESS), PBM_SETRANGE32, 0, RadioProgressSteps(m_band));
  SendMessageW(Item(IDC_RD_PROGRESS), PBM_SETPOS, 0, 0);
  m_hertz = m_band.lowerHz;
  ShowFrequency(m_hertz);
  SetDlgItemTextW(hwnd(), IDC_RD_SCAN, LoadResString(kStringScanIdle).c_str());
}

void CRDSetPtyPage::FillList() {
  SendMessageW(Item(IDC_RD_LIST), LVM_DELETEALLITEMS, 0, 0);
  const std::vector<StationRow> rows = m_rows;
  m_rows.clear();
  for (const StationRow& row : rows) AddRow(row);
}

void CRDSetPtyPage::AddRow(const StationRow& row) {
  m_rows.push_back(row);
  AppendListRow(Item(IDC_RD_LIST),
                {std::to_string(row.number), FormatMegahertz(row.hertz), row.name});
}

void CRDSetPtyPage::Tune(std::int32_t hertz) {
  CBoardClient* board = Host().Board();
  if (board == nullptr) return;
  board->SetFrequency(hertz);
  m_tuned = true;
}

bool CRDSetPtyPage::HasSignal() {
  CBoardClient* board = Host().Board();
  return board != nullptr && board->HasSignal();
}

void CRDSetPtyPage::ShowFrequency(std::int32_t hertz) {
  SetItemText(IDC_RD_FREQUENCY, FormatMegahertz(hertz));
}

void CRDSetPtyPage::EnableTuning(bool enable) {
  for (int id : kTuningControls) EnableItem(id, enable);
}

void CRDSetPtyPage::OnCommand(WORD id, WORD code, HWND) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_RD_SCAN:
      if (m_scan) {
        StopScan();
      } else {
        StartScan();
      }
      break;
    case IDC_RD_SEEK_DOWN:
    case IDC_RD_SEEK_UP:
      if (m_seeking) {
        StopSeek();
      } else {
        StartSeek(id == IDC_RD_SEEK_UP);
      }
      break;
    case IDC_RD_TUNE:
    case IDC_RD_ADD:
      if (const std::optional<std::int32_t> hertz = TypedHertz()) {
        m_hertz = *hertz;
        Tune(m_hertz);
        ShowFrequency(m_hertz);
        if (id == IDC_RD_ADD) {
          const int number = static_cast<int>(m_rows.size()) + 1;
          AddRow(StationRow{number, m_hertz, NewStationName(number)});
        }
      }
      break;
    default:
      break;
  }
}

std::optional<std::int32_t> CRDSetPtyPage::TypedHertz() {
  const TypedFrequency typed =
      ParseTypedFrequency(ItemText(IDC_RD_FREQUENCY), Working().appSet.lCountryCode);
  if (typed.errorStringId != 0) {
    ShowResMessage(Sheet(), static_cast<UINT>(typed.errorStringId), IDS_CAPTION,
                   MB_OK | MB_ICONEXCLAMATION);
    return std::nullopt;
  }
  return typed.hertz;
}

void CRDSetPtyPage::StartScan() {
  // A scan replaces the station list, and a radio schedule entry names its
  // station by its place in that list.
  if (HasRadioScheduleEntry(Working().scheSet)) {
    ShowResMessage(Sheet(), kStringScanRefused, IDS_CAPTION, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (m_seeking) StopSeek();
  m_scan.emplace(m_band);
  m_rows.clear();
  SendMessageW(Item(IDC_RD_LIST), LVM_DELETEALLITEMS, 0, 0);
  SendMessageW(Item(IDC_RD_PROGRESS), PBM_SETPOS, 0, 0);
  m_hertz = m_band.lowerHz;
  SetDlgItemTextW(hwnd(), IDC_RD_SCAN, LoadResString(kStringScanRunning).c_str());
  EnableTuning(false);
  SetTimer(hwnd(), kTimerScan, kStepPeriodMs, nullptr);
}

void CRDSetPtyPage::ScanTick() {
  if (!m_scan || m_scan->Done()) {
    StopScan();
    return;
  }
  m_hertz = m_scan->Frequency();
  Tune(m_hertz);
  SetItemText(IDC_RD_SCAN_FREQUENCY, FormatMegahertz(m_hertz));
  Sleep(kSettleMs);
  SendMessageW(Item(IDC_RD_PROGRESS), PBM_DELTAPOS, 1, 0);
  if (const int number = m_scan->Advance(HasSignal())) {
    AddRow(StationRow{number, m_hertz, NewStationName(number)});
  }
  if (m_scan->Done()) StopScan();
}

void CRDSetPtyPage::StopScan() {
  KillTimer(hwnd(), kTimerScan);
  m_scan.reset();
  SendMessageW(Item(IDC_RD_PROGRESS), PBM_SETPOS, 0, 0);
  SetDlgItemTextW(hwnd(), IDC_RD_SCAN, LoadResString(kStringScanIdle).c_str());
  SetItemText(IDC_RD_SCAN_FREQUENCY, std::string());
  EnableTuning(true);
}

void CRDSetPtyPage::StartSeek(bool up) {
  const std::optional<std::int32_t> next = SeekStep(m_hertz, up, m_band);
  if (!next) return;
  m_hertz = *next;
  m_seekUp = up;
  m_seeking = true;
  SetTimer(hwnd(), kTimerSeek, kStepPeriodMs, nullptr);
}

void CRDSetPtyPage::SeekTick() {
  Tune(m_hertz);
  ShowFrequency(m_hertz);
  EnableItem(IDC_RD_SCAN, false);
  if (HasSignal()) {
    StopSeek();
    return;
  }
  const std::optional<std::int32_t> next = SeekStep(m_hertz, m_seekUp, m_band);
  if (!next) {
    StopSeek();
    return;
  }
  m_hertz = *next;
}

void CRDSetPtyPage::StopSeek() {
  KillTimer(hwnd(), kTimerSeek);
  m_seeking = false;
  EnableItem(IDC_RD_SCAN, true);
  ShowFrequency(m_hertz);
}

void CRDSetPtyPage::OnTimer(UINT_PTR id) {
  if (id == kTimerScan) ScanTick();
  if (id == kTimerSeek) SeekTick();
}

LRESULT CRDSetPtyPage::OnNotify(NMHDR* header) {
  if (header->idFrom != IDC_RD_LIST || header->code != LVN_ITEMCHANGED) return 0;
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
  const bool selected =
      (change->uNewState & LVIS_SELECTED) != 0 && (change->uOldState & LVIS_SELECTED) == 0;
  if (!selected || m_scan || m_seeking) return 0;
  if (change->iItem < 0 || static_cast<size_t>(change->iItem) >= m_rows.size()) return 0;
  m_hertz = m_rows[static_cast<size_t>(change->iItem)].hertz;
  Tune(m_hertz);
  ShowFrequency(m_hertz);
  return 0;
}

bool CRDSetPtyPage::OnKillActive() {
  // Timers of a hidden page would go on tuning behind the user's back.
  if (m_scan) StopScan();
  if (m_seeking) StopSeek();
  if (StationRowsOverflow(m_rows.size()) &&
      ShowResMessage(Sheet(), kStringTooManyStations, kStringNoticeCaption,
                     MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
    return false;
  }
  StoreStationRows(m_rows, &Working().rdSet);
  return true;
}

void CRDSetPtyPage::OnReset() {
  if (m_scan) StopScan();
  if (m_seeking) StopSeek();
  // Cancel: back to the station that stays current.
  if (m_tuned) {
    if (CBoardClient* board = Host().Board()) board->TuneCurrentEntry();
  }
}

void CRDSetPtyPage::OnDestroy() {
  KillTimer(hwnd(), kTimerScan);
  KillTimer(hwnd(), kTimerSeek);
}

}  // namespace brontel
