#pragma once
// The two notices of start-up.

#include "win32/windows_include.h"

#include <cstdint>

namespace brontel {

// Seconds the wake-up notice counts down before it closes itself.
constexpr int kWakeNoticeSeconds = 10;

// Dialog 132: the display offers no overlay. True when it was closed with OK;
// *hideFromNowOn then says whether its "do not show again" box was ticked.
bool RunNoOverlayNotice(HWND owner, std::int32_t* hideFromNowOn);

// Dialog 151: the PC was woken for a recording. Topmost, counting down from
// ten seconds, then it closes by itself as if OK were pressed.
void RunWakeNotice(HWND owner);

}  // namespace brontel
