#include "settings/page_factory_win.h"

#include "settings/about_page_win.h"
#include "settings/scheduler_page_win.h"
#include "settings/tv_page_win.h"

namespace brontel {

std::unique_ptr<SettingsPage> CreateSettingsPage(SheetPage page, CAppSettings& working,
                                                 SettingsSheetHost& host) {
  switch (page) {
    case SheetPage::kScheduler:
      return std::make_unique<CSchedulerPtyPage>(working, host);
    case SheetPage::kAbout:
      return std::make_unique<CAboutPtyPage>(working, host);
    case SheetPage::kTv:
      return std::make_unique<CTVSetPtyPage>(working, host);
    case SheetPage::kRadio:
    case SheetPage::kColour:
    case SheetPage::kSnapshot:
    case SheetPage::kCapture:
      break;
  }
  return nullptr;
}

std::uint32_t BuiltPagesMask() {
  return kPageMaskTv | kPageMaskScheduler;
}

}  // namespace brontel
