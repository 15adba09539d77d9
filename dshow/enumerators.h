#pragma once
// IEnumPins over a filter's pins and IEnumMediaTypes over a pin's preferred
// types. Each holds a reference on what it enumerates.

#include "win32/windows_include.h"
#include <strmif.h>

namespace brontel::dshow {

class BaseFilter;
class BasePin;

HRESULT CreatePinEnumerator(BaseFilter* filter, IEnumPins** ppEnum);
HRESULT CreateMediaTypeEnumerator(BasePin* pin, IEnumMediaTypes** ppEnum);

}  // namespace brontel::dshow
