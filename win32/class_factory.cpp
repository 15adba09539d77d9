#include "win32/class_factory.h"

#include <new>

#include "win32/com_object.h"
#include "win32/handles.h"
#include "win32/module_lock.h"
#include "win32/registry.h"

namespace brontel {
namespace {

constexpr int kGuidTextChars = 39;  // 38 characters and the terminator

class ClassFactory final : public SingleInterfaceObject<IClassFactory, IID_IClassFactory> {
 public:
  explicit ClassFactory(CreateInstanceFunction create) : m_create(create) {}

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IUnknown* object = nullptr;
    HRESULT hr = m_create(&object);
    if (FAILED(hr)) return hr;
    if (!object) return E_OUTOFMEMORY;
    hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock) {
      ModuleAddRef();
    } else {
      ModuleRelease();
    }
    return S_OK;
  }

 private:
  CreateInstanceFunction m_create;
  ModuleObjectLock m_moduleLock;
};

}  // namespace

IClassFactory* NewClassFactory(CreateInstanceFunction create) {
  return new (std::nothrow) ClassFactory(create);
}

HRESULT CanUnloadModule() {
  return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

std::wstring ClassKeyPath(const CLSID& clsid) {
  wchar_t text[kGuidTextChars] = {};
  StringFromGUID2(clsid, text, kGuidTextChars);
  return std::wstring(L"CLSID\\") + text;
}

HRESULT GetModulePath(std::wstring* path) {
  wchar_t modulePath[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(ModuleInstance(), modulePath, MAX_PATH);
  if (length == 0) return HRESULT_FROM_WIN32(GetLastError());
  // A cut path would register a file that does not exist.
  if (length >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
  *path = modulePath;
  return S_OK;
}

HRESULT WriteInprocClassKey(const CLSID& clsid, const wchar_t* name, const std::wstring& modulePath,
                            const wchar_t* threadingModel) {
  UniqueKey classKey;
  LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, ClassKeyPath(clsid).c_str(), 0, nullptr, 0,
                            KEY_WRITE, nullptr, classKey.Put(), nullptr);
  if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
  rc = WriteRegistryString(classKey.Get(), nullptr, name);
  UniqueKey serverKey;
  if (rc == ERROR_SUCCESS) {
    rc = RegCreateKeyExW(classKey.Get(), L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr,
                         serverKey.Put(), nullptr);
  }
  if (rc == ERROR_SUCCESS) {
    rc = WriteRegistryString(serverKey.Get(), nullptr, modulePath);
    if (rc == ERROR_SUCCESS)
      rc = WriteRegistryString(serverKey.Get(), L"ThreadingModel", threadingModel);
  }
  return HRESULT_FROM_WIN32(rc);
}

HRESULT RemoveClassKey(const CLSID& clsid) {
  const LONG rc = DeleteRegistryTree(HKEY_CLASSES_ROOT, ClassKeyPath(clsid).c_str());
  if (rc == ERROR_FILE_NOT_FOUND) return S_OK;
  return HRESULT_FROM_WIN32(rc);
}

}  // namespace brontel
