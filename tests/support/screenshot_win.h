#pragma once
// Pictures of windows for Wine tests: pixels to check, and files under
// <build>/test-output for a person to look at.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/test_paths_win.h"

namespace brontel::test_support {

// 0x00RRGGBB pixels, top row first.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// The window's client area as the window itself draws it.
Capture CaptureWindow(HWND window);
// The window's rectangle of the screen, frame and whatever covers it
// included.
Capture CaptureScreenOf(HWND window);

// PNG when the path ends in ".png", else BMP. False when nothing could be
// written.
bool SaveCapture(const Capture& capture, const std::wstring& path);
bool SaveWindowScreenshot(HWND window, const std::wstring& path);

}  // namespace brontel::test_support
