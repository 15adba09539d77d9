#include "settings/scheduler_page_win.h"

#include <shellapi.h>

#include <cstdio>
#include <string>

#include "app/scheduler/schedule_overlap.h"
#include "app/scheduler/schedule_validation.h"
#include "lang/resource_ids.h"
#include "settings/sche_item_dlg_win.h"
#include "settings/schedule_table.h"
#include "win32/handles.h"
#include "win32/resource_module.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

// String numbers of the list's texts.
constexpr UINT kColumnTitleFirst = 330;  // number, description, channel, name, quality, state
constexpr int kColumnCount = 6;
constexpr UINT kColumnWidthsId = 336;
constexpr UINT kStateWaitingId = 337;
constexpr UINT kStateCompletedId = 338;
constexpr UINT kStateExpiredId = 339;
constexpr UINT kTipLabelFirst = 350;  // start date, start time, stop date, stop time
constexpr UINT kEveryDayId = 354;

// The source icons of the rows.
enum SourceIcon { kIconTv, kIconRadio, kIconVideo };
constexpr int kIconSize = 16;
constexpr COLORREF kIconMask = RGB(255, 0, 255);

// A small picture of each source, drawn here so that every language library
// does without its own icons: a screen, a radio with its dial, a film strip.
void DrawSourceIcon(HDC dc, SourceIcon icon) {
  RECT all{0, 0, kIconSize, kIconSize};
  UniqueGdi<HBRUSH> mask(CreateSolidBrush(kIconMask));
  FillRect(dc, &all, mask.Get());
  UniqueGdi<HBRUSH> dark(CreateSolidBrush(RGB(48, 48, 56)));
  UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(48, 48, 56)));
  DcSelection selectPen(dc, pen.Get());
  switch (icon) {
    case kIconTv: {
      RECT body{1, 2, 15, 13};
      FillRect(dc, &body, dark.Get());
      UniqueGdi<HBRUSH> screen(CreateSolidBrush(RGB(64, 150, 230)));
      RECT glass{3, 4, 13, 11};
      FillRect(dc, &glass, screen.Get());
      MoveToEx(dc, 5, 15, nullptr);
      LineTo(dc, 11, 15);
      break;
    }
    case kIconRadio: {
      MoveToEx(dc, 3, 5, nullptr);
      LineTo(dc, 12, 1);
      RECT body{1, 5, 15, 15};
      FillRect(dc, &body, dark.Get());
      UniqueGdi<HBRUSH> dial(CreateSolidBrush(RGB(90, 200, 110)));
      RECT face{3, 7, 9, 13};
      FillRect(dc, &face, dial.Get());
      RECT knob{10, 8, 13, 11};
      FillRect(dc, &knob, dial.Get());
      break;
    }
    case kIconVideo: {
      RECT strip{2, 1, 14, 15};
      FillRect(dc, &strip, dark.Get());
      UniqueGdi<HBRUSH> frame(CreateSolidBrush(RGB(240, 160, 60)));
      for (int top : {3, 9}) {
        RECT picture{5, top, 11, top + 4};
        FillRect(dc, &picture, frame.Get());
      }
      break;
    }
  }
}

HIMAGELIST MakeSourceIcons() {
  HIMAGELIST icons = ImageList_Create(kIconSize, kIconSize, ILC_COLOR24 | ILC_MASK, 3, 0);
  if (icons == nullptr) return nullptr;
  WindowDc screen(nullptr);
  for (SourceIcon icon : {kIconTv, kIconRadio, kIconVideo}) {
    UniqueGdi<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), kIconSize, kIconSize));
    UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
    {
      DcSelection select(dc.Get(), bitmap.Get());
      DrawSourceIcon(dc.Get(), icon);
    }
    ImageList_AddMasked(icons, bitmap.Get(), kIconMask);
  }
  return icons;
}

SourceIcon IconFor(std::int32_t source) {
  if (source == kSourceTv) return kIconTv;
  if (source == kSourceRadio) return kIconRadio;
  return kIconVideo;
}

std::wstring DateText(DateTime value) {
  const SYSTEMTIME time = ToSystemTime(value);
  wchar_t text[64] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, 64);
  return text;
}

