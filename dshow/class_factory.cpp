#include "dshow/class_factory.h"

#include <new>
#include <string>

#include "dshow/filter_registration.h"
#include "dshow/module_lock.h"

namespace brontel::dshow {

namespace {

constexpr size_t kGuidTextLength = 39;

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(const FactoryTemplate& entry) : m_entry(entry) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *ppv = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refCount); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG count = InterlockedDecrement(&m_refCount);
    if (count == 0) delete this;
    return count;
  }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IUnknown* object = nullptr;
    HRESULT hr = m_entry.create(&object);
    if (FAILED(hr)) return hr;
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
  LONG m_refCount = 1;
  const FactoryTemplate& m_entry;
  ModuleObjectLock m_moduleLock;
};

std::wstring ClassKeyPath(const CLSID& clsid) {
  wchar_t text[kGuidTextLength + 1] = {};
  StringFromGUID2(clsid, text, kGuidTextLength + 1);
  return std::wstring(L"CLSID\\") + text;
}

LONG SetStringValue(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

HRESULT WriteClassKey(const FactoryTemplate& entry, const std::wstring& modulePath) {
  std::wstring path = ClassKeyPath(*entry.clsid);
  HKEY classKey = nullptr;
  LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &classKey, nullptr);
  if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
  rc = SetStringValue(classKey, nullptr, entry.name);
  HKEY serverKey = nullptr;
  if (rc == ERROR_SUCCESS) {
    rc = RegCreateKeyExW(classKey, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &serverKey,
                         nullptr);
  }
  if (rc == ERROR_SUCCESS) {
    rc = SetStringValue(serverKey, nullptr, modulePath);
    if (rc == ERROR_SUCCESS) rc = SetStringValue(serverKey, L"ThreadingModel", L"Both");
    RegCloseKey(serverKey);
  }
  RegCloseKey(classKey);
  return HRESULT_FROM_WIN32(rc);
}

// RegDeleteTree is not on every target; delete depth first.
LONG DeleteKeyTree(HKEY parent, const wchar_t* name) {
  HKEY key = nullptr;
  LONG rc = RegOpenKeyExW(parent, name, 0, KEY_READ | KEY_WRITE, &key);
  if (rc != ERROR_SUCCESS) return rc;
  wchar_t child[256];
  for (;;) {
    DWORD length = 256;
    rc = RegEnumKeyExW(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) break;
    rc = DeleteKeyTree(key, child);
    if (rc != ERROR_SUCCESS) break;
  }
  RegCloseKey(key);
  if (rc != ERROR_NO_MORE_ITEMS && rc != ERROR_SUCCESS) return rc;
  return RegDeleteKeyW(parent, name);
}

HRESULT RemoveClassKey(const FactoryTemplate& entry) {
  LONG rc = DeleteKeyTree(HKEY_CLASSES_ROOT, ClassKeyPath(*entry.clsid).c_str());
  if (rc == ERROR_FILE_NOT_FOUND) return S_OK;
  return HRESULT_FROM_WIN32(rc);
}

}  // namespace

HRESULT GetClassObjectFromTable(const FactoryTemplate* table, size_t count, REFCLSID clsid,
                                REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
  for (size_t i = 0; i < count; ++i) {
    if (*table[i].clsid == clsid) {
      auto* factory = new (std::nothrow) ClassFactory(table[i]);
      if (!factory) return E_OUTOFMEMORY;
      *ppv = static_cast<IClassFactory*>(factory);
      return S_OK;
    }
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CanUnloadModule() {
  return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

HRESULT RegisterServerFromTable(const FactoryTemplate* table, size_t count, bool reg) {
  wchar_t modulePath[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(ModuleInstance(), modulePath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return E_FAIL;

  HRESULT result = S_OK;
  if (reg) {
    for (size_t i = 0; i < count && SUCCEEDED(result); ++i) {
      result = WriteClassKey(table[i], modulePath);
    }
    if (FAILED(result)) return result;
  }

  // regsvr32 initialises COM itself; other callers may not have.
  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (size_t i = 0; i < count; ++i) {
    if (!table[i].filterSetup) continue;
    HRESULT hr = RegisterFilterWithMapper(*table[i].filterSetup, reg);
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  if (SUCCEEDED(init)) CoUninitialize();

  if (!reg) {
    for (size_t i = 0; i < count; ++i) {
      HRESULT hr = RemoveClassKey(table[i]);
      if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
  }
  return result;
}

}  // namespace brontel::dshow
