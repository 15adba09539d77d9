#include "settings/snapshot_page_win.h"

#include <string>

#include "app/settings/app_settings.h"
#include "lang/resource_ids.h"
#include "settings/page_controls_win.h"
#include "settings/snapshot_values.h"
#include "win32/resource_module.h"

namespace brontel {
namespace {

constexpr UINT kStringBrowseTitle = 264;

// The radio buttons of one choice and the value each one stores.
struct ChoiceButton {
  int id;
  std::int32_t value;
};
constexpr ChoiceButton kSizeButtons[] = {
    {IDC_SN_SIZE_320, 320}, {IDC_SN_SIZE_640, 640}, {IDC_SN_SIZE_800, 800}};
constexpr ChoiceButton kFormatButtons[] = {{IDC_SN_BMP, 2}, {IDC_SN_JPEG, 3}};
constexpr ChoiceButton kNamingButtons[] = {{IDC_SN_NUMBERED, 0}, {IDC_SN_DATED, 1}};

template <size_t N>
const ChoiceButton* ButtonWithId(const ChoiceButton (&buttons)[N], int id) {
  for (const ChoiceButton& button : buttons) {
    if (button.id == id) return &button;
  }
  return nullptr;
}

}  // namespace

CSnapSetPtyPage::CSnapSetPtyPage(CAppSettings& working, SettingsSheetHost& host)
    : SettingsPage(IDD_SET_SNAPSHOT, working, host) {}

void CSnapSetPtyPage::OnInitDialog() {
  const SnapSetGroup& snap = Working().snapSet;
  SetItemText(IDC_SN_FOLDER, snap.szDestDir);
  // A size the page does not offer selects no button rather than a wrong one.
  for (const ChoiceButton& button : kSizeButtons) {
    SetChecked(button.id, button.value == snap.lCaptDim);
  }
  // Snapshots are BMP for format 2 and JPEG for anything else, and dated
  // for any naming but 0: the buttons show what will be written.
  SetChecked(IDC_SN_BMP, snap.lImageFormat == 2);
  SetChecked(IDC_SN_JPEG, snap.lImageFormat != 2);
  SetChecked(IDC_SN_NUMBERED, snap.lFileNameType == 0);
  SetChecked(IDC_SN_DATED, snap.lFileNameType != 0);
  ShowCounter();
  InitSlider(Item(IDC_SN_QUALITY), kQualitySliderMax);
  SetSliderPosition(Item(IDC_SN_QUALITY), QualitySliderPosition(snap.lJPGQuality));
}

void CSnapSetPtyPage::ShowCounter() {
  SetItemText(IDC_SN_COUNTER, std::to_string(Working().snapSet.lFileCounter));
}

void CSnapSetPtyPage::OnCommand(WORD id, WORD code, HWND) {
  if (code != BN_CLICKED) return;
  SnapSetGroup& snap = Working().snapSet;
  if (const ChoiceButton* button = ButtonWithId(kSizeButtons, id)) {
    snap.lCaptDim = button->value;
  } else if (const ChoiceButton* format = ButtonWithId(kFormatButtons, id)) {
    snap.lImageFormat = format->value;
  } else if (const ChoiceButton* naming = ButtonWithId(kNamingButtons, id)) {
    snap.lFileNameType = naming->value;
  } else if (id == IDC_SN_BROWSE) {
    OnBrowse();
  } else if (id == IDC_SN_RESET_COUNTER) {
    snap.lFileCounter = 1;
    ShowCounter();
  } else if (id == IDC_SN_QUALITY_DEFAULT) {
    snap.lJPGQuality = kDefaultJpegQuality;
    SetSliderPosition(Item(IDC_SN_QUALITY), QualitySliderPosition(kDefaultJpegQuality));
  }
}

void CSnapSetPtyPage::OnBrowse() {
  const std::string folder =
      BrowseForFolder(Sheet(), LoadResString(kStringBrowseTitle), Working().snapSet.szDestDir);
  if (folder.empty()) return;
  Working().snapSet.szDestDir = folder;
  SetItemText(IDC_SN_FOLDER, folder);
}

void CSnapSetPtyPage::OnScroll(HWND control, WORD code) {
  if (control != Item(IDC_SN_QUALITY) || !SliderReleased(code)) return;
  Working().snapSet.lJPGQuality = JpegQualityAt(SliderPosition(control));
}

}  // namespace brontel
