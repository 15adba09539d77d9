#include "settings/page_selection.h"

#include "app/vocabulary/source_numbers.h"

namespace brontel {

std::vector<SheetPage> SelectedPages(std::uint32_t mask, std::uint32_t built) {
  static const struct {
    std::uint32_t bit;
    SheetPage page;
  } kOrder[] = {
      {kPageMaskTv, SheetPage::kTv},           {kPageMaskRadio, SheetPage::kRadio},
      {kPageMaskColour, SheetPage::kColour},   {kPageMaskSnapshot, SheetPage::kSnapshot},
      {kPageMaskCapture, SheetPage::kCapture}, {kPageMaskScheduler, SheetPage::kScheduler},
  };
  std::vector<SheetPage> pages;
  for (const auto& entry : kOrder) {
    if ((mask & built & entry.bit) != 0) pages.push_back(entry.page);
  }
  pages.push_back(SheetPage::kAbout);
  return pages;
}

std::uint32_t SheetMaskFor(bool mediaActive, std::int32_t source) {
  if (mediaActive) return 0;
  switch (source) {
    case kSourceTv:
      return 0x7D;
    case kSourceVideo:
    case kSourceSVideo:
      return 0x7C;
    case kSourceRadio:
      return 0x72;
    default:
      return 0x7D;
  }
}

}  // namespace brontel
