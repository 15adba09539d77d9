#include "settings/tv_page_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "app/settings/app_settings.h"
#include "lang/resource_ids.h"
#include "settings/fine_tune.h"
#include "settings/fine_tune_dlg_win.h"
#include "tv/board_client_win.h"
#include "tv/channel_files_win.h"
#include "tv/channel_lists.h"
#include "win32/resource_module.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

constexpr UINT kIdsScanIdle = 193;
constexpr UINT kIdsScanRunning = 194;
constexpr UINT kIdsNoticeCaption = 197;
constexpr UINT kIdsScannedName = 198;
constexpr UINT kIdsNoStation = 203;
constexpr UINT kIdsOutsideTable = 205;
constexpr UINT kIdsAddedName = 206;
constexpr UINT kIdsAlreadyListed = 207;
constexpr UINT kIdsChannelScheduled = 212;
constexpr UINT kIdsSourceChangeEmpties = 283;
constexpr UINT kIdsScanRefused = 284;

constexpr std::int32_t kSapModes[] = {4, 8, 16};
constexpr int kSapButtons[] = {IDC_TV_SAP_A, IDC_TV_SAP_B, IDC_TV_SAP_AB};

enum Column { kColumnNumber, kColumnFrequency, kColumnName, kColumnGuideName, kColumnCount };

constexpr UINT_PTR kListSubclass = 1;
constexpr UINT kMsgDestroyEditor = WM_APP + 1;
constexpr UINT_PTR kEditorSubclass = 2;

std::string LoadString8(UINT id) {
  return Narrow(LoadResString(id));
}

}  // namespace

CTVSetPtyPage::CTVSetPtyPage(CAppSettings& working, SettingsSheetHost& host)
    : SettingsPage(IDD_SET_TV, working, host) {}

HWND CTVSetPtyPage::List() const {
  return Item(IDC_TV_LIST);
}

std::int32_t CTVSetPtyPage::Table() {
  return Working().tvSet.lTunerSrc == 1 ? 1 : 0;
}

// ---- set-up ------------------------------------------------------------------

void CTVSetPtyPage::OnInitDialog() {
  CAppSettings& working = Working();
  m_tablesLoaded =
      ChannelFiles::InWindowsDirectory(working.appSet.lCountryCode).LoadFreqTables(&m_tables);
  SetupList();
  FillList(RowsFromChannels(working.tvSet, m_tables, Table()));
  FillRegion();
  SetChecked(IDC_TV_ANTENNA, Table() == 0);
  SetChecked(IDC_TV_CABLE, Table() == 1);
  for (size_t i = 0; i < 3; ++i) {
    SetChecked(kSapButtons[i], working.tvSet.amPrefSAPMode == kSapModes[i]);
  }
  ReadLimits();
  SetItemText(IDC_TV_SCAN, LoadString8(kIdsScanIdle));
  SetWindowSubclass(List(), &CTVSetPtyPage::ListProc, kListSubclass,
                    reinterpret_cast<DWORD_PTR>(this));
}

void CTVSetPtyPage::ReadLimits() {
  const FreqTable* table = m_tables.Table(Table());
  m_lowest = table ? table->minChn : 0;
  m_highest = table ? table->maxChn : 0;
  m_current = m_lowest;
  SendMessageW(Item(IDC_TV_PROGRESS), PBM_SETRANGE32, 0, std::max(0, m_highest - m_lowest));
  SendMessageW(Item(IDC_TV_PROGRESS), PBM_SETPOS, 0, 0);
  ShowCurrent();
}

void CTVSetPtyPage::ShowCurrent() {
  SetItemText(IDC_TV_CHANNEL, std::to_string(m_current));
}

void CTVSetPtyPage::SetupList() {
  HWND list = List();
  ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  AddListColumns(list, IDS_TV_COLUMN_CHANNEL, kColumnCount, IDS_TV_COLUMN_WIDTHS);
}

