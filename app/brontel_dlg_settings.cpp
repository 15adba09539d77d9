// The settings sheet from the main dialog's side: opening it with the pages
// the current state allows, what the pages may ask of the program, and what
// happens to the board and the panel after OK.

#include "app/brontel_dlg.h"

#include "app/settings/settings_store.h"
#include "app/vocabulary/run_modes.h"
#include "settings/page_selection.h"
#include "settings/setting_ps_dlg_win.h"

namespace brontel {

void CBrontelDlg::OpenSettingsSheet() {
  // One sheet at a time: a second command while it is open does nothing.
  if (m_settingsSheet != nullptr) return;
  const std::uint32_t mask = SheetMaskFor(lRunMode != kRunLive, m_settings.appSet.msCurrSrc);
  CSettingPSDlg sheet(*this);
  m_settingsSheet = &sheet;
  const bool confirmed = sheet.Run(m_settings, mask);
  m_settingsSheet = nullptr;
  if (confirmed) ApplySettingsAfterSheet();
}

void CBrontelDlg::ApplySettingsAfterSheet() {
  // Media may have started while the sheet was open (the scheduler keeps
  // running): the board is then left as it is and takes the new settings
  // when it next selects the source.
  if (lRunMode == kRunLive && bVideoWndExists) {
    const std::int32_t source = m_settings.appSet.msCurrSrc;
    m_board.SelectSource(source, false);
    m_board.TuneCurrentEntry();
  }
  RefreshPanel();
}

bool CBrontelDlg::DeinterlacerAvailable() {
  // The board builds its graphs with the deinterlacer whenever the picture
  // runs as an overlay; without one it is bypassed.
  return overlayMode;
}

bool CBrontelDlg::ReadTempScheItem(ScheItem* item) {
  return m_store != nullptr && m_settings.ReadTempScheItem(*m_store, item);
}

}  // namespace brontel
