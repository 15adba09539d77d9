#pragma once
// The module's class table, its class factories, and the DllGetClassObject,
// DllCanUnloadNow and DllRegisterServer work behind a filter library.

#include <windows.h>

#include <cstddef>

namespace brontel::dshow {

struct FilterSetup;

// Creates one object with a reference count of 1.
using CreateInstanceFunction = HRESULT (*)(IUnknown** object);

struct FactoryTemplate {
  const wchar_t* name;
  const CLSID* clsid;
  CreateInstanceFunction create;
  const FilterSetup* filterSetup;  // null for classes that are not filters
};

HRESULT GetClassObjectFromTable(const FactoryTemplate* table, size_t count, REFCLSID clsid,
                                REFIID riid, void** ppv);
HRESULT CanUnloadModule();
// Writes (or removes) HKCR\CLSID\{clsid} with InprocServer32 = this module
// and ThreadingModel "Both" for every class, and registers the filters with
// the filter mapper.
HRESULT RegisterServerFromTable(const FactoryTemplate* table, size_t count, bool reg);

}  // namespace brontel::dshow
