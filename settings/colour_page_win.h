#pragma once
// The colour page: brightness, contrast, saturation and hue for each
// input, previewed on the board while the shown input is the one on screen.

#include "settings/colour_sets.h"
#include "settings/settings_page_win.h"

namespace brontel {

class CColorSetPtyPage : public SettingsPage {
 public:
  CColorSetPtyPage(CAppSettings& working, SettingsSheetHost& host);

 protected:
  void OnInitDialog() override;
  bool OnKillActive() override;
  void OnReset() override;
  void OnCommand(WORD id, WORD code, HWND control) override;
  void OnScroll(HWND control, WORD code) override;

 private:
  void ShowInput(ColourInput input);
  // Sends the shown set when the board's picture is the one it colours.
  void PreviewShown();
  void OnAllSameClicked();
  void OnResetClicked();
  void StoreInWorkingCopy();

  ColourSets m_sets{};
  ColourSets m_defaults{};
  bool m_allSame = false;
  ColourInput m_shown = ColourInput::kTv;
  std::int32_t m_liveSource = 0;
  bool m_previewed = false;
  bool m_deinterlacerAvailable = false;
};

}  // namespace brontel
