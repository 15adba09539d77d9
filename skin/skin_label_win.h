#pragma once
// The label control laid over the skin: its text is the window text, drawn
// in the style of a label element on top of the skin picture beneath it.

#include "win32/windows_include.h"

namespace brontel::skin {

// Request block of kSkinMsgPaintLabel: the skin draws what lies under the
// label and the text in the element's style into the label's buffer.
struct LabelPaintRequest {
  RECT area;  // the label's rectangle in skin client coordinates
  int element;
  const wchar_t* text;
};

bool RegisterSkinLabelClass(HINSTANCE instance);

}  // namespace brontel::skin
