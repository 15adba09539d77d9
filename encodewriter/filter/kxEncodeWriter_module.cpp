// The kxEncodeWriter library: one filter, "Ligos GoMotion Filter (Kestrova)".

#include "win32/windows_include.h"

#include <iterator>

#include "dshow/class_factory.h"
#include "encodewriter/filter/encode_writer_filter.h"
#include "encodewriter/filter/encode_writer_registration.h"
#include "win32/module_lock.h"

namespace {

const brontel::dshow::FactoryTemplate kClasses[] = {
    {brontel::kEncodeWriterName, &brontel::kClsidEncodeWriter,
     &brontel::EncodeWriterFilter::CreateInstance, nullptr},
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    brontel::SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  return brontel::dshow::GetClassObjectFromTable(kClasses, std::size(kClasses), clsid, riid, ppv);
}

STDAPI DllCanUnloadNow() {
  return brontel::dshow::CanUnloadModule();
}

STDAPI DllRegisterServer() {
  return brontel::RegisterEncodeWriter();
}

STDAPI DllUnregisterServer() {
  return brontel::UnregisterEncodeWriter();
}
