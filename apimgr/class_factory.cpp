#include "apimgr/class_factory.h"

#include "apimgr/api_mgr.h"

const ComponentClass g_componentClasses[] = {
    {&CLSID_KXApiMgr, &IID_IKXBoard, &CApiMgr::Create, L"Kestrova, Pellamy API Mgr",
     L"Kestrova.KXApiMgr", L"Kestrova.KXApiMgr.1"},
};
const size_t g_componentClassCount = sizeof g_componentClasses / sizeof g_componentClasses[0];

HRESULT STDMETHODCALLTYPE CApiMgrFactory::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CApiMgrFactory::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&m_refCount));
}

ULONG STDMETHODCALLTYPE CApiMgrFactory::Release() {
  const LONG count = InterlockedDecrement(&m_refCount);
  if (count == 0) {
    delete this;
  }
  return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE CApiMgrFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  *out = nullptr;
  if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) {
    return CLASS_E_NOAGGREGATION;
  }
  CKXUnknown* object = nullptr;
  HRESULT hr = m_row->create(outer, &object);
  if (FAILED(hr)) {
    return hr;
  }
  hr = object->Init();
  if (FAILED(hr)) {
    object->NonDelegatingRelease();
    return hr;
  }
  hr = object->NonDelegatingQueryInterface(iid, out);
  object->NonDelegatingRelease();
  return hr;
}

HRESULT STDMETHODCALLTYPE CApiMgrFactory::LockServer(BOOL lock) {
  if (lock) {
    InterlockedIncrement(&g_serverLocks);
  } else {
    InterlockedDecrement(&g_serverLocks);
  }
  return S_OK;
}
