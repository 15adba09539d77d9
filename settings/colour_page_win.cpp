#include "settings/colour_page_win.h"

#include "lang/resource_ids.h"
#include "settings/page_controls_win.h"
#include "tv/board_client_win.h"
#include "win32/resource_module.h"

namespace brontel {
namespace {

constexpr UINT kStringResetQuestion = 156;
constexpr UINT kStringColourCaption = 157;
constexpr UINT kStringAllSameQuestion = 158;

struct SliderOf {
  int id;
  ColourProperty property;
};
constexpr SliderOf kSliders[] = {
    {IDC_CL_BRIGHTNESS, ColourProperty::kBrightness},
    {IDC_CL_CONTRAST, ColourProperty::kContrast},
    {IDC_CL_SATURATION, ColourProperty::kSaturation},
    {IDC_CL_HUE, ColourProperty::kHue},
};

constexpr int kInputButtons[kColourInputCount] = {IDC_CL_TV, IDC_CL_VIDEO1, IDC_CL_VIDEO2};

}  // namespace

CColorSetPtyPage::CColorSetPtyPage(CAppSettings& working, SettingsSheetHost& host)
    : SettingsPage(IDD_SET_COLOUR, working, host) {}

void CColorSetPtyPage::OnInitDialog() {
  const VidClrGroup& colours = Working().vidClrSet;
  m_sets = ColourSetsOf(colours);
  m_defaults = ColourSetsOf(Working().vidClrDefSet);
  m_allSame = colours.bColorAllSame != 0;
  m_liveSource = Host().LiveSource();
  for (const SliderOf& slider : kSliders) InitSlider(Item(slider.id), kColourMax);
  SetChecked(IDC_CL_ALL_SAME, m_allSame);
  m_deinterlacerAvailable = Host().DeinterlacerAvailable();
  SetChecked(IDC_CL_DEINTERLACE, m_deinterlacerAvailable && colours.bUseDeinterlacer != 0);
  EnableItem(IDC_CL_DEINTERLACE, m_deinterlacerAvailable);
  ShowInput(InitialColourInput(m_allSame, m_liveSource));
}

void CColorSetPtyPage::ShowInput(ColourInput input) {
  m_shown = input;
  const int shown = static_cast<int>(input);
  for (int i = 0; i < kColourInputCount; ++i) SetChecked(kInputButtons[i], i == shown);
  for (const SliderOf& slider : kSliders) {
    SetSliderPosition(Item(slider.id), ColourValue(m_sets[shown], slider.property));
  }
  SetDlgItemTextW(hwnd(), IDC_CL_SHOWN_INPUT,
                  LoadResString(static_cast<UINT>(ColourInputNameId(input))).c_str());
}

void CColorSetPtyPage::PreviewShown() {
  if (!ColourPreviewsOnBoard(m_shown, m_liveSource, m_allSame)) return;
  CBoardClient* board = Host().Board();
  if (board == nullptr) return;
  board->SendColour(m_sets[static_cast<int>(m_shown)]);
  m_previewed = true;
}

void CColorSetPtyPage::OnCommand(WORD id, WORD code, HWND) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_CL_TV:
    case IDC_CL_VIDEO1:
    case IDC_CL_VIDEO2:
      ShowInput(static_cast<ColourInput>(id - IDC_CL_TV));
      PreviewShown();
      break;
    case IDC_CL_ALL_SAME:
      OnAllSameClicked();
      break;
    case IDC_CL_RESET:
      OnResetClicked();
      break;
    default:
      break;
  }
}

void CColorSetPtyPage::OnAllSameClicked() {
  if (!IsChecked(IDC_CL_ALL_SAME)) {
    // Unticking keeps the sets as they are; each input can now drift apart.
    m_allSame = false;
    return;
  }
  if (ShowResMessage(Sheet(), kStringAllSameQuestion, kStringColourCaption,
                     MB_YESNO | MB_ICONQUESTION) != IDYES) {
    SetChecked(IDC_CL_ALL_SAME, false);
    return;
  }
  m_allSame = true;
  ShareTvColour(&m_sets);
  ShowInput(ColourInput::kTv);
  PreviewShown();
}

void CColorSetPtyPage::OnResetClicked() {
  if (ShowResMessage(Sheet(), kStringResetQuestion, kStringColourCaption,
                     MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return;
  }
  m_sets = m_defaults;
  ShowInput(m_shown);
  // The picture follows the sliders, as it does when one of them moves.
  PreviewShown();
}

void CColorSetPtyPage::OnScroll(HWND control, WORD code) {
  if (!SliderReleased(code)) return;
  for (const SliderOf& slider : kSliders) {
    if (Item(slider.id) != control) continue;
    StoreColourChange(&m_sets, m_shown, slider.property, SliderPosition(control), m_allSame);
    PreviewShown();
    return;
  }
}

void CColorSetPtyPage::StoreInWorkingCopy() {
  VidClrGroup& colours = Working().vidClrSet;
  StoreColourSets(m_sets, &colours);
  colours.bColorAllSame = m_allSame ? 1 : 0;
  // A box that could not be ticked says nothing about the user's choice.
  if (m_deinterlacerAvailable) colours.bUseDeinterlacer = IsChecked(IDC_CL_DEINTERLACE) ? 1 : 0;
}

bool CColorSetPtyPage::OnKillActive() {
  StoreInWorkingCopy();
  return true;
}

void CColorSetPtyPage::OnReset() {
  // Cancel: the picture goes back to the colours that stay in force.
  if (!m_previewed) return;
  if (CBoardClient* board = Host().Board()) board->ApplyColour(m_liveSource);
}

}  // namespace brontel