std::wstring TimeText(DateTime value) {
  const LocalTimeParts parts = SplitLocalDateTime(value);
  wchar_t text[16];
  swprintf(text, 16, L"%02d:%02d", parts.hour, parts.minute);
  return text;
}

// The day of a start or stop as the entry's repetition names it.
std::wstring DayText(const ScheItem& item, DateTime value) {
  if (item.sfType == kScheWeekly) {
    return LoadResString(kTextWeekdayFirst + SplitLocalDateTime(value).weekday);
  }
  if (item.sfType == kScheDaily) return LoadResString(kEveryDayId);
  return DateText(value);
}

std::wstring TipText(const ScheItem& item) {
  const std::wstring values[] = {DayText(item, item.tStartDateTime), TimeText(item.tStartDateTime),
                                 DayText(item, item.tStopDateTime), TimeText(item.tStopDateTime)};
  std::wstring labels[4];
  for (int i = 0; i < 4; ++i) labels[i] = LoadResString(kTipLabelFirst + i);
  wchar_t text[512];
  swprintf(text, 512, L"%ls:\t\t%ls\n%ls:\t%ls\n%ls:\t\t%ls\n%ls:\t%ls", labels[0].c_str(),
           values[0].c_str(), labels[1].c_str(), values[1].c_str(), labels[2].c_str(),
           values[2].c_str(), labels[3].c_str(), values[3].c_str());
  return text;
}

UINT StateTextId(ScheRowState state) {
  switch (state) {
    case ScheRowState::kCompleted:
      return kStateCompletedId;
    case ScheRowState::kExpired:
      return kStateExpiredId;
    case ScheRowState::kWaiting:
      break;
  }
  return kStateWaitingId;
}

}  // namespace

CSchedulerPtyPage::CSchedulerPtyPage(CAppSettings& working, SettingsSheetHost& host)
    : SettingsPage(IDD_SET_SCHEDULER, working, host) {}

HWND CSchedulerPtyPage::Owner() const {
  return hwnd() != nullptr ? Sheet() : GetActiveWindow();
}

void CSchedulerPtyPage::OnInitDialog() {
  SetUpList();
  FillList();
  SetItemText(IDC_SC_IEPG_URL, Working().scheSet.szIEPG1_URL);
}

void CSchedulerPtyPage::OnSetActive() {
  FillList();
}

void CSchedulerPtyPage::OnApply() {
  Working().scheSet.szIEPG1_URL = CutText(ItemText(IDC_SC_IEPG_URL));
}

void CSchedulerPtyPage::SetUpList() {
  HWND list = Item(IDC_SC_LIST);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
  if (HIMAGELIST icons = MakeSourceIcons()) ListView_SetImageList(list, icons, LVSIL_SMALL);
  AddListColumns(list, kColumnTitleFirst, kColumnCount, kColumnWidthsId);
}

void CSchedulerPtyPage::FillList() {
  HWND list = Item(IDC_SC_LIST);
  if (list == nullptr) return;
  ListView_DeleteAllItems(list);
  m_tips.clear();
  const ScheSetGroup& schedule = Working().scheSet;
  const DateTime now = LocalNow();
  for (int i = 0; i < ScheItemsInUse(schedule); ++i) {
    const ScheItem& entry = schedule.items[static_cast<size_t>(i)];
    std::wstring number = Widen(EntryNumberText(i));
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.pszText = &number[0];
    item.iImage = IconFor(entry.msSrcType);
    const int row = ListView_InsertItem(list, &item);
    if (row < 0) continue;
    SetListText(list, row, 1, Widen(entry.szScheDesc));
    SetListText(list, row, 2, Widen(ChannelNumberText(entry)));
    SetListText(list, row, 3, Widen(entry.szChnName));
    const int mode = CaptureModeTextId(entry.lCaptMode);
    SetListText(list, row, 4, mode != 0 ? LoadResString(static_cast<UINT>(mode)) : std::wstring());
    SetListText(list, row, 5, LoadResString(StateTextId(RowState(entry, now))));
    m_tips.push_back(TipText(entry));
  }
}

