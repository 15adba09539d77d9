// The four exports of the in-process server.

#include "win32/windows_include.h"

#include "apimgr/class_factory.h"
#include "apimgr/com_registration.h"
#include "apimgr/kx_unknown.h"
#include "win32/class_factory.h"

#include <new>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_moduleInstance = instance;
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** out) {
  return brontel::GetClassObjectFromRows(g_componentClasses, g_componentClassCount,
                                         &ComponentClass::classId, classId, iid, out,
                                         [](const ComponentClass& row) -> IClassFactory* {
                                           return new (std::nothrow) CApiMgrFactory(&row);
                                         });
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
