// Radio playback of the main dialog. The media player control that plays
// radio recordings is not part of the program yet, so no radio file plays.

#include "app/brontel_dlg.h"

namespace brontel {

bool CBrontelDlg::StartRadioPlayback(const std::string&) {
  return false;
}

}  // namespace brontel
