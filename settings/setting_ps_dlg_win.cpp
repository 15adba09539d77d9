#include "settings/setting_ps_dlg_win.h"

#include <prsht.h>

#include <algorithm>
#include <string>

#include "lang/resource_ids.h"
#include "settings/page_factory_win.h"
#include "settings/scheduler_page_win.h"
#include "settings/sheet_commit.h"
#include "win32/resource_module.h"

namespace brontel {
namespace {

// The sheet that runs; the property sheet's callback has no user data.
CSettingPSDlg* g_openSheet = nullptr;

// The sheet is centred on the panel, which often sits at the screen's edge;
// moved back onto the work area, its OK and Cancel buttons stay in reach.
void KeepOnWorkArea(HWND window) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& area = monitor.rcWork;
  const auto place = [](LONG start, LONG size, LONG first, LONG last) {
    return std::max(first, std::min(start, last - size));
  };
  const LONG x = place(rect.left, rect.right - rect.left, area.left, area.right);
  const LONG y = place(rect.top, rect.bottom - rect.top, area.top, area.bottom);
  if (x != rect.left || y != rect.top) {
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// A resource string or ordinal inside a dialog template: a zero word, a
// 0xFFFF word with its number, or a zero-terminated text.
const WORD* SkipTemplateName(const WORD* at) {
  if (*at == 0) return at + 1;
  if (*at == 0xFFFF) return at + 2;
  while (*at != 0) ++at;
  return at + 1;
}

// The point size word of a dialog template (plain or extended), or null
// when the template names no font.
WORD* DialogFontSize(void* dialogTemplate) {
  auto* words = static_cast<WORD*>(dialogTemplate);
  const bool extended = words[0] == 1 && words[1] == 0xFFFF;
  DWORD style = 0;
  const WORD* at = nullptr;
  if (extended) {
    const auto* header = reinterpret_cast<const BYTE*>(words);
    style = *reinterpret_cast<const DWORD*>(header + 12);
    at = reinterpret_cast<const WORD*>(header + 26);  // after the item count and rectangle
  } else {
    style = static_cast<const DLGTEMPLATE*>(dialogTemplate)->style;
    at = reinterpret_cast<const WORD*>(static_cast<const BYTE*>(dialogTemplate) + 18);
  }
  if ((style & DS_SETFONT) == 0) return nullptr;
  at = SkipTemplateName(at);  // menu
  at = SkipTemplateName(at);  // window class
  at = SkipTemplateName(at);  // title
  return const_cast<WORD*>(at);
}

// The point size of the language library's pages (they share one).
WORD PageFontSize() {
  HINSTANCE module = ResourceModule();
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDD_SET_ABOUT), RT_DIALOG);
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  void* page = loaded != nullptr ? LockResource(loaded) : nullptr;
  const WORD* size = page != nullptr ? DialogFontSize(page) : nullptr;
  return size != nullptr ? *size : 0;
}

}  // namespace

CSettingPSDlg::CSettingPSDlg(SettingsSheetHost& host) : m_host(host) {}

CSettingPSDlg::~CSettingPSDlg() {
  if (g_openSheet == this) g_openSheet = nullptr;
}

int CALLBACK CSettingPSDlg::SheetCallback(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == PSCB_PRECREATE && lParam != 0) {
    // The sheet measures its pages in its own dialog units; with the
    // language's larger page font (Japanese) the pages would be clipped, so
    // the sheet takes the pages' point size.
    WORD* sheetSize = DialogFontSize(reinterpret_cast<void*>(lParam));
    const WORD pageSize = PageFontSize();
    if (sheetSize != nullptr && pageSize != 0) *sheetSize = pageSize;
  }
  if (message == PSCB_INITIALIZED && g_openSheet != nullptr) {
    g_openSheet->m_hwnd = hwnd;
    SetWindowTextW(hwnd, LoadResString(kSheetTitleId).c_str());
    KeepOnWorkArea(hwnd);
  }
  return 0;
}

bool CSettingPSDlg::Run(CAppSettings& settings, std::uint32_t mask) {
  if (g_openSheet != nullptr) return false;
  m_working = settings;
  m_applied = false;
  m_kinds.clear();
  m_pages.clear();
  m_scheduler = nullptr;

  std::vector<PROPSHEETPAGEW> describe;
  for (SheetPage kind : SelectedPages(mask, BuiltPagesMask())) {
    std::unique_ptr<SettingsPage> page = CreateSettingsPage(kind, m_working, m_host);
    if (!page) continue;
    page->ReportApplyTo(&m_applied);
    if (kind == SheetPage::kScheduler) m_scheduler = static_cast<CSchedulerPtyPage*>(page.get());
    describe.push_back(page->Describe(ResourceModule()));
    m_kinds.push_back(kind);
    m_pages.push_back(std::move(page));
  }

  const std::wstring title = LoadResString(kSheetTitleId);
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof(header);
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK;
  header.hwndParent = m_host.MainWindow();
  header.hInstance = ResourceModule();
  header.pszCaption = title.c_str();
  header.nPages = static_cast<UINT>(describe.size());
  header.ppsp = describe.data();
  header.pfnCallback = &CSettingPSDlg::SheetCallback;

  g_openSheet = this;
  const INT_PTR result = PropertySheetW(&header);
  g_openSheet = nullptr;
  m_hwnd = nullptr;
  m_pages.clear();
  m_scheduler = nullptr;

  // The pages hear PSN_APPLY only when OK went through; the sheet's return
  // value cannot tell OK without changes from Cancel.
  if (result < 0 || !m_applied) return false;
  bool scheduleOnSheet = false;
  for (SheetPage kind : m_kinds) scheduleOnSheet = scheduleOnSheet || kind == SheetPage::kScheduler;
  CommitWorkingCopy(m_working, scheduleOnSheet, &settings);
  return true;
}

bool CSettingPSDlg::ShowSchedulerImport() {
  if (m_hwnd == nullptr || m_scheduler == nullptr) return false;
  for (size_t i = 0; i < m_kinds.size(); ++i) {
    if (m_kinds[i] == SheetPage::kScheduler) {
      PropSheet_SetCurSel(m_hwnd, nullptr, static_cast<int>(i));
      break;
    }
  }
  m_scheduler->ImportTempScheItem();
  return true;
}

}  // namespace brontel
