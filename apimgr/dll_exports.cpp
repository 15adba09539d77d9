// The four exports of the in-process server.

#include <windows.h>

#include "apimgr/class_factory.h"
#include "apimgr/com_registration.h"
#include "apimgr/kx_unknown.h"

#include <new>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_moduleInstance = instance;
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  *out = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
    return E_NOINTERFACE;
  }
  for (size_t i = 0; i < g_componentClassCount; ++i) {
    if (IsEqualCLSID(classId, *g_componentClasses[i].classId)) {
      auto* factory = new (std::nothrow) CApiMgrFactory(&g_componentClasses[i]);
      if (factory == nullptr) {
        return E_OUTOFMEMORY;
      }
      *out = static_cast<IClassFactory*>(factory);
      return S_OK;
    }
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return g_activeObjects == 0 && g_serverLocks <= 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  for (size_t i = 0; i < g_componentClassCount; ++i) {
    RegisterComponentClass(g_componentClasses[i], g_moduleInstance);
  }
  return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  for (size_t i = 0; i < g_componentClassCount; ++i) {
    UnregisterComponentClass(g_componentClasses[i]);
  }
  return S_OK;
}
