#pragma once
// The fine-tuning dialog of one TV channel: a slider of 50 kHz steps around
// the channel's table frequency. The board follows every step, so that the
// user sees and hears the picture while choosing.

#include "win32/windows_include.h"

#include <cstdint>
#include <optional>

#include "win32/window_base.h"

namespace brontel {

class CBoardClient;

class CFineTuneDlg : public DialogBase {
 public:
  // `board` may be null (no board is open): the dialog then only computes.
  CFineTuneDlg(CBoardClient* board, std::int32_t tableHertz, std::int32_t offsetHertz);

  // Modal over `owner`; the chosen offset in hertz on OK, nothing on Cancel.
  std::optional<std::int32_t> Run(HWND owner);

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnInitDialog();
  // Shows and tunes a new slider position.
  void MoveTo(int position);

  CBoardClient* m_board;
  std::int32_t m_tableHertz;
  int m_position;
};

}  // namespace brontel
