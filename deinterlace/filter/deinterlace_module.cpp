// DllMain and the four exports of a filter library. The build compiles this
// file into each library; BRONTEL_SNAP_LIBRARY picks kxDISnap's classes.

#include "win32/windows_include.h"

#include "deinterlace/filter/deinterlace_library.h"
#include "dshow/class_factory.h"
#include "win32/module_lock.h"

namespace {

brontel::LibraryClasses Classes() {
#ifdef BRONTEL_SNAP_LIBRARY
  return brontel::SnapLibraryClasses();
#else
  return brontel::GrabLibraryClasses();
#endif
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    brontel::SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  brontel::LibraryClasses classes = Classes();
  return brontel::dshow::GetClassObjectFromTable(classes.table, classes.count, clsid, riid, ppv);
}

STDAPI DllCanUnloadNow() {
  return brontel::dshow::CanUnloadModule();
}

STDAPI DllRegisterServer() {
  brontel::LibraryClasses classes = Classes();
  return brontel::dshow::RegisterServerFromTable(classes.table, classes.count, true);
}

STDAPI DllUnregisterServer() {
  brontel::LibraryClasses classes = Classes();
  return brontel::dshow::RegisterServerFromTable(classes.table, classes.count, false);
}
