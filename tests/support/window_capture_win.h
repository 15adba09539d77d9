#pragma once
// Screenshots for Wine tests: a window's pixels as they are on the screen,
// saved as PNG or BMP under <build>/test-output for a person to look at.

#include <windows.h>

#include <string>

namespace brontel::test_support {

// <build>/test-output (next to the bin folder of the running test), created
// when missing, with a trailing backslash.
std::wstring TestOutputDir();

// Saves the window's rectangle of the screen; PNG when the path ends in
// ".png", else BMP. False when nothing could be written.
bool SaveWindowScreenshot(HWND window, const std::wstring& path);

}  // namespace brontel::test_support
