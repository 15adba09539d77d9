#pragma once
// Registration data for a filter and its registration with the DirectShow
// filter mapper (IFilterMapper2), in the legacy DirectShow filter category.

#include "win32/windows_include.h"
#include <strmif.h>

namespace brontel::dshow {

struct PinSetup {
  const wchar_t* name;
  bool rendered;
  bool output;
  bool zero;
  bool many;
  const GUID* majorType;
  const GUID* subType;  // GUID_NULL: any subtype
};

struct FilterSetup {
  const CLSID* clsid;
  const wchar_t* name;
  DWORD merit;
  const PinSetup* pins;
  UINT pinCount;
};

// Registers (or, with reg false, removes) the filter with the filter mapper.
// COM must be initialised on the calling thread. Removing a filter that is
// not registered succeeds.
HRESULT RegisterFilterWithMapper(const FilterSetup& setup, bool reg);

}  // namespace brontel::dshow
