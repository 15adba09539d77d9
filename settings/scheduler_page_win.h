#pragma once
// The scheduler page: the schedule list with add, edit and delete through
// the schedule editor, and the iEPG site to open in the browser.

#include <string>
#include <vector>

#include "settings/settings_page_win.h"

namespace brontel {

class CSchedulerPtyPage : public SettingsPage {
 public:
  CSchedulerPtyPage(CAppSettings& working, SettingsSheetHost& host);

  // The iEPG handler's entry in "ScheItemTemp", taken as a new entry of the
  // working copy, with the same checks as one typed in the editor.
  void ImportTempScheItem();

 protected:
  void OnInitDialog() override;
  void OnSetActive() override;
  void OnApply() override;
  void OnCommand(WORD id, WORD code, HWND control) override;
  LRESULT OnNotify(NMHDR* header) override;

 private:
  void SetUpList();
  void FillList();
  void AddEntry();
  void EditEntry();
  void DeleteEntries();
  void OpenIepgSite();
  // The owner of the page's message boxes: the sheet while it shows.
  HWND Owner() const;

  // Each row's start and stop, shown as its tooltip.
  std::vector<std::wstring> m_tips;
};

}  // namespace brontel
