#pragma once
// The main dialog's side of the skin: the control classes the dialog
// template names, loading "AppSkin.skn" and revealing the panel faces.

#include <windows.h>

namespace brontel {

// Window class of the skin control (dialog item 1000) and of the label
// controls laid over it (items 1012 to 1016); the dialog template names them.
constexpr wchar_t kSkinControlClass[] = L"BrontelSkin";
constexpr wchar_t kSkinLabelClass[] = L"BrontelSkinLabel";

enum class SkinLoadResult {
  kBound,     // the skin is loaded and every element bound
  kFailed,    // the user has been told why; the program shuts down
  kNoEngine,  // this build carries no skin engine; start-up goes on without it
};

// Registers the control classes; must run before the main dialog is created.
bool RegisterSkinControlClasses(HINSTANCE instance);

// Loads the skin from the Windows directory into item 1000 of `dialog` and
// binds its elements.
SkinLoadResult LoadAndBindSkin(HWND dialog);

// `splash` true shows the start-up face, false the main panel.
void ShowPanel(HWND dialog, bool splash);

}  // namespace brontel
