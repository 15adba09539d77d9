#pragma once
// The snapshot page: folder, picture size, file format, file naming, the
// file counter and the JPEG quality of still pictures. Every choice is
// stored in the working copy the moment it is made.

#include "settings/settings_page_win.h"

namespace brontel {

class CSnapSetPtyPage : public SettingsPage {
 public:
  CSnapSetPtyPage(CAppSettings& working, SettingsSheetHost& host);

 protected:
  void OnInitDialog() override;
  void OnCommand(WORD id, WORD code, HWND control) override;
  void OnScroll(HWND control, WORD code) override;

 private:
  void ShowCounter();
  void OnBrowse();
};

}  // namespace brontel
