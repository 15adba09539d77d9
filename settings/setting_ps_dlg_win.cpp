#include "settings/setting_ps_dlg_win.h"

#include <prsht.h>

#include <string>

#include "settings/page_factory_win.h"
#include "settings/scheduler_page_win.h"
#include "settings/sheet_commit.h"
#include "win32/resource_module.h"

namespace brontel {
namespace {

// The sheet that runs; the property sheet's callback has no user data.
CSettingPSDlg* g_openSheet = nullptr;

}  // namespace

CSettingPSDlg::CSettingPSDlg(SettingsSheetHost& host) : m_host(host) {}

CSettingPSDlg::~CSettingPSDlg() {
  if (g_openSheet == this) g_openSheet = nullptr;
}

int CALLBACK CSettingPSDlg::SheetCallback(HWND hwnd, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED && g_openSheet != nullptr) {
    g_openSheet->m_hwnd = hwnd;
    SetWindowTextW(hwnd, LoadResString(kSheetTitleId).c_str());
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
