#pragma once
// The module that user-interface resources are loaded from: the language
// library once it is loaded, the executable before that.

#include "win32/windows_include.h"

#include <string>

namespace brontel {

HINSTANCE ResourceModule();
void SetResourceModule(HINSTANCE module);

// A string resource of the language library; empty when it is missing.
std::wstring LoadResString(UINT id);

// A message box with texts from the language library: the text string and
// the caption string (107 unless said otherwise), with the given icon and
// buttons.
int ShowResMessage(HWND owner, UINT textId, UINT captionId, UINT flags);

}  // namespace brontel
