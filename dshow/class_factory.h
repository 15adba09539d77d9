#pragma once
// The filter library's class table and the DllGetClassObject, DllCanUnloadNow
// and DllRegisterServer work behind it: the COM server part comes from the
// foundation, the filter mapper registration is added here.

#include "win32/class_factory.h"
#include "win32/windows_include.h"

#include <cstddef>

namespace brontel::dshow {

struct FilterSetup;

using brontel::CanUnloadModule;
using brontel::CreateInstanceFunction;

struct FactoryTemplate {
  const wchar_t* name;
  const CLSID* clsid;
  CreateInstanceFunction create;
  const FilterSetup* filterSetup;  // null for classes that are not filters
};

HRESULT GetClassObjectFromTable(const FactoryTemplate* table, size_t count, REFCLSID clsid,
                                REFIID riid, void** ppv);
// Writes (or removes) HKCR\CLSID\{clsid} with InprocServer32 = this module
// and ThreadingModel "Both" for every class, and registers the filters with
// the filter mapper.
HRESULT RegisterServerFromTable(const FactoryTemplate* table, size_t count, bool reg);

}  // namespace brontel::dshow
