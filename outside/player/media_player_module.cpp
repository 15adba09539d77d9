// DllMain and the four exports of the media player control library.

#include "win32/windows_include.h"

#include "outside/player/media_player_control.h"
#include "win32/class_factory.h"
#include "win32/handles.h"
#include "win32/module_lock.h"
#include "win32/registry.h"

namespace {

struct ControlClass {
  const CLSID* clsid;
  brontel::CreateInstanceFunction create;
  const wchar_t* name;
};

const ControlClass kClasses[] = {
    {&brontel::CLSID_MediaPlayerControl, &brontel::CreateMediaPlayerControl, L"Media Player"},
};

HRESULT RegisterClass(const ControlClass& row, const std::wstring& modulePath) {
  HRESULT hr = brontel::WriteInprocClassKey(*row.clsid, row.name, modulePath, L"Apartment");
  if (FAILED(hr)) return hr;
  // Containers that list insertable controls look for this key.
  brontel::UniqueKey control;
  const std::wstring path = brontel::ClassKeyPath(*row.clsid) + L"\\Control";
  const LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                  nullptr, control.Put(), nullptr);
  return HRESULT_FROM_WIN32(rc);
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
  return brontel::GetClassObjectFromRows(
      kClasses, sizeof(kClasses) / sizeof(kClasses[0]), &ControlClass::clsid, clsid, riid, ppv,
      [](const ControlClass& row) { return brontel::NewClassFactory(row.create); });
}

STDAPI DllCanUnloadNow() {
  return brontel::CanUnloadModule();
}

STDAPI DllRegisterServer() {
  std::wstring modulePath;
  HRESULT hr = brontel::GetModulePath(&modulePath);
  for (const ControlClass& row : kClasses) {
    if (SUCCEEDED(hr)) hr = RegisterClass(row, modulePath);
  }
  return hr;
}

STDAPI DllUnregisterServer() {
  HRESULT result = S_OK;
  for (const ControlClass& row : kClasses) {
    const HRESULT hr = brontel::RemoveClassKey(*row.clsid);
    if (FAILED(hr)) result = hr;
  }
  return result;
}