void CTVSetPtyPage::FillRegion() {
  const ChannelFiles files = ChannelFiles::InWindowsDirectory(Working().appSet.lCountryCode);
  HWND states = Item(IDC_TV_STATE);
  HWND cities = Item(IDC_TV_CITY);
  SendMessageW(states, CB_RESETCONTENT, 0, 0);
  SendMessageW(cities, CB_RESETCONTENT, 0, 0);
  for (const std::string& name : files.LoadRegionStates()) {
    SendMessageW(states, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
  }
  SendMessageW(states, CB_SETCURSEL, Working().tvSet.lPrefCode, 0);
  if (SendMessageW(states, CB_GETCOUNT, 0, 0) > 0) {
    for (const std::string& name : files.LoadRegionCities(Working().tvSet.lPrefCode)) {
      SendMessageW(cities, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
    }
    SendMessageW(cities, CB_SETCURSEL, Working().tvSet.lAreaCode, 0);
  }
  LoadGuideNames();
}

void CTVSetPtyPage::LoadGuideNames() {
  m_guideNames = ChannelFiles::InWindowsDirectory(Working().appSet.lCountryCode)
                     .LoadRegionStations(Working().tvSet.lPrefCode, Working().tvSet.lAreaCode,
                                         LoadString8(kIdsNoStation));
}

// ---- the list ----------------------------------------------------------------

int CTVSetPtyPage::RowCount() const {
  return ListView_GetItemCount(List());
}

ChannelRow CTVSetPtyPage::Row(int index) const {
  auto cell = [&](int column) {
    wchar_t text[512] = {};
    ListView_GetItemText(List(), index, column, text, 512);
    return Narrow(text);
  };
  ChannelRow row;
  row.number = ParseChannelNumber(cell(kColumnNumber));
  row.frequency = cell(kColumnFrequency);
  row.name = cell(kColumnName);
  row.guideName = cell(kColumnGuideName);
  return row;
}

std::vector<ChannelRow> CTVSetPtyPage::Rows() const {
  std::vector<ChannelRow> rows;
  const int count = RowCount();
  for (int i = 0; i < count; ++i) rows.push_back(Row(i));
  return rows;
}

void CTVSetPtyPage::SetCell(int index, int column, const std::string& text) {
  std::wstring wide = Widen(text);
  ListView_SetItemText(List(), index, column, &wide[0]);
}

void CTVSetPtyPage::InsertRow(int index, const ChannelRow& row) {
  std::wstring number = Widen(ChannelNumberText(row.number));
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = &number[0];
  const int at = ListView_InsertItem(List(), &item);
  if (at < 0) return;
  SetCell(at, kColumnFrequency, row.frequency);
  SetCell(at, kColumnName, row.name);
  SetCell(at, kColumnGuideName, row.guideName);
}

void CTVSetPtyPage::FillList(const std::vector<ChannelRow>& rows) {
  m_filling = true;
  ListView_DeleteAllItems(List());
  for (size_t i = 0; i < rows.size(); ++i) InsertRow(static_cast<int>(i), rows[i]);
  m_filling = false;
}

void CTVSetPtyPage::Rebuild() {
  WriteBackChannelRows(Rows(), m_tables, Table(), &Working().tvSet, &Working().scheSet);
}

// ---- the board -----------------------------------------------------------------

void CTVSetPtyPage::TuneHertz(std::int32_t hertz) {
  if (CBoardClient* board = Host().Board()) {
    board->SetFrequency(hertz);
    m_tunedLive = true;
  }
}

void CTVSetPtyPage::TuneWithoutOffset(std::int32_t channel) {
  if (WithinTable(m_tables, Table(), channel)) {
    TuneHertz(ChannelFrequency(m_tables, Table(), channel));
  }
}

void CTVSetPtyPage::TuneWithOffset(std::int32_t channel) {
  const ChannelLists lists(Working());
  if (const std::optional<std::int32_t> hertz =
          TuneChannelHertz(m_tables, lists, Table(), channel)) {
    TuneHertz(*hertz);
  }
}

bool CTVSetPtyPage::Signal() {
  CBoardClient* board = Host().Board();
  return board != nullptr && board->HasSignal();
}

// ---- commands ------------------------------------------------------------------

void CTVSetPtyPage::OnCommand(WORD id, WORD code, HWND control) {
  if (control != nullptr && control == m_editor) {
    if (code == EN_KILLFOCUS || code == CBN_KILLFOCUS || code == CBN_SELENDOK) EndEdit(true);
    return;
  }
  switch (id) {
    case IDC_TV_ANTENNA:
    case IDC_TV_CABLE:
      if (code == BN_CLICKED) OnTunerSource(id == IDC_TV_CABLE ? 1 : 0);
      break;
    case IDC_TV_SAP_A:
    case IDC_TV_SAP_B:
    case IDC_TV_SAP_AB:
      if (code == BN_CLICKED) {
        for (size_t i = 0; i < 3; ++i) {
          if (kSapButtons[i] == id) Working().tvSet.amPrefSAPMode = kSapModes[i];
        }
      }
      break;
    case IDC_TV_STATE:
      if (code == CBN_SELCHANGE) {
        const LRESULT state = SendMessageW(Item(IDC_TV_STATE), CB_GETCURSEL, 0, 0);
        if (state >= 0) {
          Working().tvSet.lPrefCode = static_cast<std::int32_t>(state);
          Working().tvSet.lAreaCode = 0;
          FillRegion();
        }
      }
      break;
    case IDC_TV_CITY:
      if (code == CBN_SELCHANGE) {
        const LRESULT city = SendMessageW(Item(IDC_TV_CITY), CB_GETCURSEL, 0, 0);
        if (city >= 0) {
          Working().tvSet.lAreaCode = static_cast<std::int32_t>(city);
          LoadGuideNames();
        }
      }
      break;
    case IDC_TV_SCAN:
      if (code == BN_CLICKED) OnScanButton();
      break;
    case IDC_TV_SEEK_UP:
    case IDC_TV_SEEK_DOWN:
      if (code == BN_CLICKED) OnSeekButton(id == IDC_TV_SEEK_UP);
      break;
    case IDC_TV_TUNE:
      if (code == BN_CLICKED) OnTuneTyped();
      break;
    case IDC_TV_ADD:
      if (code == BN_CLICKED) OnAddTyped();
      break;
    default:
      break;
  }
}

void CTVSetPtyPage::OnTunerSource(std::int32_t source) {
  CAppSettings& working = Working();
  if (source == Table()) return;
  auto keepOld = [&] {
    SetChecked(IDC_TV_ANTENNA, Table() == 0);
    SetChecked(IDC_TV_CABLE, Table() == 1);
  };
  // Schedule entries name channels of the table in use.
  if (HasTvScheduleEntry(working.scheSet)) {
    ShowResMessage(hwnd(), kIdsScanRefused, IDS_CAPTION, MB_OK | MB_ICONEXCLAMATION);
    keepOld();
    return;
  }
  if (RowCount() > 0 && ShowResMessage(hwnd(), kIdsSourceChangeEmpties, kIdsNoticeCaption,
                                       MB_YESNO | MB_ICONQUESTION) != IDYES) {
    keepOld();
    return;
  }
  FillList({});
  working.tvSet.lTunerSrc = source;
  Rebuild();
  ReadLimits();
  m_lastPreviewed = -1;
}

std::int32_t CTVSetPtyPage::TypedNumber() const {
  return ParseChannelNumber(ItemText(IDC_TV_CHANNEL));
}

void CTVSetPtyPage::RefuseTyped(UINT textId) {
  ShowResMessage(hwnd(), textId, IDS_CAPTION, MB_OK | MB_ICONEXCLAMATION);
  ShowCurrent();
  TuneWithOffset(m_current);
}

void CTVSetPtyPage::OnTuneTyped() {
  const std::int32_t number = TypedNumber();
  if (!WithinTable(m_tables, Table(), number)) {
    RefuseTyped(kIdsOutsideTable);
    return;
  }
  m_current = number;
  TuneWithOffset(number);
}

void CTVSetPtyPage::OnAddTyped() {
  const std::vector<ChannelRow> rows = Rows();
  const std::int32_t number = TypedNumber();
  switch (CheckNewChannel(m_tables, Table(), rows, number)) {
    case NewChannelCheck::kOutsideTable:
      RefuseTyped(kIdsOutsideTable);
      return;
    case NewChannelCheck::kAlreadyListed:
      RefuseTyped(kIdsAlreadyListed);
      return;
    case NewChannelCheck::kAccepted:
      break;
  }
  InsertRow(RowCount(), NewChannelRow(m_tables, Table(), number,
                                      FormatNumbered(LoadString8(kIdsAddedName), number),
                                      LoadString8(kIdsNoStation)));
  Rebuild();
}

// ---- scan and seek ---------------------------------------------------------------

void CTVSetPtyPage::SetControlsForScan(bool scanning) {
  for (int id : {IDC_TV_CHANNEL, IDC_TV_TUNE, IDC_TV_SEEK_UP, IDC_TV_SEEK_DOWN, IDC_TV_ADD,
                 IDC_TV_ANTENNA, IDC_TV_CABLE}) {
    EnableItem(id, !scanning);
  }
}

void CTVSetPtyPage::OnScanButton() {
  if (m_seek.Running()) return;
  if (m_scan.Running()) {
    StopScan();
    return;
  }
  if (HasTvScheduleEntry(Working().scheSet)) {
    ShowResMessage(hwnd(), kIdsScanRefused, IDS_CAPTION, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  EndEdit(true);
  FillList({});
  Rebuild();
  m_scan.Start(m_lowest, m_highest);
  m_current = m_lowest;
  SendMessageW(Item(IDC_TV_PROGRESS), PBM_SETPOS, 0, 0);
  SetItemText(IDC_TV_SCAN, LoadString8(kIdsScanRunning));
  SetControlsForScan(true);
  SetTimer(hwnd(), kTimerChannelScan, kScanTickMs, nullptr);
}

void CTVSetPtyPage::ScanTick() {
  const std::optional<std::int32_t> channel = m_scan.ChannelToTune();
  if (!channel) {
    StopScan();
    return;
  }
  bool signal = false;
  SetItemText(IDC_TV_SCAN_CHANNEL, std::to_string(*channel));
  if (WithinTable(m_tables, Table(), *channel)) {
    TuneWithoutOffset(*channel);
    UpdateWindow(hwnd());
    Sleep(kScanSettleMs);
    signal = Signal();
  }
  SendMessageW(Item(IDC_TV_PROGRESS), PBM_SETPOS, m_scan.Progress() + 1, 0);
  if (signal) {
    InsertRow(RowCount(), NewChannelRow(m_tables, Table(), *channel,
                                        FormatNumbered(LoadString8(kIdsScannedName), *channel),
                                        LoadString8(kIdsNoStation)));
    Rebuild();
  }
  m_scan.Visited(signal);
}

void CTVSetPtyPage::StopScan() {
  KillTimer(hwnd(), kTimerChannelScan);
  m_scan.Stop();
  m_current = m_scan.Current();
  SendMessageW(Item(IDC_TV_PROGRESS), PBM_SETPOS, 0, 0);
  SetItemText(IDC_TV_SCAN, LoadString8(kIdsScanIdle));
  SetItemText(IDC_TV_SCAN_CHANNEL, "");
  SetControlsForScan(false);
  ShowCurrent();
}

void CTVSetPtyPage::OnSeekButton(bool up) {
  if (m_seek.Running()) {
    StopSeek();
    return;
  }
  if (m_scan.Running()) return;
  if (!m_seek.Start(m_current, up, m_lowest, m_highest)) return;
  SetTimer(hwnd(), kTimerChannelSeek, kSeekTickMs, nullptr);
}

void CTVSetPtyPage::SeekTick() {
  if (!m_seek.Running()) {
    StopSeek();
    return;
  }
  m_current = m_seek.Current();
  TuneWithOffset(m_current);
  ShowCurrent();
  EnableItem(IDC_TV_SCAN, false);
  UpdateWindow(hwnd());
  Sleep(kSeekSettleMs);
  if (!m_seek.Tried(Signal())) StopSeek();
}

void CTVSetPtyPage::StopSeek() {
  KillTimer(hwnd(), kTimerChannelSeek);
  m_seek.Stop();
  EnableItem(IDC_TV_SCAN, true);
  ShowCurrent();
}

void CTVSetPtyPage::OnTimer(UINT_PTR id) {
  if (id == kTimerChannelScan) ScanTick();
  if (id == kTimerChannelSeek) SeekTick();
}

// ---- list notifications ------------------------------------------------------------

LRESULT CTVSetPtyPage::OnNotify(NMHDR* header) {
  if (header->idFrom != IDC_TV_LIST) return 0;
  switch (header->code) {
    case LVN_ITEMCHANGED: {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
      if (!m_filling && (change->uChanged & LVIF_STATE) != 0 &&
          (change->uNewState & LVIS_SELECTED) != 0 && (change->uOldState & LVIS_SELECTED) == 0) {
        OnRowSelected(change->iItem);
      }
      return 0;
    }
    case NM_DBLCLK: {
      const auto* activate = reinterpret_cast<const NMITEMACTIVATE*>(header);
      LVHITTESTINFO hit{};
      hit.pt = activate->ptAction;
      if (ListView_SubItemHitTest(List(), &hit) >= 0 && hit.iItem >= 0) {
        OnDoubleClick(hit.iItem, hit.iSubItem);
      }
      return 0;
    }
    case LVN_KEYDOWN: {
      const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(header);
      if (key->wVKey == VK_DELETE) OnDeleteRows();
      return 0;
    }
    default:
      return 0;
  }
}

void CTVSetPtyPage::OnRowSelected(int index) {
  if (m_scan.Running() || m_seek.Running() || index < 0) return;
  const std::int32_t number = Row(index).number;
  if (number == m_lastPreviewed) return;
  m_lastPreviewed = number;
  if (!WithinTable(m_tables, Table(), number)) return;
  const double offset =
      index < kChannelRecordCount ? Working().tvSet.channels[index].dFreqOffset : 0;
  TuneHertz(ChannelFrequency(m_tables, Table(), number) + MegahertzToHertz(offset));
  m_current = number;
  ShowCurrent();
}

void CTVSetPtyPage::OnDoubleClick(int index, int column) {
  if (m_scan.Running()) return;
  if (ListView_GetItemState(List(), index, LVIS_SELECTED) == 0) return;
  switch (column) {
    case kColumnFrequency:
      FineTune(index);
      break;
    case kColumnName:
    case kColumnGuideName:
      BeginEdit(index, column);
      break;
    default:
      break;
  }
}

void CTVSetPtyPage::OnDeleteRows() {
  std::vector<int> selected;
  for (int i = ListView_GetNextItem(List(), -1, LVNI_SELECTED); i >= 0;
       i = ListView_GetNextItem(List(), i, LVNI_SELECTED)) {
    selected.push_back(i);
  }
  if (selected.empty()) return;
  for (int index : selected) {
    if (TvScheduleUsesChannel(Working().scheSet, Row(index).number)) {
      ShowResMessage(hwnd(), kIdsChannelScheduled, IDS_CAPTION, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
  }
  EndEdit(false);
  m_filling = true;
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) ListView_DeleteItem(List(), *it);
  m_filling = false;
  m_lastPreviewed = -1;
  Rebuild();
}

void CTVSetPtyPage::FineTune(int index) {
  const std::int32_t number = Row(index).number;
  if (!WithinTable(m_tables, Table(), number)) return;
  const std::int32_t tableHertz = ChannelFrequency(m_tables, Table(), number);
  const ChannelLists lists(Working());
  CFineTuneDlg dialog(Host().Board(), tableHertz, lists.OffsetOf(number));
  if (const std::optional<std::int32_t> offset = dialog.Run(hwnd())) {
    SetCell(index, kColumnFrequency,
            MegahertzText(static_cast<double>(tableHertz) + static_cast<double>(*offset)));
    Rebuild();
  }
  TuneWithOffset(number);
  m_current = number;
  ShowCurrent();
}

// ---- in-place editors ----------------------------------------------------------------

void CTVSetPtyPage::BeginEdit(int index, int column) {
  EndEdit(true);
  RECT cell{};
  if (!ListView_GetSubItemRect(List(), index, column, LVIR_LABEL, &cell)) return;
  const std::wstring text = Widen(column == kColumnName ? Row(index).name : Row(index).guideName);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(List(), WM_GETFONT, 0, 0));
  HWND editor = nullptr;
  if (column == kColumnName) {
    editor = CreateWindowExW(0, L"EDIT", text.c_str(),
                             WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, cell.left,
                             cell.top, cell.right - cell.left, cell.bottom - cell.top, List(),
                             nullptr, nullptr, nullptr);
  } else {
    // The drop-down list needs room below the cell for its choices.
    editor = CreateWindowExW(
        0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, cell.left,
        cell.top, cell.right - cell.left, 160, List(), nullptr, nullptr, nullptr);
    if (editor) {
      LRESULT chosen = 0;
      for (size_t i = 0; i < m_guideNames.size(); ++i) {
        const std::wstring name = Widen(m_guideNames[i]);
        SendMessageW(editor, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        if (name == text) chosen = static_cast<LRESULT>(i);
      }
      SendMessageW(editor, CB_SETCURSEL, chosen, 0);
    }
  }
  if (!editor) return;
  SendMessageW(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowSubclass(editor, &CTVSetPtyPage::EditorProc, kEditorSubclass,
                    reinterpret_cast<DWORD_PTR>(this));
  m_editor = editor;
  m_editRow = index;
  m_editColumn = column;
  SetFocus(editor);
  if (column == kColumnName) {
    SendMessageW(editor, EM_SETSEL, 0, -1);
  } else {
    SendMessageW(editor, CB_SHOWDROPDOWN, TRUE, 0);
  }
}

void CTVSetPtyPage::EndEdit(bool keep) {
  if (!m_editor) return;
  HWND editor = m_editor;
  m_editor = nullptr;  // the focus change below reports back here
  if (keep && m_editRow >= 0 && m_editRow < RowCount()) {
    std::string text;
    if (m_editColumn == kColumnName) {
      const int length = GetWindowTextLengthW(editor);
      std::wstring wide(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
      GetWindowTextW(editor, &wide[0], length + 1);
      wide.resize(static_cast<size_t>(std::max(length, 0)));
      text = Narrow(wide);
    } else {
      const LRESULT chosen = SendMessageW(editor, CB_GETCURSEL, 0, 0);
      if (chosen >= 0 && static_cast<size_t>(chosen) < m_guideNames.size()) {
        text = m_guideNames[static_cast<size_t>(chosen)];
      } else {
        text = Row(m_editRow).guideName;
      }
    }
    SetCell(m_editRow, m_editColumn, text);
    Rebuild();
  }
  m_editRow = -1;
  m_editColumn = -1;
  RemoveWindowSubclass(editor, &CTVSetPtyPage::EditorProc, kEditorSubclass);
  // Often called from inside the editor's own messages (its Enter key, its
  // loss of focus): it goes away once those have returned.
  ShowWindow(editor, SW_HIDE);
  PostMessageW(hwnd(), kMsgDestroyEditor, 0, reinterpret_cast<LPARAM>(editor));
}

INT_PTR CTVSetPtyPage::OnMessage(UINT message, WPARAM, LPARAM lParam) {
  if (message != kMsgDestroyEditor) return FALSE;
  HWND editor = reinterpret_cast<HWND>(lParam);
  if (IsWindow(editor) && GetParent(editor) == List()) DestroyWindow(editor);
  return TRUE;
}

LRESULT CALLBACK CTVSetPtyPage::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR self) {
  auto* page = reinterpret_cast<CTVSetPtyPage*>(self);
  if (message == WM_COMMAND && page->m_editor != nullptr &&
      reinterpret_cast<HWND>(lParam) == page->m_editor) {
    page->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    return 0;
  }
  // Scrolling moves the cells away from an open editor.
  if ((message == WM_VSCROLL || message == WM_HSCROLL || message == WM_MOUSEWHEEL) &&
      page->m_editor != nullptr) {
    page->EndEdit(true);
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &CTVSetPtyPage::ListProc, kListSubclass);
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CTVSetPtyPage::EditorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR self) {
  auto* page = reinterpret_cast<CTVSetPtyPage*>(self);
  switch (message) {
    case WM_GETDLGCODE:
      // Enter and Escape belong to the editor, not to the sheet's OK and Cancel.
      return DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        page->EndEdit(wParam == VK_RETURN);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) return 0;
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

// ---- leaving -------------------------------------------------------------------------

bool CTVSetPtyPage::OnKillActive() {
  EndEdit(true);
  if (m_scan.Running()) StopScan();
  if (m_seek.Running()) StopSeek();
  Rebuild();
  return true;
}

void CTVSetPtyPage::OnReset() {
  // Cancelled: nothing of the page reaches the settings, so the board goes
  // back to the channel the panel shows.
  if (m_scan.Running()) StopScan();
  if (m_seek.Running()) StopSeek();
  CBoardClient* board = Host().Board();
  if (m_tunedLive && board != nullptr) board->TuneCurrentEntry();
  m_tunedLive = false;
}

void CTVSetPtyPage::OnDestroy() {
  EndEdit(false);
  KillTimer(hwnd(), kTimerChannelScan);
  KillTimer(hwnd(), kTimerChannelSeek);
}

}  // namespace brontel
