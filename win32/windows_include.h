#pragma once
// Every Win32 file of the product reaches <windows.h> through this header, so
// that the trimmed-down windows.h is the same everywhere. Code that needs a
// header the lean set leaves out (ole2.h, shellapi.h, commdlg.h, mmsystem.h,
// ...) includes it itself, next to its use.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
