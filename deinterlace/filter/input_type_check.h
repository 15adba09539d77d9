#pragma once
// The input media types both filters take: VIDEOINFOHEADER video, YUY2 or
// UYVY, 16 bits per pixel.

#include "win32/windows_include.h"
#include <strmif.h>

#include "deinterlace/deinterlace_step.h"

namespace brontel {

// S_OK; E_INVALIDARG when the format type is not FORMAT_VideoInfo; E_FAIL for
// any other unsuitable type (including a format block too short to read).
HRESULT CheckDeinterlaceInputType(const AM_MEDIA_TYPE& mt);
// kYuy2 or kUyvy for an accepted type, kNone otherwise.
InputFormatKind FormatKindOf(const AM_MEDIA_TYPE& mt);

}  // namespace brontel
