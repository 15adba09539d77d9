#include "settings/page_factory_win.h"

#include "settings/about_page_win.h"
#include "settings/capture_page_win.h"
#include "settings/colour_page_win.h"
#include "settings/radio_page_win.h"
#include "settings/scheduler_page_win.h"
#include "settings/snapshot_page_win.h"
#include "settings/tv_page_win.h"

namespace brontel {

std::unique_ptr<SettingsPage> CreateSettingsPage(SheetPage page, CAppSettings& working,
                                                 SettingsSheetHost& host) {
  switch (page) {
    case SheetPage::kTv:
      return std::make_unique<CTVSetPtyPage>(working, host);
    case SheetPage::kRadio:
      return std::make_unique<CRDSetPtyPage>(working, host);
    case SheetPage::kColour:
      return std::make_unique<CColorSetPtyPage>(working, host);
    case SheetPage::kSnapshot:
      return std::make_unique<CSnapSetPtyPage>(working, host);
    case SheetPage::kScheduler:
      return std::make_unique<CSchedulerPtyPage>(working, host);
    case SheetPage::kAbout:
      return std::make_unique<CAboutPtyPage>(working, host);
    case SheetPage::kCapture:
      return std::make_unique<CCaptSetPtyPage>(working, host);
  }
  return nullptr;
}

std::uint32_t BuiltPagesMask() {
  return kPageMaskTv | kPageMaskRadio | kPageMaskColour | kPageMaskSnapshot | kPageMaskCapture |
         kPageMaskScheduler;
}

}  // namespace brontel
