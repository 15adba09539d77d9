#pragma once
// Carries a sample's timing and flags over to the output sample of a
// transform.

#include "win32/windows_include.h"
#include <strmif.h>

namespace brontel {

// Copies start/stop time and media time (when the input has them; otherwise
// the output's are cleared), the sync-point flag, an attached media type, the
// preroll and discontinuity flags, then sets the output's data length. A flag
// query answering neither S_OK nor S_FALSE gives E_UNEXPECTED.
HRESULT CopySampleProperties(IMediaSample* input, IMediaSample* output, long dataLength);

}  // namespace brontel