void CSchedulerPtyPage::OnCommand(WORD id, WORD code, HWND) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_SC_ADD:
      AddEntry();
      break;
    case IDC_SC_EDIT:
      EditEntry();
      break;
    case IDC_SC_DELETE:
      DeleteEntries();
      break;
    case IDC_SC_IEPG_OPEN:
      OpenIepgSite();
      break;
    default:
      break;
  }
}

LRESULT CSchedulerPtyPage::OnNotify(NMHDR* header) {
  if (header->idFrom != IDC_SC_LIST) return 0;
  if (header->code == NM_DBLCLK) {
    EditEntry();
  } else if (header->code == LVN_GETINFOTIPW) {
    auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(header);
    if (tip->iItem >= 0 && static_cast<size_t>(tip->iItem) < m_tips.size() && tip->cchTextMax > 0) {
      lstrcpynW(tip->pszText, m_tips[static_cast<size_t>(tip->iItem)].c_str(), tip->cchTextMax);
    }
  }
  return 0;
}

void CSchedulerPtyPage::AddEntry() {
  CAppSettings& working = Working();
  // Told before the editor opens, so that nobody types an entry that cannot
  // be kept.
  if (ScheItemsInUse(working.scheSet) >= kScheItemCount) {
    ShowResMessage(Owner(), kMsgScheTableFull, kCaptionScheAdd, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  ScheItemRequest request = NewScheItemRequest(LocalNow());
  request.source = PresetSourceForNewEntry(Host().LiveSource(), working.tvSet, working.rdSet);
  CScheItemDlg editor(request, working);
  if (!editor.Run(Owner())) return;
  if (AddScheItem(editor.item(), working.tvSet, working.rdSet, &working.scheSet) ==
      ScheAddResult::kTableFull) {
    ShowResMessage(Owner(), kMsgScheTableFull, kCaptionScheAdd, MB_OK | MB_ICONEXCLAMATION);
  }
  FillList();
}

void CSchedulerPtyPage::EditEntry() {
  HWND list = Item(IDC_SC_LIST);
  const int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  if (row < 0) return;
  wchar_t number[16] = {};
  ListView_GetItemText(list, row, 0, number, 16);
  const int index = static_cast<int>(wcstol(number, nullptr, 10)) - 1;
  CAppSettings& working = Working();
  if (index < 0 || index >= ScheItemsInUse(working.scheSet)) return;
  CScheItemDlg editor(RequestForScheItem(working.scheSet.items[static_cast<size_t>(index)], index),
                      working);
  if (!editor.Run(Owner())) return;
  ReplaceScheItem(index, editor.item(), working.tvSet, working.rdSet, &working.scheSet);
  FillList();
}

void CSchedulerPtyPage::DeleteEntries() {
  HWND list = Item(IDC_SC_LIST);
  const int rows = ListView_GetItemCount(list);
  if (rows <= 0) return;
  std::vector<bool> selected(static_cast<size_t>(ScheItemsInUse(Working().scheSet)), false);
  bool any = false;
  for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
    wchar_t number[16] = {};
    ListView_GetItemText(list, row, 0, number, 16);
    const long index = wcstol(number, nullptr, 10) - 1;
    if (index >= 0 && static_cast<size_t>(index) < selected.size()) {
      selected[static_cast<size_t>(index)] = true;
      any = true;
    }
  }
  if (!any) return;
  DeleteScheItems(selected, &Working().scheSet);
  FillList();
}

void CSchedulerPtyPage::OpenIepgSite() {
  const std::wstring address = Widen(ItemText(IDC_SC_IEPG_URL));
  if (address.empty()) return;
  ShellExecuteW(Sheet(), L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CSchedulerPtyPage::ImportTempScheItem() {
  ScheItem entry;
  if (!Host().ReadTempScheItem(&entry)) return;
  const DateTime now = LocalNow();
  CAppSettings& working = Working();
  const ScheImport result =
      ImportScheItem(entry, now, working.tvSet, working.rdSet, &working.scheSet);
  FillList();
  if (result.message != 0) {
    ShowResMessage(Owner(), static_cast<UINT>(result.message), static_cast<UINT>(result.caption),
                   MB_OK | MB_ICONEXCLAMATION);
  } else if (result.startsSoon) {
    ShowResMessage(Owner(), kMsgScheStartsSoon, kCaptionNotice, MB_OK);
  }
}

}  // namespace brontel
