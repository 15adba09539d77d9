#include "settings/page_controls_win.h"

#include <shlobj.h>

#include "win32/text_convert.h"

namespace brontel {

void InitSlider(HWND slider, int max) {
  SendMessageW(slider, TBM_SETRANGE, FALSE, MAKELPARAM(0, max));
  SendMessageW(slider, TBM_SETTICFREQ, max / 10 > 0 ? max / 10 : 1, 0);
  SendMessageW(slider, TBM_SETPAGESIZE, 0, max / 10 > 0 ? max / 10 : 1);
}

int SliderPosition(HWND slider) {
  return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
}

void SetSliderPosition(HWND slider, int position) {
  SendMessageW(slider, TBM_SETPOS, TRUE, position);
}

// A drag ends with TB_THUMBPOSITION and TB_ENDTRACK, a key or a click on the
// track with its own code and TB_ENDTRACK: acting on TB_ENDTRACK alone
// handles every move once.
bool SliderReleased(WORD code) {
  return code == TB_ENDTRACK;
}

void InitReportList(HWND page, HWND list, const std::vector<ListColumn>& columns) {
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (size_t i = 0; i < columns.size(); ++i) {
    RECT width{0, 0, columns[i].widthDialogUnits, 0};
    MapDialogRect(page, &width);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = width.right;
    column.pszText = const_cast<wchar_t*>(columns[i].title.c_str());
    column.iSubItem = static_cast<int>(i);
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

void AppendListRow(HWND list, const std::vector<std::string>& texts) {
  if (texts.empty()) return;
  const int row = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  std::wstring text = Widen(texts[0]);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = &text[0];
  const int index =
      static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (index < 0) return;
  for (size_t i = 1; i < texts.size(); ++i) {
    std::wstring sub = Widen(texts[i]);
    LVITEMW subItem{};
    subItem.iSubItem = static_cast<int>(i);
    subItem.pszText = &sub[0];
    SendMessageW(list, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&subItem));
  }
}

namespace {

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

bool FolderExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::string BrowseForFolder(HWND owner, const std::wstring& title, const std::string& start) {
  std::wstring startFolder = Widen(start);
  if (startFolder.empty() || !FolderExists(startFolder)) startFolder = L"C:\\";
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = &BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(startFolder.c_str());
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (chosen == nullptr) return std::string();
  wchar_t path[MAX_PATH] = {};
  const BOOL named = SHGetPathFromIDListW(chosen, path);
  CoTaskMemFree(chosen);
  return named ? Narrow(path) : std::string();
}

}  // namespace brontel
