#include "settings/settings_page_win.h"

#include <vector>

#include "settings/module_list.h"
#include "win32/resource_module.h"
#include "win32/text_convert.h"

namespace brontel {

SettingsPage::SettingsPage(int templateId, CAppSettings& working, SettingsSheetHost& host)
    : m_templateId(templateId), m_working(working), m_host(host) {}

PROPSHEETPAGEW SettingsPage::Describe(HINSTANCE resources) {
  PROPSHEETPAGEW page{};
  page.dwSize = sizeof(page);
  page.dwFlags = PSP_DEFAULT;
  page.hInstance = resources;
  page.pszTemplate = MAKEINTRESOURCEW(m_templateId);
  page.pfnDlgProc = &SettingsPage::PageProc;
  page.lParam = reinterpret_cast<LPARAM>(this);
  return page;
}

INT_PTR CALLBACK SettingsPage::PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<SettingsPage*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (message == WM_INITDIALOG) {
    // A page's WM_INITDIALOG carries its PROPSHEETPAGE, whose lParam is us.
    const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    self = page ? reinterpret_cast<SettingsPage*>(page->lParam) : nullptr;
    if (self) {
      self->m_hwnd = hwnd;
      SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
  }
  if (!self) return FALSE;
  const INT_PTR result = self->HandleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->m_hwnd = nullptr;
  }
  return result;
}

INT_PTR SettingsPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_TIMER:
      OnTimer(wParam);
      return TRUE;
    case WM_HSCROLL:
    case WM_VSCROLL:
      OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return TRUE;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      LRESULT answer = 0;
      switch (header->code) {
        case PSN_SETACTIVE:
          OnSetActive();
          break;
        case PSN_KILLACTIVE:
          answer = OnKillActive() ? FALSE : TRUE;
          break;
        case PSN_APPLY:
          OnApply();
          if (m_applied) *m_applied = true;
          answer = PSNRET_NOERROR;
          break;
        case PSN_RESET:
          OnReset();
          break;
        default:
          answer = OnNotify(header);
          break;
      }
      // A dialog procedure hands a notification's answer back through
      // DWLP_MSGRESULT.
      SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, answer);
      return TRUE;
    }
    default:
      return OnMessage(message, wParam, lParam);
  }
}

std::string SettingsPage::ItemText(int id) const {
  HWND item = Item(id);
  const int length = item ? GetWindowTextLengthW(item) : 0;
  if (length <= 0) return std::string();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(item, &text[0], length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return Narrow(text);
}

void SettingsPage::SetItemText(int id, const std::string& text) {
  SetDlgItemTextW(m_hwnd, id, Widen(text).c_str());
}

bool SettingsPage::IsChecked(int id) const {
  return IsDlgButtonChecked(m_hwnd, id) == BST_CHECKED;
}

void SettingsPage::SetChecked(int id, bool checked) {
  CheckDlgButton(m_hwnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void SettingsPage::EnableItem(int id, bool enable) {
  if (HWND item = Item(id)) EnableWindow(item, enable ? TRUE : FALSE);
}

void SettingsPage::AddListColumns(HWND list, UINT firstTitleId, int count, UINT widthsId) {
  constexpr int kFallbackWidth = 60;
  const std::vector<int> widths =
      ParseColumnWidths(Narrow(LoadResString(widthsId)), count, kFallbackWidth);
  for (int i = 0; i < count; ++i) {
    std::wstring title = LoadResString(firstTitleId + static_cast<UINT>(i));
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = &title[0];
    column.cx = widths[static_cast<size_t>(i)];
    column.iSubItem = i;
    ListView_InsertColumn(list, i, &column);
  }
}

void SettingsPage::SetListText(HWND list, int row, int column, std::wstring text) {
  ListView_SetItemText(list, row, column, &text[0]);
}

}  // namespace brontel
