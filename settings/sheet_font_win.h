#pragma once
// A property sheet lays its pages out in its own dialog units, which come
// from the system's 8-point font; pages in a larger font (Japanese uses 9
// points) are then clipped at the right and bottom. Giving the sheet's own
// template the pages' font size before the sheet is created fixes that.

#include "win32/windows_include.h"

#include <commctrl.h>

namespace brontel {

// The font size of dialog template `templateId` in `resources`; 0 when the
// template is missing or sets no font.
WORD DialogFontSize(HINSTANCE resources, int templateId);

// Puts `pointSize` into a dialog template that sets a font (DLGTEMPLATE or
// DLGTEMPLATEEX); false when it sets none.
bool SetDialogFontSize(void* dialogTemplate, WORD pointSize);

}  // namespace brontel
