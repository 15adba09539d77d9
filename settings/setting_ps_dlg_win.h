#pragma once
// The settings sheet: one modal property sheet whose pages edit a working
// copy of every setting; OK hands the copy to the live settings, Cancel
// drops it. Only one sheet exists at a time.

#include "win32/windows_include.h"

#include <cstdint>
#include <memory>
#include <vector>

#include "app/settings/app_settings.h"
#include "settings/page_selection.h"
#include "settings/settings_page_win.h"
#include "settings/sheet_host.h"

namespace brontel {

class CSchedulerPtyPage;

// String number of the sheet's title.
constexpr UINT kSheetTitleId = 269;

class CSettingPSDlg {
 public:
  explicit CSettingPSDlg(SettingsSheetHost& host);
  ~CSettingPSDlg();
  CSettingPSDlg(const CSettingPSDlg&) = delete;
  CSettingPSDlg& operator=(const CSettingPSDlg&) = delete;

  // Shows the pages `mask` selects (the about page always) over a copy of
  // `settings`, modally; true when the user pressed OK and the copy went
  // back into `settings`. False at once while another sheet is open.
  bool Run(CAppSettings& settings, std::uint32_t mask);

  // The iEPG hand-over while the sheet is open: the scheduler page becomes
  // the active page and takes the scratch entry itself. False when this
  // sheet has no scheduler page.
  bool ShowSchedulerImport();

  // The sheet's window while it runs, else null.
  HWND hwnd() const { return m_hwnd; }

 private:
  static int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM lParam);

  SettingsSheetHost& m_host;
  CAppSettings m_working;
  std::vector<SheetPage> m_kinds;
  std::vector<std::unique_ptr<SettingsPage>> m_pages;
  CSchedulerPtyPage* m_scheduler = nullptr;
  bool m_applied = false;
  HWND m_hwnd = nullptr;
};

}  // namespace brontel
