#pragma once
// The about page: the program's modules with their file versions.

#include "settings/settings_page_win.h"

namespace brontel {

class CAboutPtyPage : public SettingsPage {
 public:
  CAboutPtyPage(CAppSettings& working, SettingsSheetHost& host);

 protected:
  void OnInitDialog() override;
};

}  // namespace brontel
