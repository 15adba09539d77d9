#pragma once
// The pieces of an in-process COM server that do not depend on what it
// serves: the class object behind a creation function, the lookup in a
// module's class table, and the class key under HKCR\CLSID.

#include "win32/windows_include.h"

#include <unknwn.h>

#include <cstddef>
#include <string>

namespace brontel {

// Creates one object with a reference count of 1.
using CreateInstanceFunction = HRESULT (*)(IUnknown** object);

// A class object for `create`; it counts in the module lock while it lives
// and refuses aggregation. Null when out of memory.
IClassFactory* NewClassFactory(CreateInstanceFunction create);

// DllGetClassObject over a class table: finds the row whose `*(row.*clsid)`
// is `wanted` and hands out `makeFactory(row)` (an IClassFactory* with a
// count of 1, null when out of memory).
template <typename Row, typename MakeFactory>
HRESULT GetClassObjectFromRows(const Row* rows, std::size_t count, const CLSID* Row::*clsid,
                               REFCLSID wanted, REFIID riid, void** ppv, MakeFactory makeFactory) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) {
    return E_NOINTERFACE;
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (IsEqualCLSID(*(rows[i].*clsid), wanted)) {
      IClassFactory* factory = makeFactory(rows[i]);
      if (!factory) return E_OUTOFMEMORY;
      *ppv = factory;
      return S_OK;
    }
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

// DllCanUnloadNow for a module that counts its objects and locks in the
// module lock.
HRESULT CanUnloadModule();

// "CLSID\{...}" for a class.
std::wstring ClassKeyPath(const CLSID& clsid);
// The full path of the module holding this code (see ModuleInstance).
HRESULT GetModulePath(std::wstring* path);
// Writes HKCR\CLSID\{clsid} = name with InprocServer32 = modulePath and the
// given ThreadingModel.
HRESULT WriteInprocClassKey(const CLSID& clsid, const wchar_t* name, const std::wstring& modulePath,
                            const wchar_t* threadingModel);
// Removes HKCR\CLSID\{clsid} and everything under it; S_OK when it is not there.
HRESULT RemoveClassKey(const CLSID& clsid);

}  // namespace brontel
