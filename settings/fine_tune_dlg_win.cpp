#include "settings/fine_tune_dlg_win.h"

#include <commctrl.h>

#include "lang/resource_ids.h"
#include "settings/fine_tune.h"
#include "tv/board_client_win.h"
#include "win32/resource_module.h"
#include "win32/text_convert.h"

namespace brontel {

CFineTuneDlg::CFineTuneDlg(CBoardClient* board, std::int32_t tableHertz, std::int32_t offsetHertz)
    : m_board(board), m_tableHertz(tableHertz), m_position(FineTunePosition(offsetHertz)) {}

std::optional<std::int32_t> CFineTuneDlg::Run(HWND owner) {
  const INT_PTR result = DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(IDD_FINE_TUNE), owner,
                                         &DialogBase::DialogProc, reinterpret_cast<LPARAM>(this));
  if (result != IDOK) return std::nullopt;
  return FineTuneOffsetHertz(m_position);
}

void CFineTuneDlg::OnInitDialog() {
  HWND slider = GetDlgItem(m_hwnd, IDC_FT_SLIDER);
  SendMessageW(slider, TBM_SETRANGE, FALSE, MAKELPARAM(kFineTuneMinPosition, kFineTuneMaxPosition));
  SendMessageW(slider, TBM_SETTICFREQ, kFineTuneTickEvery, 0);
  SendMessageW(slider, TBM_SETLINESIZE, 0, 1);
  SendMessageW(slider, TBM_SETPAGESIZE, 0, kFineTuneTickEvery);
  MoveTo(m_position);
}

void CFineTuneDlg::MoveTo(int position) {
  m_position = position;
  SendMessageW(GetDlgItem(m_hwnd, IDC_FT_SLIDER), TBM_SETPOS, TRUE, position);
  const double tuned = static_cast<double>(m_tableHertz) + FineTuneOffsetHertz(position);
  SetDlgItemTextW(m_hwnd, IDC_FT_FREQUENCY, Widen(MegahertzText(tuned)).c_str());
  SetDlgItemTextW(m_hwnd, IDC_FT_OFFSET,
                  Widen(MegahertzText(static_cast<double>(FineTuneOffsetHertz(position)))).c_str());
  if (m_board) m_board->SetFrequency(m_tableHertz + FineTuneOffsetHertz(position));
}

INT_PTR CFineTuneDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_HSCROLL: {
      // Dragging only previews the thumb; the board is tuned where it is let go.
      if (LOWORD(wParam) == TB_THUMBTRACK) return TRUE;
      const int position =
          static_cast<int>(SendMessageW(GetDlgItem(m_hwnd, IDC_FT_SLIDER), TBM_GETPOS, 0, 0));
      if (position != m_position) MoveTo(position);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_FT_DOWN:
        case IDC_FT_UP: {
          const int position = StepFineTune(m_position, LOWORD(wParam) == IDC_FT_UP);
          if (position != m_position) MoveTo(position);
          return TRUE;
        }
        case IDOK:
        case IDCANCEL:
          EndDialog(m_hwnd, LOWORD(wParam));
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace brontel
