#pragma once
// DllRegisterServer and DllUnregisterServer of kxEncodeWriter.ax: the COM
// class, the filter mapper entry in the DirectShow filter category with its
// three setup pins, and an instance in the video compressor category.

#include "win32/windows_include.h"

namespace brontel {

// Returns the first failing HRESULT.
HRESULT RegisterEncodeWriter();
HRESULT UnregisterEncodeWriter();

}  // namespace brontel
