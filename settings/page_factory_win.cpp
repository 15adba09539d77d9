#include "settings/page_factory_win.h"

#include "settings/about_page_win.h"
#include "settings/capture_page_win.h"
#include "settings/scheduler_page_win.h"

namespace brontel {

std::unique_ptr<SettingsPage> CreateSettingsPage(SheetPage page, CAppSettings& working,
                                                 SettingsSheetHost& host) {
  switch (page) {
    case SheetPage::kScheduler:
      return std::make_unique<CSchedulerPtyPage>(working, host);
    case SheetPage::kCapture:
      return std::make_unique<CCaptSetPtyPage>(working, host);
    case SheetPage::kAbout:
      return std::make_unique<CAboutPtyPage>(working, host);
    case SheetPage::kTv:
    case SheetPage::kRadio:
    case SheetPage::kColour:
    case SheetPage::kSnapshot:
      break;
  }
  return nullptr;
}

std::uint32_t BuiltPagesMask() {
  return kPageMaskCapture | kPageMaskScheduler;
}

}  // namespace brontel
