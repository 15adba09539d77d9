#pragma once
// The module's count of live objects and server locks, for DllCanUnloadNow,
// and the module's instance handle (resources, registration path).

#include "win32/windows_include.h"

namespace brontel {

void ModuleAddRef();
void ModuleRelease();
LONG ModuleLockCount();

void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();

// Counts one live object for the lifetime of its owner.
class ModuleObjectLock {
 public:
  ModuleObjectLock() { ModuleAddRef(); }
  ~ModuleObjectLock() { ModuleRelease(); }
  ModuleObjectLock(const ModuleObjectLock&) = delete;
  ModuleObjectLock& operator=(const ModuleObjectLock&) = delete;
};

}  // namespace brontel

// Derived COM classes that add interfaces must resolve IUnknown to one
// implementation, so every interface shares the object's identity and count.
#define BRONTEL_FORWARD_IUNKNOWN(Base)                            \
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { \
    return Base::QueryInterface(riid, ppv);                       \
  }                                                               \
  STDMETHODIMP_(ULONG) AddRef() override {                        \
    return Base::AddRef();                                        \
  }                                                               \
  STDMETHODIMP_(ULONG) Release() override {                       \
    return Base::Release();                                       \
  }
