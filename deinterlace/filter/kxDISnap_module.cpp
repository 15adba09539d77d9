// The kxDISnap library: the frame grabber filter and its property page.

#include "win32/windows_include.h"

#include <iterator>

#include "deinterlace/filter/deinterlace_page.h"
#include "deinterlace/filter/snap_filter.h"
#include "dshow/class_factory.h"
#include "win32/module_lock.h"

namespace {

const brontel::dshow::FactoryTemplate kClasses[] = {
    {L"kxDISnap", &brontel::kClsidFrameSnapFilter, &brontel::FrameSnapFilter::CreateInstance,
     &brontel::FrameSnapFilter::Setup()},
    {L"kxDISnap Property", &brontel::kClsidFrameSnapPage, &brontel::DeinterlacePage::CreateSnapPage,
     nullptr},
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
  return brontel::dshow::RegisterServerFromTable(kClasses, std::size(kClasses), true);
}

STDAPI DllUnregisterServer() {
  return brontel::dshow::RegisterServerFromTable(kClasses, std::size(kClasses), false);
}
